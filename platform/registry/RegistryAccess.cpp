#include "platform/registry/RegistryAccess.h"

#include "platform/registry/SettingsSections.h"
#include "platform/registry/SettingsStore.h"

namespace orvale {

namespace {

// The section of a key path below SettingsRoot; false for any other path.
bool SectionOf(std::string_view keyPath, std::string_view& section) {
  if (keyPath.size() < SettingsRoot.size() ||
      !SameSettingName(keyPath.substr(0, SettingsRoot.size()), SettingsRoot))
    return false;
  section = keyPath.substr(SettingsRoot.size());
  return true;
}

}  // namespace

bool RegReadValue(std::string_view keyPath, std::string_view valueName, std::string& text,
                  bool create) {
  text.clear();
  std::string_view section;
  if (!SectionOf(keyPath, section)) return false;
  std::string stored;
  if (!CurrentSettingsStore().Read(section, valueName, stored, create)) return false;
  if (stored.size() > kMaxSettingTextLength) return false;
  text = stored.substr(0, stored.find('\0'));
  return true;
}

bool RegWriteString(std::string_view keyPath, std::string_view valueName, std::string_view text) {
  std::string_view section;
  return SectionOf(keyPath, section) && CurrentSettingsStore().Write(section, valueName, text);
}

void DeleteRegistryValue(std::string_view keyPath, std::string_view valueName) {
  std::string_view section;
  if (SectionOf(keyPath, section)) CurrentSettingsStore().Delete(section, valueName);
}

}  // namespace orvale
