#include "app/plots/MdiDocumentWindow.h"

#include <QMdiArea>

namespace orvale {

namespace {

bool HasSize(const WindowPlacement& p) { return p.Width >= 1 && p.Height >= 1; }

}  // namespace

MdiDocumentWindow::MdiDocumentWindow(QMdiArea& area, DocumentSubWindow* window)
    : area_(&area), window_(window) {}

MdiDocumentWindow::~MdiDocumentWindow() {
  if (window_ == nullptr) return;
  window_->ReleaseDocument();
  window_->deleteLater();
}

void MdiDocumentWindow::Load(const WindowPlacement& placement) {
  if (loaded_ || window_ == nullptr || area_ == nullptr) return;
  loaded_ = true;
  area_->addSubWindow(window_);
  window_->hide();
  // Without a size the area places the window itself when it is first shown.
  const WindowPlacement place = HasSize(placement) ? placement : placement_;
  if (HasSize(place)) window_->setGeometry(place.Left, place.Top, place.Width, place.Height);
}

void MdiDocumentWindow::Show(bool activate, bool raise) {
  if (window_ == nullptr) return;
  if (!loaded_) Load(placement_);
  if (!activate) {
    window_->ShowWithoutActivating(raise);
    return;
  }
  window_->show();
  if (area_ != nullptr) area_->setActiveSubWindow(window_);
  window_->raise();
}

void MdiDocumentWindow::Hide() {
  if (window_ != nullptr && loaded_) window_->HideWindow();
}

bool MdiDocumentWindow::IsShown() const {
  return window_ != nullptr && loaded_ && !window_->isHidden();
}

WindowPlacement MdiDocumentWindow::Placement() const {
  if (window_ == nullptr || !loaded_) return placement_;
  const QRect frame = window_->geometry();
  return {frame.x(), frame.y(), frame.width(), frame.height()};
}

void MdiDocumentWindow::SetPlacement(const WindowPlacement& placement) {
  if (window_ == nullptr || !loaded_) {
    placement_ = placement;
    return;
  }
  window_->setGeometry(placement.Left, placement.Top, placement.Width, placement.Height);
}

void MdiDocumentWindow::Move(std::int32_t left, std::int32_t top) {
  if (window_ == nullptr || !loaded_) {
    placement_.Left = left;
    placement_.Top = top;
    return;
  }
  window_->move(left, top);
}

WindowShowState MdiDocumentWindow::State() const {
  return window_ != nullptr ? window_->ShowState() : WindowShowState::Normal;
}

void MdiDocumentWindow::ShowNormal() {
  if (loaded_ && State() != WindowShowState::Normal) window_->showNormal();
}

void MdiDocumentWindow::BringToTop(bool activate) {
  if (!IsShown()) return;
  if (activate && area_ != nullptr) area_->setActiveSubWindow(window_);
  window_->raise();
}

void MdiDocumentWindow::Repaint() {
  if (IsShown()) window_->RepaintView();
}

void MdiDocumentWindow::SetCaption(const std::string& caption) {
  if (window_ != nullptr) window_->setWindowTitle(QString::fromStdString(caption));
}

std::string MdiDocumentWindow::Caption() const {
  return window_ != nullptr ? window_->windowTitle().toStdString() : std::string();
}

}  // namespace orvale
