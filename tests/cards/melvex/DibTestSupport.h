#pragma once
// Small DIBs made in a test's movable memory, and files read back whole.
#include <climits>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/gdi/DeviceCaps.h"
#include "platform/runtime/ByteFields.h"
#include "platform/runtime/MovableMemory.h"

namespace orvale::melvex::testing {

struct TestDib {
  int width = 3;
  int height = 3;
  int bits = 8;
  std::uint32_t compression = 0;
  std::uint32_t coloursUsed = 256;
  std::uint32_t imageSize = 0xFFFFFFFF;  // all the rows unless set
  std::int64_t blockBytes = -1;          // header, table and rows unless set
};

// A display of `bits` bits per pixel.
inline gdi::DeviceCaps DisplayOfBits(int bits, int width = 64, int height = 32) {
  gdi::DeviceCaps caps = gdi::DisplayCaps(width, height);
  caps.bitsPixel = bits;
  caps.numColors = bits <= 8 ? 1 << bits : -1;
  return caps;
}

inline std::int64_t RowBytes(std::int64_t width, int bits) { return ((bits * width + 31) >> 5) * 4; }

inline std::size_t TableBytes(const TestDib& dib) {
  if (dib.compression == 3) return 12;
  if (dib.bits <= 8) return 4 * (dib.coloursUsed == 0 ? (1u << dib.bits) : dib.coloursUsed);
  return 4 * dib.coloursUsed;
}

// A DIB whose byte at (row from the bottom, byte column) is pixel(row, column).
inline MemoryHandle MakeDib(MovableMemory& memory, const TestDib& dib,
                            const std::function<std::uint8_t(int row, int column)>& pixel = {}) {
  const std::int64_t stride = RowBytes(dib.width, dib.bits);
  const std::size_t table = TableBytes(dib);
  std::int64_t rows = 0;
  const bool huge = __builtin_mul_overflow(stride, static_cast<std::int64_t>(dib.height), &rows);
  const std::int64_t whole = huge ? INT64_MAX : 40 + static_cast<std::int64_t>(table) + rows;
  const std::size_t size = static_cast<std::size_t>(dib.blockBytes >= 0 ? dib.blockBytes : whole);
  const MemoryHandle handle = memory.Alloc(size, true);
  auto* p = static_cast<std::uint8_t*>(memory.Lock(handle));
  WriteLE32(p, 40);
  WriteLE32(p + 4, static_cast<std::uint32_t>(dib.width));
  WriteLE32(p + 8, static_cast<std::uint32_t>(dib.height));
  WriteLE16(p + 12, 1);
  WriteLE16(p + 14, static_cast<std::uint16_t>(dib.bits));
  WriteLE32(p + 16, dib.compression);
  WriteLE32(p + 20, dib.imageSize == 0xFFFFFFFF ? static_cast<std::uint32_t>(rows) : dib.imageSize);
  WriteLE32(p + 32, dib.coloursUsed);
  if (dib.compression == 3 && size >= 40 + 12) {  // 5:6:5 masks
    WriteLE32(p + 40, 0xF800);
    WriteLE32(p + 44, 0x07E0);
    WriteLE32(p + 48, 0x001F);
  }
  if (pixel && static_cast<std::int64_t>(size) >= whole) {
    for (int row = 0; row < dib.height; ++row) {
      for (int column = 0; column < stride; ++column) p[40 + table + row * stride + column] = pixel(row, column);
    }
  }
  memory.Unlock(handle);
  return handle;
}

inline std::vector<std::uint8_t> BlockBytes(MovableMemory& memory, MemoryHandle handle) {
  const auto* p = static_cast<const std::uint8_t*>(memory.Lock(handle));
  std::vector<std::uint8_t> bytes(p, p + memory.Size(handle));
  memory.Unlock(handle);
  return bytes;
}

inline std::vector<std::uint8_t> FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A folder of its own, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() / ("zelvo-test-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  std::size_t Entries() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(path_), {}));
  }

 private:
  std::filesystem::path path_;
};

}  // namespace orvale::melvex::testing
