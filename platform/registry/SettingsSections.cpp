#include "platform/registry/SettingsSections.h"

#include <algorithm>

namespace orvale {

namespace {

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

std::string Folded(std::string_view name) {
  std::string folded(name);
  std::transform(folded.begin(), folded.end(), folded.begin(), FoldCase);
  return folded;
}

}  // namespace

bool SameSettingName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return FoldCase(x) == FoldCase(y); });
}

SettingsSections::Section* SettingsSections::Find(std::string_view name) {
  const auto found = names_.find(Folded(name));
  return found == names_.end() ? nullptr : &sections_[found->second];
}

const SettingsSections::Section* SettingsSections::FindSection(std::string_view name) const {
  return const_cast<SettingsSections*>(this)->Find(name);
}

void SettingsSections::AddSection(std::string_view name) {
  if (names_.try_emplace(Folded(name), sections_.size()).second) {
    sections_.emplace_back();
    sections_.back().Name = std::string(name);
  }
}

void SettingsSections::AddRawLine(std::string_view section, std::string line) {
  Section* found = Find(section);
  if (found != nullptr) {
    found->entries_.push_back({std::string(), std::move(line), true});
  } else {
    Preamble.push_back(std::move(line));
  }
}

bool SettingsSections::ReadValue(std::string_view section, std::string_view key,
                                 std::string& value) const {
  const Section* found = FindSection(section);
  if (found == nullptr) return false;
  const auto entry = found->keys_.find(Folded(key));
  if (entry == found->keys_.end()) return false;
  value = found->entries_[entry->second].Value;
  return true;
}

bool SettingsSections::Apply(std::span<const SettingChange> changes) {
  bool allWritten = true;
  for (const auto& change : changes) {
    Section* section = Find(change.Section);
    if (!section) {
      if (change.Value) allWritten = false;
      continue;
    }
    std::string key = Folded(change.Key);
    const auto entry = section->keys_.find(key);
    if (!change.Value) {
      if (entry == section->keys_.end()) continue;
      const std::size_t erased = entry->second;
      section->entries_.erase(section->entries_.begin() + static_cast<std::ptrdiff_t>(erased));
      section->keys_.erase(entry);
      for (auto& [name, index] : section->keys_)
        if (index > erased) --index;
    } else if (entry != section->keys_.end()) {
      section->entries_[entry->second].Value = *change.Value;
    } else {
      section->keys_.emplace(std::move(key), section->entries_.size());
      section->entries_.push_back({change.Key, *change.Value, false});
    }
  }
  return allWritten;
}

}  // namespace orvale
