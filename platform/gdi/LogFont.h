#pragma once
// The font description the drawing code creates fonts from. Heights are device units:
// negative = character (em) height, positive = cell height, 0 = the device default.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvale::gdi {

inline constexpr int kFaceNameSize = 32;

inline constexpr std::int32_t FW_DONTCARE = 0;
inline constexpr std::int32_t FW_NORMAL = 400;
inline constexpr std::int32_t FW_BOLD = 700;
inline constexpr std::uint8_t ANSI_CHARSET = 0;
inline constexpr std::uint8_t OUT_TT_PRECIS = 4;

struct LogFont {
  std::int32_t lfHeight = 0;
  std::int32_t lfWidth = 0;
  std::int32_t lfEscapement = 0;   // tenths of a degree, counter-clockwise
  std::int32_t lfOrientation = 0;
  std::int32_t lfWeight = FW_DONTCARE;
  std::uint8_t lfItalic = 0;
  std::uint8_t lfUnderline = 0;
  std::uint8_t lfStrikeOut = 0;
  std::uint8_t lfCharSet = ANSI_CHARSET;
  std::uint8_t lfOutPrecision = 0;
  std::uint8_t lfClipPrecision = 0;
  std::uint8_t lfQuality = 0;
  std::uint8_t lfPitchAndFamily = 0;
  std::array<char, kFaceNameSize> lfFaceName{};  // zero-terminated

  // The face name up to its terminating zero.
  std::string FaceName() const;
  // Copies at most 31 bytes of `name` and zero-fills the rest of the field.
  void SetFaceName(std::string_view name);
  friend bool operator==(const LogFont&, const LogFont&) = default;
};

}  // namespace orvale::gdi
