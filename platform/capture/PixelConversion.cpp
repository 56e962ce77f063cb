#include "platform/capture/PixelConversion.h"

#include <linux/videodev2.h>

#include <QImage>
#include <algorithm>
#include <cstring>

namespace orvale {

namespace {

static_assert(kPixelFormatPreference[0] == V4L2_PIX_FMT_BGR24);
static_assert(kPixelFormatPreference[1] == V4L2_PIX_FMT_RGB24);
static_assert(kPixelFormatPreference[2] == V4L2_PIX_FMT_YUYV);
static_assert(kPixelFormatPreference[3] == V4L2_PIX_FMT_GREY);
static_assert(kPixelFormatPreference[4] == V4L2_PIX_FMT_MJPEG);

// The bytes of one row's pixels; YUYV keeps pixels in pairs, so an odd width takes a
// whole last pair.
std::size_t RowBytes(std::uint32_t pixelFormat, std::int32_t width) {
  const auto w = static_cast<std::size_t>(width);
  switch (pixelFormat) {
    case V4L2_PIX_FMT_BGR24:
    case V4L2_PIX_FMT_RGB24:
      return 3 * w;
    case V4L2_PIX_FMT_YUYV:
      return 4 * ((w + 1) / 2);
    default:
      return w;
  }
}

std::uint8_t Clamp(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

// One YUYV pixel (ITU-R BT.601, studio range) as blue, green, red.
void YuvToBgr(int y, int u, int v, std::uint8_t* bgr) {
  const int c = 298 * (y - 16);
  const int d = u - 128;
  const int e = v - 128;
  bgr[0] = Clamp((c + 516 * d + 128) >> 8);
  bgr[1] = Clamp((c - 100 * d - 208 * e + 128) >> 8);
  bgr[2] = Clamp((c + 409 * e + 128) >> 8);
}

void ConvertRow(std::uint32_t pixelFormat, const std::uint8_t* src, std::int32_t width,
                std::uint8_t* dst) {
  switch (pixelFormat) {
    case V4L2_PIX_FMT_BGR24:
      std::memcpy(dst, src, static_cast<std::size_t>(width) * 3);
      break;
    case V4L2_PIX_FMT_RGB24:
      for (std::int32_t x = 0; x < width; ++x, src += 3, dst += 3) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
      }
      break;
    case V4L2_PIX_FMT_GREY:
      for (std::int32_t x = 0; x < width; ++x, dst += 3) dst[0] = dst[1] = dst[2] = src[x];
      break;
    case V4L2_PIX_FMT_YUYV:
      // Two pixels share one U and one V; an odd last pixel uses its pair's.
      for (std::int32_t x = 0; x < width; x += 2, src += 4) {
        YuvToBgr(src[0], src[1], src[3], dst + 3 * x);
        if (x + 1 < width) YuvToBgr(src[2], src[1], src[3], dst + 3 * (x + 1));
      }
      break;
    default:
      break;
  }
}

bool DecodeJpeg(std::span<const std::uint8_t> buffer, std::int32_t width, std::int32_t height,
                VideoFrame& frame) {
  const QImage decoded = QImage::fromData(buffer.data(), static_cast<int>(buffer.size()), "JPEG")
                             .convertToFormat(QImage::Format_BGR888);
  if (decoded.isNull() || decoded.width() != width || decoded.height() != height) return false;
  frame.Resize(width, height);
  for (std::int32_t y = 0; y < height; ++y)
    std::memcpy(frame.RowFromTop(y), decoded.constScanLine(y), static_cast<std::size_t>(width) * 3);
  return true;
}

}  // namespace

std::optional<std::size_t> PixelFormatRank(std::uint32_t pixelFormat) {
  const auto* begin = std::begin(kPixelFormatPreference);
  const auto* end = std::end(kPixelFormatPreference);
  const auto* found = std::find(begin, end, pixelFormat);
  if (found == end) return std::nullopt;
  return static_cast<std::size_t>(found - begin);
}

bool IsCompressedPixelFormat(std::uint32_t pixelFormat) {
  return pixelFormat == V4L2_PIX_FMT_MJPEG;
}

std::size_t MinimumBufferBytes(std::uint32_t pixelFormat, std::int32_t width, std::int32_t height,
                               std::size_t bytesPerLine) {
  if (width <= 0 || height <= 0) return 0;
  const std::size_t rowBytes = RowBytes(pixelFormat, width);
  const std::size_t pitch = std::max(bytesPerLine, rowBytes);
  return pitch * static_cast<std::size_t>(height - 1) + rowBytes;
}

bool ConvertCameraBuffer(std::uint32_t pixelFormat, std::span<const std::uint8_t> buffer,
                         std::int32_t width, std::int32_t height, std::size_t bytesPerLine,
                         VideoFrame& frame) {
  if (!PixelFormatRank(pixelFormat) || width <= 0 || height <= 0) return false;
  if (IsCompressedPixelFormat(pixelFormat)) return DecodeJpeg(buffer, width, height, frame);
  if (buffer.size() < MinimumBufferBytes(pixelFormat, width, height, bytesPerLine)) return false;
  const std::size_t pitch = std::max(bytesPerLine, RowBytes(pixelFormat, width));
  frame.Resize(width, height);
  for (std::int32_t y = 0; y < height; ++y)
    ConvertRow(pixelFormat, buffer.data() + static_cast<std::size_t>(y) * pitch, width,
               frame.RowFromTop(y));
  return true;
}

}  // namespace orvale
