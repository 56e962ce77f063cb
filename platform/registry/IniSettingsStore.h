#pragma once
// The settings store of the program: an INI file (see IniFormat.h), by default
// $XDG_CONFIG_HOME/Halvern/Orvale.ini. Several running copies of the program share it:
// a read outside a read batch reads the file afresh, the reads of a batch share one
// reading of it, and every change re-reads, changes and rewrites it atomically while
// holding an advisory lock on its folder (LockedFileUpdate.h), so each copy wins for the
// values it writes and loses no value written by another. As the file is only ever
// replaced whole, one reading of it is always one consistent state. The file's folder is
// made by the first change when it is missing.
#include <filesystem>
#include <functional>
#include <optional>

#include "platform/registry/SettingsStore.h"

namespace orvale {

class IniSettingsStore final : public SettingsStore {
 public:
  explicit IniSettingsStore(std::filesystem::path file);

  bool Read(std::string_view section, std::string_view key, std::string& value,
            bool createSection) override;
  bool Apply(std::span<const SettingChange> changes) override;
  void BeginReadBatch() override;
  void EndReadBatch() override;

  const std::filesystem::path& File() const { return file_; }

 private:
  // Loads the file; a missing file is an empty store. False when it cannot be read.
  bool Load(SettingsSections& contents, std::string& fileText) const;
  // Under the lock: loads, lets `change` modify the contents and writes them back when
  // they changed. A file that cannot be read is never overwritten.
  bool Update(const std::function<bool(SettingsSections&)>& change);

  std::filesystem::path file_;
  int readBatchDepth_ = 0;
  // Inside a read batch: the file as last read or written by this store.
  std::optional<SettingsSections> batchContents_;
};

// $XDG_CONFIG_HOME/Halvern/Orvale.ini, with ~/.config when XDG_CONFIG_HOME is not set
// to an absolute path.
std::filesystem::path DefaultSettingsFile();

}  // namespace orvale
