#include "platform/gdi/PainterOps.h"

#include <QPainterPath>
#include <QPolygon>
#include <cmath>
#include <optional>
#include <tuple>
#include <utility>

#include "platform/gdi/RegionQt.h"

namespace orvale::gdi {

namespace {

QPolygon ToQPolygon(std::span<const Point> points) {
  QPolygon polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (const Point& p : points) polygon.append(QPoint(p.x, p.y));
  return polygon;
}

void ApplyClip(QPainter& painter, const DrawState& state) {
  if (state.clip) {
    painter.setClipRegion(ToQRegion(*state.clip));
  } else {
    painter.setClipping(false);
  }
}

QPainter::CompositionMode CompositionForRop3(std::uint8_t table) {
  switch (table) {
    case 0x88: return QPainter::RasterOp_SourceAndDestination;
    case 0x66: return QPainter::RasterOp_SourceXorDestination;
    case 0xEE: return QPainter::RasterOp_SourceOrDestination;
    case 0x33: return QPainter::RasterOp_NotSource;
    case 0x44: return QPainter::RasterOp_SourceAndNotDestination;
    case 0x11: return QPainter::RasterOp_NotSourceAndNotDestination;
    case 0xBB: return QPainter::RasterOp_NotSourceOrDestination;
    default: return QPainter::CompositionMode_Source;
  }
}

void SetBackground(QPainter& painter, const DrawState& state) {
  painter.setBackgroundMode(state.bkMode == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
  painter.setBackground(ToQColor(state.bkColor));
}

QRectF ShapeRect(const Rect& box, const Pen& pen) {
  // The outline runs through the outermost pixels of the box; an inside-frame pen keeps
  // all of its width inside.
  QRectF r(box.left, box.top, box.Width() - 1, box.Height() - 1);
  if (pen.style == PS_INSIDEFRAME && pen.DrawnWidth() > 1) {
    const double inset = (pen.DrawnWidth() - 1) / 2.0;
    r.adjust(inset, inset, -inset, -inset);
  }
  return r;
}

}  // namespace

bool PreparePainter(QPainter& painter, const DrawState& state, int rop2, QColor* color) {
  ApplyClip(painter, state);
  painter.setRenderHint(QPainter::Antialiasing, false);
  SetBackground(painter, state);
  QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
  switch (rop2) {
    case R2_NOP: return false;
    case R2_BLACK: *color = Qt::black; break;
    case R2_WHITE: *color = Qt::white; break;
    case R2_COPYPEN: break;
    case R2_NOTCOPYPEN: mode = QPainter::RasterOp_NotSource; break;
    case R2_XORPEN: mode = QPainter::RasterOp_SourceXorDestination; break;
    case R2_NOTXORPEN: mode = QPainter::RasterOp_NotSourceXorDestination; break;
    case R2_NOT: mode = QPainter::RasterOp_NotDestination; break;
    case R2_MASKPEN: mode = QPainter::RasterOp_SourceAndDestination; break;
    case R2_MERGEPEN: mode = QPainter::RasterOp_SourceOrDestination; break;
    case R2_NOTMASKPEN: mode = QPainter::RasterOp_NotSourceOrNotDestination; break;
    case R2_NOTMERGEPEN: mode = QPainter::RasterOp_NotSourceAndNotDestination; break;
    case R2_MASKNOTPEN: mode = QPainter::RasterOp_NotSourceAndDestination; break;
    case R2_MASKPENNOT: mode = QPainter::RasterOp_SourceAndNotDestination; break;
    case R2_MERGENOTPEN: mode = QPainter::RasterOp_NotSourceOrDestination; break;
    case R2_MERGEPENNOT: mode = QPainter::RasterOp_SourceOrNotDestination; break;
    default: break;
  }
  painter.setCompositionMode(mode);
  return true;
}

QPen MakeQPen(const Pen& pen, const QColor& color) {
  if (pen.IsNull()) return QPen(Qt::NoPen);
  const int width = pen.DrawnWidth();
  QPen q(color);
  q.setWidth(width <= 1 ? 0 : width);
  if (width <= 1) {
    q.setCapStyle(Qt::FlatCap);
    switch (pen.style) {
      case PS_DASH: q.setStyle(Qt::DashLine); break;
      case PS_DOT: q.setStyle(Qt::DotLine); break;
      case PS_DASHDOT: q.setStyle(Qt::DashDotLine); break;
      case PS_DASHDOTDOT: q.setStyle(Qt::DashDotDotLine); break;
      default: break;
    }
  } else {
    q.setCapStyle(Qt::RoundCap);
    q.setJoinStyle(Qt::RoundJoin);
  }
  return q;
}

QBrush MakeQBrush(const Brush& brush, const QColor& color) {
  switch (brush.style) {
    case BS_NULL: return QBrush(Qt::NoBrush);
    case BS_HATCHED: {
      Qt::BrushStyle style = Qt::HorPattern;
      switch (brush.hatch) {
        case HS_VERTICAL: style = Qt::VerPattern; break;
        case HS_FDIAGONAL: style = Qt::FDiagPattern; break;
        case HS_BDIAGONAL: style = Qt::BDiagPattern; break;
        case HS_CROSS: style = Qt::CrossPattern; break;
        case HS_DIAGCROSS: style = Qt::DiagCrossPattern; break;
        default: break;
      }
      return QBrush(color, style);
    }
    default: return QBrush(color);
  }
}

void PaintPolyline(QPainter& painter, const DrawState& state, std::span<const Point> points,
                   bool closed) {
  QColor color = ToQColor(state.pen.color);
  if (state.pen.IsNull() || !PreparePainter(painter, state, state.rop2, &color)) return;
  painter.setPen(MakeQPen(state.pen, color));
  painter.setBrush(Qt::NoBrush);
  const QPolygon polygon = ToQPolygon(points);
  if (closed) {
    painter.drawPolygon(polygon);
  } else {
    painter.drawPolyline(polygon);
  }
}

namespace {

// Pen and brush of a shape through the raster mode; false when the mode draws nothing.
bool PrepareShape(QPainter& painter, const DrawState& state, bool fill, bool outline) {
  QColor penColor = ToQColor(state.pen.color);
  QColor brushColor = ToQColor(state.brush.color);
  if (!PreparePainter(painter, state, state.rop2, &penColor)) return false;
  PreparePainter(painter, state, state.rop2, &brushColor);
  painter.setPen(outline ? MakeQPen(state.pen, penColor) : QPen(Qt::NoPen));
  painter.setBrush(fill ? MakeQBrush(state.brush, brushColor) : QBrush(Qt::NoBrush));
  return true;
}

}  // namespace

void PaintPolygon(QPainter& painter, const DrawState& state, std::span<const Point> points,
                  bool fill, bool outline) {
  if (!PrepareShape(painter, state, fill, outline)) return;
  painter.drawPolygon(ToQPolygon(points),
                      state.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
}

void PaintRectangle(QPainter& painter, const DrawState& state, const Rect& box, bool fill,
                    bool outline) {
  if (!PrepareShape(painter, state, fill, outline)) return;
  painter.drawRect(ShapeRect(box, state.pen));
}

void PaintEllipse(QPainter& painter, const DrawState& state, const Rect& box, bool fill,
                  bool outline) {
  if (!PrepareShape(painter, state, fill, outline)) return;
  painter.drawEllipse(ShapeRect(box, state.pen));
}

void PaintPattern(QPainter& painter, const DrawState& state, const Rect& box, const Brush& brush,
                  std::uint32_t rop3) {
  ApplyClip(painter, state);
  SetBackground(painter, state);
  const QRect r(box.left, box.top, box.Width(), box.Height());
  switch (Rop3Table(rop3)) {
    case 0x00:
      painter.setCompositionMode(QPainter::CompositionMode_Source);
      painter.fillRect(r, Qt::black);
      return;
    case 0xFF:
      painter.setCompositionMode(QPainter::CompositionMode_Source);
      painter.fillRect(r, Qt::white);
      return;
    case 0x55:
      painter.setCompositionMode(QPainter::RasterOp_NotDestination);
      painter.fillRect(r, Qt::black);
      return;
    case 0x5A: painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination); break;
    default: painter.setCompositionMode(QPainter::CompositionMode_SourceOver); break;
  }
  if (brush.IsNull()) return;
  painter.fillRect(r, MakeQBrush(brush, ToQColor(brush.color)));
}

QImage SourceToImage(const PixelSource& source, const QRect& area) {
  QImage image(area.size(), QImage::Format_RGB32);
  for (int y = 0; y < area.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < area.width(); ++x) {
      row[x] = 0xFF000000u | source.RgbAt(area.left() + x, area.top() + y);
    }
  }
  return image;
}

namespace {

// What one axis of a blit shows within [low, high) of the destination: the source pixels
// [first, first + count) that are drawn, the destination stretch [destFrom, destTo) and the
// stretch [imageFrom, imageTo) of those pixels, counted in destination order, that lands
// there. Nullopt when nothing lands there.
struct VisiblePart {
  int first = 0;
  int count = 0;
  double destFrom = 0, destTo = 0;
  double imageFrom = 0, imageTo = 0;
};

std::optional<VisiblePart> VisiblePartOf(const BlitAxis& axis, int sourceSize, int low, int high) {
  // The source pixels that exist, as offsets into the source span in destination order.
  const Span there = Intersect(axis.src, Span{0, sourceSize});
  if (there.IsEmpty()) return std::nullopt;
  const std::int64_t length = axis.src.Length();
  std::int64_t a = there.start - axis.src.start;
  std::int64_t b = there.end - axis.src.start;
  if (axis.mirrored) std::tie(a, b) = std::pair(length - b, length - a);
  const double scale = static_cast<double>(axis.dest.Length()) / static_cast<double>(length);
  const double origin = static_cast<double>(axis.dest.start);
  VisiblePart part;
  part.destFrom = std::max(origin + static_cast<double>(a) * scale, static_cast<double>(low));
  part.destTo = std::min(origin + static_cast<double>(b) * scale, static_cast<double>(high));
  if (part.destTo <= part.destFrom) return std::nullopt;
  const double u0 = (part.destFrom - origin) / scale;
  const double u1 = (part.destTo - origin) / scale;
  const std::int64_t k0 = std::max(a, static_cast<std::int64_t>(std::floor(u0)));
  const std::int64_t k1 = std::min(b, static_cast<std::int64_t>(std::ceil(u1)));
  if (k1 <= k0) return std::nullopt;
  part.first = static_cast<int>(axis.src.start + (axis.mirrored ? length - k1 : k0));
  part.count = static_cast<int>(k1 - k0);
  part.imageFrom = u0 - static_cast<double>(k0);
  part.imageTo = u1 - static_cast<double>(k0);
  return part;
}

}  // namespace

void PaintImage(QPainter& painter, const DrawState& state, const BlitGeometry& g,
                const PixelSource& source, std::uint32_t rop3, const Rect& bounds) {
  // Only the part inside the bounds is converted and handed to Qt, so no extent of the
  // 32-bit range makes it scale past what it can hold.
  const BlitAxis across = HorizontalAxis(g);
  const BlitAxis down = VerticalAxis(g);
  const std::optional<VisiblePart> x = VisiblePartOf(across, source.width, bounds.left, bounds.right);
  const std::optional<VisiblePart> y = VisiblePartOf(down, source.height, bounds.top, bounds.bottom);
  if (!x || !y) return;
  ApplyClip(painter, state);
  QImage image = SourceToImage(source, QRect(x->first, y->first, x->count, y->count));
  if (across.mirrored || down.mirrored) image = image.mirrored(across.mirrored, down.mirrored);
  const QRectF target(x->destFrom, y->destFrom, x->destTo - x->destFrom, y->destTo - y->destFrom);
  const QRectF shown(x->imageFrom, y->imageFrom, x->imageTo - x->imageFrom, y->imageTo - y->imageFrom);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, state.stretchMode == HALFTONE);
  painter.setCompositionMode(CompositionForRop3(Rop3Table(rop3)));
  painter.drawImage(target, image, shown);
}

}  // namespace orvale::gdi
