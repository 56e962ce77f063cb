#include "app/pictures/GreyConversion.h"

#include <bit>
#include <cmath>

#include "platform/runtime/ByteFields.h"
#include "platform/runtime/NumberText.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

void ShowError(const std::string& text) { ShowMessage(text, mb::kOk, "Error"); }

constexpr const char* kCouldNotConvert = "Could not convert bitmap to valid data";

// The masks in effect for 16- and 32-bit pixels.
std::array<std::uint32_t, 3> EffectiveMasks(const BitmapPixels& bitmap) {
  if (bitmap.Compression == kBitFieldsCompression) return bitmap.Masks;
  if (bitmap.BitCount == 16) return {0x7C00, 0x03E0, 0x001F};
  return {0xFF0000, 0x00FF00, 0x0000FF};
}

// One channel of a masked pixel, shifted down to bit 0 and, for 16-bit pixels, scaled
// to 8 bits by the bits its mask lacks. An empty mask gives 0.
struct MaskedChannel {
  std::uint32_t mask;
  int shift;
  double scale;

  MaskedChannel(std::uint32_t m, bool widenTo8Bits)
      : mask(m),
        shift(m == 0 ? 0 : std::countr_zero(m)),
        scale(widenTo8Bits ? std::ldexp(1.0, 8 - std::popcount(m)) : 1.0) {}
  double Value(std::uint32_t pixel) const {
    return static_cast<double>((pixel & mask) >> shift) * scale;
  }
};

bool IsDefault32BitLayout(const std::array<std::uint32_t, 3>& masks) {
  return masks[0] == 0xFF0000 && masks[1] == 0x00FF00 && masks[2] == 0x0000FF;
}

}  // namespace

bool BitmapToImageData(const BitmapPixels& bitmap, std::span<std::uint8_t> data,
                       std::int32_t width, std::int32_t height) {
  if (width <= 0 || height <= 0 || bitmap.Width != width || bitmap.Height != height ||
      data.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    ShowError(kCouldNotConvert);
    return false;
  }
  const int bitCount = bitmap.BitCount;
  if (bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
    ShowError("Display adapter must have at least 256 color support");
    return false;
  }
  const auto w = static_cast<std::size_t>(width);
  const auto h = static_cast<std::size_t>(height);
  const std::size_t rowBytes = w * static_cast<std::size_t>(bitCount / 8);
  const bool rowsFit = bitmap.Stride >= static_cast<std::int64_t>(rowBytes) &&
                       bitmap.Bits.size() >= (h - 1) * static_cast<std::size_t>(bitmap.Stride) + rowBytes;
  if (!rowsFit || (bitCount == 8 && bitmap.ColorTable.size() < gdi::kColorTableSize)) {
    ShowError(kCouldNotConvert);
    return false;
  }

  const auto sourceRow = [&](std::size_t y) {
    const std::size_t row = bitmap.TopDown ? y : h - 1 - y;
    return bitmap.Bits.data() + row * static_cast<std::size_t>(bitmap.Stride);
  };

  if (bitCount == 8) {
    std::array<std::uint8_t, 256> grey{};
    for (std::size_t i = 0; i < 256; ++i) {
      const gdi::RgbQuad& entry = bitmap.ColorTable[i];
      grey[i] = static_cast<std::uint8_t>(MeanOfThree(entry.rgbBlue + entry.rgbGreen + entry.rgbRed));
    }
    for (std::size_t y = 0; y < h; ++y) {
      const std::uint8_t* src = sourceRow(y);
      std::uint8_t* dst = data.data() + y * w;
      for (std::size_t x = 0; x < w; ++x) dst[x] = grey[src[x]];
    }
    return true;
  }

  const auto masks = EffectiveMasks(bitmap);
  if (bitCount == 24 || (bitCount == 32 && IsDefault32BitLayout(masks))) {
    // Blue, green and red bytes in this order, one pixel every 3 or 4 bytes.
    const std::size_t step = static_cast<std::size_t>(bitCount / 8);
    for (std::size_t y = 0; y < h; ++y) {
      const std::uint8_t* src = sourceRow(y);
      std::uint8_t* dst = data.data() + y * w;
      for (std::size_t x = 0; x < w; ++x, src += step) {
        dst[x] = static_cast<std::uint8_t>(MeanOfThree(src[0] + src[1] + src[2]));
      }
    }
    return true;
  }

  const bool widen = bitCount == 16;
  const MaskedChannel red(masks[0], widen), green(masks[1], widen), blue(masks[2], widen);
  for (std::size_t y = 0; y < h; ++y) {
    const std::uint8_t* src = sourceRow(y);
    std::uint8_t* dst = data.data() + y * w;
    for (std::size_t x = 0; x < w; ++x) {
      const std::uint32_t pixel = widen ? ReadLE16(src + 2 * x) : ReadLE32(src + 4 * x);
      const double grey =
          RoundHalfEven((red.Value(pixel) + green.Value(pixel) + blue.Value(pixel)) / 3);
      if (grey > 255) {
        // Channels wider than 8 bits do not fit an intensity byte.
        ShowError(RunError::StandardDescription(errnum::kOverflow));
        return false;
      }
      dst[x] = static_cast<std::uint8_t>(grey);
    }
  }
  return true;
}

}  // namespace orvale
