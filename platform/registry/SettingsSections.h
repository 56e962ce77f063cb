#pragma once
// The contents of a settings store: named sections of named text values, both names
// case-insensitive (ASCII). Sections and values keep the order in which they were
// first created, so a settings file stays readable and stable between writes. Names are
// found through an index by their case-folded spelling, so reading a file of n values
// costs n steps, not n squared.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvale {

// One change to a store: write `Value`, or delete the value when it is empty (nullopt).
struct SettingChange {
  std::string Section;
  std::string Key;
  std::optional<std::string> Value;
};

bool SameSettingName(std::string_view a, std::string_view b);

class SettingsSections {
 public:
  struct Entry {
    std::string Key;
    std::string Value;
    // A line of a settings file that is not a value (a comment or something
    // unreadable), kept as it was so that rewriting the file loses nothing.
    bool Raw = false;
  };
  class Section {
   public:
    std::string Name;
    const std::vector<Entry>& Entries() const { return entries_; }

   private:
    friend class SettingsSections;
    std::vector<Entry> entries_;
    std::unordered_map<std::string, std::size_t> keys_;  // folded key -> its entry
  };

  // Raw lines before the first section.
  std::vector<std::string> Preamble;

  const std::vector<Section>& Sections() const { return sections_; }
  const Section* FindSection(std::string_view name) const;
  // Creates the section, empty, unless it exists.
  void AddSection(std::string_view name);
  // Keeps a line that is not a value at the end of `section`, or before the first section
  // when there is no such section.
  void AddRawLine(std::string_view section, std::string line);
  // Copies the value into `value`; false when it or its section is missing.
  bool ReadValue(std::string_view section, std::string_view key, std::string& value) const;
  // Applies the changes in order. A write into a section that does not exist is
  // dropped; the result is false when any write was dropped.
  bool Apply(std::span<const SettingChange> changes);

 private:
  Section* Find(std::string_view name);
  std::vector<Section> sections_;
  std::unordered_map<std::string, std::size_t> names_;  // folded name -> its section
};

}  // namespace orvale
