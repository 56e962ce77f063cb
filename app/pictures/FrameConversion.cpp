#include "app/pictures/FrameConversion.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "app/pictures/DWordAlign.h"
#include "app/pictures/GreyBitmapInfo.h"
#include "platform/gdi/Dib.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

void ShowFrameError(const std::string& text) { ShowMessage(text, mb::kOk, "Error - Orvale"); }

}  // namespace

bool RefuseMismatchedFrame() {
  ShowFrameError("Cannot convert DIB, the frame does not match its header");
  return false;
}

bool DIBToImageData(std::span<const std::uint8_t> frame, std::span<std::uint8_t> data) {
  std::size_t tableEnd = 0;
  const auto info = gdi::ReadPackedDib(frame, tableEnd);
  if (!info) return RefuseMismatchedFrame();
  const std::int32_t width = info->header.biWidth;
  const std::int32_t height = info->header.biHeight;
  const int bitCount = info->header.biBitCount;
  if (bitCount != 8 && bitCount != 24) {
    ShowFrameError("Cannot convert DIB, unsupported format");
    return false;
  }
  if (width <= 0 || height == 0) return RefuseMismatchedFrame();

  const auto w = static_cast<std::uint64_t>(width);
  const auto rows = static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(height)));
  const std::uint64_t rowBytes = bitCount == 8 ? w : 3 * w;
  const auto stride = static_cast<std::uint64_t>(AlignToDWord(static_cast<std::int64_t>(rowBytes)));
  // The rows start after the whole palette area, whatever the header says it uses.
  const std::uint64_t firstRow = bitCount == 8 ? kGreyBitmapInfoBytes : gdi::kBitmapInfoHeaderSize;
  if (frame.size() < firstRow || (frame.size() - firstRow) / stride < rows) return RefuseMismatchedFrame();
  if (data.size() / w != rows || data.size() % w != 0) return RefuseMismatchedFrame();

  for (std::uint64_t k = 0; k < rows; ++k) {
    const std::uint8_t* src = frame.data() + firstRow + k * stride;
    std::uint8_t* dst = data.data() + (height > 0 ? rows - 1 - k : k) * w;
    if (bitCount == 8) {
      std::memcpy(dst, src, w);
    } else {
      for (std::uint64_t x = 0; x < w; ++x, src += 3) {
        dst[x] = static_cast<std::uint8_t>((src[0] + src[1] + src[2]) / 3);
      }
    }
  }
  return true;
}

bool DIBToImageData(std::span<const std::uint8_t> frame, std::int32_t width, std::int32_t height,
                    std::span<std::uint8_t> data) {
  std::size_t tableEnd = 0;
  const auto info = gdi::ReadPackedDib(frame, tableEnd);
  if (!info || info->header.biWidth != width ||
      std::abs(static_cast<std::int64_t>(info->header.biHeight)) != height)
    return RefuseMismatchedFrame();
  return DIBToImageData(frame, data);
}

}  // namespace orvale
