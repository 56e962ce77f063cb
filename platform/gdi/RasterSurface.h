#pragma once
// The exact drawing surface of a 32-bit image (QImage::Format_RGB32): width-1 lines are
// the line-walk pixels without their end pixel, shapes are filled pixel sets with
// exclusive right and bottom edges, every pixel goes through the raster operation and
// the clip. Stretched blits take the nearest source pixel in every stretch mode. Only
// wide pens and text are left to QPainter.
#include <QImage>
#include <QRegion>
#include <utility>
#include <vector>

#include "platform/gdi/DrawingSurface.h"

namespace orvale::gdi {

class RasterSurface : public DrawingSurface {
 public:
  // `image` must be Format_RGB32 and outlive the surface.
  RasterSurface(QImage& image, const DeviceCaps& caps);

  DeviceCaps Caps() const override { return caps_; }
  Rect Bounds() const override { return Rect{0, 0, image_->width(), image_->height()}; }
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
  std::optional<PixelSource> Pixels() const override;

 private:
  // The clip of a state, cut to the image, as spans per row.
  struct ClipMask {
    std::optional<Region> source;  // the state's clip it was built from (kept alive)
    bool built = false;
    QSize size;
    QRegion region;
    int top = 0;
    std::vector<std::vector<std::pair<int, int>>> rows;
    bool Contains(int x, int y) const;
  };
  const ClipMask& ClipFor(const DrawState& state);
  std::uint32_t* Row(int y) { return reinterpret_cast<std::uint32_t*>(image_->scanLine(y)); }
  void StrokeThin(const DrawState& state, std::span<const Point> points, bool closed);
  // Paints the pixels of `shape` (inside the clip) with `brush` through the raster mode.
  void FillShape(const DrawState& state, const QRegion& shape, const Brush& brush);
  void PaintShapePixels(const DrawState& state, const QRegion& shape, Color color);
  template <class Paint>
  void WithPainter(Paint&& paint);

  QImage* image_;
  DeviceCaps caps_;
  ClipMask clip_;
};

}  // namespace orvale::gdi
