#pragma once
// Loading and saving image files between a file and the display, the DMA target or a
// caller's buffer, and the pixel conversion export.
#include <cstdint>

#include "cards/korrin/session/Library.h"
#include "cards/korrin/image/ImageCodec.h"

namespace orvale::korrin {

namespace fileflag {
inline constexpr std::int32_t kPalette = 0x800;     // 8-bit: file palette / colour cube
inline constexpr std::int32_t kReverseRows = 0x400;
inline constexpr std::int32_t kMirrorRows = 0x1000;
inline constexpr std::int32_t kDmaTarget = 0x8000;
}  // namespace fileflag

// One load or save in progress: what the row callbacks reach.
struct FileTransfer {
  int height = 0;
  RowSink put;
  RowSource get;
};

std::int32_t LoadFile(Library& lib, const char* fileName, std::int32_t x, std::int32_t y,
                      std::int32_t width, std::int32_t rows, std::int32_t flags, std::uint8_t* buffer,
                      std::int32_t pitch);
std::int32_t SaveFile(Library& lib, const char* fileName, std::int32_t x, std::int32_t y,
                      std::int32_t width, std::int32_t height, std::int32_t bits, std::int32_t flags,
                      const std::uint8_t* buffer, std::int32_t pitch);
// Fills {width, height, bits, extra}.
std::int32_t FileResInfo(Library& lib, const char* fileName, std::int16_t* results);

// The row callbacks: -1, doing nothing, outside an operation or for a row outside it.
std::int32_t PutImageRow(Library& lib, std::int32_t row, const std::uint8_t* pixels);
std::int32_t GetImageRow(Library& lib, std::int32_t row, std::uint8_t* pixels);

}  // namespace orvale::korrin
