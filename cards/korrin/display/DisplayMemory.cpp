#include "cards/korrin/display/DisplayMemory.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "cards/korrin/session/Status.h"
#include "cards/korrin/capture/Surfaces.h"
#include "cards/korrin/image/PixelConvert.h"
#include "platform/gdi/Dib.h"

namespace orvale::korrin {
namespace {

void StorePixel(std::uint8_t* at, std::uint32_t value, int bytes) {
  for (int k = 0; k < bytes; ++k) at[k] = static_cast<std::uint8_t>(value >> (8 * k));
}

}  // namespace

std::int32_t SetVgaPixel(Library& lib, std::int32_t x, std::int32_t y, std::uint32_t value) {
  const auto display = DisplaySurface(lib);
  if (!display || !display->Contains(x, y, 1, 1)) return kFail;
  StorePixel(display->At(x, y), value, display->BytesPerPixel());
  return kOk;
}

std::int32_t SetVgaRect(Library& lib, std::int32_t x, std::int32_t y, std::int32_t width,
                        std::int32_t height, std::uint32_t value) {
  const auto display = DisplaySurface(lib);
  if (!display || width < 0 || height < 0) return kFail;
  const std::int64_t x0 = std::max(x, 0), y0 = std::max(y, 0);
  const std::int64_t x1 = std::min<std::int64_t>(std::int64_t{x} + width, display->width);
  const std::int64_t y1 = std::min<std::int64_t>(std::int64_t{y} + height, display->height);
  const int bpp = display->BytesPerPixel();
  for (std::int64_t row = y0; row < y1; ++row) {
    for (std::int64_t col = x0; col < x1; ++col) {
      StorePixel(display->At(static_cast<int>(col), static_cast<int>(row)), value, bpp);
    }
  }
  return kOk;
}

std::int32_t CopyVgaRect(Library& lib, std::int32_t x, std::int32_t y, std::int32_t width,
                         std::int32_t height, std::uint8_t* buffer, std::int32_t pitch,
                         std::int32_t direction) {
  if (buffer == nullptr || pitch < -1 || direction < 0 || direction > 2) return kFail;
  const auto surface =
      direction == copydirection::kFromDmaTarget ? DmaTargetSurface(lib) : DisplaySurface(lib);
  if (!surface || !surface->Contains(x, y, width, height)) return kFail;
  const std::int64_t rowBytes = std::int64_t{width} * surface->BytesPerPixel();
  const std::int64_t stride = pitch == -1 ? rowBytes : pitch;
  if (stride < rowBytes) return kFail;
  for (int row = 0; row < height; ++row) {
    std::uint8_t* caller = buffer + row * stride;
    std::uint8_t* board = surface->At(x, y + row);
    if (direction == copydirection::kToDisplay) {
      std::memcpy(board, caller, static_cast<std::size_t>(rowBytes));
    } else {
      std::memcpy(caller, board, static_cast<std::size_t>(rowBytes));
    }
  }
  return kOk;
}

std::size_t DibSize(int width, int height, bool grey) {
  const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  return gdi::kBitmapInfoHeaderSize + (grey ? 1024 + pixels : 3 * pixels);
}

std::int32_t ScreenToDib(Library& lib, std::int32_t x, std::int32_t y, std::int32_t width,
                         std::int32_t height, std::int32_t flags, std::uint8_t* dib) {
  const bool allocate = (flags & dibflag::kAllocate) != 0;
  const bool grey = (flags & dibflag::kGrey) != 0;
  const int w = width - width % 4;
  if (w < 4 || height <= 0 || (dib == nullptr && !allocate)) return kFail;
  const auto surface = (flags & dibflag::kDmaTarget) ? DmaTargetSurface(lib) : DisplaySurface(lib);
  if (!surface || !surface->Contains(x, y, w, height)) return kFail;

  // With the allocation flag the DIB is ours until the clipboard takes a copy of it:
  // header, the 1024-byte colour table when grey, then the rows.
  std::vector<std::uint8_t> owned;
  if (allocate) {
    owned.resize(DibSize(w, height, grey));
    dib = owned.data();
  }
  gdi::BitmapInfoHeader header;
  header.biWidth = w;
  header.biHeight = height;
  header.biBitCount = static_cast<std::uint16_t>(grey ? 8 : 24);
  std::memset(dib, 0, gdi::kBitmapInfoHeaderSize);
  const std::uint32_t size = gdi::kBitmapInfoHeaderSize;
  std::memcpy(dib, &size, 4);
  std::memcpy(dib + 4, &header.biWidth, 4);
  std::memcpy(dib + 8, &header.biHeight, 4);
  dib[12] = 1;
  dib[14] = static_cast<std::uint8_t>(header.biBitCount);
  std::uint8_t* rows = dib + gdi::kBitmapInfoHeaderSize;
  if (grey) {
    for (int i = 0; i < 256; ++i) {
      rows[i * 4] = rows[i * 4 + 1] = rows[i * 4 + 2] = static_cast<std::uint8_t>(i);
      rows[i * 4 + 3] = 0;
    }
    rows += 1024;
  }
  const int outBits = grey ? 8 : 24;
  const std::int64_t rowBytes = std::int64_t{w} * (grey ? 1 : 3);
  for (int row = 0; row < height; ++row) {
    // Bottom-up: the last screen row is stored first.
    ConvertPixels(w, surface->bits, outBits, surface->At(x, y + height - 1 - row), rows + row * rowBytes,
                  nullptr);
  }
  if (allocate) {
    const bool put = lib.Clipboard().PutDib(owned);
    return StatusOf(put);
  }
  return kOk;
}

}  // namespace orvale::korrin
