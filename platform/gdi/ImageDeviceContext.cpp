#include "platform/gdi/ImageDeviceContext.h"

#include <QImage>
#include <algorithm>

#include "platform/gdi/RasterSurface.h"

namespace orvale::gdi {

namespace {
std::unique_ptr<QImage> MakeImage(int width, int height) {
  return std::make_unique<QImage>(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
}
}  // namespace

ImageDeviceContext::ImageDeviceContext(int width, int height, Color background)
    : ImageDeviceContext(width, height, DisplayCaps(std::max(1, width), std::max(1, height)),
                         background) {}

ImageDeviceContext::ImageDeviceContext(int width, int height, const DeviceCaps& caps,
                                       Color background)
    : ImageDeviceContext(MakeImage(width, height), caps, background) {}

ImageDeviceContext::ImageDeviceContext(std::unique_ptr<QImage> image, const DeviceCaps& caps,
                                       Color background)
    : DeviceContext(std::make_unique<RasterSurface>(*image, caps)), image_(std::move(image)) {
  image_->fill(0xFF000000u | ColorToRgbWord(background));
}

ImageDeviceContext::~ImageDeviceContext() = default;

const QImage& ImageDeviceContext::Image() const { return *image_; }

}  // namespace orvale::gdi
