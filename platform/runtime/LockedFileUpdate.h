#pragma once
// Read-change-write of a text file that several processes share (the settings store,
// private profile files). The change happens under an exclusive advisory lock on the
// file's folder (FolderLock.h), on the file as it is now, and the result is written by
// the atomic writer (TextOutput.h), so no writer loses another's values and a failure
// leaves the old file whole; readers take the lock shared, so a file written in its place
// is never read half written. Writers of other files in the same folder wait their turn
// too. A file reached through a symbolic link is the file the link names, in that file's
// folder; the link stays.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/runtime/FileIdentity.h"
#include "platform/runtime/RunError.h"

namespace orvale {

// The largest settings, profile or INI file that is read. The program and the libraries
// write a few kilobytes; a hand-kept file of 100,000 values is about 3 MB, and one of 16
// MB still reads in a fraction of a second. A larger one is no file of ours: it is refused
// with "Invalid file format" and never written over.
inline constexpr std::uint64_t kMostSharedTextFileBytes = std::uint64_t{16} << 20;

// The whole file; a missing file reads as empty (and its identity as all zeros). False,
// with `error` set when given, when it exists but cannot be read or is larger than
// kMostSharedTextFileBytes. `identity`, when given, is the identity of the file read.
bool ReadWholeFile(const std::filesystem::path& file, std::string& text, RunError* error = nullptr,
                   FileIdentity* identity = nullptr);

// What a caller kept of the file from an earlier reading: its text, and the identity the
// file had then, taken when the file had settled (FileIdentity::SettledBefore), so that
// any later change shows in it.
struct KeptFileText {
  FileIdentity Identity;
  const std::string* Text = nullptr;
};

// Takes the lock, reads the file and lets `edit` change the text; writes it back when it
// changed. Returns `edit`'s result, or false, with `error` set when given, when the lock,
// the read or the write failed (`error` is left alone otherwise). `identity`, when given,
// is the identity of the file as read under the lock. The folder must exist: a missing
// one fails and is not made. A file that cannot be read is never overwritten.
//
// With `kept`, a file that still has the kept identity is not read: the kept text is
// taken for its text. Editors take no lock, so before the new text takes the file's
// place the file is looked at again; one replaced or changed meanwhile is read again and
// `edit` runs again on its text, so that the editor's save and the change are both kept.
// `edit` must therefore give the same result whenever it is given the same text. A
// result larger than kMostSharedTextFileBytes, line ends included, is not written: it
// fails as too large, and the file stays as it was.
bool UpdateFileLocked(const std::filesystem::path& file,
                      const std::function<bool(std::string& text)>& edit, RunError* error = nullptr,
                      FileIdentity* identity = nullptr, const KeptFileText* kept = nullptr);

// For tests: while one lives, `act` runs in every UpdateFileLocked after the new text is
// in its temporary file and before the file is looked at again, as another program that
// takes no lock may act then (an editor saving the file).
class FileUpdateInterference {
 public:
  explicit FileUpdateInterference(std::function<void(const std::filesystem::path& file)> act);
  ~FileUpdateInterference();
  FileUpdateInterference(const FileUpdateInterference&) = delete;
  FileUpdateInterference& operator=(const FileUpdateInterference&) = delete;
};

}  // namespace orvale
