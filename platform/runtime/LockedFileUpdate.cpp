#include "platform/runtime/LockedFileUpdate.h"

#include <cerrno>
#include <memory>
#include <optional>

#include "platform/runtime/FolderLock.h"
#include "platform/runtime/ReadableFile.h"
#include "platform/runtime/TextOutput.h"

namespace orvale {

namespace {

// How often a file that changes while it is updated is read and changed again before the
// update gives up: an editor's save takes one; a file rewritten without pause is no
// settings file to share.
constexpr int kMostReadings = 8;

std::function<void(const std::filesystem::path&)> gInterference;

RunError KeepsChanging(const std::filesystem::path& file) {
  RunError error = RunError::FromErrno(EBUSY, file);
  error.Description += " (another program keeps changing it)";
  return error;
}

RunError TooLarge(const std::filesystem::path& file) {
  RunError error = RunError::FromNumber(errnum::kInvalidFileFormat);
  error.Description += ": larger than " + std::to_string(kMostSharedTextFileBytes >> 20) +
                       " MB, far more than a settings file holds: " + file.string();
  return error;
}

// Reads `file` whole, its folder's lock held by the caller when it could be had.
bool ReadLocked(const std::filesystem::path& file, std::string& text, RunError& error,
                FileIdentity& identity) {
  text.clear();
  identity = FileIdentity{};
  std::optional<ReadableFile> input = ReadableFile::Open(file, &error);
  if (!input) return errno == ENOENT;
  identity = input->Identity();
  if (input->SizeWhenOpened() > kMostSharedTextFileBytes) {
    error = TooLarge(file);
    return false;
  }
  // A file that grows while it is read, or gives no size (/proc), is still cut short.
  if (input->ReadRest(text, kMostSharedTextFileBytes, error)) return true;
  if (text.size() >= kMostSharedTextFileBytes) error = TooLarge(file);
  text.clear();
  return false;
}

}  // namespace

bool ReadWholeFile(const std::filesystem::path& given, std::string& text, RunError* error,
                   FileIdentity* identity) {
  RunError failure;
  FileIdentity read;
  // Under the writers' lock of the folder of the file the links name, when it can be had:
  // reading never fails for want of it.
  const std::optional<std::filesystem::path> file = WriteTargetOf(given, failure);
  const FolderLock lock(file ? file->parent_path() : given.parent_path(), FolderLock::Mode::Shared);
  const bool done = ReadLocked(given, text, failure, read);
  if (error != nullptr && !done) *error = failure;
  if (identity != nullptr) *identity = read;
  return done;
}

bool UpdateFileLocked(const std::filesystem::path& given,
                      const std::function<bool(std::string& text)>& edit, RunError* error,
                      FileIdentity* identity, const KeptFileText* kept) {
  RunError failure;
  const auto fail = [&failure, error] {
    if (error != nullptr) *error = failure;
    return false;
  };
  // Through a link, the file it names is the shared one: its folder is the one locked, so
  // writers that reach it by different paths still take turns.
  const std::optional<std::filesystem::path> file = WriteTargetOf(given, failure);
  if (!file) return fail();
  const FolderLock lock(file->parent_path(), FolderLock::Mode::Exclusive);
  if (!lock.Held()) {
    failure = RunError::FromErrno(errno, given);
    return fail();
  }
  for (int reading = 1;; ++reading) {
    std::string before;
    FileIdentity read;
    bool readable = true;
    if (reading == 1 && kept != nullptr && FileIdentity::OfOrMissing(*file) == kept->Identity) {
      before = *kept->Text;
      read = kept->Identity;
    } else {
      readable = ReadLocked(*file, before, failure, read);
    }
    if (identity != nullptr) *identity = read;
    if (!readable) return fail();
    std::string after = before;
    const bool edited = edit(after);
    if (after == before) return edited;
    // Checked on the bytes written: a writer's line ends can make them more than were read.
    if (after.size() > kMostSharedTextFileBytes) {
      failure = TooLarge(*file);
      return fail();
    }
    const std::unique_ptr<AtomicFileWriter> writer = AtomicFileWriter::Open(*file, failure);
    if (!writer || !writer->Write(after, failure) || !writer->Sync(failure)) return fail();
    if (gInterference) gInterference(*file);
    // The last look before the file is put in place: what an editor saved meanwhile is
    // read, and changed, again.
    if (FileIdentity::OfOrMissing(*file) == read) return writer->Commit(failure) ? edited : fail();
    if (reading == kMostReadings) {
      failure = KeepsChanging(*file);
      return fail();
    }
  }
}

FileUpdateInterference::FileUpdateInterference(
    std::function<void(const std::filesystem::path& file)> act) {
  gInterference = std::move(act);
}

FileUpdateInterference::~FileUpdateInterference() { gInterference = nullptr; }

}  // namespace orvale
