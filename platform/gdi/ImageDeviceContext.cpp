#include "platform/gdi/ImageDeviceContext.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

#include "platform/gdi/RasterSurface.h"

namespace orvale::gdi {

namespace {
std::unique_ptr<QImage> MakeImage(int width, int height, Color background) {
  auto image =
      std::make_unique<QImage>(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
  image->fill(0xFF000000u | ColorToRgbWord(background));
  return image;
}

// Transparent parts of the picture become white, as on paper.
std::unique_ptr<QImage> CopyOf(const QImage& picture) {
  if (picture.isNull()) return MakeImage(1, 1, 0xFFFFFF);
  if (!picture.hasAlphaChannel())
    return std::make_unique<QImage>(picture.convertToFormat(QImage::Format_RGB32));
  auto image = MakeImage(picture.width(), picture.height(), 0xFFFFFF);
  QPainter painter(image.get());
  painter.drawImage(0, 0, picture);
  return image;
}
}  // namespace

ImageDeviceContext::ImageDeviceContext(int width, int height, Color background)
    : ImageDeviceContext(width, height, DisplayCaps(std::max(1, width), std::max(1, height)),
                         background) {}

ImageDeviceContext::ImageDeviceContext(int width, int height, const DeviceCaps& caps,
                                       Color background)
    : ImageDeviceContext(MakeImage(width, height, background), caps) {}

ImageDeviceContext::ImageDeviceContext(const QImage& picture)
    : ImageDeviceContext(CopyOf(picture), DisplayCaps(std::max(1, picture.width()),
                                                      std::max(1, picture.height()))) {}

ImageDeviceContext::ImageDeviceContext(std::unique_ptr<QImage> image, const DeviceCaps& caps)
    : DeviceContext(std::make_unique<RasterSurface>(*image, caps)), image_(std::move(image)) {}

ImageDeviceContext::~ImageDeviceContext() = default;

const QImage& ImageDeviceContext::Image() const { return *image_; }

}  // namespace orvale::gdi
