#pragma once
// Raster operations. A binary operation (SetROP2) combines the pen or brush P with the
// destination D; a ternary one (blits, PatBlt) combines the brush pattern P, the
// source S and the destination D. Each code carries its own truth table, so every
// code works, not only the named ones.
#include <cstdint>

namespace orvale::gdi {

inline constexpr int R2_BLACK = 1;
inline constexpr int R2_NOTMERGEPEN = 2;
inline constexpr int R2_MASKNOTPEN = 3;
inline constexpr int R2_NOTCOPYPEN = 4;
inline constexpr int R2_MASKPENNOT = 5;
inline constexpr int R2_NOT = 6;
inline constexpr int R2_XORPEN = 7;
inline constexpr int R2_NOTMASKPEN = 8;
inline constexpr int R2_MASKPEN = 9;
inline constexpr int R2_NOTXORPEN = 10;
inline constexpr int R2_NOP = 11;
inline constexpr int R2_MERGENOTPEN = 12;
inline constexpr int R2_COPYPEN = 13;
inline constexpr int R2_MERGEPENNOT = 14;
inline constexpr int R2_MERGEPEN = 15;
inline constexpr int R2_WHITE = 16;

inline constexpr std::uint32_t SRCCOPY = 0x00CC0020;
inline constexpr std::uint32_t SRCPAINT = 0x00EE0086;
inline constexpr std::uint32_t SRCAND = 0x008800C6;
inline constexpr std::uint32_t SRCINVERT = 0x00660046;
inline constexpr std::uint32_t SRCERASE = 0x00440328;
inline constexpr std::uint32_t NOTSRCCOPY = 0x00330008;
inline constexpr std::uint32_t NOTSRCERASE = 0x001100A6;
inline constexpr std::uint32_t MERGECOPY = 0x00C000CA;
inline constexpr std::uint32_t MERGEPAINT = 0x00BB0226;
inline constexpr std::uint32_t PATCOPY = 0x00F00021;
inline constexpr std::uint32_t PATPAINT = 0x00FB0A09;
inline constexpr std::uint32_t PATINVERT = 0x005A0049;
inline constexpr std::uint32_t DSTINVERT = 0x00550009;
inline constexpr std::uint32_t BLACKNESS = 0x00000042;
inline constexpr std::uint32_t WHITENESS = 0x00FF0062;

inline bool IsValidRop2(int rop2) { return rop2 >= R2_BLACK && rop2 <= R2_WHITE; }

// The truth-table byte of a ternary code: bit (P << 2 | S << 1 | D) is the result.
inline std::uint8_t Rop3Table(std::uint32_t rop3) {
  return static_cast<std::uint8_t>((rop3 >> 16) & 0xFF);
}
inline bool Rop3UsesSource(std::uint32_t rop3) {
  const std::uint8_t t = Rop3Table(rop3);
  return ((t >> 2) & 0x33) != (t & 0x33);
}
inline bool Rop3UsesPattern(std::uint32_t rop3) {
  const std::uint8_t t = Rop3Table(rop3);
  return ((t >> 4) & 0x0F) != (t & 0x0F);
}

// Bitwise result of a ternary truth table over 24-bit colour words.
inline std::uint32_t ApplyRop3(std::uint8_t table, std::uint32_t p, std::uint32_t s,
                               std::uint32_t d) {
  switch (table) {
    case 0xCC: return s;
    case 0x88: return s & d;
    case 0x66: return s ^ d;
    case 0xEE: return s | d;
    case 0x33: return ~s & 0xFFFFFF;
    case 0xF0: return p;
    case 0x5A: return p ^ d;
    case 0x55: return ~d & 0xFFFFFF;
    case 0x00: return 0;
    case 0xFF: return 0xFFFFFF;
    default: break;
  }
  std::uint32_t result = 0;
  for (int i = 0; i < 8; ++i) {
    if (!((table >> i) & 1)) continue;
    const std::uint32_t pp = (i & 4) ? p : ~p;
    const std::uint32_t ss = (i & 2) ? s : ~s;
    const std::uint32_t dd = (i & 1) ? d : ~d;
    result |= pp & ss & dd;
  }
  return result & 0xFFFFFF;
}

// Bitwise result of a binary raster mode over 24-bit colour words.
inline std::uint32_t ApplyRop2(int rop2, std::uint32_t p, std::uint32_t d) {
  switch (rop2) {
    case R2_COPYPEN: return p;
    case R2_XORPEN: return p ^ d;
    case R2_NOT: return ~d & 0xFFFFFF;
    case R2_NOTXORPEN: return ~(p ^ d) & 0xFFFFFF;
    case R2_NOP: return d;
    default: break;
  }
  // Bit (P << 1 | D) of (rop2 - 1) is the result.
  const int table = rop2 - 1;
  std::uint32_t result = 0;
  for (int i = 0; i < 4; ++i) {
    if (!((table >> i) & 1)) continue;
    result |= ((i & 2) ? p : ~p) & ((i & 1) ? d : ~d);
  }
  return result & 0xFFFFFF;
}

}  // namespace orvale::gdi
