#pragma once
// Small TGA and BMP files built in memory, field by field, for the reader tests.
#include <cstdint>
#include <string>
#include <vector>

namespace orvale::korrin::test {

using Bytes = std::vector<std::uint8_t>;

inline void Put16(Bytes& b, int v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void Put32(Bytes& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

struct TgaFields {
  int type = 2;
  int width = 2;
  int height = 2;
  int depth = 24;
  int descriptor = 0x20;  // top-left origin
  std::string id{};
  int mapType = 0;
  int mapLength = 0;
  int mapEntryBits = 24;
  Bytes map{};     // mapLength entries
  Bytes pixels{};  // as stored (raw rows or RLE packets)
};

inline Bytes MakeTga(const TgaFields& s) {
  Bytes b;
  b.push_back(static_cast<std::uint8_t>(s.id.size()));
  b.push_back(static_cast<std::uint8_t>(s.mapType));
  b.push_back(static_cast<std::uint8_t>(s.type));
  Put16(b, 0);
  Put16(b, s.mapLength);
  b.push_back(static_cast<std::uint8_t>(s.mapEntryBits));
  Put16(b, 0);
  Put16(b, 0);
  Put16(b, s.width);
  Put16(b, s.height);
  b.push_back(static_cast<std::uint8_t>(s.depth));
  b.push_back(static_cast<std::uint8_t>(s.descriptor));
  b.insert(b.end(), s.id.begin(), s.id.end());
  b.insert(b.end(), s.map.begin(), s.map.end());
  b.insert(b.end(), s.pixels.begin(), s.pixels.end());
  return b;
}

struct BmpFields {
  int width = 4;
  int height = 2;
  int bits = 24;
  int planes = 1;
  std::uint32_t compression = 0;
  std::uint32_t coloursUsed = 0;
  Bytes table{};                      // colour table, 4 bytes an entry
  std::int64_t pixelOffset = -1;      // -1: right after the table
  Bytes pixels{};                     // rows as stored, padded, bottom row first
};

inline Bytes MakeBmp(const BmpFields& s) {
  const std::uint32_t offset =
      s.pixelOffset >= 0 ? static_cast<std::uint32_t>(s.pixelOffset)
                         : static_cast<std::uint32_t>(54 + s.table.size());
  Bytes b = {'B', 'M'};
  Put32(b, static_cast<std::uint32_t>(offset + s.pixels.size()));
  Put32(b, 0);
  Put32(b, offset);
  Put32(b, 40);
  Put32(b, static_cast<std::uint32_t>(s.width));
  Put32(b, static_cast<std::uint32_t>(s.height));
  Put16(b, s.planes);
  Put16(b, s.bits);
  Put32(b, s.compression);
  Put32(b, 0);
  Put32(b, 0);
  Put32(b, 0);
  Put32(b, s.coloursUsed);
  Put32(b, 0);
  b.insert(b.end(), s.table.begin(), s.table.end());
  while (b.size() < offset) b.push_back(0xEE);
  b.insert(b.end(), s.pixels.begin(), s.pixels.end());
  return b;
}

}  // namespace orvale::korrin::test
