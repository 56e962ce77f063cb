#pragma once
// Small packed DIBs for the clipboard suites: a 40-byte header, `tableEntries` colour
// entries, then the rows.
#include <cstdint>
#include <vector>

#include "platform/gdi/Dib.h"
#include "platform/runtime/ByteFields.h"

namespace orvale::testing {

struct DibFields {
  std::int32_t width = 2;
  std::int32_t height = 2;
  std::uint16_t bitCount = 24;
  std::uint32_t compression = 0;
  std::uint32_t clrUsed = 0;
  std::size_t tableEntries = 0;  // written after the header: colours, or bit-field masks
};

inline std::vector<std::uint8_t> MakePackedDib(const DibFields& fields) {
  const std::int64_t rows = fields.height < 0 ? -std::int64_t{fields.height} : fields.height;
  const std::size_t bitsSize =
      static_cast<std::size_t>(gdi::DibStride(fields.width, fields.bitCount) * rows);
  std::vector<std::uint8_t> dib(40 + fields.tableEntries * 4 + bitsSize, 0);
  std::uint8_t* p = dib.data();
  WriteLE32(p, 40);
  WriteLE32(p + 4, static_cast<std::uint32_t>(fields.width));
  WriteLE32(p + 8, static_cast<std::uint32_t>(fields.height));
  WriteLE16(p + 12, 1);
  WriteLE16(p + 14, fields.bitCount);
  WriteLE32(p + 16, fields.compression);
  WriteLE32(p + 32, fields.clrUsed);
  for (std::size_t i = 0; i < fields.tableEntries; ++i) {
    const auto grey = static_cast<std::uint8_t>(i);
    p[40 + i * 4] = p[40 + i * 4 + 1] = p[40 + i * 4 + 2] = grey;
  }
  return dib;
}

}  // namespace orvale::testing
