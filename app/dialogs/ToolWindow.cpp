#include "app/dialogs/ToolWindow.h"

#include <QCloseEvent>
#include <algorithm>

#include "platform/ui/HandlerGuard.h"
#include "platform/ui/QuitRequests.h"
#include "platform/ui/ScreenTwips.h"
#include "platform/ui/WindowFrame.h"
#include "platform/window/HostWindowGeometry.h"

namespace orvale {

namespace {

// A stored position's default as its read clamps it.
std::int32_t ClampedDefault(const StoredPosition& p) {
  return std::min(std::max(p.Default, p.Minimum), p.Maximum);
}

}  // namespace

ToolWindow::ToolWindow(MainFrame& frame, ViewMenuItem item, const QString& title,
                       QWidget* owner)
    : QWidget(owner, Qt::Tool), frame_(&frame), item_(item) {
  setWindowTitle(title);
  WatchQuitRequests();
}

void ToolWindow::ShowFromView() {
  if (atDefaultPlace_ && !shownBefore_) {
    move(ClearOfOwnerBars(pos(), OtherToolWindowPlaces()));
  } else {
    KeepOffOwnerBars();
  }
  shownBefore_ = true;
  show();
  frame_->SetViewItemChecked(item_, true);
  frame_->UpdateToolBar();
}

void ToolWindow::HideFromView() {
  if (!ReadyToHide()) return;
  hide();
  frame_->SetViewItemChecked(item_, false);
  frame_->UpdateToolBar();
}

void ToolWindow::closeEvent(QCloseEvent* event) {
  if (QuitRequested()) {
    event->accept();
    ShowAgainIfQuitRefused(*this);
    return;
  }
  event->ignore();
  GuardHandler([this] { HideFromView(); });
}

void ToolWindow::RestorePosition(std::string_view section, const StoredPosition& left,
                                 const StoredPosition& top) {
  const QPoint place = ClearOfOwnerBars(
      QPoint(TwipsToPixels(ClampedDefault(left)), TwipsToPixels(ClampedDefault(top))));
  StoredPosition clearLeft = left;
  StoredPosition clearTop = top;
  clearLeft.Default = PixelsToTwips(place.x());
  clearTop.Default = PixelsToTwips(place.y());
  atDefaultPlace_ = !RestoreWindowPosition(*this, OuterSize(), section, clearLeft, clearTop);
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

QPoint ToolWindow::DefaultPlaceBesideOwner(std::int32_t below) const {
  const QWidget* owner = parentWidget();
  if (owner == nullptr) return {0, below};
  const QRect main = owner->frameGeometry();
  const QRect screen = AvailableScreenPixels();
  const int left = std::max(screen.left(), std::min(main.right() + 1, screen.right() + 1 - OuterSize().width()));
  return {PixelsToTwips(left), PixelsToTwips(main.top()) + below};
}

QSize ToolWindow::OuterSize() const {
  const QWidget* owner = parentWidget();
  return ExpectedOuterSize(*this, owner != nullptr ? FrameMarginsOf(*owner) : QMargins());
}

void ToolWindow::KeepOffOwnerBars() {
  const QWidget* owner = parentWidget();
  if (owner == nullptr || !CoversHostBars(QRect(pos(), OuterSize()), HostGeometryOf(*owner))) return;
  move(ClearOfOwnerBars(pos(), OtherToolWindowPlaces()));
}

QPoint ToolWindow::ClearOfOwnerBars(QPoint wanted, std::span<const QRect> others) const {
  const QWidget* owner = parentWidget();
  if (owner == nullptr) return wanted;
  return ClearOfHostBars(wanted, OuterSize(), HostGeometryOf(*owner), others);
}

std::vector<QRect> ToolWindow::OtherToolWindowPlaces() const {
  std::vector<QRect> places;
  const QWidget* owner = parentWidget();
  if (owner == nullptr) return places;
  const HostGeometry host = HostGeometryOf(*owner);
  // Tool windows declare no meta-object of their own, so they are told apart by type.
  for (const QObject* child : owner->children()) {
    const auto* other = dynamic_cast<const ToolWindow*>(child);
    if (other == nullptr || other == this || !other->isVisible()) continue;
    // One over the bars moves off them too, when its turn comes.
    const QRect place(other->pos(), other->OuterSize());
    if (!CoversHostBars(place, host)) places.push_back(place);
  }
  return places;
}

void ToolWindow::SavePosition(std::string_view section, std::string_view leftKey,
                              std::string_view topKey) const {
  SaveWindowPosition(*this, section, leftKey, topKey);
}

}  // namespace orvale
