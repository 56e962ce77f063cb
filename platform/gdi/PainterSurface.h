#pragma once
// A drawing surface over a QPainter on any paint device (printer, PDF, widget, image).
// Shapes, lines and blits go through Qt's rasteriser or vector output, so pixel
// exactness is not promised here; the raster surface gives it on 32-bit images.
#include <QPainter>
#include <memory>

#include "platform/gdi/DrawingSurface.h"

namespace orvale::gdi {

class PainterSurface : public DrawingSurface {
 public:
  // Draws with `painter`, which must stay active for the surface's lifetime.
  PainterSurface(QPainter& painter, const DeviceCaps& caps);
  // Opens its own painter on `device`.
  PainterSurface(QPaintDevice& device, const DeviceCaps& caps);
  ~PainterSurface() override;

  DeviceCaps Caps() const override { return caps_; }
  Rect Bounds() const override { return Rect{0, 0, caps_.horzRes, caps_.vertRes}; }
  void Polyline(std::string_view call, const DrawState& state, std::span<const Point> points,
                bool closed) override;
  void Polygon(std::string_view call, const DrawState& state,
               std::span<const Point> points) override;
  void Rectangle(std::string_view call, const DrawState& state, const Rect& box) override;
  void Ellipse(std::string_view call, const DrawState& state, const Rect& box) override;
  void PatternBlt(std::string_view call, const DrawState& state, const Rect& box,
                  const Brush& brush, std::uint32_t rop3) override;
  void SetPixels(std::string_view call, const DrawState& state, std::span<const Point> points,
                 Color color) override;
  void SetPixelRow(std::string_view call, const DrawState& state, Point start,
                   std::span<const Color> colors) override;
  Color GetPixel(Point p) const override;
  void TextOut(std::string_view call, const DrawState& state, Point origin,
               std::string_view text) override;
  TextLayout MeasureText(const LogFont& font, std::string_view text) const override;
  Size MeasureTextSize(const LogFont& font, std::string_view text) const override;
  TextMetrics FontMetrics(const LogFont& font) const override;
  void Blit(std::string_view call, const DrawState& state, const BlitGeometry& geometry,
            const PixelSource& source, std::uint32_t rop3) override;

 private:
  std::unique_ptr<QPainter> owned_;
  QPainter* painter_;
  DeviceCaps caps_;
};

// Caps of a paint device as a display of its size and resolution.
DeviceCaps CapsOfPaintDevice(const QPaintDevice& device);

}  // namespace orvale::gdi
