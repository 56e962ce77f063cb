#pragma once
// The settings store of the program: an INI file (see IniFormat.h), by default
// $XDG_CONFIG_HOME/Halvern/Orvale.ini. Several running copies of the program share it:
// every change re-reads, changes and rewrites it while holding an advisory lock on its
// folder (LockedFileUpdate.h), so each copy wins for the values it writes and loses no
// value written by another. A read outside a read batch looks at the file's identity
// (FileIdentity.h) and reads it again only when it may have changed, and parses it only
// when its text did: another copy's change shows at once, while an unchanged file is
// parsed once. A change, likewise, is made to the kept reading while the file is the one
// read, and only a file changed meanwhile is parsed again. The reads of a batch share one
// look, and the sections they create go to the file together when the batch ends (or
// with the next change): a start that finds none of its sections writes the file once.
// The file's folder is made by the first change when it is missing.
//
// When the file cannot be read (it is damaged, or larger than any settings file) or
// written (it was made read-only), the store goes on in memory: its reads see the file
// as it reads, or nothing, with every change made since on top, and each later change
// tries the file again with all of them. A file that cannot be read is never written.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry/SettingsStore.h"
#include "platform/runtime/FileIdentity.h"
#include "platform/runtime/RunError.h"

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

  // Why the file could not be read or written when it last failed; Number 0 while it
  // never failed.
  const RunError& Problem() const { return problem_; }
  // Called once, at the first failure, with its reason and whether the file was made
  // read-only on purpose (nobody may write it).
  using ProblemReport = std::function<void(const RunError& problem, bool readOnlyOnPurpose)>;
  void SetProblemReport(ProblemReport report) { report_ = std::move(report); }

 private:
  // What the store makes of the file: the file as read (or nothing, when it cannot be
  // read), with the changes the file has not taken on top.
  struct View {
    std::optional<FileIdentity> identity;  // of the file read; nullopt: read it again
    bool readable = false;
    std::string text;  // the file's as read
    SettingsSections contents;
  };
  // A change the file has not taken yet. It owns its names and values: it is applied
  // again to every later reading, long after the call that made it returned.
  struct Change {
    std::optional<std::string> NewSection;  // created, empty, unless it exists
    std::vector<SettingChange> Values;
    bool Empty() const { return !NewSection && Values.empty(); }
    // False when a write was dropped (see SettingsSections::Apply).
    bool ApplyTo(SettingsSections& contents) const;
  };

  // The view of the file as it is now: the kept one while the file keeps its identity,
  // else a new reading.
  const SettingsSections& Current();
  // Under the lock: applies `change` (after the changes not taken yet) to the file as it
  // is now and writes it back when it changed; kept in memory when the file cannot take it.
  bool Update(Change change);
  void NoteProblem(const RunError& problem);

  std::filesystem::path file_;
  int readBatchDepth_ = 0;
  bool batchLooked_ = false;  // the batch's one look at the file is taken
  std::optional<View> view_;
  std::vector<Change> unsaved_;  // in order, since the file last took a change
  bool sectionsAwaitBatchEnd_ = false;  // made by the reads of the open batch
  RunError problem_;
  ProblemReport report_;
  bool reported_ = false;
};

// $XDG_CONFIG_HOME/Halvern/Orvale.ini, with ~/.config when XDG_CONFIG_HOME is not set
// to an absolute path.
std::filesystem::path DefaultSettingsFile();

}  // namespace orvale
