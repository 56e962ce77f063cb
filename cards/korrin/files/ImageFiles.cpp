#include "cards/korrin/files/ImageFiles.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "cards/korrin/display/DisplayProbe.h"
#include "cards/korrin/files/ImageFormats.h"
#include "cards/korrin/session/Status.h"
#include "cards/korrin/capture/Surfaces.h"
#include "cards/korrin/image/PixelConvert.h"

namespace orvale::korrin {
namespace {

// Marks a transfer as the one in progress for as long as it lives.
class ActiveTransfer {
 public:
  ActiveTransfer(Library& lib, FileTransfer& transfer) : lib_(lib) { lib_.transfer = &transfer; }
  ~ActiveTransfer() { lib_.transfer = nullptr; }
  ActiveTransfer(const ActiveTransfer&) = delete;
  ActiveTransfer& operator=(const ActiveTransfer&) = delete;

 private:
  Library& lib_;
};

std::unique_ptr<ImageFormat> FormatFor(Library& lib, const char* fileName) {
  return ChooseImageFormat(fileName, lib.PluginFolder(), {lib.PutRowCallback(), lib.GetRowCallback()});
}

int DisplayBits(Library& lib) {
  const int bits = lib.Settings().displayBits;
  return bits != 0 ? bits : ProbeDisplayDepth(lib);
}

// Where rows go or come from: a surface of the board, or a caller's buffer of `pitch`
// bytes per row.
struct Place {
  std::optional<Surface> surface;
  std::uint8_t* buffer = nullptr;
  std::int64_t pitch = 0;
  int bits = 0;
  int x = 0;
  int y = 0;
};

// Caller buffers use misc parameter 14's depth, or `fallbackBits`; board memory is
// always read and written in its own depth.
std::optional<Place> PlaceFor(Library& lib, std::int32_t flags, std::uint8_t* buffer, std::int32_t pitch,
                              int width, int x, int y, int fallbackBits) {
  Place place;
  if (buffer != nullptr) {
    const int fileBits = lib.Settings().misc.fileBits;
    place.bits = fileBits != 0 ? fileBits : fallbackBits;
    const int bpp = BytesPerPixel(place.bits);
    const std::int64_t rowBytes = std::int64_t{width} * bpp;
    if (bpp == 0 || pitch < -1 || (pitch != -1 && pitch < rowBytes)) return std::nullopt;
    place.buffer = buffer;
    place.pitch = pitch == -1 ? rowBytes : pitch;
    return place;
  }
  place.surface = (flags & fileflag::kDmaTarget) ? DmaTargetSurface(lib) : DisplaySurface(lib);
  if (!place.surface) return std::nullopt;
  place.bits = place.surface->bits;
  place.x = x;
  place.y = y;
  return place;
}

}  // namespace

std::int32_t FileResInfo(Library& lib, const char* fileName, std::int16_t* results) {
  if (fileName == nullptr || results == nullptr) return kFail;
  auto format = FormatFor(lib, fileName);
  if (!format) return kFail;
  const auto info = format->LoadInfo(fileName);
  if (!info) return kFail;
  results[0] = static_cast<std::int16_t>(info->width);
  results[1] = static_cast<std::int16_t>(info->height);
  results[2] = static_cast<std::int16_t>(info->bits);
  results[3] = static_cast<std::int16_t>(info->extra);
  return kOk;
}

std::int32_t LoadFile(Library& lib, const char* fileName, std::int32_t x, std::int32_t y,
                      std::int32_t width, std::int32_t rows, std::int32_t flags, std::uint8_t* buffer,
                      std::int32_t pitch) {
  if (fileName == nullptr || width < 0 || rows < 0) return kFail;
  auto format = FormatFor(lib, fileName);
  if (!format) return kFail;
  const auto info = format->LoadInfo(fileName);
  if (!info || info->width <= 0 || info->height <= 0) return kFail;
  const int w = width != 0 ? width : info->width;
  const int h = rows != 0 ? rows : info->height;
  const int fileBits = info->bits == 8 ? kPaletteIndexed : info->bits;
  if (!IsPixelFormat(fileBits)) return kFail;
  const auto place = PlaceFor(lib, flags, buffer, pitch, w, x, y, DisplayBits(lib));
  if (!place) return kFail;
  const int bpp = BytesPerPixel(place->bits);

  Palette palette = GreyRamp();
  std::vector<std::uint8_t> line(static_cast<std::size_t>(w) * bpp);
  const int copied = std::min(w, info->width);
  auto store = [&](int row) {
    if (place->buffer != nullptr) {
      std::memcpy(place->buffer + row * place->pitch, line.data(), line.size());
      return;
    }
    // Board memory: only the part of the row inside the surface.
    const Surface& s = *place->surface;
    const int sy = place->y + row;
    const int x0 = std::max(place->x, 0);
    const int x1 = std::min<std::int64_t>(std::int64_t{place->x} + w, s.width);
    if (sy < 0 || sy >= s.height || x0 >= x1) return;
    std::memcpy(s.At(x0, sy), line.data() + std::int64_t{x0 - place->x} * bpp,
                static_cast<std::size_t>(x1 - x0) * bpp);
  };
  FileTransfer transfer;
  transfer.height = info->height;
  transfer.put = [&](int row, const std::uint8_t* pixels) {
    if (row < 0 || row >= h) return;
    std::fill(line.begin(), line.end(), 0);
    ConvertPixels(copied, fileBits, place->bits, pixels, line.data(), palette.data());
    store(row);
  };
  bool loaded;
  {
    ActiveTransfer active(lib, transfer);
    loaded = format->LoadImage(fileName, palette, transfer.put);
  }
  if (!loaded) return kFail;
  std::fill(line.begin(), line.end(), 0);
  for (int row = info->height; row < h; ++row) store(row);
  return kOk;
}

std::int32_t SaveFile(Library& lib, const char* fileName, std::int32_t x, std::int32_t y,
                      std::int32_t width, std::int32_t height, std::int32_t bits, std::int32_t flags,
                      const std::uint8_t* buffer, std::int32_t pitch) {
  if (fileName == nullptr || width <= 0 || height <= 0) return kFail;
  if (bits != 8 && bits != 15 && bits != 16 && bits != 24 && bits != 32) return kFail;
  auto format = FormatFor(lib, fileName);
  if (!format) return kFail;
  const int colourSpace = lib.Settings().colourSpaceBits;
  const auto place = PlaceFor(lib, flags, const_cast<std::uint8_t*>(buffer), pitch, width, x, y,
                              colourSpace != 0 ? colourSpace : DisplayBits(lib));
  if (!place || (place->surface && !place->surface->Contains(x, y, width, height))) return kFail;

  // 8-bit files carry a grey ramp, or with the palette flag a 6 x 6 x 6 colour cube.
  const bool cube = bits == 8 && (flags & fileflag::kPalette);
  Palette palette = GreyRamp();
  if (cube) {
    palette.fill(0xFF);
    for (int r = 0; r < 6; ++r) {
      for (int g = 0; g < 6; ++g) {
        for (int b = 0; b < 6; ++b) {
          std::uint8_t* entry = &palette[(b + 6 * g + 36 * r) * 3];
          entry[0] = static_cast<std::uint8_t>(b * 256 / 6);
          entry[1] = static_cast<std::uint8_t>(g * 256 / 6);
          entry[2] = static_cast<std::uint8_t>(r * 256 / 6);
        }
      }
    }
  }
  const int outBits = cube ? kPaletteIndexed : bits;
  const int outBytes = BytesPerPixel(outBits);
  FileTransfer transfer;
  transfer.height = height;
  transfer.get = [&](int row, std::uint8_t* pixels) {
    if (row < 0 || row >= height) return false;
    const int source = (flags & fileflag::kReverseRows) ? height - 1 - row : row;
    const std::uint8_t* from = place->buffer != nullptr ? place->buffer + source * place->pitch
                                                        : place->surface->At(x, y + source);
    ConvertPixels(width, place->bits, outBits, from, pixels, nullptr);
    if (flags & fileflag::kMirrorRows) {
      for (int i = 0; i < width / 2; ++i) {
        std::swap_ranges(pixels + i * outBytes, pixels + (i + 1) * outBytes,
                         pixels + (width - 1 - i) * outBytes);
      }
    }
    return true;
  };
  ActiveTransfer active(lib, transfer);
  return StatusOf(format->SaveImage(fileName, {width, height, bits, 0}, palette, flags, transfer.get));
}

std::int32_t PutImageRow(Library& lib, std::int32_t row, const std::uint8_t* pixels) {
  FileTransfer* t = lib.transfer;
  if (t == nullptr || !t->put || pixels == nullptr || row < 0 || row >= t->height) return kFail;
  t->put(row, pixels);
  return kOk;
}

std::int32_t GetImageRow(Library& lib, std::int32_t row, std::uint8_t* pixels) {
  FileTransfer* t = lib.transfer;
  if (t == nullptr || !t->get || pixels == nullptr || row < 0 || row >= t->height) return kFail;
  return StatusOf(t->get(row, pixels));
}

}  // namespace orvale::korrin
