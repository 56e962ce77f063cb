#pragma once
// Background modes, text alignment, polygon fill modes, stretch modes and the text
// metrics record.
#include <cstdint>

namespace orvale::gdi {

inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// Text alignment: one horizontal and one vertical flag, read in the turned text's frame.
inline constexpr std::uint32_t TA_LEFT = 0;
inline constexpr std::uint32_t TA_RIGHT = 2;
inline constexpr std::uint32_t TA_CENTER = 6;
inline constexpr std::uint32_t TA_TOP = 0;
inline constexpr std::uint32_t TA_BOTTOM = 8;
inline constexpr std::uint32_t TA_BASELINE = 24;
inline constexpr std::uint32_t kTextAlignHorizontalMask = 6;
inline constexpr std::uint32_t kTextAlignVerticalMask = 24;

inline constexpr int ALTERNATE = 1;
inline constexpr int WINDING = 2;

inline constexpr int BLACKONWHITE = 1;
inline constexpr int WHITEONBLACK = 2;
inline constexpr int COLORONCOLOR = 3;
inline constexpr int HALFTONE = 4;

// DrawText formats. The text always starts at the rectangle's top-left corner.
inline constexpr std::uint32_t DT_WORDBREAK = 0x10;  // wrap between words to the width
inline constexpr std::uint32_t DT_NOPREFIX = 0x800;  // "&" is an ordinary character

struct TextMetrics {
  std::int32_t tmHeight = 0;  // ascent + descent
  std::int32_t tmAscent = 0;
  std::int32_t tmDescent = 0;
  std::int32_t tmInternalLeading = 0;
  std::int32_t tmExternalLeading = 0;
  std::int32_t tmAveCharWidth = 0;
  std::int32_t tmMaxCharWidth = 0;
  std::int32_t tmWeight = 0;
  std::uint8_t tmItalic = 0;
  std::uint8_t tmUnderlined = 0;
};

}  // namespace orvale::gdi
