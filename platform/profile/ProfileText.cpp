#include "platform/profile/ProfileText.h"

#include <algorithm>
#include <unordered_set>

namespace orvale {

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

bool HasLineBreakOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// Names in the order first seen, each once whatever its case: one pass over a file.
class DistinctNames {
 public:
  void Add(std::string_view name) {
    std::string folded(name);
    std::transform(folded.begin(), folded.end(), folded.begin(), LowerAscii);
    if (seen_.insert(std::move(folded)).second) names_.emplace_back(name);
  }
  std::vector<std::string> Take() { return std::move(names_); }

 private:
  std::vector<std::string> names_;
  std::unordered_set<std::string> seen_;
};

}  // namespace

ProfileText::ProfileText(std::string_view fileText) {
  std::size_t pos = 0;
  while (pos < fileText.size()) {
    const std::size_t end = fileText.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) {
      lines_.push_back(ParseLine(std::string(fileText.substr(pos))));
      break;
    }
    lines_.push_back(ParseLine(std::string(fileText.substr(pos, end - pos))));
    pos = end + (fileText.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
}

ProfileText::Line ProfileText::ParseLine(std::string raw) {
  Line line;
  line.raw = std::move(raw);
  std::string_view text = line.raw;
  text = Trim(text.substr(0, text.find('\0')));
  if (text.starts_with('[')) {
    const std::size_t close = text.rfind(']');
    if (close != std::string_view::npos) {
      line.kind = Kind::Section;
      line.name = Trim(text.substr(1, close - 1));
    }
  } else if (!text.starts_with(';')) {
    const std::size_t equals = text.find('=');
    if (equals != std::string_view::npos && !Trim(text.substr(0, equals)).empty()) {
      line.kind = Kind::Entry;
      line.name = Trim(text.substr(0, equals));
      line.value = Unquote(Trim(text.substr(equals + 1)));
    }
  }
  return line;
}

std::size_t ProfileText::FindSection(std::string_view section) const {
  section = Trim(section);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == Kind::Section && SameName(lines_[i].name, section)) return i;
  }
  return std::string::npos;
}

std::size_t ProfileText::SectionEnd(std::size_t header) const {
  std::size_t end = header + 1;
  while (end < lines_.size() && lines_[end].kind != Kind::Section) ++end;
  return end;
}

std::vector<std::string> ProfileText::SectionNames() const {
  DistinctNames names;
  for (const Line& line : lines_) {
    if (line.kind == Kind::Section) names.Add(line.name);
  }
  return names.Take();
}

std::vector<std::string> ProfileText::KeyNames(std::string_view section) const {
  DistinctNames names;
  const std::size_t header = FindSection(section);
  if (header == std::string::npos) return {};
  for (std::size_t i = header + 1, end = SectionEnd(header); i < end; ++i) {
    if (lines_[i].kind == Kind::Entry) names.Add(lines_[i].name);
  }
  return names.Take();
}

std::optional<std::string> ProfileText::Value(std::string_view section,
                                              std::string_view key) const {
  const std::size_t header = FindSection(section);
  if (header == std::string::npos) return std::nullopt;
  key = Trim(key);
  for (std::size_t i = header + 1, end = SectionEnd(header); i < end; ++i) {
    if (lines_[i].kind == Kind::Entry && SameName(lines_[i].name, key)) return lines_[i].value;
  }
  return std::nullopt;
}

void ProfileText::SetValue(std::string_view section, std::string_view key,
                           std::string_view value) {
  section = Trim(section);
  key = Trim(key);
  std::size_t header = FindSection(section);
  std::size_t insertAt = lines_.size();
  if (header != std::string::npos) {
    insertAt = header + 1;
    for (std::size_t i = header + 1, end = SectionEnd(header); i < end; ++i) {
      Line& line = lines_[i];
      if (line.kind == Kind::Entry && SameName(line.name, key)) {
        if (line.value == value) return;
        line = ParseLine(line.name + "=" + std::string(value));
        changed_ = true;
        return;
      }
      if (!Trim(line.raw).empty()) insertAt = i + 1;  // new keys go after the last value
    }
  } else {
    // A blank line keeps the new section apart from what the file had.
    if (!lines_.empty() && !Trim(lines_.back().raw).empty()) lines_.push_back(ParseLine(""));
    lines_.push_back(ParseLine("[" + std::string(section) + "]"));
    insertAt = lines_.size();
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt),
                ParseLine(std::string(key) + "=" + std::string(value)));
  changed_ = true;
}

void ProfileText::DeleteKey(std::string_view section, std::string_view key) {
  const std::size_t header = FindSection(section);
  if (header == std::string::npos) return;
  key = Trim(key);
  const auto first = lines_.begin() + static_cast<std::ptrdiff_t>(header + 1);
  const auto last = lines_.begin() + static_cast<std::ptrdiff_t>(SectionEnd(header));
  const auto kept = std::remove_if(first, last, [key](const Line& line) {
    return line.kind == Kind::Entry && SameName(line.name, key);
  });
  if (kept == last) return;
  lines_.erase(kept, last);
  changed_ = true;
}

void ProfileText::DeleteSection(std::string_view section) {
  // Every section of that name goes, in one pass however often it appears.
  section = Trim(section);
  bool inside = false;
  std::size_t kept = 0;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == Kind::Section) inside = SameName(lines_[i].name, section);
    if (!inside) {
      if (kept != i) lines_[kept] = std::move(lines_[i]);
      ++kept;
    }
  }
  if (kept == lines_.size()) return;
  lines_.resize(kept);
  changed_ = true;
}

std::string ProfileText::Format() const {
  std::string text;
  for (const Line& line : lines_) {
    text += line.raw;
    text += "\r\n";
  }
  return text;
}

bool ProfileText::IsWritableSection(std::string_view name) {
  return !HasLineBreakOrNul(name) && name.find(']') == std::string_view::npos;
}

bool ProfileText::IsWritableKey(std::string_view name) {
  name = Trim(name);
  return !name.empty() && !HasLineBreakOrNul(name) && name.find('=') == std::string_view::npos &&
         !name.starts_with('[') && !name.starts_with(';');
}

bool ProfileText::IsWritableValue(std::string_view value) { return !HasLineBreakOrNul(value); }

}  // namespace orvale
