#include "app/imageview/ImageView.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSizeGrip>
#include <QStyle>
#include <algorithm>
#include <cmath>

#include "app/document/ActivateDocument.h"
#include "app/document/AreaFills.h"
#include "app/document/DocumentTable.h"
#include "app/document/MainFrame.h"
#include "app/document/clsDocument.h"
#include "app/plots/DocumentSubWindow.h"
#include "app/plots/ImageViewDisplay.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "platform/registry/GeneralSettings.h"
#include "platform/ui/HandlerGuard.h"

namespace orvale {

namespace {

std::int32_t ShiftOf(Qt::KeyboardModifiers modifiers) {
  // Alt and Meta belong to the window manager.
  return (modifiers.testFlag(Qt::ShiftModifier) ? modifier::kShift : 0) |
         (modifiers.testFlag(Qt::ControlModifier) ? modifier::kCtrl : 0);
}

std::int32_t ButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return mousebutton::kLeft;
    case Qt::RightButton: return mousebutton::kRight;
    default: return 0;
  }
}

std::int32_t ButtonsOf(Qt::MouseButtons buttons) {
  return (buttons.testFlag(Qt::LeftButton) ? mousebutton::kLeft : 0) |
         (buttons.testFlag(Qt::RightButton) ? mousebutton::kRight : 0);
}

// The modifiers after a key event: a modifier key's own press or release counts,
// whether or not the platform has folded it into the event's modifiers yet.
std::int32_t ShiftAfter(const QKeyEvent& event, bool pressed) {
  std::int32_t shift = ShiftOf(event.modifiers());
  const std::int32_t own = event.key() == Qt::Key_Shift     ? modifier::kShift
                           : event.key() == Qt::Key_Control ? modifier::kCtrl
                                                            : 0;
  return pressed ? shift | own : shift & ~own;
}

std::int32_t KeyCodeOf(const QKeyEvent& event) {
  return event.key() == Qt::Key_Space ? kSpaceKey : event.key();
}

void PushBar(QScrollBar& bar, const ScrollBarState& state, std::int32_t visible) {
  bar.setRange(0, std::max(state.Maximum, 0));
  bar.setValue(state.Value);
  bar.setEnabled(state.Enabled);
  bar.setPageStep(std::max(visible, 1));
  bar.setSingleStep(std::max(visible / 20, 1));
}

}  // namespace

ImageView::ImageView(clsDocument& doc, MainFrame& frame, FringeToolbox* toolbox, QWidget* parent)
    : QWidget(parent),
      doc_(&doc),
      frame_(frame),
      display_(std::make_unique<ImageViewDisplay>(doc.Settings(), doc.Host())),
      editor_(std::make_unique<ImageEditController>(doc, *display_, frame, toolbox,
                                                    static_cast<ImageViewPort&>(*this))),
      hsbImage_(new QScrollBar(Qt::Horizontal, this)),
      vsbImage_(new QScrollBar(Qt::Vertical, this)),
      sbImage_(new QSizeGrip(this)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);  // the space bar must reach the view
  for (QScrollBar* bar : {hsbImage_, vsbImage_}) {
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setEnabled(false);
    QObject::connect(bar, &QScrollBar::valueChanged, this, [this](int) {
      GuardHandler([this] { ScrollBarMoved(); });
    });
  }
  const std::int32_t extent = BarExtent();
  hsbImage_->setFixedHeight(extent);
  vsbImage_->setFixedWidth(extent);
  sbImage_->setFixedSize(extent, extent);
}

ImageView::~ImageView() { QObject::disconnect(subWindowActivation_); }

std::int32_t ImageView::BarExtent() const {
  return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

QWidget* ImageView::FrameWidget() {
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) return sub;
  return this;
}

void ImageView::Detach() {
  editor_.reset();
  display_.reset();
  doc_ = nullptr;
  QObject::disconnect(subWindowActivation_);
  SetCursorKey("");
  update();
}

void ImageView::Load() {
  if (!editor_ || loaded_) return;
  loaded_ = true;
  // In the main window's area the window was sized when it loaded.
  if (FrameWidget() == this && doc_->InitWindowWidth > 0 && doc_->InitWindowHeight > 0)
    resize(doc_->InitWindowWidth, doc_->InitWindowHeight);
  editor_->ChangeMouseIcon(0);
}

bool ImageView::RefreshBitmapFromData(std::span<const std::uint8_t> data, std::int32_t XSize,
                                      std::int32_t YSize) {
  return display_ && display_->RefreshBitmapFromData(data, XSize, YSize);
}

bool ImageView::RefreshBitmapFromDIB(std::span<const std::uint8_t> dib, std::int32_t XSize,
                                     std::int32_t YSize) {
  return display_ && display_->RefreshBitmapFromDIB(dib, XSize, YSize);
}

void ImageView::ResizeWindow() {
  if (!display_ || display_->Closing) return;
  const std::int32_t extent = BarExtent();
  const std::int32_t clientWidth = width() - extent;
  const std::int32_t clientHeight = height() - extent;
  if (clientWidth >= 1 && clientHeight >= 1) {
    vsbImage_->setGeometry(clientWidth, 0, extent, clientHeight);
    hsbImage_->setGeometry(0, clientHeight, clientWidth, extent);
    sbImage_->setGeometry(clientWidth, clientHeight, extent, extent);
  }
  display_->ResizeWindow(clientWidth, clientHeight);
  ScrollBarsChanged();
}

void ImageView::PaintImage() {
  if (editor_) editor_->PaintImage();
}

