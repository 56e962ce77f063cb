#pragma once
// A settings store held in memory, for tests and as the fallback before the program
// installs its file store.
#include "platform/registry/SettingsStore.h"

namespace orvale {

class MemorySettingsStore final : public SettingsStore {
 public:
  bool Read(std::string_view section, std::string_view key, std::string& value,
            bool createSection) override;
  bool Apply(std::span<const SettingChange> changes) override;

  const SettingsSections& Contents() const { return contents_; }

 private:
  SettingsSections contents_;
};

}  // namespace orvale
