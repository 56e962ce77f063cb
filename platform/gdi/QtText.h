#pragma once
// Fonts and text on Qt: a LogFont becomes a QFont (antialiasing off; "Arial", "Times New
// Roman" and "Courier New" resolve to the metric-compatible Liberation faces), text is
// measured and drawn with GDI's alignment rules. Without a GUI application there are
// no fonts: text measures 0 and draws nothing.
#include <QFont>
#include <string_view>

#include "platform/gdi/DrawingSurface.h"

class QPainter;
class QPaintDevice;

namespace orvale::gdi {

bool FontsAvailable();
QFont ToQFont(const LogFont& font, int dpiY);
TextLayout MeasureTextQt(const LogFont& font, std::string_view text, int dpiY,
                         const QPaintDevice* device);
// The size of the whole text alone (MeasureTextQt's size without its extents).
Size MeasureTextSizeQt(const LogFont& font, std::string_view text, int dpiY,
                       const QPaintDevice* device);
TextMetrics FontMetricsQt(const LogFont& font, int dpiY, const QPaintDevice* device);
// Draws `text` at `origin` with the state's font, colours, background mode, alignment
// and escapement, clipped by the painter's current clip.
void DrawTextQt(QPainter& painter, const DrawState& state, Point origin, std::string_view text,
                int dpiY);

}  // namespace orvale::gdi
