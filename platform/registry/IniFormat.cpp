#include "platform/registry/IniFormat.h"

#include "platform/runtime/LineInput.h"

namespace orvale {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void AppendHexEscape(std::string& out, unsigned char byte) {
  out += "\\x";
  out += kHexDigits[byte >> 4];
  out += kHexDigits[byte & 0xF];
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string EscapeIniText(std::string_view text, IniTextRole role) {
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const auto byte = static_cast<unsigned char>(c);
    const bool atEnd = i == 0 || i + 1 == text.size();
    if (c == '\\') out += "\\\\";
    else if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else if (byte < 0x20 || byte == 0x7F) AppendHexEscape(out, byte);
    else if (c == ' ' && atEnd) out += "\\s";
    else if (role == IniTextRole::Name &&
             (c == '=' || (i == 0 && (c == '[' || c == ';' || c == '#'))))
      AppendHexEscape(out, byte);
    else out += c;
  }
  return out;
}

std::string UnescapeIniText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char code = text[i + 1];
    switch (code) {
      case '\\': out += '\\'; ++i; continue;
      case 'r': out += '\r'; ++i; continue;
      case 'n': out += '\n'; ++i; continue;
      case 't': out += '\t'; ++i; continue;
      case 's': out += ' '; ++i; continue;
      case 'x':
        if (i + 3 < text.size() && HexValue(text[i + 2]) >= 0 && HexValue(text[i + 3]) >= 0) {
          out += static_cast<char>(HexValue(text[i + 2]) * 16 + HexValue(text[i + 3]));
          i += 3;
          continue;
        }
        break;
      default:
        break;
    }
    out += '\\';  // not an escape: keep the backslash
  }
  return out;
}

SettingsSections ParseIniSettings(std::string_view fileText) {
  SettingsSections contents;
  std::string current;  // the section the lines belong to; empty before the first
  bool inSection = false;
  StringLineSource lines{std::string(fileText)};
  std::string line;
  RunError error;
  while (lines.ReadLine(line, error) == ReadStatus::Line) {
    const std::string_view trimmed = TrimBlanks(line);
    if (trimmed.empty()) continue;
    const bool comment = trimmed.front() == ';' || trimmed.front() == '#';
    if (!comment && trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
      const std::string name = UnescapeIniText(TrimBlanks(trimmed.substr(1, trimmed.size() - 2)));
      contents.AddSection(name);
      current = contents.FindSection(name)->Name;  // a repeated section goes on the first
      inSection = true;
      continue;
    }
    const auto equals = trimmed.find('=');
    const std::string_view key =
        equals == std::string_view::npos ? std::string_view() : TrimBlanks(trimmed.substr(0, equals));
    if (comment || key.empty() || !inSection) {
      if (inSection) contents.AddRawLine(current, line);
      else contents.Preamble.push_back(line);
      continue;
    }
    const SettingChange change{current, UnescapeIniText(key),
                               UnescapeIniText(TrimBlanks(trimmed.substr(equals + 1)))};
    contents.Apply({&change, 1});
  }
  return contents;
}

std::string FormatIniSettings(const SettingsSections& contents) {
  std::string text;
  for (const auto& line : contents.Preamble) {
    text += line;
    text += "\r\n";
  }
  for (const auto& section : contents.Sections()) {
    if (!text.empty()) text += "\r\n";
    text += '[';
    text += EscapeIniText(section.Name, IniTextRole::Name);
    text += "]\r\n";
    for (const auto& entry : section.Entries()) {
      if (entry.Raw) {
        text += entry.Value;
      } else {
        text += EscapeIniText(entry.Key, IniTextRole::Name);
        text += '=';
        text += EscapeIniText(entry.Value, IniTextRole::Value);
      }
      text += "\r\n";
    }
  }
  return text;
}

}  // namespace orvale
