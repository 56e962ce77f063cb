#include "app/plots/frmSFringe.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <algorithm>
#include <array>

#include "app/document/DocumentViews.h"
#include "app/document/MainFrame.h"
#include "app/document/clsDocument.h"
#include "app/plots/SFringePicture.h"
#include "platform/gdi/RasterOps.h"
#include "platform/ui/AllocationReport.h"
#include "platform/ui/HandlerGuard.h"

namespace orvale {

namespace {

// The modifier keys as the view's tools read them: Shift 1, Ctrl 2, Alt 4.
std::int32_t ShiftState(Qt::KeyboardModifiers modifiers) {
  return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) |
         (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) |
         (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

}  // namespace

frmSFringe::frmSFringe(MainFrame& frame, clsDocument& doc, SFringeViewModel& view)
    : CanvasSubWindow(frame, doc, viewtype::kSFringe),
      View(view),
      hsbSFringe(MakeScrollBar(Qt::Horizontal, 0, 0)),
      vsbSFringe(MakeScrollBar(Qt::Vertical, 0, 0)),
      display_(doc.Settings(), doc.Host()) {
  display_.StretchContrast = false;
  ChangeMouseIcon(0);
  if (View.ImageReady) RefreshBitmapFromData();
  // Qt merges the repaints of a drag into one, so a drag and a click repaint alike.
  const auto follow = [this](ScrollBarState& state) {
    return [this, &state](int value) {
      GuardHandler([&] {
        state.Value = value;
        geometry_.SyncOrigin();
        if (parentDoc != nullptr && View.ImageReady) PaintImage();
      });
    };
  };
  connect(hsbSFringe, &QScrollBar::valueChanged, this, follow(geometry_.Horizontal));
  connect(vsbSFringe, &QScrollBar::valueChanged, this, follow(geometry_.Vertical));
}

frmSFringe::~frmSFringe() = default;

double frmSFringe::ZoomRatio() const { return View.ZoomFactor / 100.0; }

void frmSFringe::RefreshBitmapFromData() {
  if (parentDoc == nullptr) return;
  const std::int32_t w = View.XSize;
  const std::int32_t h = View.YSize;
  geometry_.ZoomFactor = View.ZoomFactor;
  const bool whole =
      w >= 1 && h >= 1 &&
      View.Picture.size() >= static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
  // A picture that is whole and still cannot be shown did not get its memory.
  if (!display_.RefreshBitmapFromData(View.Picture, w, h) && whole) ReportOutOfMemory();
  ResizeWindow();
}

void frmSFringe::RefreshSmallBitmap() {
  if (parentDoc != nullptr) display_.RefreshSmallBitmap();
}

void frmSFringe::ShowBars() {
  const auto show = [](QScrollBar& bar, const ScrollBarState& state, std::int32_t visible) {
    const QSignalBlocker quiet(&bar);
    bar.setRange(0, std::max(state.Maximum, 0));
    bar.setValue(state.Value);
    bar.setPageStep(std::max(visible, 1));
    bar.setVisible(state.Enabled);
  };
  show(*hsbSFringe, geometry_.Horizontal, geometry_.SourceWidth);
  show(*vsbSFringe, geometry_.Vertical, geometry_.SourceHeight);
}

void frmSFringe::ResizeWindow() {
  if (parentDoc == nullptr) return;
  geometry_.ZoomFactor = View.ZoomFactor;
  display_.ImageReady = View.ImageReady;
  display_.ResizeWindow(ClientWidth() - vsbSFringe->width(), ClientHeight() - hsbSFringe->height());
  const std::int32_t w = geometry_.ClientWidth;
  const std::int32_t h = geometry_.ClientHeight;
  if (w < 1 || h < 1) return;
  vsbSFringe->setGeometry(w, 0, vsbSFringe->width(), h);
  hsbSFringe->setGeometry(0, h, w, hsbSFringe->height());
  ShowBars();
}

void frmSFringe::PaintImage() {
  // A client smaller than the scroll bars has no view to draw.
  if (parentDoc == nullptr || geometry_.ClientWidth < 1 || geometry_.ClientHeight < 1) return;
  display_.ImageReady = View.ImageReady;
  display_.Paint(nullptr);
  const gdi::ImageDeviceContext* picture = display_.Backing();
  if (picture == nullptr) return;
  Canvas().DC().BitBlt(0, 0, geometry_.ClientWidth, geometry_.ClientHeight, *picture, 0, 0,
                       gdi::SRCCOPY);
  ShowCanvas();
}

void frmSFringe::UpdateImage() {
  ResizeWindow();
  PaintImage();
}

void frmSFringe::RepaintView() { PaintImage(); }

void frmSFringe::PrintImage(gdi::DeviceContext& DC, std::int32_t left, std::int32_t top,
                            std::int32_t right, std::int32_t bottom) {
  if (parentDoc == nullptr) return;
  orvale::PrintImage(View, DC, left, top, right, bottom);
}

void frmSFringe::ChangeMouseIcon(std::int32_t Shift) {
  static constexpr std::array<std::string_view, 3> kKeys = {"curHandTool", "curZoomIn",
                                                            "curZoomOut"};
  if (Shift < 0 || Shift >= static_cast<std::int32_t>(kKeys.size())) return;
  Canvas().setCursor(Frame().MouseIcon(kKeys[static_cast<std::size_t>(Shift)]));
}

void frmSFringe::GetZoomCenter(double clickx, double clicky, bool ZoomIn) {
  const MainFrame& frame = Frame();
  const std::int32_t next = frame.ZoomListIndex() + (ZoomIn ? -1 : 1);
  if (next < 0 || next >= frame.ZoomListCount()) return;
  // Set quietly: the view is drawn once the main window applies the new zoom.
  geometry_.CenterForZoom(clickx, clicky, frame.ZoomListItemData(next));
  geometry_.SyncOrigin();
  ShowBars();
}

bool frmSFringe::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &Canvas()) {
    GuardHandler([&] {
      if (parentDoc == nullptr) return;
      switch (event->type()) {
        case QEvent::MouseButtonPress:
          MousePressed(static_cast<const QMouseEvent&>(*event));
          break;
        case QEvent::MouseMove:
          MouseMoved(static_cast<const QMouseEvent&>(*event));
          break;
        case QEvent::MouseButtonRelease:
          panning_ = false;
          break;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
          KeyChanged(static_cast<const QKeyEvent&>(*event));
          break;
        default:
          break;
      }
    });
  }
  return CanvasSubWindow::eventFilter(watched, event);
}

