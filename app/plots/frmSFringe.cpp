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

// A bar over an image side of `imageSize` pixels of which `visible` show: hidden at 0
// when the whole side shows.
void LayOutBar(QScrollBar& bar, std::int32_t imageSize, double visible) {
  const std::int32_t maximum = RoundToInt32(imageSize - visible);
  if (maximum < 1) {
    bar.setValue(0);
    bar.hide();
    return;
  }
  bar.setMaximum(maximum);
  bar.setPageStep(std::max(1, RoundToInt32(visible)));
  bar.show();
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
  for (QScrollBar* bar : {hsbSFringe, vsbSFringe}) {
    // Qt merges the repaints of a drag into one, so a drag and a click repaint alike.
    connect(bar, &QScrollBar::valueChanged, this, [this](int) {
      GuardHandler([this] {
        if (parentDoc != nullptr && View.ImageReady) PaintImage();
      });
    });
  }
}

frmSFringe::~frmSFringe() = default;

double frmSFringe::ZoomRatio() const { return Ratio(); }

double frmSFringe::Scale() const {
  const double ratio = Ratio();
  return ratio == 0 ? 0.0 : 1.0 / ratio;
}

// The picture covers exactly its zoomed size; the strips start right after it.
std::int32_t frmSFringe::ZoomedWidth() const { return RoundToInt32(imageWidth_ * Ratio()); }
std::int32_t frmSFringe::ZoomedHeight() const { return RoundToInt32(imageHeight_ * Ratio()); }

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
  imageWidth_ = w;
  imageHeight_ = h;
  if (View.ZoomFactor < 100) RefreshSmallBitmap();
  smallZoom_ = View.ZoomFactor;
}

void frmSFringe::RefreshSmallBitmap() {
  small_.reset();
  const std::int32_t w = ZoomedWidth();
  const std::int32_t h = ZoomedHeight();
  if (parentDoc == nullptr || !full_ || w < 1 || h < 1) return;
  BusyPointer busy(parentDoc->Host());
  small_ = MakeBitmap(w, h);
  if (small_) small_->StretchBlt(0, 0, w, h, *full_, 0, 0, imageWidth_, imageHeight_, gdi::SRCCOPY);
}

void frmSFringe::ResizeWindow() {
  if (parentDoc == nullptr) return;
  viewWidth_ = ClientWidth() - vsbSFringe->width();
  viewHeight_ = ClientHeight() - hsbSFringe->height();
  if (viewWidth_ < 1 || viewHeight_ < 1) return;
  const double scale = Scale();
  {
    // The new ranges are drawn once, by the caller.
    const QSignalBlocker quietH(hsbSFringe);
    const QSignalBlocker quietV(vsbSFringe);
    vsbSFringe->setGeometry(viewWidth_, 0, vsbSFringe->width(), viewHeight_);
    LayOutBar(*vsbSFringe, imageHeight_, viewHeight_ * scale);
    hsbSFringe->setGeometry(0, viewHeight_, viewWidth_, hsbSFringe->height());
    LayOutBar(*hsbSFringe, imageWidth_, viewWidth_ * scale);
  }
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
  // A client smaller than the scroll bars has no view to draw.
  if (parentDoc == nullptr || viewWidth_ < 1 || viewHeight_ < 1) return;
  gdi::ImageDeviceContext& dc = Canvas().DC();
  const bool fullSize = View.ZoomFactor >= 100;
  if (!View.ImageReady || !(fullSize ? full_ : small_)) {
    FillRectWorkspace(dc, viewWidth_, viewHeight_, 0, 0);
    ShowCanvas();
    return;
  }
  dc.SetStretchBltMode(gdi::COLORONCOLOR);
  const std::int32_t h = hsbSFringe->value();
  const std::int32_t v = vsbSFringe->value();
  if (fullSize) {
    const double scale = Scale();
    dc.StretchBlt(0, 0, viewWidth_, viewHeight_, *full_, h, v, RoundToInt32(viewWidth_ * scale),
                  RoundToInt32(viewHeight_ * scale), gdi::SRCCOPY);
  } else {
    const double ratio = Ratio();
    dc.BitBlt(0, 0, viewWidth_, viewHeight_, *small_, static_cast<int>(std::floor(h * ratio)),
              static_cast<int>(std::floor(v * ratio)), gdi::SRCCOPY);
  }
  const gdi::Brush black = gdi::StockBrush(gdi::BLACK_BRUSH);
  if (ZoomedWidth() < viewWidth_) dc.FillRect(gdi::Rect{ZoomedWidth(), 0, viewWidth_, viewHeight_}, black);
  if (ZoomedHeight() < viewHeight_)
    dc.FillRect(gdi::Rect{0, ZoomedHeight(), viewWidth_, viewHeight_}, black);
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
  const double z = frame.ZoomListItemData(next);
  if (z <= 0) return;
  const auto center = [z](QScrollBar& bar, double click, std::int32_t view, std::int32_t image) {
    const std::int32_t maximum = image - RoundToInt32(view * 100.0 / z);
    const std::int32_t value = std::min(std::max(RoundToInt32(click - view * 50.0 / z), 1), maximum);
    // Set quietly: the view is drawn once the main window applies the new zoom.
    const QSignalBlocker quiet(&bar);
    bar.setMaximum(std::max(maximum, 0));
    bar.setValue(value);
  };
  center(*hsbSFringe, clickx, viewWidth_, imageWidth_);
  center(*vsbSFringe, clicky, viewHeight_, imageHeight_);
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
  const std::int32_t h = hsbSFringe->value();
  const std::int32_t v = vsbSFringe->value();
  const double x = at.x() * Scale() + h;
  const double y = at.y() * Scale() + v;
  MainFrame& frame = Frame();
  const std::int32_t index = frame.ZoomListIndex();
  switch (ShiftState(event.modifiers())) {
    case 0:
      panning_ = true;
      panStartH_ = h;
      panStartV_ = v;
      panStartX_ = at.x();
      panStartY_ = at.y();
      break;
    case 1:  // Shift: the next larger zoom
      if (index > 0) {
        GetZoomCenter(x, y, true);
        frame.SelectZoomListIndex(index - 1);
      }
      break;
    case 2:  // Ctrl: the next smaller zoom
      if (index >= 0 && index + 1 < frame.ZoomListCount()) {
        GetZoomCenter(x, y, false);
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
  const auto pan = [this](QScrollBar& bar, std::int32_t start, std::int32_t startValue,
                          std::int32_t now) {
    if (bar.isHidden()) return;
    bar.setValue(std::clamp(RoundToInt32((start - now) * Scale() + startValue), 0, bar.maximum()));
  };
  pan(*hsbSFringe, panStartX_, panStartH_, at.x());
  pan(*vsbSFringe, panStartY_, panStartV_, at.y());
}

void frmSFringe::KeyChanged(const QKeyEvent& event) {
  const std::int32_t shift = ShiftState(event.modifiers());
  if (shift == lastShift_) return;
  lastShift_ = shift;
  ChangeMouseIcon(shift);
}

}  // namespace orvale
