#include "platform/registry/MemorySettingsStore.h"

namespace orvale {

bool MemorySettingsStore::Read(std::string_view section, std::string_view key,
                               std::string& value, bool createSection) {
  if (!contents_.FindSection(section)) {
    if (createSection) contents_.AddSection(section);
    return false;
  }
  const std::string* found = contents_.FindValue(section, key);
  if (!found) return false;
  value = *found;
  return true;
}

bool MemorySettingsStore::Apply(std::span<const SettingChange> changes) {
  return contents_.Apply(changes);
}

}  // namespace orvale
