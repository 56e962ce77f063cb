#include "app/pictures/PngRowData.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <vector>

namespace orvale {

namespace {

std::uint64_t ReadBE32(const std::uint8_t* p) {
  return (std::uint64_t{p[0]} << 24) | (std::uint64_t{p[1]} << 16) | (std::uint64_t{p[2]} << 8) | p[3];
}

constexpr std::size_t kSignatureBytes = 8;

// The bytes of `rows` rows of `width` pixels of `bits` bits, each with its filter byte;
// an empty pass has none.
std::uint64_t RowBytes(std::uint64_t width, std::uint64_t rows, std::uint64_t bits) {
  if (width == 0 || rows == 0) return 0;
  return rows * (1 + (width * bits + 7) / 8);
}

// Ends the inflation whichever way the check leaves.
struct Inflation {
  z_stream stream{};
  bool started = false;
  Inflation() { started = inflateInit(&stream) == Z_OK; }
  ~Inflation() {
    if (started) inflateEnd(&stream);
  }
  Inflation(const Inflation&) = delete;
  Inflation& operator=(const Inflation&) = delete;
};

}  // namespace

std::optional<std::uint64_t> PngRowDataBytes(std::span<const std::uint8_t> head) {
  constexpr std::size_t kHeaderEnd = kSignatureBytes + 8 + 13;  // signature, chunk length and type, IHDR
  if (head.size() < kHeaderEnd) return std::nullopt;
  const std::uint8_t* header = &head[kSignatureBytes + 8];
  const std::uint64_t width = ReadBE32(header);
  const std::uint64_t height = ReadBE32(header + 4);
  std::uint64_t samples = 1;  // grey, or palette indices
  switch (header[9]) {
    case 2: samples = 3; break;
    case 4: samples = 2; break;
    case 6: samples = 4; break;
    default: break;
  }
  const std::uint64_t bits = samples * header[8];
  if (header[12] == 0) return RowBytes(width, height, bits);
  // Adam7: seven passes, each over every n-th pixel of every m-th row from an offset.
  struct Pass {
    std::uint64_t x0, y0, dx, dy;
  };
  static constexpr std::array<Pass, 7> kPasses{
      {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}};
  std::uint64_t total = 0;
  for (const Pass& p : kPasses) {
    const std::uint64_t across = width > p.x0 ? (width - p.x0 + p.dx - 1) / p.dx : 0;
    const std::uint64_t down = height > p.y0 ? (height - p.y0 + p.dy - 1) / p.dy : 0;
    total += RowBytes(across, down, bits);
  }
  return total;
}

bool PngImageDataHoldsItsRows(std::span<const std::uint8_t> bytes) {
  const std::optional<std::uint64_t> rows = PngRowDataBytes(bytes);
  if (!rows) return false;
  Inflation inflation;
  if (!inflation.started) return false;
  z_stream& z = inflation.stream;
  std::vector<Bytef> scratch(64 * 1024);
  std::uint64_t produced = 0;
  bool ended = false;
  std::size_t i = kSignatureBytes;
  while (!ended && bytes.size() - i >= 8) {
    const std::uint64_t length = ReadBE32(&bytes[i]);
    const bool imageData = std::equal(&bytes[i + 4], &bytes[i + 8], "IDAT");
    const std::size_t start = i + 8;
    if (length > bytes.size() - start) return false;
    if (imageData) {
      z.next_in = const_cast<Bytef*>(&bytes[start]);
      z.avail_in = static_cast<uInt>(length);
      while (z.avail_in > 0) {
        // One byte past the rows is enough to tell that the stream goes on.
        const std::uint64_t room = *rows - produced + 1;
        z.next_out = scratch.data();
        z.avail_out = static_cast<uInt>(std::min<std::uint64_t>(scratch.size(), room));
        const uInt before = z.avail_out;
        const int result = inflate(&z, Z_NO_FLUSH);
        produced += before - z.avail_out;
        if (produced > *rows) return false;
        if (result == Z_STREAM_END) {
          ended = true;
          break;
        }
        if (result != Z_OK) return false;
      }
    }
    i = start + static_cast<std::size_t>(length) + 4;  // the data and its CRC
    if (i > bytes.size()) return false;
  }
  return produced == *rows;
}

}  // namespace orvale
