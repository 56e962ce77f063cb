// DeviceContext::DrawText: text laid out in lines inside a rectangle.
#include <string>

#include "platform/gdi/DeviceContext.h"

namespace orvale::gdi {

namespace {

// "&&" becomes "&"; any other "&" only marks the next character and goes.
std::string WithoutPrefixMarks(std::string_view text) {
  std::string plain;
  plain.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&') {
      if (++i == text.size()) break;
    }
    plain += text[i];
  }
  return plain;
}

std::size_t SkipBlanks(std::string_view text, std::size_t at) {
  while (at < text.size() && text[at] == ' ') ++at;
  return at;
}

std::size_t SkipWord(std::string_view text, std::size_t at) {
  while (at < text.size() && text[at] != ' ') ++at;
  return at;
}

}  // namespace

int DeviceContext::DrawText(std::string_view text, const Rect& rect, std::uint32_t format) {
  if (rect.IsEmpty()) return 0;
  TextMetrics metrics;
  if (!GetTextMetrics(metrics) || metrics.tmHeight <= 0) return 0;
  const std::string plain =
      (format & DT_NOPREFIX) != 0 ? std::string(text) : WithoutPrefixMarks(text);
  const std::string_view all = plain;
  const bool wrap = (format & DT_WORDBREAK) != 0;

  const int saved = SaveDC();
  IntersectClipRect(rect.left, rect.top, rect.right, rect.bottom);
  SetTextAlign(TA_LEFT | TA_TOP);
  int y = rect.top;
  // Draws one line; false once the next one would start below the rectangle.
  const auto emit = [&](std::string_view line) {
    if (!line.empty()) TextOut(rect.left, y, line);
    y += metrics.tmHeight;
    return y < rect.bottom;
  };
  const auto fits = [&](std::string_view line) {
    Size size;
    GetTextExtentPoint32(line, size);
    return size.cx <= rect.Width();
  };

  bool more = true;
  std::size_t start = 0;
  while (more && start <= all.size()) {
    std::size_t end = all.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = all.size();
    const std::string_view paragraph = all.substr(start, end - start);
    if (!wrap || paragraph.empty()) {
      more = emit(paragraph);
    } else {
      // Leading blanks stay on a paragraph's first line; the blanks a line breaks at go.
      std::size_t from = 0;
      while (more && from < paragraph.size()) {
        std::size_t to = from;
        for (;;) {
          const std::size_t next = SkipWord(paragraph, SkipBlanks(paragraph, to));
          if (next == to) break;
          // The first word of a line is never split, however wide it is.
          if (to != from && !fits(paragraph.substr(from, next - from))) break;
          to = next;
        }
        more = emit(paragraph.substr(from, to - from));
        from = SkipBlanks(paragraph, to);
      }
    }
    if (end == all.size()) break;
    start = end + (all.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  RestoreDC(saved);
  return y - rect.top;
}

}  // namespace orvale::gdi
