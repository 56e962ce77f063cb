#include "app/plots/frmSFringe.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <algorithm>
#include <array>
#include <cmath>
#include <new>
#include <vector>

#include "app/document/AreaFills.h"
#include "app/document/DocumentHost.h"
#include "app/document/DocumentViews.h"
#include "app/document/MainFrame.h"
#include "app/document/clsDocument.h"
#include "app/plots/SFringePicture.h"
#include "platform/gdi/DrawModes.h"
#include "platform/gdi/RasterOps.h"
#include "platform/registry/GeneralSettings.h"
#include "platform/runtime/NumberText.h"
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

// A new image of a bitmap's size; null (reported) when the memory cannot be had.
std::unique_ptr<gdi::ImageDeviceContext> MakeBitmap(std::int32_t width, std::int32_t height) {
  try {
    auto bitmap = std::make_unique<gdi::ImageDeviceContext>(width, height);
    if (!bitmap->Image().isNull()) return bitmap;
  } catch (const std::bad_alloc&) {
  }
  ReportOutOfMemory();
  return nullptr;
}

}  // namespace

frmSFringe::frmSFringe(MainFrame& frame, clsDocument& doc, SFringeViewModel& view)
    : CanvasSubWindow(frame, doc, viewtype::kSFringe),
      View(view),
      hsbSFringe(MakeScrollBar(Qt::Horizontal, 0, 0)),
      vsbSFringe(MakeScrollBar(Qt::Vertical, 0, 0)) {
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
  full_.reset();
  small_.reset();
  smallZoom_ = 0;
  const std::int32_t w = View.XSize;
  const std::int32_t h = View.YSize;
  if (w < 1 || h < 1 ||
      View.Picture.size() < static_cast<std::size_t>(w) * static_cast<std::size_t>(h)) {
    return;
  }
  std::unique_ptr<gdi::ImageDeviceContext> bitmap = MakeBitmap(w, h);
  if (!bitmap) return;
  std::array<gdi::Color, 256> table{};
  const bool red = parentDoc->Settings().RedDisplay;
  for (int i = 0; i < 256; ++i) {
    const auto level = static_cast<std::uint8_t>(i);
    table[static_cast<std::size_t>(i)] = red ? gdi::RGB(level, 0, 0) : gdi::RGB(level, level, level);
  }
  std::vector<gdi::Color> row(static_cast<std::size_t>(w));
  for (std::int32_t y = 0; y < h; ++y) {
    const std::uint8_t* bytes = View.Picture.data() + static_cast<std::size_t>(y) * w;
    for (std::int32_t x = 0; x < w; ++x) row[static_cast<std::size_t>(x)] = table[bytes[x]];
    bitmap->SetPixelRow(0, y, row);
  }
  full_ = std::move(bitmap);
  geometry_.ImageWidth = w;
  geometry_.ImageHeight = h;
  // The bars and the reduced copy for the new picture.
  ResizeWindow();
}

void frmSFringe::RefreshSmallBitmap() {
  small_.reset();
  const std::int32_t w = geometry_.DrawnWidth;
  const std::int32_t h = geometry_.DrawnHeight;
  if (parentDoc == nullptr || !full_ || w < 1 || h < 1) return;
  BusyPointer busy(parentDoc->Host());
  small_ = MakeBitmap(w, h);
  if (small_) {
    small_->StretchBlt(0, 0, w, h, *full_, 0, 0, geometry_.ImageWidth, geometry_.ImageHeight,
                       gdi::SRCCOPY);
  }
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
  geometry_.Layout(ClientWidth() - vsbSFringe->width(), ClientHeight() - hsbSFringe->height());
  const std::int32_t w = geometry_.ClientWidth;
  const std::int32_t h = geometry_.ClientHeight;
  if (w < 1 || h < 1) return;
  vsbSFringe->setGeometry(w, 0, vsbSFringe->width(), h);
  hsbSFringe->setGeometry(0, h, w, hsbSFringe->height());
  ShowBars();
  if (View.ImageReady && full_ && View.ZoomFactor != smallZoom_) {
    if (View.ZoomFactor >= 100) {
      small_.reset();
    } else {
      RefreshSmallBitmap();
    }
    smallZoom_ = View.ZoomFactor;
  }
}

void frmSFringe::PaintImage() {
  const ImageViewGeometry& g = geometry_;
  // A client smaller than the scroll bars has no view to draw.
  if (parentDoc == nullptr || g.ClientWidth < 1 || g.ClientHeight < 1) return;
  gdi::ImageDeviceContext& dc = Canvas().DC();
  const bool fullSize = View.ZoomFactor >= 100;
  if (!View.ImageReady || !(fullSize ? full_ : small_)) {
    FillRectWorkspace(dc, g.ClientWidth, g.ClientHeight, 0, 0);
    ShowCanvas();
    return;
  }
  dc.SetStretchBltMode(gdi::COLORONCOLOR);
  const auto x = static_cast<std::int32_t>(g.OriginX);
  const auto y = static_cast<std::int32_t>(g.OriginY);
  if (fullSize) {
    dc.StretchBlt(0, 0, g.ClientWidth, g.ClientHeight, *full_, x, y, g.SourceWidth,
                  g.SourceHeight, gdi::SRCCOPY);
  } else {
    dc.BitBlt(0, 0, g.ClientWidth, g.ClientHeight, *small_,
              static_cast<int>(std::floor(g.OriginX * g.ScaleFactor)),
              static_cast<int>(std::floor(g.OriginY * g.ScaleFactor)), gdi::SRCCOPY);
  }
  // Black right of and below a picture smaller than the view, from just past its last
  // pixel, as in the image view.
  const gdi::Brush black = gdi::StockBrush(gdi::BLACK_BRUSH);
  if (g.DrawnWidth < g.ClientWidth)
    dc.FillRect(gdi::Rect{g.DrawnWidth, 0, g.ClientWidth, g.ClientHeight}, black);
  if (g.DrawnHeight < g.ClientHeight)
    dc.FillRect(gdi::Rect{0, g.DrawnHeight, g.ClientWidth, g.ClientHeight}, black);
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
