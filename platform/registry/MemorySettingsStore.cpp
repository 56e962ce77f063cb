#include "platform/registry/MemorySettingsStore.h"

namespace orvale {

bool MemorySettingsStore::Read(std::string_view section, std::string_view key,
                               std::string& value, bool createSection) {
  if (createSection) contents_.AddSection(section);
  return contents_.ReadValue(section, key, value);
}

bool MemorySettingsStore::Apply(std::span<const SettingChange> changes) {
  return contents_.Apply(changes);
}

}  // namespace orvale
