#include "platform/gdi/RasterSurface.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <array>

#include "platform/gdi/LineWalk.h"
#include "platform/gdi/PainterOps.h"
#include "platform/gdi/QtText.h"
#include "platform/gdi/RegionQt.h"

namespace orvale::gdi {

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

// On and off runs, in pixels, of the one-pixel pen styles; solid pens have none.
std::span<const int> DashRuns(int style) {
  static constexpr std::array<int, 2> kDash = {18, 6};
  static constexpr std::array<int, 2> kDot = {3, 3};
  static constexpr std::array<int, 4> kDashDot = {9, 6, 3, 6};
  static constexpr std::array<int, 6> kDashDotDot = {9, 3, 3, 3, 3, 3};
  switch (style) {
    case PS_DASH: return kDash;
    case PS_DOT: return kDot;
    case PS_DASHDOT: return kDashDot;
    case PS_DASHDOTDOT: return kDashDotDot;
    default: return {};
  }
}

// Whether the hatch line of an 8 x 8 pattern passes through device pixel (x, y).
bool HatchOn(int hatch, int x, int y) {
  const int hx = x & 7;
  const int hy = y & 7;
  const bool horizontal = hy == 0;
  const bool vertical = hx == 0;
  const bool falling = ((hx - hy) & 7) == 0;  // "\"
  const bool rising = ((hx + hy) & 7) == 7;   // "/"
  switch (hatch) {
    case HS_HORIZONTAL: return horizontal;
    case HS_VERTICAL: return vertical;
    case HS_FDIAGONAL: return falling;
    case HS_BDIAGONAL: return rising;
    case HS_CROSS: return horizontal || vertical;
    case HS_DIAGCROSS: return falling || rising;
    default: return false;
  }
}

// The pattern word a brush gives at (x, y), or false where a hatch gap stays untouched.
bool PatternAt(const Brush& brush, const DrawState& state, int x, int y, std::uint32_t& word) {
  if (brush.style != BS_HATCHED || HatchOn(brush.hatch, x, y)) {
    word = ColorToRgbWord(brush.color);
    return true;
  }
  if (state.bkMode != OPAQUE) return false;
  word = ColorToRgbWord(state.bkColor);
  return true;
}

QPolygon ToQPolygon(std::span<const Point> points) {
  QPolygon polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (const Point& p : points) polygon.append(QPoint(p.x, p.y));
  return polygon;
}

bool ThinPen(const Pen& pen) { return pen.DrawnWidth() <= 1; }

}  // namespace

RasterSurface::RasterSurface(QImage& image, const DeviceCaps& caps)
    : image_(&image), caps_(caps) {}

bool RasterSurface::ClipMask::Contains(int x, int y) const {
  const int index = y - top;
  if (index < 0 || index >= static_cast<int>(rows.size())) return false;
  for (const auto& [a, b] : rows[static_cast<std::size_t>(index)]) {
    if (x >= a && x < b) return true;
  }
  return false;
}

const RasterSurface::ClipMask& RasterSurface::ClipFor(const DrawState& state) {
  const QRect bounds(0, 0, image_->width(), image_->height());
  const bool same = clip_.built && clip_.size == bounds.size() &&
                    clip_.source.has_value() == state.clip.has_value() &&
                    (!state.clip || &clip_.source->impl() == &state.clip->impl());
  if (same) return clip_;
  clip_ = ClipMask{};
  clip_.source = state.clip;
  clip_.built = true;
  clip_.size = bounds.size();
  clip_.region = state.clip ? ToQRegion(*state.clip).intersected(bounds) : QRegion(bounds);
  const QRect box = clip_.region.boundingRect();
  clip_.top = box.top();
  clip_.rows.resize(static_cast<std::size_t>(std::max(0, box.height())));
  for (const QRect& r : clip_.region) {
    for (int y = r.top(); y <= r.bottom(); ++y) {
      clip_.rows[static_cast<std::size_t>(y - clip_.top)].emplace_back(r.left(), r.right() + 1);
    }
  }
  return clip_;
}

