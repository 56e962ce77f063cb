#pragma once
// The eleven output formats of a readout line, converted from one assembled card line:
//   1  8-bit grey (256 levels)            7  B, G, R
//   2  4-bit grey, two pixels a byte      8  B, G, R, 0
//   3  3:3:2 colour, dithered             9  Y, Cr, Cb
//   4  5:5:5 colour, 16-bit               10 the raw Cb, Y, Cr, Y pairs
//   5  5:6:5 colour, 16-bit               11 Y, Cb, Cr
//   6  R, G, B
// Formats 1 and 2 read a grey line (one byte a pixel); the others a CbYCrY line.
#include <cstdint>

#include "cards/melvex/ConversionTables.h"

namespace orvale::melvex {

inline constexpr int kFirstFormat = 1;
inline constexpr int kLastFormat = 11;
inline bool IsGreyFormat(int format) { return format == 1 || format == 2; }

// Bytes `width` pixels take in `format` (format 10 counts the width rounded up to even).
int LineBytes(int format, int width);

struct CardLine {
  const std::uint8_t* bytes = nullptr;
  int pixels = 0;         // pixels the line holds; chroma past them comes from the last pair
  bool oddStart = false;  // the line starts with Cr instead of Cb
};

// Converts pixels firstPixel .. firstPixel + count - 1 of `line` (output line number
// `lineNumber`, which picks the dither row) into `out`. Format 2 keeps the low nibble of
// the last byte when count is odd; format 10 writes count rounded up to even pixels.
void ConvertLine(const ConversionTables& tables, int format, const CardLine& line,
                 int firstPixel, int count, int lineNumber, std::uint8_t* out);

// BGR bytes of `count` pixels of a CbYCrY buffer that starts with Cb, by the tables.
// A single last pixel takes the Cr of the pair before it (neutral when there is none).
void ConvertCbYCrYToBgr(const ConversionTables& tables, const std::uint8_t* cbycry, int count,
                        std::uint8_t* bgr);

}  // namespace orvale::melvex
