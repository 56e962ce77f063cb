#include "cards/korrin/image/TgaFile.h"

#include <array>
#include <cstring>
#include <string_view>
#include <vector>

namespace orvale::korrin {
namespace {

constexpr int kHeaderSize = 18;
constexpr int kExtensionSize = 495;
constexpr char kSignature[] = "TRUEVISION-XFILE.";  // 17 characters and its NUL

struct TgaHeader {
  int idLength;
  int colourMapType;
  int type;
  int mapLength;
  int mapEntryBits;
  int width;
  int height;
  int depth;
  int descriptor;
};

int U16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }

bool ColourMapped(int type) { return type == 1 || type == 9; }
bool RunLength(int type) { return type >= 9; }

std::optional<TgaHeader> ReadHeader(ByteInput& in) {
  std::array<std::uint8_t, kHeaderSize> h;
  if (!in.SeekTo(0) || !in.Read(h.data(), h.size())) return std::nullopt;
  TgaHeader t{h[0], h[1], h[2], U16(&h[5]), h[7], U16(&h[12]), U16(&h[14]), h[16], h[17]};
  const bool knownType = t.type == 1 || t.type == 2 || t.type == 3 || t.type == 9 ||
                         t.type == 10 || t.type == 11;
  const bool knownDepth = t.depth == 8 || t.depth == 15 || t.depth == 16 || t.depth == 24 || t.depth == 32;
  if (!knownType || !knownDepth || t.width == 0 || t.height == 0) return std::nullopt;
  if (ColourMapped(t.type)) {
    const int e = t.mapEntryBits;
    if (t.depth != 8 || t.colourMapType != 1 || !(e == 15 || e == 16 || e == 24 || e == 32)) {
      return std::nullopt;
    }
  }
  // A 16-bit image stored bottom-up is marked as carrying an attribute bit, so it is
  // read as 1:5:5:5.
  if (t.depth == 16 && (t.descriptor & 0x20) == 0) t.descriptor |= 1;
  return t;
}

void EntryToBgr(const std::uint8_t* entry, int entryBits, std::uint8_t* bgr) {
  if (entryBits <= 16) {
    const unsigned p = entry[0] | (entry[1] << 8);
    bgr[0] = kFiveToEight[p & 31];
    bgr[1] = kFiveToEight[(p >> 5) & 31];
    bgr[2] = kFiveToEight[(p >> 10) & 31];
  } else {
    std::memcpy(bgr, entry, 3);
  }
}

bool ReadColourMap(ByteInput& in, const TgaHeader& t, Palette& palette) {
  if (t.colourMapType == 0) return true;
  const int entryBytes = (t.mapEntryBits + 7) / 8;
  if (!ColourMapped(t.type)) return in.Skip(std::uint64_t(t.mapLength) * entryBytes);
  std::array<std::uint8_t, 4> entry{};
  for (int i = 0; i < t.mapLength; ++i) {
    if (!in.Read(entry.data(), static_cast<std::size_t>(entryBytes))) return false;
    if (i < 256) EntryToBgr(entry.data(), t.mapEntryBits, &palette[i * 3]);
  }
  return true;
}

}  // namespace

std::optional<ImageInfo> ReadTgaInfo(ByteInput& in) {
  const auto t = ReadHeader(in);
  if (!t) return std::nullopt;
  const int bits = t->depth == 16 && (t->descriptor & 0x0F) != 0 ? 15 : t->depth;
  return ImageInfo{t->width, t->height, bits, t->type};
}

bool ReadTgaImage(ByteInput& in, Palette& palette, const RowSink& sink) {
  const auto t = ReadHeader(in);
  if (!t || t->width > kMaxLoadWidth) return false;
  if (!in.Skip(static_cast<std::uint64_t>(t->idLength)) || !ReadColourMap(in, *t, palette)) return false;
  const std::size_t bpp = static_cast<std::size_t>(t->depth + 7) / 8;
  const std::size_t rowBytes = bpp * static_cast<std::size_t>(t->width);
  const bool topDown = (t->descriptor & 0x20) != 0;
  std::vector<std::uint8_t> row(rowBytes);
  auto deliver = [&](int stored) { sink(topDown ? stored : t->height - 1 - stored, row.data()); };

  if (!RunLength(t->type)) {
    for (int r = 0; r < t->height; ++r) {
      if (!in.Read(row.data(), rowBytes)) return false;
      deliver(r);
    }
    return true;
  }
  // Packets may run across rows; they stop at the end of the image.
  std::size_t filled = 0;
  int stored = 0;
  std::array<std::uint8_t, 4> pixel{};
  while (stored < t->height) {
    std::uint8_t header;
    if (!in.Get(header)) return false;
    std::size_t count = (header & 0x7F) + 1u;
    const bool run = (header & 0x80) != 0;
    if (run && !in.Read(pixel.data(), bpp)) return false;
    while (count > 0 && stored < t->height) {
      if (run) {
        std::memcpy(row.data() + filled, pixel.data(), bpp);
      } else if (!in.Read(row.data() + filled, bpp)) {
        return false;
      }
      filled += bpp;
      --count;
      if (filled == rowBytes) {
        deliver(stored++);
        filled = 0;
      }
    }
  }
  return true;
}

bool WriteTga(TextOutput& out, int width, int height, int bits, const RowSource& source) {
  const int bpp = BytesPerPixel(bits);
  if (bpp == 0 || bits == kPaletteIndexed || width <= 0 || height <= 0 || width > 0xFFFF ||
      height > 0xFFFF) {
    return false;
  }
  std::array<std::uint8_t, kHeaderSize> h{};
  h[2] = 2;
  h[12] = static_cast<std::uint8_t>(width);
  h[13] = static_cast<std::uint8_t>(width >> 8);
  h[14] = static_cast<std::uint8_t>(height);
  h[15] = static_cast<std::uint8_t>(height >> 8);
  h[16] = static_cast<std::uint8_t>(bpp * 8);
  h[17] = bits == 32 ? 0x28 : bits == 15 ? 0x21 : 0x20;
  RunError error;
  auto write = [&](const void* data, std::size_t n) {
    return out.Write(std::string_view(static_cast<const char*>(data), n), error);
  };
  if (!write(h.data(), h.size())) return false;
  const std::size_t rowBytes = static_cast<std::size_t>(width) * bpp;
  std::vector<std::uint8_t> row(rowBytes);
  for (int r = 0; r < height; ++r) {
    if (!source(r, row.data()) || !write(row.data(), rowBytes)) return false;
  }
  std::array<std::uint8_t, kExtensionSize> extension{};
  extension[0] = kExtensionSize & 0xFF;
  extension[1] = kExtensionSize >> 8;
  std::memcpy(&extension[426], "KRVLIB", 6);
  extension[467] = 100;  // software version 1.00
  extension[469] = ' ';
  extension[478] = 100;  // gamma 100 / 100
  extension[480] = 100;
  if (!write(extension.data(), extension.size())) return false;
  std::array<std::uint8_t, 26> footer{};
  const std::uint64_t extensionOffset = kHeaderSize + rowBytes * static_cast<std::uint64_t>(height);
  for (int i = 0; i < 4; ++i) footer[i] = static_cast<std::uint8_t>(extensionOffset >> (8 * i));
  std::memcpy(&footer[8], kSignature, sizeof kSignature);
  return write(footer.data(), footer.size());
}

}  // namespace orvale::korrin