template <class Paint>
void RasterSurface::WithPainter(Paint&& paint) {
  QPainter painter(image_);
  paint(painter);
}

void RasterSurface::StrokeThin(const DrawState& state, std::span<const Point> points,
                               bool closed) {
  const ClipMask& clip = ClipFor(state);
  const std::uint32_t pen = ColorToRgbWord(state.pen.color);
  const std::uint32_t background = ColorToRgbWord(state.bkColor);
  const bool fillGaps = state.bkMode == OPAQUE;
  const std::span<const int> runs = DashRuns(state.pen.style);
  std::size_t run = 0;
  int left = runs.empty() ? 0 : runs[0];
  auto plot = [&](int x, int y) {
    bool on = true;
    if (!runs.empty()) {
      on = run % 2 == 0;
      if (--left == 0) {
        run = (run + 1) % runs.size();
        left = runs[run];
      }
    }
    if (!on && !fillGaps) return;
    if (!clip.Contains(x, y)) return;
    std::uint32_t& pixel = Row(y)[x];
    pixel = kOpaque | ApplyRop2(state.rop2, on ? pen : background, pixel & 0xFFFFFF);
  };
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    WalkLine(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y, plot);
  }
  if (closed && points.size() > 1) {
    WalkLine(points.back().x, points.back().y, points.front().x, points.front().y, plot);
  }
}

void RasterSurface::PaintShapePixels(const DrawState& state, const QRegion& shape, Color color) {
  const ClipMask& clip = ClipFor(state);
  const std::uint32_t word = ColorToRgbWord(color);
  for (const QRect& r : shape.intersected(clip.region)) {
    for (int y = r.top(); y <= r.bottom(); ++y) {
      std::uint32_t* row = Row(y);
      for (int x = r.left(); x <= r.right(); ++x) {
        row[x] = kOpaque | ApplyRop2(state.rop2, word, row[x] & 0xFFFFFF);
      }
    }
  }
}

void RasterSurface::FillShape(const DrawState& state, const QRegion& shape, const Brush& brush) {
  if (brush.IsNull() || shape.isEmpty()) return;
  if (brush.style != BS_HATCHED) {
    PaintShapePixels(state, shape, brush.color);
    return;
  }
  const ClipMask& clip = ClipFor(state);
  for (const QRect& r : shape.intersected(clip.region)) {
    for (int y = r.top(); y <= r.bottom(); ++y) {
      std::uint32_t* row = Row(y);
      for (int x = r.left(); x <= r.right(); ++x) {
        std::uint32_t word = 0;
        if (PatternAt(brush, state, x, y, word)) {
          row[x] = kOpaque | ApplyRop2(state.rop2, word, row[x] & 0xFFFFFF);
        }
      }
    }
  }
}

void RasterSurface::Polyline(std::string_view, const DrawState& state,
                             std::span<const Point> points, bool closed) {
  if (state.pen.IsNull() || state.rop2 == R2_NOP) return;
  if (ThinPen(state.pen)) {
    StrokeThin(state, points, closed);
  } else {
    WithPainter([&](QPainter& p) { PaintPolyline(p, state, points, closed); });
  }
}

void RasterSurface::Polygon(std::string_view, const DrawState& state,
                            std::span<const Point> points) {
  if (state.rop2 == R2_NOP) return;
  FillShape(state,
            QRegion(ToQPolygon(points),
                    state.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill),
            state.brush);
  if (state.pen.IsNull()) return;
  if (ThinPen(state.pen)) {
    StrokeThin(state, points, true);
  } else {
    WithPainter([&](QPainter& p) { PaintPolygon(p, state, points, false, true); });
  }
}

