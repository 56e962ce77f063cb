#pragma once
// A device context that draws exactly into a 32-bit image it owns: the screen's backing
// store, a memory bitmap for blits, or a picture to save.
#include <memory>

#include "platform/gdi/DeviceContext.h"

class QImage;

namespace orvale::gdi {

class ImageDeviceContext : public DeviceContext {
 public:
  // A white image of the given size (at least 1 x 1) with the caps of a display.
  ImageDeviceContext(int width, int height, Color background = 0xFFFFFF);
  // The same with the caller's caps (for instance a printer page drawn into an image).
  ImageDeviceContext(int width, int height, const DeviceCaps& caps,
                     Color background = 0xFFFFFF);
  // A 32-bit copy of a loaded picture (at least 1 x 1) with the caps of a display, to
  // blit from.
  explicit ImageDeviceContext(const QImage& picture);
  ~ImageDeviceContext() override;

  const QImage& Image() const;

 private:
  ImageDeviceContext(std::unique_ptr<QImage> image, const DeviceCaps& caps);
  std::unique_ptr<QImage> image_;
};

}  // namespace orvale::gdi
