#include "platform/registry/IniSettingsStore.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/registry/IniFormat.h"
#include "platform/runtime/ConfigFolder.h"
#include "platform/runtime/LockedFileUpdate.h"

namespace orvale {

namespace {

// The identity a reading may be kept under: the file's now, all zeros for a missing
// file, nullopt when it cannot be had or changed too lately to tell a later change by.
std::optional<FileIdentity> KeepableIdentity(const FileIdentity& identity, const timespec& readStart) {
  if (identity == FileIdentity{}) return identity;
  if (!identity.SettledBefore(readStart)) return std::nullopt;
  return identity;
}

std::optional<FileIdentity> IdentityNow(const std::filesystem::path& file) {
  if (std::optional<FileIdentity> now = FileIdentity::Of(file)) return now;
  if (errno == ENOENT) return FileIdentity{};
  return std::nullopt;
}

}  // namespace

IniSettingsStore::IniSettingsStore(std::filesystem::path file) : file_(std::move(file)) {}

const SettingsSections& IniSettingsStore::Current() {
  if (readBatchDepth_ > 0 && batchLooked_ && view_) return view_->contents;
  batchLooked_ = readBatchDepth_ > 0;
  const std::optional<FileIdentity> now = IdentityNow(file_);
  if (view_ && view_->identity && now && *view_->identity == *now) return view_->contents;
  const timespec readStart = RealTimeNow();
  std::string text;
  RunError failure;
  FileIdentity read;
  const bool readable = ReadWholeFile(file_, text, &failure, &read);
  if (!readable) NoteProblem(failure);
  if (view_ && view_->readable == readable && view_->text == text) {
    view_->identity = KeepableIdentity(read, readStart);  // the same text: no need to parse
    return view_->contents;
  }
  View fresh{KeepableIdentity(read, readStart), readable, std::move(text), SettingsSections()};
  if (readable) fresh.contents = ParseIniSettings(fresh.text);
  for (const Change& change : unsaved_) change(fresh.contents);
  view_ = std::move(fresh);
  return view_->contents;
}

bool IniSettingsStore::Update(const Change& change) {
  // The program's own settings folder, the registry's stand-in, is made when missing.
  std::error_code ignored;
  std::filesystem::create_directories(file_.parent_path(), ignored);
  const timespec readStart = RealTimeNow();
  std::optional<View> edited;
  std::string written;
  RunError failure;
  FileIdentity read;
  const bool done = UpdateFileLocked(
      file_,
      [this, &change, &edited, &written](std::string& text) {
        edited.emplace(View{std::nullopt, true, text, ParseIniSettings(text)});
        for (const Change& earlier : unsaved_) earlier(edited->contents);
        const bool changed = change(edited->contents);
        text = FormatIniSettings(edited->contents);
        written = text;
        return changed;
      },
      &failure, &read);
  batchLooked_ = readBatchDepth_ > 0;
  if (failure.Number == 0) {
    // The file holds it all now, other copies' values included.
    unsaved_.clear();
    edited->text = std::move(written);
    view_ = std::move(edited);
    return done;
  }
  unsaved_.push_back(change);
  if (edited) {
    // Read but not written: what was read, with the changes on top, while the file holds.
    edited->identity = KeepableIdentity(read, readStart);
    view_ = std::move(edited);
  } else {
    view_.reset();
    Current();  // the file cannot be read: nothing, with the changes on top
  }
  NoteProblem(failure);
  return false;
}

void IniSettingsStore::NoteProblem(const RunError& problem) {
  problem_ = problem;
  if (reported_ || !report_) return;
  reported_ = true;
  struct stat st {};
  const bool onPurpose = ::stat(file_.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
                         (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
  report_(problem, onPurpose);
}

bool IniSettingsStore::Read(std::string_view section, std::string_view key, std::string& value,
                            bool createSection) {
  const SettingsSections& contents = Current();
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

void IniSettingsStore::BeginReadBatch() { ++readBatchDepth_; }

void IniSettingsStore::EndReadBatch() {
  if (readBatchDepth_ > 0 && --readBatchDepth_ == 0) batchLooked_ = false;
}

bool IniSettingsStore::Apply(std::span<const SettingChange> changes) {
  return Update([changes = std::vector<SettingChange>(changes.begin(), changes.end())](
                    SettingsSections& c) { return c.Apply(changes); });
}

std::filesystem::path DefaultSettingsFile() { return HalvernConfigFolder() / "Orvale.ini"; }

}  // namespace orvale
