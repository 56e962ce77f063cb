#include "app/document/TextEscapes.h"

namespace orvale {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kEscapedCrLf = "\\r";

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  std::size_t pos = 0;
  while ((pos = text.find(from, pos)) != std::string::npos) {
    text.replace(pos, from.size(), to);
    pos += to.size();  // what was put in is never scanned again
  }
}

}  // namespace

void EscapeNewLines(std::string& text) { ReplaceAll(text, kCrLf, kEscapedCrLf); }

void UnescapeNewLines(std::string& text) { ReplaceAll(text, kEscapedCrLf, kCrLf); }

bool NeedsFullEscape(std::string_view text, bool crlfAllowed) {
  if (!text.empty() && text.front() == ' ') return true;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\') return true;
    if (c != '\r' && c != '\n') continue;
    if (!crlfAllowed) return true;
    if (c == '\n') return true;  // a pair's LF is stepped over below
    if (i + 1 >= text.size() || text[i + 1] != '\n') return true;
    ++i;
  }
  return false;
}

std::string EscapeText(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      out += "\\r";
      ++i;
    } else if (c == '\r') {
      out += "\\c";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == ' ' && i == 0) {
      out += "\\s";
    } else {
      out += c;
    }
  }
  return out;
}

std::string UnescapeText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\\' || i + 1 >= text.size()) {
      out += c;
      continue;
    }
    switch (text[i + 1]) {
      case '\\':
        out += '\\';
        break;
      case 'r':
        out += "\r\n";
        break;
      case 'n':
        out += '\n';
        break;
      case 'c':
        out += '\r';
        break;
      case 's':
        out += ' ';
        break;
      default:
        out += c;
        continue;  // not an escape: the backslash stays
    }
    ++i;
  }
  return out;
}

}  // namespace orvale
