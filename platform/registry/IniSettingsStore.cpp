#include "platform/registry/IniSettingsStore.h"

#include "platform/registry/IniFormat.h"
#include "platform/runtime/ConfigFolder.h"
#include "platform/runtime/LockedFileUpdate.h"

namespace orvale {

IniSettingsStore::IniSettingsStore(std::filesystem::path file) : file_(std::move(file)) {}

bool IniSettingsStore::Load(SettingsSections& contents, std::string& fileText) const {
  if (!ReadWholeFile(file_, fileText)) return false;
  contents = ParseIniSettings(fileText);
  return true;
}

bool IniSettingsStore::Update(const std::function<bool(SettingsSections&)>& change) {
  return UpdateFileLocked(file_, [&change](std::string& text) {
    SettingsSections contents = ParseIniSettings(text);
    const bool changed = change(contents);
    text = FormatIniSettings(contents);
    return changed;
  });
}

bool IniSettingsStore::Read(std::string_view section, std::string_view key, std::string& value,
                            bool createSection) {
  SettingsSections contents;
  std::string fileText;
  if (!Load(contents, fileText)) return false;
  if (createSection && !contents.FindSection(section)) {
    // Another copy may create it meanwhile; Update re-reads under the lock.
    Update([section](SettingsSections& c) {
      c.AddSection(section);
      return true;
    });
    return false;
  }
  return contents.ReadValue(section, key, value);
}

bool IniSettingsStore::Apply(std::span<const SettingChange> changes) {
  return Update([changes](SettingsSections& c) { return c.Apply(changes); });
}

std::filesystem::path DefaultSettingsFile() { return HalvernConfigFolder() / "Orvale.ini"; }

}  // namespace orvale