void ImageView::UpdateImage() {
  ResizeWindow();
  PaintImage();
}

void ImageView::Activate() {
  if (!editor_) return;
  clsDocument& doc = *doc_;
  ActivateDocument(frame_, doc);
  doc.ActiveView = FormType;
  frame_.UpdateMainFrame(FormType, display_->Geometry.ScaleFactor, editor_->MouseEditMode);
  editor_->ChangeStatusBar(0);
}

// --- ImageViewPort ---

void ImageView::ShowBacking() {
  if (!display_) return;
  update(0, 0, display_->Geometry.ClientWidth, display_->Geometry.ClientHeight);
}

void ImageView::SetCursorKey(std::string_view key) {
  cursorKey_ = std::string(key);
  if (key.empty())
    unsetCursor();
  else
    setCursor(frame_.MouseIcon(key));
}

void ImageView::ScrollBarsChanged() {
  if (!display_) return;
  const ImageViewGeometry& g = display_->Geometry;
  syncingBars_ = true;
  PushBar(*hsbImage_, g.Horizontal, g.SourceWidth);
  PushBar(*vsbImage_, g.Vertical, g.SourceHeight);
  syncingBars_ = false;
}

PointL ImageView::ScreenPosition(std::int32_t x, std::int32_t y) const {
  const QPoint global = mapToGlobal(QPoint(x, y));
  return {global.x(), global.y()};
}

void ImageView::ScrollBarMoved() {
  if (syncingBars_ || !display_) return;
  ImageViewGeometry& g = display_->Geometry;
  g.Horizontal.Value = hsbImage_->value();
  g.Vertical.Value = vsbImage_->value();
  if (!display_->ImageReady) return;
  if (g.SyncOrigin()) PaintImage();
}

// --- Qt events ---

bool ImageView::event(QEvent* event) {
  if (event->type() == QEvent::ParentChange) FollowSubWindowActivation();
  return QWidget::event(event);
}

void ImageView::FollowSubWindowActivation() {
  QObject::disconnect(subWindowActivation_);
  auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
  // A document window of the main window's area reports its activation itself.
  if (sub == nullptr || dynamic_cast<DocumentSubWindow*>(sub) != nullptr) return;
  subWindowActivation_ = QObject::connect(
      sub, &QMdiSubWindow::windowStateChanged, this,
      [this](Qt::WindowStates before, Qt::WindowStates now) {
        if (!before.testFlag(Qt::WindowActive) && now.testFlag(Qt::WindowActive))
          GuardHandler([this] { Activate(); });
      });
}

void ImageView::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // Inside the main window's area the sub-window's activation counts, not the frame's.
  if (event->type() == QEvent::ActivationChange && isWindow() && isActiveWindow())
    GuardHandler([this] { Activate(); });
}

void ImageView::paintEvent(QPaintEvent* /*event*/) {
  GuardHandler([this] {
    QPainter painter(this);
    const gdi::ImageDeviceContext* backing = display_ ? display_->Backing() : nullptr;
    if (backing != nullptr) {
      painter.drawImage(0, 0, backing->Image());
    } else {
      const gdi::Color c = kApplicationWorkspaceColor;
      painter.fillRect(rect(), QColor(gdi::GetRValue(c), gdi::GetGValue(c), gdi::GetBValue(c)));
    }
  });
}

void ImageView::resizeEvent(QResizeEvent* /*event*/) {
  GuardHandler([this] {
    if (FrameWidget()->isMinimized()) return;
    ResizeWindow();
    PaintImage();
  });
}

void ImageView::ForwardMouse(QMouseEvent* event, MouseHandler handler, std::int32_t Button) {
  GuardHandler([this, event, handler, Button] {
    if (!editor_) return;
    const QPointF p = event->position();
    (editor_.get()->*handler)(Button, ShiftOf(event->modifiers()), p.x(), p.y());
  });
}

void ImageView::mousePressEvent(QMouseEvent* event) {
  ForwardMouse(event, &ImageEditController::MouseDown, ButtonOf(event->button()));
}

void ImageView::mouseMoveEvent(QMouseEvent* event) {
  ForwardMouse(event, &ImageEditController::MouseMove, ButtonsOf(event->buttons()));
}

void ImageView::mouseReleaseEvent(QMouseEvent* event) {
  ForwardMouse(event, &ImageEditController::MouseUp, ButtonOf(event->button()));
}

void ImageView::keyPressEvent(QKeyEvent* event) {
  GuardHandler([this, event] {
    if (editor_) editor_->KeyDown(KeyCodeOf(*event), ShiftAfter(*event, true));
  });
}

void ImageView::keyReleaseEvent(QKeyEvent* event) {
  // One key-up per press: the platform's repeats are not releases.
  if (event->isAutoRepeat()) return;
  GuardHandler([this, event] {
    if (editor_) editor_->KeyUp(KeyCodeOf(*event), ShiftAfter(*event, false));
  });
}

bool ImageView::CloseByUser() {
  if (doc_ == nullptr || doc_->Table() == nullptr) return true;
  clsDocument* doc = doc_;
  std::int16_t cancel = 0;
  // Closing the document releases this view later (deleteLater), never here.
  doc->Table()->CloseDocument(doc, false, cancel);
  // Cancelled: the view stays open and keeps following its size.
  if (cancel != 0) return false;
  if (display_) display_->Closing = true;
  return true;
}

void ImageView::closeEvent(QCloseEvent* event) {
  event->ignore();
  GuardHandler([this, event] {
    if (CloseByUser()) event->accept();
  });
}

}  // namespace orvale
