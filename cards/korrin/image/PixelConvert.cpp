#include "cards/korrin/image/PixelConvert.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace orvale::korrin {

// Kept as the board's original table has it, including 97 (not 99) at index 12.
const std::array<std::uint8_t, 32> kFiveToEight = {
    0,   8,   16,  25,  33,  41,  49,  58,  66,  74,  82,  90,  97,  107, 115, 123,
    132, 140, 148, 156, 165, 173, 181, 189, 197, 206, 214, 222, 230, 239, 247, 255};

int BytesPerPixel(int bits) {
  switch (bits) {
    case 8:
    case kPaletteIndexed:
      return 1;
    case 15:
    case 16:
      return 2;
    case 24:
      return 3;
    case 32:
      return 4;
    default:
      return 0;
  }
}

bool IsPixelFormat(int bits) { return BytesPerPixel(bits) != 0; }

Palette GreyRamp() {
  Palette palette{};
  for (int i = 0; i < 256; ++i) {
    palette[i * 3] = palette[i * 3 + 1] = palette[i * 3 + 2] = static_cast<std::uint8_t>(i);
  }
  return palette;
}

namespace {

// Conversion runs through a 24-bit buffer of this many pixels at a time.
constexpr std::int64_t kChunkPixels = 1365;

void ToBgr(int bits, const std::uint8_t* in, std::int64_t count, std::uint8_t* bgr,
           const std::uint8_t* palette) {
  switch (bits) {
    case 8:
      for (std::int64_t i = 0; i < count; ++i) bgr[i * 3] = bgr[i * 3 + 1] = bgr[i * 3 + 2] = in[i];
      break;
    case kPaletteIndexed:
      for (std::int64_t i = 0; i < count; ++i) {
        if (palette) {
          std::memcpy(bgr + i * 3, palette + in[i] * 3, 3);
        } else {
          bgr[i * 3] = bgr[i * 3 + 1] = bgr[i * 3 + 2] = in[i];
        }
      }
      break;
    case 15:
      for (std::int64_t i = 0; i < count; ++i) {
        const unsigned p = in[i * 2] | (in[i * 2 + 1] << 8);
        bgr[i * 3] = kFiveToEight[p & 31];
        bgr[i * 3 + 1] = kFiveToEight[(p >> 5) & 31];
        bgr[i * 3 + 2] = kFiveToEight[(p >> 10) & 31];
      }
      break;
    case 16:
      for (std::int64_t i = 0; i < count; ++i) {
        const unsigned p = in[i * 2] | (in[i * 2 + 1] << 8);
        const unsigned g6 = (p >> 5) & 63;
        bgr[i * 3] = kFiveToEight[p & 31];
        bgr[i * 3 + 1] = static_cast<std::uint8_t>((g6 << 2) | (g6 >> 4));
        bgr[i * 3 + 2] = kFiveToEight[(p >> 11) & 31];
      }
      break;
    case 24:
      std::memcpy(bgr, in, static_cast<std::size_t>(count) * 3);
      break;
    case 32:
      for (std::int64_t i = 0; i < count; ++i) std::memcpy(bgr + i * 3, in + i * 4, 3);
      break;
  }
}

void FromBgr(int bits, const std::uint8_t* bgr, std::int64_t count, std::uint8_t* out) {
  for (std::int64_t i = 0; i < count; ++i) {
    const unsigned b = bgr[i * 3], g = bgr[i * 3 + 1], r = bgr[i * 3 + 2];
    switch (bits) {
      case 8:
        out[i] = static_cast<std::uint8_t>((299 * r + 587 * g + 114 * b) / 1000);
        break;
      case kPaletteIndexed:
        out[i] = static_cast<std::uint8_t>(((b * 6) >> 8) + 6 * ((g * 6) >> 8) + 36 * ((r * 6) >> 8));
        break;
      case 15: {
        const unsigned p = ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
        out[i * 2] = static_cast<std::uint8_t>(p);
        out[i * 2 + 1] = static_cast<std::uint8_t>(p >> 8);
        break;
      }
      case 16: {
        const unsigned p = ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
        out[i * 2] = static_cast<std::uint8_t>(p);
        out[i * 2 + 1] = static_cast<std::uint8_t>(p >> 8);
        break;
      }
      case 24:
        out[i * 3] = static_cast<std::uint8_t>(b);
        out[i * 3 + 1] = static_cast<std::uint8_t>(g);
        out[i * 3 + 2] = static_cast<std::uint8_t>(r);
        break;
      case 32:
        out[i * 4] = static_cast<std::uint8_t>(b);
        out[i * 4 + 1] = static_cast<std::uint8_t>(g);
        out[i * 4 + 2] = static_cast<std::uint8_t>(r);
        out[i * 4 + 3] = 0;
        break;
    }
  }
}

bool Overlap(const std::uint8_t* a, std::size_t aSize, const std::uint8_t* b, std::size_t bSize) {
  const auto pa = reinterpret_cast<std::uintptr_t>(a);
  const auto pb = reinterpret_cast<std::uintptr_t>(b);
  return pa < pb + bSize && pb < pa + aSize;
}

}  // namespace

bool ConvertPixels(std::int64_t count, int fromBits, int toBits, const std::uint8_t* source,
                   std::uint8_t* destination, const std::uint8_t* palette) {
  const int inBytes = BytesPerPixel(fromBits);
  const int outBytes = BytesPerPixel(toBits);
  if (inBytes == 0 || outBytes == 0 || count < 0) return false;
  if (count == 0) return true;
  if (source == nullptr || destination == nullptr) return false;

  // Converting chunk by chunk in place would overwrite pixels not yet read.
  std::vector<std::uint8_t> copy;
  const auto inSize = static_cast<std::size_t>(count * inBytes);
  if (Overlap(source, inSize, destination, static_cast<std::size_t>(count * outBytes))) {
    copy.assign(source, source + inSize);
    source = copy.data();
  }
  std::array<std::uint8_t, kChunkPixels * 3> line;
  for (std::int64_t done = 0; done < count; done += kChunkPixels) {
    const std::int64_t n = std::min(kChunkPixels, count - done);
    ToBgr(fromBits, source + done * inBytes, n, line.data(), palette);
    FromBgr(toBits, line.data(), n, destination + done * outBytes);
  }
  return true;
}

}  // namespace orvale::korrin
