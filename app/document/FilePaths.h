#pragma once
// File-name helpers used all over the program. Paths are POSIX: "/" separates the
// folder from the name. None of them touches the disk except FileExists.
#include <string>
#include <string_view>

namespace orvale {

// True when `path` names an existing regular file (a folder never counts). False for
// the empty path.
bool FileExists(std::string_view path);

// True when something other than a regular file is at `path` (a folder, a FIFO, a
// device): it exists, but is no file to open.
bool ThereButNoFile(std::string_view path);

// The text after the last "." of the file name; empty when the name has no ".".
std::string GetFileExtension(std::string_view path);

// The file name without its folder; with `withoutExtension`, also without the text from
// the name's last "." on.
std::string GetFileTitle(std::string_view path, bool withoutExtension);

// The folder of `path` without a trailing "/" ("/" for a file in the root); empty when
// the path has no folder.
std::string GetFilePath(std::string_view path);

// The path of `name` in `folder`. An empty folder means the current folder, so the
// result is the name alone, never a name in the root.
std::string JoinFilePath(std::string_view folder, std::string_view name);

}  // namespace orvale
