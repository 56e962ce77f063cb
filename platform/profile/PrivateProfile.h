#pragma once
// Private profile (INI) files with the semantics of the Windows private-profile calls, for
// the plug-in's and the card libraries' settings. The card libraries' profile exports
// forward to GetString and WriteString as they are.
//
// A bare file name ("krg.ini") names a file in one root folder, by default
// $XDG_CONFIG_HOME/Halvern (read at each call), the stand-in for the Windows directory,
// which is made by a write when missing as the Windows one always exists; SetRoot moves it
// (tests use a temporary folder). A name with a folder is used as given, and a write into
// a folder that does not exist fails, as the profile call does, without making it.
// File contents are read as ProfileText.h describes. Every write re-reads the file and
// replaces it in one atomic step under a lock (ProfileFiles.h), so a failed write leaves
// the file as it was.
//
//   PrivateProfile profile;                       // files on disk
//   char text[64];
//   profile.GetString("Board", "Latency", "-1", text, sizeof text, "krg.ini");
//   profile.WriteString("Board", "Latency", "32", "krg.ini");
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile/ProfileFiles.h"

namespace orvale {

// One key of a section batch; no value deletes the key.
struct ProfileEntry {
  std::string key;
  std::optional<std::string> value;
};

// The number a profile-integer read takes from a value: leading blanks and tabs skipped,
// an optional sign, then decimal digits up to the first other character ("5.7" and "5abc"
// give 5). Nothing when the value does not start with a number in the signed 32-bit range.
std::optional<int> LeadingProfileInt(std::string_view value);

class PrivateProfile {
 public:
  // Files on disk.
  PrivateProfile();
  explicit PrivateProfile(std::shared_ptr<ProfileFiles> files);

  // An empty root goes back to the default folder.
  void SetRoot(std::filesystem::path root);
  // Where `fileName` is read and written; empty for an empty name.
  std::filesystem::path Resolve(std::string_view fileName) const;

  // As GetPrivateProfileStringA. Copies the value of `key` into `buffer` (`size` bytes,
  // NUL-terminated) and returns its length. A missing key or file gives `defaultValue`
  // (null: "") without its trailing blanks. A value that does not fit is cut to size - 1
  // bytes and size - 1 returned. A null `section` gives the section names, a null `key`
  // the section's keys: each name NUL-terminated and one more NUL at the end, the length
  // counted without that last NUL; a list that does not fit is cut, ends in two NULs and
  // returns size - 2. A size of 0 (or a null buffer) writes nothing and returns 0.
  std::uint32_t GetString(const char* section, const char* key, const char* defaultValue,
                          char* buffer, std::uint32_t size, const char* fileName) const;
  // As GetPrivateProfileIntA: the decimal number at the start of the value
  // (LeadingProfileInt); `defaultValue` for a missing key or a value that does not start
  // with a number in the 32-bit range.
  int GetInt(const char* section, const char* key, int defaultValue, const char* fileName) const;
  // As WritePrivateProfileStringA: sets the key; a null `value` deletes the key, a null
  // `key` the whole section. False for a null section or file name, a name or value that
  // would break the file's lines (ProfileText::IsWritable...), or a failed write.
  bool WriteString(const char* section, const char* key, const char* value,
                   const char* fileName);

  std::optional<std::string> Value(std::string_view section, std::string_view key,
                                   std::string_view fileName) const;
  std::vector<std::string> SectionNames(std::string_view fileName) const;
  std::vector<std::string> KeyNames(std::string_view section, std::string_view fileName) const;
  // Sets and deletes several keys of one section in one write: all of them or, when any
  // is refused or the write fails, none.
  bool WriteSection(std::string_view section, std::span<const ProfileEntry> entries,
                    std::string_view fileName);

 private:
  // The file's contents; an unreadable file reads as empty.
  std::string Load(std::string_view fileName) const;
  // Where a write of `fileName` goes, with the root folder made for a bare name; empty
  // when there is no such place.
  std::filesystem::path ResolveForWrite(std::string_view fileName) const;

  std::shared_ptr<ProfileFiles> files_;
  mutable std::mutex mutex_;
  std::filesystem::path root_;  // empty: the default folder
};

}  // namespace orvale
