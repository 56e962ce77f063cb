#include "cards/korrin/image/BmpFile.h"

#include <array>
#include <cstring>
#include <string_view>
#include <vector>

namespace orvale::korrin {
namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;

struct BmpHeader {
  std::uint32_t pixelOffset;
  std::uint32_t infoSize;
  std::int32_t width;
  std::int32_t height;
  int planes;
  int bits;
  std::uint32_t compression;
  std::uint32_t coloursUsed;
};

std::uint32_t U32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t{p[3]} << 24);
}

std::optional<BmpHeader> ReadHeader(ByteInput& in) {
  std::array<std::uint8_t, kFileHeaderSize + kInfoHeaderSize> h;
  if (!in.SeekTo(0) || !in.Read(h.data(), h.size()) || h[0] != 'B' || h[1] != 'M') return std::nullopt;
  const std::uint8_t* info = h.data() + kFileHeaderSize;
  BmpHeader b{U32(&h[10]),
              U32(info),
              static_cast<std::int32_t>(U32(info + 4)),
              static_cast<std::int32_t>(U32(info + 8)),
              info[12] | (info[13] << 8),
              info[14] | (info[15] << 8),
              U32(info + 16),
              U32(info + 32)};
  if (b.infoSize < kInfoHeaderSize || b.width <= 0 || b.height <= 0 || b.planes != 1 ||
      (b.bits != 8 && b.bits != 24) || b.compression != 0 || b.coloursUsed > 256) {
    return std::nullopt;
  }
  return b;
}

std::uint64_t RowBytes(std::int64_t width, int bits) { return ((width * bits + 31) / 32) * 4; }

}  // namespace

std::optional<ImageInfo> ReadBmpInfo(ByteInput& in) {
  const auto b = ReadHeader(in);
  if (!b) return std::nullopt;
  return ImageInfo{b->width, b->height, b->bits, 0};
}

bool ReadBmpImage(ByteInput& in, Palette& palette, const RowSink& sink) {
  const auto b = ReadHeader(in);
  if (!b || b->width > kMaxLoadWidth) return false;
  const std::uint64_t tableAt = kFileHeaderSize + std::uint64_t{b->infoSize};
  std::uint64_t pixelsAt = tableAt;
  if (b->bits == 8) {
    const std::uint32_t entries = b->coloursUsed != 0 ? b->coloursUsed : 256;
    if (!in.SeekTo(tableAt)) return false;
    std::array<std::uint8_t, 4> quad;
    for (std::uint32_t i = 0; i < entries; ++i) {
      if (!in.Read(quad.data(), 4)) return false;
      std::memcpy(&palette[i * 3], quad.data(), 3);
    }
    pixelsAt = tableAt + 4ull * entries;
  }
  // The stated pixel offset counts when it lies past the headers and the palette (a
  // 24-bit file may carry a colour table before its pixels).
  if (b->pixelOffset >= pixelsAt) pixelsAt = b->pixelOffset;
  const std::uint64_t rowBytes = RowBytes(b->width, b->bits);
  if (!in.SeekTo(pixelsAt) || in.Size() - pixelsAt < rowBytes * static_cast<std::uint64_t>(b->height)) {
    return false;
  }
  std::vector<std::uint8_t> row(rowBytes);
  for (int stored = 0; stored < b->height; ++stored) {
    if (!in.Read(row.data(), rowBytes)) return false;
    sink(b->height - 1 - stored, row.data());
  }
  return true;
}

bool WriteBmp(TextOutput& out, int width, int height, int bits, const Palette& palette,
              const RowSource& source) {
  const int written = width - width % 4;
  if (written < 4 || height <= 0 || (bits != 8 && bits != 24)) return false;
  const std::uint32_t rowBytes = static_cast<std::uint32_t>(written) * static_cast<std::uint32_t>(bits / 8);
  const std::uint32_t offset = bits == 8 ? 1078 : 54;
  std::array<std::uint8_t, kFileHeaderSize + kInfoHeaderSize> h{};
  auto put32 = [&](int at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) h[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  h[0] = 'B';
  h[1] = 'M';
  put32(2, static_cast<std::uint32_t>(height) * rowBytes + offset);
  put32(10, offset);
  put32(14, kInfoHeaderSize);
  put32(18, static_cast<std::uint32_t>(written));
  put32(22, static_cast<std::uint32_t>(height));
  h[26] = 1;
  h[28] = static_cast<std::uint8_t>(bits);
  RunError error;
  auto write = [&](const void* data, std::size_t n) {
    return out.Write(std::string_view(static_cast<const char*>(data), n), error);
  };
  if (!write(h.data(), h.size())) return false;
  if (bits == 8) {
    std::array<std::uint8_t, 1024> table{};
    for (int i = 0; i < 256; ++i) std::memcpy(&table[i * 4], &palette[i * 3], 3);
    if (!write(table.data(), table.size())) return false;
  }
  std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * (bits / 8));
  for (int r = height - 1; r >= 0; --r) {
    if (!source(r, row.data()) || !write(row.data(), rowBytes)) return false;
  }
  return true;
}

}  // namespace orvale::korrin
