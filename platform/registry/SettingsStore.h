#pragma once
// The per-user settings store: text values in named sections. The program installs
// the file store (IniSettingsStore); tests install a MemorySettingsStore. Until one
// is installed, a process-wide memory store serves, so nothing touches the user's
// settings file by accident.
#include <span>
#include <string>
#include <string_view>

#include "platform/registry/SettingsSections.h"

namespace orvale {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // Looks a value up; false when it is missing. A missing section reads as missing;
  // with `createSection` it is also created, empty.
  virtual bool Read(std::string_view section, std::string_view key, std::string& value,
                    bool createSection) = 0;
  // Applies the changes in order, as one update. A write into a section that does not
  // exist is dropped. False when a write was dropped or the store could not be updated.
  virtual bool Apply(std::span<const SettingChange> changes) = 0;
  // Between these calls (they nest) a store may serve every read from one reading of
  // its backing file, so that many reads in a row cost one. Reads still see the
  // changes applied through this store meanwhile. See ScopedSettingsReadBatch.
  virtual void BeginReadBatch() {}
  virtual void EndReadBatch() {}

  bool Write(std::string_view section, std::string_view key, std::string_view value);
  void Delete(std::string_view section, std::string_view key);
};

// Installs `store` for the whole program (nullptr restores the process-wide memory
// store). The caller keeps ownership and uninstalls a store before destroying it.
void SetSettingsStore(SettingsStore* store);
SettingsStore& CurrentSettingsStore();

// Installs a store for the lifetime of a scope and restores the previous one.
class ScopedSettingsStore {
 public:
  explicit ScopedSettingsStore(SettingsStore& store);
  ~ScopedSettingsStore();
  ScopedSettingsStore(const ScopedSettingsStore&) = delete;
  ScopedSettingsStore& operator=(const ScopedSettingsStore&) = delete;

 private:
  SettingsStore* previous_;
};

}  // namespace orvale
