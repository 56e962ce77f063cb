#include "app/plots/ChartText.h"

#include "app/document/FontSpec.h"

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

}  // namespace orvale
