#include "app/frame/MdiArrange.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>

#include "app/document/WindowCascade.h"
#include "app/document/clsDocument.h"
#include "app/plots/DocumentSubWindow.h"

namespace orvale {

namespace {

// Splits `length` pixels into `count` parts; the last takes the remainder.
std::vector<std::pair<int, int>> Split(int start, int length, int count) {
  std::vector<std::pair<int, int>> parts;
  const int step = length / count;
  for (int k = 0; k < count; ++k) {
    const int size = k == count - 1 ? length - step * k : step;
    parts.emplace_back(start + step * k, size);
  }
  return parts;
}

std::vector<QMdiSubWindow*> Windows(QMdiArea& area, bool minimised,
                                    QMdiArea::WindowOrder order = QMdiArea::CreationOrder) {
  std::vector<QMdiSubWindow*> windows;
  for (QMdiSubWindow* w : area.subWindowList(order))
    if (w->isVisible() && w->isMinimized() == minimised) windows.push_back(w);
  return windows;
}

// The default size of a document window's kind; none for any other window.
WindowSize KindDefaultSize(const QMdiSubWindow& window) {
  const auto* view = dynamic_cast<const DocumentSubWindow*>(&window);
  if (view == nullptr || view->parentDoc == nullptr) return {};
  return DefaultViewSize(*view->parentDoc, view->FormType);
}

void Tile(QMdiArea& area, std::vector<QRect> (*layout)(const QRect&, int)) {
  const std::vector<QMdiSubWindow*> windows = Windows(area, false);
  if (windows.empty()) return;
  const std::vector<QRect> places = layout(area.viewport()->rect(), static_cast<int>(windows.size()));
  for (std::size_t k = 0; k < windows.size(); ++k) {
    if (windows[k]->isMaximized()) windows[k]->showNormal();
    windows[k]->setGeometry(places[k]);
  }
}

}  // namespace

std::vector<QRect> TileRowsRects(const QRect& area, int count) {
  std::vector<QRect> rects;
  if (count < 1) return rects;
  for (const auto& [top, height] : Split(area.top(), area.height(), count))
    rects.emplace_back(area.left(), top, area.width(), height);
  return rects;
}

std::vector<QRect> TileColumnsRects(const QRect& area, int count) {
  std::vector<QRect> rects;
  if (count < 1) return rects;
  for (const auto& [left, width] : Split(area.left(), area.width(), count))
    rects.emplace_back(left, area.top(), width, area.height());
  return rects;
}

std::vector<QPoint> IconRowPositions(const QRect& area, const QSize& size, int count) {
  std::vector<QPoint> places;
  if (count < 1 || size.width() < 1 || size.height() < 1) return places;
  const int perRow = std::max(1, area.width() / size.width());
  for (int k = 0; k < count; ++k) {
    const int row = k / perRow;
    const int column = k % perRow;
    places.emplace_back(area.left() + column * size.width(),
                        area.bottom() + 1 - (row + 1) * size.height());
  }
  return places;
}

void Cascade(QMdiArea& area, std::int32_t step) {
  const std::vector<QMdiSubWindow*> windows = Windows(area, false, QMdiArea::StackingOrder);
  std::vector<CascadedWindow> sizes;
  for (QMdiSubWindow* w : windows) {
    if (w->isMaximized()) w->showNormal();
    sizes.push_back({{w->width(), w->height()}, KindDefaultSize(*w)});
  }
  const QSize room = area.viewport()->size();
  const std::vector<WindowPlacement> places =
      CascadePlacements({room.width(), room.height()}, step, sizes);
  for (std::size_t k = 0; k < windows.size(); ++k)
    windows[k]->setGeometry(places[k].Left, places[k].Top, places[k].Width, places[k].Height);
}

void TileHorizontally(QMdiArea& area) { Tile(area, TileRowsRects); }
void TileVertically(QMdiArea& area) { Tile(area, TileColumnsRects); }

void ArrangeIcons(QMdiArea& area) {
  const std::vector<QMdiSubWindow*> icons = Windows(area, true);
  if (icons.empty()) return;
  QSize size;
  for (const QMdiSubWindow* w : icons) size = size.expandedTo(w->size());
  const std::vector<QPoint> places =
      IconRowPositions(area.viewport()->rect(), size, static_cast<int>(icons.size()));
  for (std::size_t k = 0; k < icons.size(); ++k) icons[k]->move(places[k]);
}

}  // namespace orvale
