#include "app/pictures/DecoderAllocationLimit.h"

#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <limits>

#include "app/pictures/PictureBudget.h"

namespace orvale {

namespace {
constexpr std::int64_t kMegabyte = std::int64_t{1} << 20;
}  // namespace

DecoderAllocationLimit::DecoderAllocationLimit(std::int64_t pixels)
    : previousMegabytes_(QImageReader::allocationLimit()) {
  const std::int64_t megabytes =
      std::min<std::int64_t>((pixels * kMostDecodedBytesPerPixel + kMegabyte - 1) / kMegabyte,
                             std::numeric_limits<int>::max());
  bytes_ = megabytes * kMegabyte;
  QImageReader::setAllocationLimit(static_cast<int>(megabytes));
}

DecoderAllocationLimit::~DecoderAllocationLimit() { QImageReader::setAllocationLimit(previousMegabytes_); }

std::int64_t DecoderAllocationLimit::BytesNeeded(QImageReader& reader) {
  const QSize size = reader.size();
  if (!size.isValid()) return 0;
  const QImage::Format format = reader.imageFormat();
  const int bits = format == QImage::Format_Invalid ? 32 : QImage::toPixelFormat(format).bitsPerPixel();
  return std::int64_t{size.width()} * size.height() * (std::max(bits, 32) / 8);
}

}  // namespace orvale
