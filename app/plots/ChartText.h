#pragma once
// What the chart frames draw with: fonts of FontSpecs selected for a scope, text measured
// and drawn in them, the tick-label string, pens from pen triples and device pixels.
#include <cstdint>
#include <string_view>
#include <vector>

#include "app/document/FontSpec.h"
#include "app/plots/ChartAxis.h"
#include "platform/gdi/DeviceContext.h"

namespace orvale {

// Selects the font described by `spec` (at the device's resolution) and puts the
// previous font back at the end of the scope.
class ScopedChartFont {
 public:
  ScopedChartFont(gdi::DeviceContext& dc, const FontSpec& spec);
  ~ScopedChartFont();
  ScopedChartFont(const ScopedChartFont&) = delete;
  ScopedChartFont& operator=(const ScopedChartFont&) = delete;
  bool ok() const { return ok_; }

 private:
  gdi::DeviceContext& dc_;
  gdi::LogFont previous_;
  bool ok_ = false;
};

// The extent of `text` in the font of `spec` (width along the text, height across it);
// zero for an empty text or when it cannot be measured.
gdi::Size MeasureChartText(gdi::DeviceContext& dc, const FontSpec& spec, std::string_view text);

// A chart font: empty caption, black, `size` points, orientation `code`, plain "Arial".
FontSpec ChartFont(std::int32_t size, std::int32_t code);

// The labels of a tick-label string: the pieces between the "|" separators.
std::vector<std::string_view> SplitLabels(std::string_view labels);

// Sets the text alignment and colour and a transparent background for a scope.
class ScopedTextStyle {
 public:
  ScopedTextStyle(gdi::DeviceContext& dc, std::uint32_t align, gdi::Color colour);
  ~ScopedTextStyle();
  ScopedTextStyle(const ScopedTextStyle&) = delete;
  ScopedTextStyle& operator=(const ScopedTextStyle&) = delete;

 private:
  gdi::DeviceContext& dc_;
  std::uint32_t align_;
  gdi::Color colour_;
  int mode_;
};

// A title's caption at (x, y), the top left corner of its text as seen on the screen
// whatever its orientation code; nothing for an empty caption or code 0.
void DrawChartText(gdi::DeviceContext& dc, const FontSpec& spec, std::int32_t x, std::int32_t y);

// Selects a pen for the lifetime of a scope; a pen triple that makes no pen selects
// nothing (ok() is false).
class ScopedPen {
 public:
  ScopedPen(gdi::DeviceContext& dc, const PenTriple& pen);
  ScopedPen(gdi::DeviceContext& dc, const gdi::Pen& pen);
  ~ScopedPen();
  bool ok() const { return ok_; }
  ScopedPen(const ScopedPen&) = delete;
  ScopedPen& operator=(const ScopedPen&) = delete;

 private:
  gdi::DeviceContext& dc_;
  gdi::Pen previous_;
  bool ok_ = false;
};

// A position rounded to a device pixel; positions far outside any device are held at
// a distance that whole-number pixel arithmetic survives.
std::int32_t DevicePixel(double v);

}  // namespace orvale
