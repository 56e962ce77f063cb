#pragma once
// The synthetic-fringe window of a document (view code 6): the synthetic interferogram
// at the main window's zoom, panned with the hand tool or the two scroll bars (their
// values are the image point at the view's top left). Shift-click zooms in and
// Ctrl-click zooms out one step of the main window's zoom list, about the clicked point.
// Below 100 % the picture is drawn from a reduced copy made once per zoom; black strips
// fill the view right of and below a picture smaller than the view.
#include <cstdint>

#include "app/plots/CanvasSubWindow.h"
#include "app/plots/ImageViewDisplay.h"
#include "app/plots/ResultViewModels.h"
#include "platform/gdi/DeviceContext.h"

class QKeyEvent;
class QMouseEvent;

namespace orvale {

class frmSFringe final : public CanvasSubWindow {
 public:
  // `view` holds the picture, ImageReady and ZoomFactor and outlives the window's use.
  frmSFringe(MainFrame& frame, clsDocument& doc, SFringeViewModel& view);
  ~frmSFringe() override;

  SFringeViewModel& View;
  QScrollBar* const hsbSFringe;
  QScrollBar* const vsbSFringe;

  // Prints the picture as large as fits into the rectangle (inclusive edges, device
  // units) of `DC`, centred; nothing unless the view is ready.
  void PrintImage(gdi::DeviceContext& DC, std::int32_t left, std::int32_t top, std::int32_t right,
                  std::int32_t bottom);
  // The screen bitmap from the view's picture: grey, or black to red with the setting
  // "Red Display"; below 100 % also the reduced copy. The bars follow the picture.
  void RefreshBitmapFromData();
  // The reduced copy of the screen bitmap at the current zoom.
  void RefreshSmallBitmap();
  void PaintImage();
  void UpdateImage();
  // Scroll bars, their ranges and the reduced copy for the client size and the zoom.
  void ResizeWindow();
  // 0: the hand, 1: the zoom-in, 2: the zoom-out cursor (Shift and Ctrl held); any
  // other state keeps the cursor.
  void ChangeMouseIcon(std::int32_t Shift);
  // Sets the scroll bars so that the image point (clickx, clicky) is centred once the
  // zoom has moved one step in (ZoomIn) or out of the main window's zoom list.
  void GetZoomCenter(double clickx, double clicky, bool ZoomIn);
  void RepaintView() override;

  // The screen bitmap and its reduced copy; null when there is none.
  const DisplayPicture* FullBitmap() const { return display_.ImageBitmap(); }
  const gdi::ImageDeviceContext* SmallBitmap() const { return display_.SmallBitmap(); }

 protected:
  double ZoomRatio() const override;
  void ClientResized() override { UpdateImage(); }
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void MousePressed(const QMouseEvent& event);
  void MouseMoved(const QMouseEvent& event);
  void KeyChanged(const QKeyEvent& event);
  // The scroll bars take the geometry's states; nothing is drawn.
  void ShowBars();

  // The picture's bitmaps and where it lies in the view (the client less the scroll
  // bars): the zoom and the bars. It is the image view's.
  ImageViewDisplay display_;
  ImageViewGeometry& geometry_ = display_.Geometry;
  // Panning: the bars' values and the mouse position where the drag started.
  bool panning_ = false;
  PanStart panStart_;
  std::int32_t lastShift_ = 0;
};

}  // namespace orvale