void RasterSurface::Rectangle(std::string_view, const DrawState& state, const Rect& box) {
  if (state.rop2 == R2_NOP) return;
  const QRect inner(box.left + 1, box.top + 1, box.Width() - 2, box.Height() - 2);
  if (state.pen.IsNull()) {
    // Without a pen the filled area ends one pixel short of the right and bottom edges.
    FillShape(state, QRegion(box.left, box.top, box.Width() - 1, box.Height() - 1),
              state.brush);
    return;
  }
  if (!ThinPen(state.pen)) {
    FillShape(state, QRegion(inner), state.brush);
    WithPainter([&](QPainter& p) { PaintRectangle(p, state, box, false, true); });
    return;
  }
  if (box.Width() <= 2 || box.Height() <= 2) {
    PaintShapePixels(state, QRegion(ToQRect(box)), state.pen.color);
    return;
  }
  FillShape(state, QRegion(inner), state.brush);
  PaintShapePixels(state, QRegion(ToQRect(box)).subtracted(QRegion(inner)), state.pen.color);
}

void RasterSurface::Ellipse(std::string_view, const DrawState& state, const Rect& box) {
  if (state.rop2 == R2_NOP) return;
  const QRegion shape(ToQRect(box), QRegion::Ellipse);
  if (state.pen.IsNull()) {
    FillShape(state, shape, state.brush);
    return;
  }
  // The outline is the rim of the pixel set: pixels with a 4-neighbour outside it.
  const QRegion inside = shape.intersected(shape.translated(1, 0))
                             .intersected(shape.translated(-1, 0))
                             .intersected(shape.translated(0, 1))
                             .intersected(shape.translated(0, -1));
  FillShape(state, inside, state.brush);
  if (ThinPen(state.pen)) {
    PaintShapePixels(state, shape.subtracted(inside), state.pen.color);
  } else {
    WithPainter([&](QPainter& p) { PaintEllipse(p, state, box, false, true); });
  }
}

void RasterSurface::PatternBlt(std::string_view, const DrawState& state, const Rect& box,
                               const Brush& brush, std::uint32_t rop3) {
  const std::uint8_t table = Rop3Table(rop3);
  const bool usesPattern = Rop3UsesPattern(rop3);
  if (usesPattern && brush.IsNull()) return;
  const ClipMask& clip = ClipFor(state);
  for (const QRect& r : QRegion(ToQRect(box)).intersected(clip.region)) {
    for (int y = r.top(); y <= r.bottom(); ++y) {
      std::uint32_t* row = Row(y);
      for (int x = r.left(); x <= r.right(); ++x) {
        std::uint32_t pattern = 0;
        if (usesPattern && !PatternAt(brush, state, x, y, pattern)) continue;
        row[x] = kOpaque | ApplyRop3(table, pattern, 0, row[x] & 0xFFFFFF);
      }
    }
  }
}

void RasterSurface::SetPixels(std::string_view, const DrawState& state,
                              std::span<const Point> points, Color color) {
  const ClipMask& clip = ClipFor(state);
  const std::uint32_t word = kOpaque | ColorToRgbWord(color);
  for (const Point& p : points) {
    if (clip.Contains(p.x, p.y)) Row(p.y)[p.x] = word;
  }
}

void RasterSurface::SetPixelRow(std::string_view, const DrawState& state, Point start,
                                std::span<const Color> colors) {
  const ClipMask& clip = ClipFor(state);
  const int index = start.y - clip.top;
  if (index < 0 || index >= static_cast<int>(clip.rows.size())) return;
  std::uint32_t* row = Row(start.y);
  const long long end = static_cast<long long>(start.x) + static_cast<long long>(colors.size());
  for (const auto& [a, b] : clip.rows[static_cast<std::size_t>(index)]) {
    const long long from = std::max<long long>(a, start.x);
    const long long to = std::min<long long>(b, end);
    for (long long x = from; x < to; ++x) {
      row[x] = kOpaque | ColorToRgbWord(colors[static_cast<std::size_t>(x - start.x)]);
    }
  }
}

