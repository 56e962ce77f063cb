#include "platform/registry/SettingsSections.h"

#include <algorithm>

namespace orvale {

namespace {

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

SettingsSections::Entry* FindEntry(SettingsSections::Section& section, std::string_view key) {
  for (auto& entry : section.Entries)
    if (!entry.Raw && SameSettingName(entry.Key, key)) return &entry;
  return nullptr;
}

}  // namespace

bool SameSettingName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return FoldCase(x) == FoldCase(y); });
}

SettingsSections::Section* SettingsSections::FindSection(std::string_view name) {
  for (auto& section : Sections)
    if (SameSettingName(section.Name, name)) return &section;
  return nullptr;
}

const SettingsSections::Section* SettingsSections::FindSection(std::string_view name) const {
  return const_cast<SettingsSections*>(this)->FindSection(name);
}

void SettingsSections::AddSection(std::string_view name) {
  if (!FindSection(name)) Sections.push_back({std::string(name), {}});
}

bool SettingsSections::ReadValue(std::string_view section, std::string_view key,
                                 std::string& value) const {
  const Section* found = FindSection(section);
  const Entry* entry = found ? FindEntry(const_cast<Section&>(*found), key) : nullptr;
  if (!entry) return false;
  value = entry->Value;
  return true;
}

bool SettingsSections::Apply(std::span<const SettingChange> changes) {
  bool allWritten = true;
  for (const auto& change : changes) {
    Section* section = FindSection(change.Section);
    if (!section) {
      if (change.Value) allWritten = false;
      continue;
    }
    Entry* entry = FindEntry(*section, change.Key);
    if (!change.Value) {
      if (entry) section->Entries.erase(section->Entries.begin() + (entry - section->Entries.data()));
    } else if (entry) {
      entry->Value = *change.Value;
    } else {
      section->Entries.push_back({change.Key, *change.Value, false});
    }
  }
  return allWritten;
}

}  // namespace orvale
