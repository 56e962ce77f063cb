#pragma once
// The contents of a settings store: named sections of named text values, both names
// case-insensitive (ASCII). Sections and values keep the order in which they were
// first created, so a settings file stays readable and stable between writes.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvale {

// One change to a store: write `Value`, or delete the value when it is empty (nullopt).
struct SettingChange {
  std::string Section;
  std::string Key;
  std::optional<std::string> Value;
};

bool SameSettingName(std::string_view a, std::string_view b);

struct SettingsSections {
  struct Entry {
    std::string Key;
    std::string Value;
    // A line of a settings file that is not a value (a comment or something
    // unreadable), kept as it was so that rewriting the file loses nothing.
    bool Raw = false;
  };
  struct Section {
    std::string Name;
    std::vector<Entry> Entries;
  };

  // Raw lines before the first section.
  std::vector<std::string> Preamble;
  std::vector<Section> Sections;

  Section* FindSection(std::string_view name);
  const Section* FindSection(std::string_view name) const;
  // Creates the section, empty, unless it exists.
  void AddSection(std::string_view name);
  // Copies the value into `value`; false when it or its section is missing.
  bool ReadValue(std::string_view section, std::string_view key, std::string& value) const;
  // Applies the changes in order. A write into a section that does not exist is
  // dropped; the result is false when any write was dropped.
  bool Apply(std::span<const SettingChange> changes);
};

}  // namespace orvale
