#include "platform/runtime/LockedFileUpdate.h"

#include <cerrno>
#include <optional>

#include "platform/runtime/FolderLock.h"
#include "platform/runtime/ReadableFile.h"
#include "platform/runtime/TextOutput.h"

namespace orvale {

namespace {

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
                      FileIdentity* identity) {
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
  std::string before;
  FileIdentity read;
  const bool readable = ReadLocked(*file, before, failure, read);
  if (identity != nullptr) *identity = read;
  if (!readable) return fail();
  std::string after = before;
  const bool edited = edit(after);
  if (after == before) return edited;
  if (!WriteFileAtomically(*file, after, failure)) return fail();
  return edited;
}

}  // namespace orvale
