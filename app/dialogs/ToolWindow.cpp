#include "app/dialogs/ToolWindow.h"

#include <QCloseEvent>
#include <algorithm>

#include "platform/ui/HandlerGuard.h"
#include "platform/ui/ScreenTwips.h"

namespace orvale {

ToolWindow::ToolWindow(MainFrame& frame, ViewMenuItem item, const QString& title,
                       QWidget* owner)
    : QWidget(owner, Qt::Tool), frame_(&frame), item_(item) {
  setWindowTitle(title);
}

void ToolWindow::HideFromView() {
  hide();
  frame_->SetViewItemChecked(item_, false);
  frame_->UpdateToolBar();
}

void ToolWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  GuardHandler([this] { HideFromView(); });
}

void ToolWindow::RestorePosition(std::string_view section, const StoredPosition& left,
                                 const StoredPosition& top) {
  RestoreWindowPosition(*this, section, left, top);
}

void ToolWindow::RestorePositionOnScreen(std::string_view section, std::string_view leftKey,
                                         std::string_view topKey, std::int32_t defaultLeft,
                                         std::int32_t defaultTop) {
  const QSize screen = ScreenSizeTwips();
  const QSize size = frameGeometry().size();
  const std::int32_t maxLeft = screen.width() - PixelsToTwips(size.width()) / 2;
  const std::int32_t maxTop = screen.height() - PixelsToTwips(size.height()) / 2;
  RestorePosition(section, {leftKey, 0, maxLeft, defaultLeft}, {topKey, 0, maxTop, defaultTop});
}

QPoint ToolWindow::DefaultPlaceBesideOwner(std::int32_t below, QSize outer) const {
  const QWidget* owner = parentWidget();
  if (owner == nullptr) return {0, below};
  const QRect main = owner->frameGeometry();
  const QRect screen = AvailableScreenPixels();
  const int left = std::max(screen.left(), std::min(main.right() + 1, screen.right() + 1 - outer.width()));
  return {PixelsToTwips(left), PixelsToTwips(main.top()) + below};
}

void ToolWindow::SavePosition(std::string_view section, std::string_view leftKey,
                              std::string_view topKey) const {
  SaveWindowPosition(*this, section, leftKey, topKey);
}

}  // namespace orvale
