#include "platform/runtime/OtherUsersWrites.h"

#include <unistd.h>

#include <system_error>

namespace orvale {

namespace {

bool OwnedByUserOrRoot(const struct stat& st) { return st.st_uid == ::geteuid() || st.st_uid == 0; }

// Checks `real` (no link in it) and every folder above it; false with `why` set.
bool ChainSafe(const std::filesystem::path& real, std::string& why) {
  std::filesystem::path at = real;
  for (bool folder = false;; folder = true) {
    struct stat st {};
    if (::lstat(at.c_str(), &st) != 0) return true;  // gone meanwhile: the opener reports it
    // In a sticky folder others may add entries but not replace one that is not theirs,
    // and the entry below was found to be this user's or root's.
    // (A link's own mode means nothing.)
    const bool othersReplace = !S_ISLNK(st.st_mode) && (st.st_mode & (S_IWGRP | S_IWOTH)) != 0 &&
                               !(folder && (st.st_mode & S_ISVTX));
    if (!OwnedByUserOrRoot(st)) {
      why = at.string() + " belongs to another user";
      return false;
    }
    if (othersReplace) {
      why = at.string() + " may be written by other users";
      return false;
    }
    if (!at.has_relative_path()) return true;
    at = at.parent_path();
  }
}

}  // namespace

bool OtherUsersMayWrite(const struct stat& st) {
  return !OwnedByUserOrRoot(st) || (st.st_mode & (S_IWGRP | S_IWOTH)) != 0;
}

bool MayFollowLink(const std::filesystem::path& link, const struct stat& linkStatus) {
  if (OwnedByUserOrRoot(linkStatus)) return true;
  struct stat folder {};
  const std::filesystem::path where = link.has_parent_path() ? link.parent_path() : ".";
  return ::stat(where.c_str(), &folder) == 0 && !OtherUsersMayWrite(folder);
}

bool SafeFromOtherUsers(const std::filesystem::path& path, std::string& why) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  if (ec) return true;
  struct stat st {};
  if (::lstat(absolute.c_str(), &st) != 0) return true;
  if (S_ISLNK(st.st_mode)) {  // the link where it lies, then the file it leads to
    const std::filesystem::path folder = std::filesystem::canonical(absolute.parent_path(), ec);
    if (!ec && !ChainSafe(folder / absolute.filename(), why)) return false;
  }
  const std::filesystem::path real = std::filesystem::canonical(absolute, ec);
  return ec || ChainSafe(real, why);
}

}  // namespace orvale
