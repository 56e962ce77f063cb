#include "app/plots/DocumentSubWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QPointer>
#include <QScreen>
#include <QStyle>

#include "app/document/MainFrame.h"
#include "app/document/OutputViewKinds.h"
#include "app/document/clsDocument.h"
#include "platform/runtime/Markers.h"
#include "platform/ui/HandlerGuard.h"

namespace orvale {

namespace {

// While above 0, activations and deactivations are the area's bookkeeping, not the
// user's: showing a window without activating it briefly activates it in QMdiArea.
int quietActivations = 0;

class QuietActivations {
 public:
  QuietActivations() { ++quietActivations; }
  ~QuietActivations() { --quietActivations; }
  QuietActivations(const QuietActivations&) = delete;
  QuietActivations& operator=(const QuietActivations&) = delete;
};

}  // namespace

DocumentSubWindow::DocumentSubWindow(MainFrame& frame, clsDocument& doc, std::int32_t formType,
                                     QWidget* content)
    : parentDoc(&doc), FormType(formType), frame_(&frame) {
  // The document decides when the window goes.
  setAttribute(Qt::WA_DeleteOnClose, false);
  if (content != nullptr) setWidget(content);
  // No larger than the desktop, as a window system holds its windows to their largest
  // tracking size: a window sized to a 100-megapixel picture would otherwise paint a
  // picture area of that size, unseen, into a backing image of 400 MB.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) setMaximumSize(screen->virtualSize());
  stateConnection_ = connect(this, &QMdiSubWindow::windowStateChanged, this,
          [this](Qt::WindowStates oldState, Qt::WindowStates newState) {
            GuardHandler([&] { StateChanged(oldState, newState); });
          });
}

DocumentSubWindow::~DocumentSubWindow() {
  // QMdiSubWindow reports its last deactivation while it is destroyed, when this part of
  // the object is already gone.
  disconnect(stateConnection_);
}

void DocumentSubWindow::StateChanged(Qt::WindowStates oldState, Qt::WindowStates newState) {
  if (parentDoc == nullptr || quietActivations > 0) return;
  const bool wasActive = oldState.testFlag(Qt::WindowActive);
  const bool isActive = newState.testFlag(Qt::WindowActive);
  if (!wasActive && isActive) {
    Activated();
  } else if (wasActive && !isActive) {
    Deactivated();
  }
}

void DocumentSubWindow::Activated() {
  frame_->StoreWindowLayout(*parentDoc);
  parentDoc->ActiveView = FormType;
  frame_->UpdateMainFrame(FormType, ZoomRatio(), EditMode());
}

double DocumentSubWindow::ZoomRatio() const { return kNotGivenDouble; }

void DocumentSubWindow::ShowWithoutActivating(bool raise) {
  QMdiArea* area = mdiArea();
  {
    QuietActivations quiet;
    const QPointer<QMdiSubWindow> active = area != nullptr ? area->activeSubWindow() : nullptr;
    show();
    if (area != nullptr && area->activeSubWindow() != active) area->setActiveSubWindow(active);
  }
  if (raise) this->raise();
}

void DocumentSubWindow::HideWindow() {
  QMdiArea* area = mdiArea();
  const bool wasActive = area != nullptr && area->activeSubWindow() == this;
  hide();
  if (!wasActive) return;
  // QMdiArea keeps a hidden window active; the next one in the order takes over.
  const QList<QMdiSubWindow*> stack = area->subWindowList(QMdiArea::StackingOrder);
  for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
    if (*it != this && !(*it)->isHidden()) {
      area->setActiveSubWindow(*it);
      return;
    }
  }
  area->setActiveSubWindow(nullptr);
}

WindowShowState DocumentSubWindow::ShowState() const {
  if (isMinimized()) return WindowShowState::Minimized;
  if (isMaximized()) return WindowShowState::Maximized;
  return WindowShowState::Normal;
}

void DocumentSubWindow::RepaintView() {
  if (QWidget* content = widget()) content->update();
  update();
}

void DocumentSubWindow::closeEvent(QCloseEvent* event) {
  // Every close request is the user's; the document unloads its windows without one.
  event->ignore();
  GuardHandler([this] {
    if (parentDoc != nullptr) UserClose();
  });
}

void DocumentSubWindow::UserClose() {
  const OutputViewKind* kind = FindOutputViewKind(FormType);
  if (kind == nullptr) return;
  parentDoc->*kind->Visible = false;
  frame_->SetViewItemChecked(kind->MenuItem, false);
  frame_->UpdateToolBar();
  HideWindow();
}

WindowFrameMetrics MdiWindowFrameMetrics(const QStyle& style) {
  WindowFrameMetrics metrics;
  metrics.ScrollBarWidth = style.pixelMetric(QStyle::PM_ScrollBarExtent);
  metrics.ScrollBarHeight = metrics.ScrollBarWidth;
  metrics.FrameWidth = style.pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
  metrics.FrameHeight = metrics.FrameWidth;
  metrics.CaptionHeight = style.pixelMetric(QStyle::PM_TitleBarHeight) - metrics.FrameHeight;
  return metrics;
}

}  // namespace orvale
