#include "platform/runtime/OtherUsersWrites.h"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <cstring>
#include <system_error>
#include <vector>

namespace orvale {

namespace {

bool OwnedByUserOrRoot(const struct stat& st) { return st.st_uid == ::geteuid() || st.st_uid == 0; }

// Whether the group of `st` is its owner's own: named as the owner, the owner's primary
// group, and listing nobody else (user private groups, under which a umask of 002 makes
// every file group-writable).
bool GroupOfTheOwnerAlone(const struct stat& st) {
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> userBuffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  size = ::sysconf(_SC_GETGR_R_SIZE_MAX);
  std::vector<char> groupBuffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd user{};
  passwd* owner = nullptr;
  group entry{};
  group* found = nullptr;
  // A name service answer too long for the buffers is no private group: refused, not grown.
  if (::getpwuid_r(st.st_uid, &user, userBuffer.data(), userBuffer.size(), &owner) != 0 || owner == nullptr ||
      ::getgrgid_r(st.st_gid, &entry, groupBuffer.data(), groupBuffer.size(), &found) != 0 || found == nullptr) {
    return false;
  }
  if (owner->pw_gid != st.st_gid || std::strcmp(found->gr_name, owner->pw_name) != 0) return false;
  for (char** member = found->gr_mem; *member != nullptr; ++member) {
    if (std::strcmp(*member, owner->pw_name) != 0) return false;
  }
  return true;
}

// Whether anyone but the owner may write `st` through its mode.
bool OthersMayWriteByMode(const struct stat& st) {
  return (st.st_mode & S_IWOTH) != 0 || ((st.st_mode & S_IWGRP) != 0 && !GroupOfTheOwnerAlone(st));
}

// Checks `real` (no link in it) and every folder above it; false with `why` set.
bool ChainSafe(const std::filesystem::path& real, std::string& why) {
  std::filesystem::path at = real;
  for (bool folder = false;; folder = true) {
    struct stat st {};
    if (::lstat(at.c_str(), &st) != 0) return true;  // gone meanwhile: the opener reports it
    // In a sticky folder others may add entries but not replace one that is not theirs,
    // and the entry below was found to be this user's or root's.
    // (A link's own mode means nothing.)
    const bool othersReplace = !S_ISLNK(st.st_mode) && !(folder && (st.st_mode & S_ISVTX)) &&
                               OthersMayWriteByMode(st);
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
  return !OwnedByUserOrRoot(st) || OthersMayWriteByMode(st);
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
