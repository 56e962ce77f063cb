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
  // The program's own settings folder, the registry's stand-in, is made when missing.
  std::error_code ignored;
  std::filesystem::create_directories(file_.parent_path(), ignored);
  std::optional<SettingsSections> edited;
  const bool done = UpdateFileLocked(file_, [&change, &edited](std::string& text) {
    SettingsSections contents = ParseIniSettings(text);
    const bool changed = change(contents);
    text = FormatIniSettings(contents);
    edited = std::move(contents);
    return changed;
  });
  // The batch's reads go on from the file as written, other copies' values included;
  // after a failure, or a change only partly made, from the file read afresh.
  if (readBatchDepth_ > 0) {
    if (done && edited) {
      batchContents_ = std::move(edited);
    } else {
      batchContents_.reset();
    }
  }
  return done;
}

bool IniSettingsStore::Read(std::string_view section, std::string_view key, std::string& value,
                            bool createSection) {
  SettingsSections loaded;
  const SettingsSections* contents = &loaded;
  if (readBatchDepth_ > 0 && batchContents_) {
    contents = &*batchContents_;
  } else {
    std::string fileText;
    if (!Load(loaded, fileText)) return false;
    if (readBatchDepth_ > 0) contents = &batchContents_.emplace(std::move(loaded));
  }
  if (createSection && !contents->FindSection(section)) {
    // Another copy may create it meanwhile; Update re-reads under the lock.
    Update([section](SettingsSections& c) {
      c.AddSection(section);
      return true;
    });
    return false;
  }
  return contents->ReadValue(section, key, value);
}

void IniSettingsStore::BeginReadBatch() { ++readBatchDepth_; }

void IniSettingsStore::EndReadBatch() {
  if (readBatchDepth_ > 0 && --readBatchDepth_ == 0) batchContents_.reset();
}

bool IniSettingsStore::Apply(std::span<const SettingChange> changes) {
  return Update([changes](SettingsSections& c) { return c.Apply(changes); });
}

std::filesystem::path DefaultSettingsFile() { return HalvernConfigFolder() / "Orvale.ini"; }

}  // namespace orvale
