#include "app/analysis/LineParser.h"

#include <utility>

#include "platform/runtime/NumberText.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

constexpr std::string_view kDelimiters = "\t ,;:=";

bool IsDelimiter(char c) { return kDelimiters.find(c) != std::string_view::npos; }

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualsUpper(std::string_view s, std::string_view upper) {
  if (s.size() != upper.size()) return false;
  for (std::size_t i = 0; i < s.size(); ++i)
    if (UpperAscii(s[i]) != upper[i]) return false;
  return true;
}

}  // namespace

bool clsParser::BooleanParse(std::string_view s) {
  if (ReadLeadingNumber(s) != 0) return true;
  for (std::string_view word : {"#TRUE#", "TRUE", "YES", "ON"})
    if (EqualsUpper(s, word)) return true;
  return false;
}

bool clsParser::Readline(LineSource& file) {
  if (readFailed_) return false;
  for (;;) {
    std::string next;
    RunError error;
    switch (file.ReadLine(next, error)) {
      case ReadStatus::Line:
        line_ = std::move(next);
        position_ = 0;
        return true;
      case ReadStatus::EndOfFile:
        return false;
      case ReadStatus::Failed:
        break;
    }
    const int answer = FileErrorPrompt(error);
    if (answer == idbutton::kRetry) continue;
    if (answer == idbutton::kIgnore) {
      // Never hand the previous line back: its keys would be read twice.
      line_.clear();
      position_ = 0;
      return true;
    }
    readFailed_ = true;
    return false;
  }
}

std::string clsParser::GetToken() {
  const std::size_t length = line_.size();
  for (;;) {
    if (position_ >= length) {
      position_ = length + 1;  // used up; stays beyond the end
      return {};
    }
    ++position_;
    const char c = line_[position_ - 1];
    if (c == '=') {
      std::size_t start = position_;
      while (start < length && line_[start] == ' ') ++start;
      position_ = length;
      return line_.substr(start);
    }
    if (IsDelimiter(c)) continue;
    const std::size_t start = position_ - 1;
    while (position_ < length && !IsDelimiter(line_[position_])) ++position_;
    // position_ now is the token's last character; the delimiter after it (if any)
    // is stepped over, unexamined, by the next call.
    const std::size_t end = position_;
    if (position_ < length) ++position_;
    return line_.substr(start, end - start);
  }
}

void clsParser::ReReadLine() { position_ = 0; }

void clsParser::SkipLine() { position_ = line_.size(); }

std::int32_t clsParser::Tokencount() {
  ReReadLine();
  std::int32_t count = 0;
  while (!GetToken().empty()) ++count;
  return count;
}

double TokenAsReal(std::string_view token) { return ReadLeadingNumber(token); }

std::int32_t TokenAsWhole(std::string_view token) { return RoundToInt32(ReadLeadingNumber(token)); }

}  // namespace orvale
