#include "platform/registry/IniSettingsStore.h"

#include <sys/stat.h>

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

}  // namespace

IniSettingsStore::IniSettingsStore(std::filesystem::path file) : file_(std::move(file)) {}

const SettingsSections& IniSettingsStore::Current() {
  if (readBatchDepth_ > 0 && batchLooked_ && view_) return view_->contents;
  batchLooked_ = readBatchDepth_ > 0;
  const std::optional<FileIdentity> now = FileIdentity::OfOrMissing(file_);
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
  for (const Change& change : unsaved_) change.ApplyTo(fresh.contents);
  view_ = std::move(fresh);
  return view_->contents;
}

bool IniSettingsStore::Update(Change change) {
  // The program's own settings folder, the registry's stand-in, is made when missing.
  std::error_code ignored;
  std::filesystem::create_directories(file_.parent_path(), ignored);
  const timespec readStart = RealTimeNow();
  std::optional<KeptFileText> kept;
  if (view_ && view_->readable && view_->identity) kept = KeptFileText{*view_->identity, &view_->text};
  // The edit may run again on a newer text (an editor saved meanwhile): the kept reading
  // takes the change once, and a newer text gets a reading of its own.
  bool edited = false;
  bool keptTookChange = false;
  bool keptChanged = false;
  std::optional<View> fresh;
  bool rewritten = false;
  std::string written;
  RunError failure;
  FileIdentity read;
  const bool done = UpdateFileLocked(
      file_,
      [&](std::string& text) {
        edited = true;
        const SettingsSections* contents = nullptr;
        bool changed = false;
        if (view_ && view_->readable && view_->text == text) {
          // The file is the one kept, whose reading holds the changes not taken yet.
          fresh.reset();
          if (!keptTookChange) keptChanged = change.ApplyTo(view_->contents);
          keptTookChange = true;
          changed = keptChanged;
          contents = &view_->contents;
        } else {
          fresh.emplace(View{std::nullopt, true, text, ParseIniSettings(text)});
          for (const Change& earlier : unsaved_) earlier.ApplyTo(fresh->contents);
          changed = change.ApplyTo(fresh->contents);
          contents = &fresh->contents;
        }
        std::string formatted = FormatIniSettings(*contents);
        rewritten = formatted != text;
        text = std::move(formatted);
        written = text;
        return changed;
      },
      &failure, &read, kept ? &*kept : nullptr);
  batchLooked_ = readBatchDepth_ > 0;
  if (failure.Number == 0) {
    // The file holds it all now, other copies' values included.
    unsaved_.clear();
    sectionsAwaitBatchEnd_ = false;
    if (fresh) view_ = std::move(fresh);
    view_->text = std::move(written);
    // A file just written is read again at the next look (it changed too lately to be
    // known by its identity), but not parsed again: its text is this one.
    view_->identity = rewritten ? std::nullopt : KeepableIdentity(read, readStart);
    return done;
  }
  if (!change.Empty()) unsaved_.push_back(std::move(change));
  if (edited) {
    // Read but not written: what was read, with the changes on top, while the file holds.
    if (fresh) view_ = std::move(fresh);
    view_->identity = KeepableIdentity(read, readStart);
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
    Change created{std::string(section), {}};
    if (readBatchDepth_ > 0) {
      created.ApplyTo(view_->contents);
      unsaved_.push_back(std::move(created));
      sectionsAwaitBatchEnd_ = true;
    } else {
      // Another copy may create it meanwhile; Update re-reads under the lock.
      Update(std::move(created));
    }
    return false;
  }
  return contents.ReadValue(section, key, value);
}

void IniSettingsStore::BeginReadBatch() { ++readBatchDepth_; }

void IniSettingsStore::EndReadBatch() {
  if (readBatchDepth_ == 0 || --readBatchDepth_ > 0) return;
  batchLooked_ = false;
  if (!sectionsAwaitBatchEnd_) return;
  sectionsAwaitBatchEnd_ = false;
  if (!unsaved_.empty()) Update(Change{});
}

bool IniSettingsStore::Apply(std::span<const SettingChange> changes) {
  return Update(Change{std::nullopt, {changes.begin(), changes.end()}});
}

bool IniSettingsStore::Change::ApplyTo(SettingsSections& contents) const {
  if (NewSection) contents.AddSection(*NewSection);
  return contents.Apply(Values);
}

std::filesystem::path DefaultSettingsFile() { return HalvernConfigFolder() / "Orvale.ini"; }

}  // namespace orvale
