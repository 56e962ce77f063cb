#pragma once
// Drawing the primitives with a QPainter: the path for printers and other vector
// devices, and for what the exact raster path leaves to Qt (wide pens, text).
#include <QColor>
#include <QImage>
#include <QPainter>

#include "platform/gdi/DrawingSurface.h"

namespace orvale::gdi {

inline QColor ToQColor(Color c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

// The painter set up for the state's clip and a binary raster mode; false when the
// mode draws nothing. `color` is replaced for the modes that draw a fixed colour.
bool PreparePainter(QPainter& painter, const DrawState& state, int rop2, QColor* color);
QPen MakeQPen(const Pen& pen, const QColor& color);
QBrush MakeQBrush(const Brush& brush, const QColor& color);

void PaintPolyline(QPainter& painter, const DrawState& state, std::span<const Point> points,
                   bool closed);
// Shapes: `fill` and `outline` choose which of the two parts to draw.
void PaintPolygon(QPainter& painter, const DrawState& state, std::span<const Point> points,
                  bool fill, bool outline);
void PaintRectangle(QPainter& painter, const DrawState& state, const Rect& box, bool fill,
                    bool outline);
void PaintEllipse(QPainter& painter, const DrawState& state, const Rect& box, bool fill,
                  bool outline);
void PaintPattern(QPainter& painter, const DrawState& state, const Rect& box, const Brush& brush,
                  std::uint32_t rop3);
// Draws what lands inside `bounds`, the painter's drawable area.
void PaintImage(QPainter& painter, const DrawState& state, const BlitGeometry& geometry,
                const PixelSource& source, std::uint32_t rop3, const Rect& bounds);

// A 32-bit copy of a rectangle of a pixel source (rows from the top).
QImage SourceToImage(const PixelSource& source, const QRect& area);

}  // namespace orvale::gdi
