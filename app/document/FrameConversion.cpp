#include "app/document/FrameConversion.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "app/document/ByteFields.h"
#include "app/document/DWordAlign.h"
#include "app/document/GreyBitmapInfo.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

void ShowFrameError(const std::string& text) { ShowMessage(text, mb::kOk, "Error - Orvale"); }

bool RefuseMismatch() {
  ShowFrameError("Cannot convert DIB, the frame does not match its header");
  return false;
}

}  // namespace

bool DIBToImageData(std::span<const std::uint8_t> frame, std::span<std::uint8_t> data) {
  if (frame.size() < kBitmapInfoHeaderBytes) return RefuseMismatch();
  const auto width = static_cast<std::int32_t>(ReadLE32(frame.data() + 4));
  const auto height = static_cast<std::int32_t>(ReadLE32(frame.data() + 8));
  const int bitCount = ReadLE16(frame.data() + 14);
  if (bitCount != 8 && bitCount != 24) {
    ShowFrameError("Cannot convert DIB, unsupported format");
    return false;
  }
  if (width <= 0 || height == 0) return RefuseMismatch();

  const auto w = static_cast<std::uint64_t>(width);
  const auto rows = static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(height)));
  const std::uint64_t rowBytes = bitCount == 8 ? w : 3 * w;
  const auto stride = static_cast<std::uint64_t>(AlignToDWord(static_cast<std::int64_t>(rowBytes)));
  const std::uint64_t firstRow = bitCount == 8 ? kGreyBitmapInfoBytes : kBitmapInfoHeaderBytes;
  if (frame.size() < firstRow || (frame.size() - firstRow) / stride < rows) return RefuseMismatch();
  if (data.size() / w != rows || data.size() % w != 0) return RefuseMismatch();

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

}  // namespace orvale
