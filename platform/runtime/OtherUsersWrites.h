#pragma once
// What users other than this process's own (and root) may change is not trusted to say
// where the program writes or what code it runs: a symbolic link of theirs in a folder
// they may write is not followed by a writer (the rule of the kernel's protected_symlinks,
// for every such folder, not only sticky ones), and no plug-in is loaded from, or named
// by, a file or folder they may change.
#include <sys/stat.h>

#include <filesystem>
#include <string>

namespace orvale {

// True when `st` belongs to another user, or everyone may write it, or a group that is
// not its owner's own (a user private group of no other member) may.
bool OtherUsersMayWrite(const struct stat& st);

// Whether a writer may follow the symbolic link `link` (`linkStatus`, from lstat): always
// in a folder only its user (or root) may write; in any other folder only a link of this
// process's user or of root.
bool MayFollowLink(const std::filesystem::path& link, const struct stat& linkStatus);

// Whether no other user may change `path`, the file it names when it is a link, or any
// folder above either (a sticky folder, such as /tmp, keeps its entries to their owners).
// False with `why` ("... may be written by other users") otherwise; a missing file is
// left to whoever opens it.
bool SafeFromOtherUsers(const std::filesystem::path& path, std::string& why);

}  // namespace orvale