void frmSFringe::MousePressed(const QMouseEvent& event) {
  if (event.button() != Qt::LeftButton || !View.ImageReady) return;
  const QPoint at = event.position().toPoint();
  const PointD point = geometry_.ScreenToImage(at.x(), at.y());
  MainFrame& frame = Frame();
  const std::int32_t index = frame.ZoomListIndex();
  switch (ShiftState(event.modifiers())) {
    case 0:
      panning_ = true;
      panStart_ = {geometry_.Horizontal.Value, geometry_.Vertical.Value, at.x(), at.y()};
      break;
    case 1:  // Shift: the next larger zoom
      if (index > 0) {
        GetZoomCenter(point.x, point.y, true);
        frame.SelectZoomListIndex(index - 1);
      }
      break;
    case 2:  // Ctrl: the next smaller zoom
      if (index >= 0 && index + 1 < frame.ZoomListCount()) {
        GetZoomCenter(point.x, point.y, false);
        frame.SelectZoomListIndex(index + 1);
      }
      break;
    default:
      break;
  }
}

void frmSFringe::MouseMoved(const QMouseEvent& event) {
  if (!panning_ || !event.buttons().testFlag(Qt::LeftButton) || !View.ImageReady) return;
  const QPoint at = event.position().toPoint();
  if (!geometry_.Pan(panStart_, at.x(), at.y())) return;
  geometry_.SyncOrigin();
  ShowBars();
  PaintImage();
}

void frmSFringe::KeyChanged(const QKeyEvent& event) {
  const std::int32_t shift = ShiftState(event.modifiers());
  if (shift == lastShift_) return;
  lastShift_ = shift;
  ChangeMouseIcon(shift);
}

}  // namespace orvale
