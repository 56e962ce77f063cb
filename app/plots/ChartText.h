#pragma once
// Chart texts: the font of a FontSpec selected for a scope, and text measured in it.
#include <string_view>

#include "app/document/FontSpec.h"
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

}  // namespace orvale
