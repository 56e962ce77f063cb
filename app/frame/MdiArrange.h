#pragma once
// The Window menu's arrangements of the document windows in the main window's area.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <vector>

class QMdiArea;

namespace orvale {

// `count` full-width strips stacked top to bottom, or full-height columns side by side,
// covering `area`; the last takes what the division leaves over.
std::vector<QRect> TileRowsRects(const QRect& area, int count);
std::vector<QRect> TileColumnsRects(const QRect& area, int count);

// Places for `count` minimised windows of `size`, lined up along the bottom of `area`
// from the left, a row higher each time a row is full.
std::vector<QPoint> IconRowPositions(const QRect& area, const QSize& size, int count);

// Cascade: the visible windows that are not minimised, placed by the cascade rule
// (WindowCascade) in their stacking order with steps of `step` pixels, a title bar's
// height. A maximised window is given its normal state first.
void Cascade(QMdiArea& area, std::int32_t step);
// Tile Horizontal and Tile Vertical: the visible windows that are not minimised.
void TileHorizontally(QMdiArea& area);
void TileVertically(QMdiArea& area);
// Arrange Icons: the minimised windows.
void ArrangeIcons(QMdiArea& area);

}  // namespace orvale