Color RasterSurface::GetPixel(Point p) const {
  if (!Bounds().Contains(p)) return kInvalidColor;
  const auto* row = reinterpret_cast<const std::uint32_t*>(image_->constScanLine(p.y));
  return RgbWordToColor(row[p.x] & 0xFFFFFF);
}

void RasterSurface::TextOut(std::string_view, const DrawState& state, Point origin,
                            std::string_view text) {
  WithPainter([&](QPainter& p) {
    QColor unused;
    PreparePainter(p, state, R2_COPYPEN, &unused);
    DrawTextQt(p, state, origin, text, caps_.logPixelsY);
  });
}

TextLayout RasterSurface::MeasureText(const LogFont& font, std::string_view text) const {
  return MeasureTextQt(font, text, caps_.logPixelsY, image_);
}

Size RasterSurface::MeasureTextSize(const LogFont& font, std::string_view text) const {
  return MeasureTextSizeQt(font, text, caps_.logPixelsY, image_);
}

TextMetrics RasterSurface::FontMetrics(const LogFont& font) const {
  return FontMetricsQt(font, caps_.logPixelsY, image_);
}

void RasterSurface::Blit(std::string_view, const DrawState& state, const BlitGeometry& g,
                         const PixelSource& given, std::uint32_t rop3) {
  const std::uint8_t table = Rop3Table(rop3);
  const bool usesPattern = Rop3UsesPattern(rop3);
  if (usesPattern && state.brush.IsNull()) return;
  // Only the destination pixels inside the clip (itself inside the image) are worked out,
  // however far the rectangles reach.
  const BlitAxis across = HorizontalAxis(g);
  const BlitAxis down = VerticalAxis(g);
  const ClipMask& clip = ClipFor(state);
  const QRect box = clip.region.boundingRect();
  const Span columns = Intersect(across.dest, Span{box.left(), box.right() + 1});
  const Span rows = Intersect(down.dest, Span{box.top(), box.bottom() + 1});
  if (columns.IsEmpty() || rows.IsEmpty()) return;

  // A blit within the same image reads from a copy, so overlapping areas stay right.
  PixelSource source = given;
  QImage copy;
  const auto* own = image_->constBits();
  if (source.bits >= own && source.bits < own + image_->sizeInBytes()) {
    copy = image_->copy();
    source.bits = copy.constBits();
  }

  // The source column of each visible destination column; -1 where the source has none.
  std::vector<int> sourceColumns(static_cast<std::size_t>(columns.Length()));
  for (std::int64_t x = columns.start; x < columns.end; ++x) {
    const std::int64_t sx = across.SourceAt(x);
    sourceColumns[static_cast<std::size_t>(x - columns.start)] =
        sx >= 0 && sx < source.width ? static_cast<int>(sx) : -1;
  }
  const QRect visible(static_cast<int>(columns.start), static_cast<int>(rows.start),
                      static_cast<int>(columns.Length()), static_cast<int>(rows.Length()));
  for (const QRect& r : QRegion(visible).intersected(clip.region)) {
    for (int y = r.top(); y <= r.bottom(); ++y) {
      const std::int64_t sy = down.SourceAt(y);
      if (sy < 0 || sy >= source.height) continue;
      std::uint32_t* row = Row(y);
      for (int x = r.left(); x <= r.right(); ++x) {
        const int sx = sourceColumns[static_cast<std::size_t>(x - columns.start)];
        if (sx < 0) continue;
        std::uint32_t pattern = 0;
        if (usesPattern && !PatternAt(state.brush, state, x, y, pattern)) continue;
        row[x] = kOpaque |
                 ApplyRop3(table, pattern, source.RgbAt(sx, static_cast<int>(sy)), row[x] & 0xFFFFFF);
      }
    }
  }
}

std::optional<PixelSource> RasterSurface::Pixels() const {
  PixelSource source;
  source.format = PixelSource::Format::Rgb32;
  source.width = image_->width();
  source.height = image_->height();
  source.bits = image_->constBits();
  source.stride = image_->bytesPerLine();
  return source;
}

}  // namespace orvale::gdi
