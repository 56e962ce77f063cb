#pragma once
// The 14-byte header in front of a DIB in a BMP file.
#include <cstdint>

#include "platform/runtime/ByteFields.h"

namespace orvale::melvex {

inline void WriteBmpFileHeader(std::uint8_t* out, std::uint32_t fileSize, std::uint32_t bitsOffset) {
  out[0] = 'B';
  out[1] = 'M';
  WriteLE32(out + 2, fileSize);
  WriteLE32(out + 6, 0);
  WriteLE32(out + 10, bitsOffset);
}

}  // namespace orvale::melvex
