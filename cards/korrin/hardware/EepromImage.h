#pragma once
// The board EEPROM's 256 bytes and what they hold. One codec serves load and save.
//
//   0   signature 0x5651 (little-endian) when the image is valid
//   2   four header bytes; byte 2 is reported by KR_GetVersionInfo
//   6   16-bit value     8  configuration identifier     12  32-bit value
//   32  our layout: per standard (2) and source (6), six signed gain offsets:
//       brightness then contrast, blue, green, red (72 bytes)
//   104 per standard (2) and video type (5), the stored decoder gain (register 59)
#include <array>
#include <cstdint>

namespace orvale::korrin {

inline constexpr std::uint16_t kEepromSignature = 0x5651;
inline constexpr int kEepromSize = 256;
inline constexpr std::uint32_t kDefaultConfigId = 0x319;

using EepromBytes = std::array<std::uint8_t, kEepromSize>;

struct SourceGainOffsets {
  std::array<std::int8_t, 3> brightness{};
  std::array<std::int8_t, 3> contrast{};
  friend bool operator==(const SourceGainOffsets&, const SourceGainOffsets&) = default;
};

struct EepromImage {
  std::uint16_t signature = 0;
  std::array<std::uint8_t, 4> header{};  // bytes 2..5
  std::uint16_t value16 = 0;
  std::uint32_t configId = 0;
  std::uint32_t value32 = 0;
  std::array<std::array<SourceGainOffsets, 6>, 2> offsets{};  // [standard][source]
  std::array<std::array<std::uint8_t, 5>, 2> storedGain{};    // [standard][type]
  friend bool operator==(const EepromImage&, const EepromImage&) = default;

  bool Valid() const { return signature == kEepromSignature; }
};

EepromImage DecodeEeprom(const EepromBytes& bytes);
EepromBytes EncodeEeprom(const EepromImage& image);
// The library's built-in image, used when the board's is not valid.
EepromImage DefaultEepromImage();

}  // namespace orvale::korrin
