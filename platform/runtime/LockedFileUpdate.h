#pragma once
// Read-change-write of a text file that several processes share (the settings store,
// private profile files). The change happens under an exclusive advisory lock on the
// file's folder, on the file as it is now, and the result replaces the file atomically
// (TextOutput.h), so no writer loses another's values and a failure leaves the old file
// whole. The lock is on the folder itself, so nothing is left beside the user's files;
// writers of other files in the same folder wait their turn too. A file reached through
// a symbolic link is the file the link names, in that file's folder; the link stays.
#include <filesystem>
#include <functional>
#include <string>

namespace orvale {

// The whole file; a missing file reads as empty. False when it exists but cannot be read.
bool ReadWholeFile(const std::filesystem::path& file, std::string& text);

// Takes the lock, reads the file and lets `edit` change the text; writes it back when it
// changed. Returns `edit`'s result, or false when the lock, the read or the write failed.
// The folder must exist: a missing one fails and is not made. A file that cannot be read
// is never overwritten.
bool UpdateFileLocked(const std::filesystem::path& file,
                      const std::function<bool(std::string& text)>& edit);

}  // namespace orvale
