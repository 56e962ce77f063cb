#pragma once
// How a finished temporary file takes the place of the file it is written for, the one
// rule behind every file the program and the libraries write (the atomic writer, korrin32's
// image-format plug-ins):
// - A file the user may not write is not written: the system's answer, and a file that
//   nobody may write (no write permission bit) is read-only on purpose and is not written
//   by root either, although the system would let root.
// - Normally the temporary file, given the file's owner, group, mode and extended
//   attributes (ACLs), is renamed over it: readers see the old file or the new one.
// - A file with more than one name (hard links), or whose owner or attributes the
//   temporary file cannot take, is written in its place instead, under the exclusive lock
//   of its folder (FolderLock.h), so that every name sees the new text and nothing about
//   the file changes but its contents. The space is reserved first, so a full disk fails
//   before the file is touched (where the file system can reserve none, it is written
//   without); then the temporary file is copied over it and removed.
//   Should the process die while it copies, the file holds the start of the new text over
//   the old one, and the temporary file beside it ("<name>.tmp-XXXXXX") holds all of it.
// - Both files are examined and changed through descriptors, never followed through a
//   link: the file written, or whose looks the temporary file takes, is the one examined,
//   and the temporary file is still the writer's own. Another user who may write the
//   folder and puts a link or a file of theirs under either name makes the write fail
//   ("... was replaced by another program"), with nothing written through it.
#include <atomic>
#include <cstdint>
#include <filesystem>

#include "platform/runtime/RunError.h"

namespace orvale {

// False, with `error` set ("Permission denied" naming `shown`), when `file` exists and may
// not be written, or is not a regular file.
bool MayWriteFile(const std::filesystem::path& file, const std::filesystem::path& shown,
                  RunError& error);

// Puts the complete temporary file `temp` (in `file`'s folder) in the place of `file`, a
// file or a name not yet taken. On success `temp` is gone. On failure `error` names
// `shown`; `temp` is removed when `file` is as it was, and kept, as the error says, when a
// copy in place broke off midway. `temp` must be a file of this process's user.
bool ReplaceFileWith(const std::filesystem::path& temp, const std::filesystem::path& file,
                     const std::filesystem::path& shown, RunError& error);
// The same for the writer that made `temp` and holds it open, for reading, as `made`
// (which it still closes itself): what is put in place is that file, whoever owns it.
bool ReplaceFileWith(int made, const std::filesystem::path& temp, const std::filesystem::path& file,
                     const std::filesystem::path& shown, RunError& error);

// For tests (AtomicWriteFailure): how many more writes in place may reserve their space
// before one fails as a full disk would; -1 is no limit.
std::atomic<std::int64_t>& InPlaceReservationBudget();

}  // namespace orvale
