#pragma once
// The text of a private profile (INI) file, read and changed the way the Windows profile
// calls do:
//
//   [Section]          section names and keys match without regard to case; the file's
//   Key = value        own spelling is kept when a value is replaced
//   ; comment
//
// Blanks around names and values are not part of them, and a value in matching single or
// double quotes loses them. Values are the raw bytes between (no escapes). Lines end in
// CR LF, LF or CR when read; a changed file is written with CR LF. Lines that are neither
// a section, a value nor a comment are kept as they are and not read, and a NUL byte ends
// what is read of a line, so binary garbage reads as missing values. Lines before the
// first section belong to no section. When a name appears twice, the first one counts.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvale {

class ProfileText {
 public:
  explicit ProfileText(std::string_view fileText);

  std::vector<std::string> SectionNames() const;
  // Empty when the section is missing.
  std::vector<std::string> KeyNames(std::string_view section) const;
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;

  // Sets a key, adding the section (at the end) and the key (after the section's last
  // value) when missing.
  void SetValue(std::string_view section, std::string_view key, std::string_view value);
  void DeleteKey(std::string_view section, std::string_view key);
  void DeleteSection(std::string_view section);

  // The text with CR LF line ends.
  std::string Format() const;
  // Whether a Set or Delete changed anything.
  bool Changed() const { return changed_; }

  // Whether a name or value can be written without changing the file's structure: no line
  // breaks or NULs in any; a section name without "]"; a key that is not empty, has no
  // "=" and would not read as a section or a comment. Names are taken without their
  // surrounding blanks, as the file reads them.
  static bool IsWritableSection(std::string_view name);
  static bool IsWritableKey(std::string_view name);
  static bool IsWritableValue(std::string_view value);

 private:
  enum class Kind { Other, Section, Entry };
  struct Line {
    std::string raw;
    Kind kind = Kind::Other;
    std::string name;   // section name or key
    std::string value;  // entries: the value as read
  };
  static Line ParseLine(std::string raw);
  // The first header of `section`, or npos.
  std::size_t FindSection(std::string_view section) const;
  // One past the last line of the section whose header is at `header`.
  std::size_t SectionEnd(std::size_t header) const;

  std::vector<Line> lines_;
  bool changed_ = false;
};

}  // namespace orvale
