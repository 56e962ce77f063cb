#include "platform/gdi/PainterSurface.h"

#include <QPaintDevice>

#include "platform/gdi/PainterOps.h"
#include "platform/gdi/QtText.h"

namespace orvale::gdi {

DeviceCaps CapsOfPaintDevice(const QPaintDevice& device) {
  DeviceCaps caps = DisplayCaps(device.width(), device.height(), device.logicalDpiX(),
                                device.logicalDpiY());
  caps.bitsPixel = device.depth();
  caps.numColors = caps.bitsPixel <= 8 ? (1 << caps.bitsPixel) : -1;
  return caps;
}

PainterSurface::PainterSurface(QPainter& painter, const DeviceCaps& caps)
    : painter_(&painter), caps_(caps) {}

PainterSurface::PainterSurface(QPaintDevice& device, const DeviceCaps& caps)
    : owned_(std::make_unique<QPainter>(&device)), painter_(owned_.get()), caps_(caps) {}

PainterSurface::~PainterSurface() = default;

void PainterSurface::Polyline(std::string_view, const DrawState& state,
                              std::span<const Point> points, bool closed) {
  PaintPolyline(*painter_, state, points, closed);
}

void PainterSurface::Polygon(std::string_view, const DrawState& state,
                             std::span<const Point> points) {
  PaintPolygon(*painter_, state, points, true, true);
}

void PainterSurface::Rectangle(std::string_view, const DrawState& state, const Rect& box) {
  PaintRectangle(*painter_, state, box, true, true);
}

void PainterSurface::Ellipse(std::string_view, const DrawState& state, const Rect& box) {
  PaintEllipse(*painter_, state, box, true, true);
}

void PainterSurface::PatternBlt(std::string_view, const DrawState& state, const Rect& box,
                                const Brush& brush, std::uint32_t rop3) {
  PaintPattern(*painter_, state, box, brush, rop3);
}

void PainterSurface::SetPixels(std::string_view, const DrawState& state,
                               std::span<const Point> points, Color color) {
  QColor q = ToQColor(color);
  PreparePainter(*painter_, state, R2_COPYPEN, &q);
  painter_->setPen(QPen(q, 0));
  for (const Point& p : points) painter_->drawPoint(p.x, p.y);
}

void PainterSurface::SetPixelRow(std::string_view, const DrawState& state, Point start,
                                 std::span<const Color> colors) {
  QColor q;
  PreparePainter(*painter_, state, R2_COPYPEN, &q);
  for (std::size_t i = 0; i < colors.size(); ++i) {
    painter_->setPen(QPen(ToQColor(colors[i]), 0));
    painter_->drawPoint(start.x + static_cast<int>(i), start.y);
  }
}

Color PainterSurface::GetPixel(Point) const { return kInvalidColor; }

void PainterSurface::TextOut(std::string_view, const DrawState& state, Point origin,
                             std::string_view text) {
  QColor unused;
  PreparePainter(*painter_, state, R2_COPYPEN, &unused);
  DrawTextQt(*painter_, state, origin, text, caps_.logPixelsY);
}

TextLayout PainterSurface::MeasureText(const LogFont& font, std::string_view text) const {
  return MeasureTextQt(font, text, caps_.logPixelsY, painter_->device());
}

Size PainterSurface::MeasureTextSize(const LogFont& font, std::string_view text) const {
  return MeasureTextSizeQt(font, text, caps_.logPixelsY, painter_->device());
}

TextMetrics PainterSurface::FontMetrics(const LogFont& font) const {
  return FontMetricsQt(font, caps_.logPixelsY, painter_->device());
}

void PainterSurface::Blit(std::string_view, const DrawState& state,
                          const BlitGeometry& geometry, const PixelSource& source,
                          std::uint32_t rop3) {
  PaintImage(*painter_, state, geometry, source, rop3, Bounds());
}

}  // namespace orvale::gdi
