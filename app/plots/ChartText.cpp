#include "app/plots/ChartText.h"

#include <algorithm>

#include "app/document/FontSpec.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

ScopedChartFont::ScopedChartFont(gdi::DeviceContext& dc, const FontSpec& spec) : dc_(dc) {
  if (spec.Escapement <= 0) return;  // such a text is not drawn
  gdi::LogFont font;
  FontSpecToLogFont(dc_, spec, font);
  previous_ = dc_.SelectFont(font);
  ok_ = true;
}

ScopedChartFont::~ScopedChartFont() {
  if (ok_) dc_.SelectFont(previous_);
}

gdi::Size MeasureChartText(gdi::DeviceContext& dc, const FontSpec& spec, std::string_view text) {
  gdi::Size size;
  if (text.empty()) return size;
  ScopedChartFont font(dc, spec);
  if (!font.ok() || !dc.GetTextExtentPoint32(text, size)) return gdi::Size{};
  return size;
}

FontSpec ChartFont(std::int32_t size, std::int32_t code) {
  FontSpec f;
  f.Caption.clear();
  f.colour = 0;
  f.Size = size;
  f.Escapement = code;
  f.Bold = false;
  f.Italic = false;
  f.Underline = false;
  f.facename = FixedFaceName("Arial");
  return f;
}

std::vector<std::string_view> SplitLabels(std::string_view s) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  while (start < s.size()) {
    const std::size_t bar = s.find('|', start);
    if (bar == std::string_view::npos) {
      pieces.push_back(s.substr(start));
      break;
    }
    pieces.push_back(s.substr(start, bar - start));
    start = bar + 1;
  }
  return pieces;
}

ScopedTextStyle::ScopedTextStyle(gdi::DeviceContext& dc, std::uint32_t align, gdi::Color colour)
    : dc_(dc),
      align_(dc.SetTextAlign(align)),
      colour_(dc.SetTextColor(colour)),
      mode_(dc.SetBkMode(gdi::TRANSPARENT)) {}

ScopedTextStyle::~ScopedTextStyle() {
  dc_.SetBkMode(mode_);
  dc_.SetTextColor(colour_);
  dc_.SetTextAlign(align_);
}

namespace {

// The alignment that puts the screen top left corner of a turned text at its reference.
std::uint32_t TopLeftAlign(std::int32_t code) {
  switch (code) {
    case kText270Degrees: return gdi::TA_LEFT | gdi::TA_BOTTOM;
    case kText90Degrees: return gdi::TA_RIGHT | gdi::TA_TOP;
    case kText180Degrees: return gdi::TA_RIGHT | gdi::TA_BOTTOM;
    default: return gdi::TA_LEFT | gdi::TA_TOP;
  }
}

}  // namespace

void DrawChartText(gdi::DeviceContext& dc, const FontSpec& spec, std::int32_t x, std::int32_t y) {
  if (spec.Caption.empty() || spec.Escapement == 0) return;
  ScopedChartFont font(dc, spec);
  if (!font.ok()) return;
  ScopedTextStyle style(dc, TopLeftAlign(spec.Escapement), spec.colour);
  dc.TextOut(x, y, spec.Caption);
}

ScopedPen::ScopedPen(gdi::DeviceContext& dc, const PenTriple& p) : dc_(dc) {
  if (auto pen = gdi::CreatePen(p.Style, p.Width, p.Color)) {
    previous_ = dc_.SelectPen(*pen);
    ok_ = true;
  }
}

ScopedPen::ScopedPen(gdi::DeviceContext& dc, const gdi::Pen& pen)
    : dc_(dc), previous_(dc.SelectPen(pen)), ok_(true) {}

ScopedPen::~ScopedPen() {
  if (ok_) dc_.SelectPen(previous_);
}

std::int32_t DevicePixel(double v) { return RoundToInt32(std::clamp(v, -1.0e9, 1.0e9)); }

}  // namespace orvale
