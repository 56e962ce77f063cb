#include "cards/korrin/capture/PostProcess.h"

#include <cstring>

namespace orvale::korrin {
namespace {

unsigned Average(unsigned a, unsigned b) { return (a + b) / 2; }

// One pixel, the mean of `a` and `b` per colour component of format `bits`.
void AveragePixel(int bits, const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* out) {
  switch (bits) {
    case 15:
    case 16: {
      const unsigned pa = a[0] | (a[1] << 8), pb = b[0] | (b[1] << 8);
      const unsigned greenBits = bits == 16 ? 6 : 5;
      const unsigned greenMask = (1u << greenBits) - 1;
      const unsigned redShift = 5 + greenBits;
      const unsigned blue = Average(pa & 31, pb & 31);
      const unsigned green = Average((pa >> 5) & greenMask, (pb >> 5) & greenMask);
      const unsigned red = Average((pa >> redShift) & 31, (pb >> redShift) & 31);
      const unsigned p = blue | (green << 5) | (red << redShift) | (pa & (bits == 15 ? 0x8000 : 0));
      out[0] = static_cast<std::uint8_t>(p);
      out[1] = static_cast<std::uint8_t>(p >> 8);
      break;
    }
    case 24:
    case 32:
      for (int k = 0; k < 3; ++k) out[k] = static_cast<std::uint8_t>(Average(a[k], b[k]));
      if (bits == 32) out[3] = a[3];
      break;
    default:
      out[0] = static_cast<std::uint8_t>(Average(a[0], b[0]));
      break;
  }
}

}  // namespace

void KeepOneField(const Surface& s, bool keepSecond, bool average) {
  const int bpp = s.BytesPerPixel();
  const std::size_t rowBytes = static_cast<std::size_t>(s.width) * bpp;
  for (int y = keepSecond ? 0 : 1; y < s.height; y += 2) {
    const bool above = y > 0;
    const bool below = y + 1 < s.height;
    std::uint8_t* row = s.At(0, y);
    if (average && above && below) {
      const std::uint8_t* a = s.At(0, y - 1);
      const std::uint8_t* b = s.At(0, y + 1);
      for (int x = 0; x < s.width; ++x) AveragePixel(s.bits, a + x * bpp, b + x * bpp, row + x * bpp);
      continue;
    }
    const bool fromBelow = keepSecond ? below : !above;
    if (!above && !below) continue;
    std::memcpy(row, s.At(0, fromBelow ? y + 1 : y - 1), rowBytes);
  }
}

void RepairRightmostPixel(const Surface& s) {
  if (s.width < 2) return;
  const int bpp = s.BytesPerPixel();
  for (int y = 0; y < s.height; ++y) std::memcpy(s.At(s.width - 1, y), s.At(s.width - 2, y), bpp);
}

}  // namespace orvale::korrin
