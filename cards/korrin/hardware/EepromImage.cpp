#include "cards/korrin/hardware/EepromImage.h"

#include "cards/korrin/hardware/BoardData.h"

namespace orvale::korrin {
namespace {

constexpr int kOffsetsAt = 32;
constexpr int kStoredGainAt = 104;

std::uint32_t Read32(const EepromBytes& b, int at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}
void Write32(EepromBytes& b, int at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

int OffsetsByte(int standard, int source, int k) { return kOffsetsAt + (standard * 6 + source) * 6 + k; }

}  // namespace

EepromImage DecodeEeprom(const EepromBytes& b) {
  EepromImage image;
  image.signature = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
  for (int i = 0; i < 4; ++i) image.header[i] = b[2 + i];
  image.value16 = static_cast<std::uint16_t>(b[6] | (b[7] << 8));
  image.configId = Read32(b, 8);
  image.value32 = Read32(b, 12);
  for (int s = 0; s < 2; ++s) {
    for (int source = 0; source < 6; ++source) {
      auto& o = image.offsets[s][source];
      for (int c = 0; c < 3; ++c) {
        o.brightness[c] = static_cast<std::int8_t>(b[OffsetsByte(s, source, c)]);
        o.contrast[c] = static_cast<std::int8_t>(b[OffsetsByte(s, source, 3 + c)]);
      }
    }
    for (int t = 0; t < 5; ++t) image.storedGain[s][t] = b[kStoredGainAt + s * 5 + t];
  }
  return image;
}

EepromBytes EncodeEeprom(const EepromImage& image) {
  EepromBytes b{};
  b[0] = static_cast<std::uint8_t>(image.signature);
  b[1] = static_cast<std::uint8_t>(image.signature >> 8);
  for (int i = 0; i < 4; ++i) b[2 + i] = image.header[i];
  b[6] = static_cast<std::uint8_t>(image.value16);
  b[7] = static_cast<std::uint8_t>(image.value16 >> 8);
  Write32(b, 8, image.configId);
  Write32(b, 12, image.value32);
  for (int s = 0; s < 2; ++s) {
    for (int source = 0; source < 6; ++source) {
      const auto& o = image.offsets[s][source];
      for (int c = 0; c < 3; ++c) {
        b[OffsetsByte(s, source, c)] = static_cast<std::uint8_t>(o.brightness[c]);
        b[OffsetsByte(s, source, 3 + c)] = static_cast<std::uint8_t>(o.contrast[c]);
      }
    }
    for (int t = 0; t < 5; ++t) b[kStoredGainAt + s * 5 + t] = image.storedGain[s][t];
  }
  return b;
}

EepromImage DefaultEepromImage() {
  EepromImage image;
  image.signature = kEepromSignature;
  image.header = {6, 0, 0x26, 0x0F};
  // Board data chosen by us: small per-colour offsets that balance the gain stages of
  // the external inputs, the same for both standards.
  constexpr SourceGainOffsets kBalanced{{2, 0, -2}, {-1, 0, 1}};
  for (auto& standard : image.offsets) standard.fill(kBalanced);
  for (int s = 0; s < 2; ++s) {
    for (int t = 0; t < 5; ++t) image.storedGain[s][t] = DefaultDecoderTable(s, t)[59];
  }
  return image;
}

}  // namespace orvale::korrin
