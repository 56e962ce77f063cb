#pragma once
// What a zoomable picture view shows and how, in the image view and in the synthetic-
// fringe view: the display bitmaps of the picture (the whole image at 1:1, a byte a
// pixel with the display palette, and below 100 % a copy pre-shrunk to the drawn size),
// the geometry of the picture area, and the backing image of the picture area into
// which every paint goes. The window only copies
// the backing image to the screen; the image view's editing controller draws its XOR
// marks into it.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "app/plots/ImageViewGeometry.h"
#include "platform/gdi/Dib.h"

namespace orvale {

namespace gdi {
class DeviceContext;
class ImageDeviceContext;
}  // namespace gdi
class DocumentHost;
struct GeneralSettings;

// The whole picture at 1:1 as the display keeps it: an 8-bit DIB with rows from the
// top, each padded to four bytes, and the display palette.
struct DisplayPicture {
  gdi::BitmapInfo Info;  // a negative height: rows from the top
  std::vector<std::uint8_t> Rows;

  // The 0x00RRGGBB colour shown for image pixel (x, y), which must lie inside.
  std::uint32_t RgbAt(int x, int y) const;
};

class ImageViewDisplay {
 public:
  // `settings` give the display palette's red and stretch flags; `host` shows the busy
  // pointer while a picture is shrunk. Both must outlive the display.
  ImageViewDisplay(const GeneralSettings& settings, DocumentHost& host);
  ~ImageViewDisplay();
  ImageViewDisplay(const ImageViewDisplay&) = delete;
  ImageViewDisplay& operator=(const ImageViewDisplay&) = delete;

  ImageViewGeometry Geometry;
  bool ImageReady = false;  // painting allowed
  // The picture's grey or red ramp is stretched over the bytes in use when the setting
  // "Auto Stretch" is on; the synthetic fringes span the whole ramp already.
  bool StretchContrast = true;
  bool Closing = false;     // the window goes: no more layouts
  std::int32_t LastZoom = 0;  // the zoom the pre-shrunk picture was made for

  // The display bitmap from 8-bit data (XSize x YSize bytes, rows from the top). The
  // old bitmap goes first. A size below 1, data shorter than the image or a failed
  // allocation build nothing (False): the view then shows the workspace colour. The
  // image size is taken whenever both sizes are at least 1, so that a picture without
  // a bitmap still has its extent.
  bool RefreshBitmapFromData(std::span<const std::uint8_t> data, std::int32_t XSize,
                             std::int32_t YSize);
  // The same from a packed 8-bit DIB (40-byte header, 256-entry palette, rows
  // bottom-up); its palette is replaced by the display palette. A DIB that is not
  // 8-bit, is shorter than its rows or disagrees with the sizes builds nothing.
  bool RefreshBitmapFromDIB(std::span<const std::uint8_t> dib, std::int32_t XSize,
                            std::int32_t YSize);
  // Rebuilds the pre-shrunk picture for the current zoom and image (nothing when the
  // drawn size is below 1 pixel).
  void RefreshSmallBitmap();
  // The image's size when no bitmap is built (a blank image).
  void SetImageSize(std::int32_t width, std::int32_t height);
  void GetImageSize(std::int32_t& width, std::int32_t& height) const {
    width = Geometry.ImageWidth;
    height = Geometry.ImageHeight;
  }

  // Lays the view out for a picture area of this size (nothing once Closing) and
  // rebuilds the pre-shrunk picture when the zoom or the image changed since it was
  // made.
  void ResizeWindow(std::int32_t clientWidth, std::int32_t clientHeight);

  // Paints the whole picture area into the backing image: the workspace colour while
  // not ready or without a bitmap, else the picture with black strips beyond it; then
  // `overlays` draws the shapes, grid and fringe centres.
  void Paint(const std::function<void(gdi::DeviceContext&)>& overlays);

  // The backing image of the picture area; null while the area is empty.
  gdi::ImageDeviceContext* Backing() { return backing_.get(); }
  const gdi::ImageDeviceContext* Backing() const { return backing_.get(); }
  const DisplayPicture* ImageBitmap() const { return imageBitmap_.get(); }
  const gdi::ImageDeviceContext* SmallBitmap() const { return smallBitmap_.get(); }

 private:
  void PaintPicture(gdi::DeviceContext& dc);
  // The size the pre-shrunk picture has at the current zoom.
  void DrawnSize(std::int32_t& width, std::int32_t& height) const;
  // Pre-shrinks unless the zoom is 100 % or more.
  void UpdateSmallBitmap();

  const GeneralSettings* settings_;
  DocumentHost* host_;
  std::unique_ptr<DisplayPicture> imageBitmap_;
  std::unique_ptr<gdi::ImageDeviceContext> smallBitmap_;
  std::unique_ptr<gdi::ImageDeviceContext> backing_;
};

}  // namespace orvale
