// DIBs made elsewhere, in the layouts other programs write: stored top-down, with 32-bit
// bit-field masks, of 1 bit, with the V4 and V5 headers other programs put on the clipboard
// (masks inside the header, a colour profile after the pixels), or several of these. The five
// functions that take a caller's DIB read each in the orientation and with the masks its
// header gives, so it shows the same picture as the plain bottom-up DIB of that picture;
// malformed ones are still refused.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "cards/melvex/ErrorCodes.h"
#include "cards/melvex/ZelvoLibrary.h"
#include "cards/melvex/sim/SimulatedCard.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "platform/runtime/ByteFields.h"
#include "platform/ui/ClipboardService.h"
#include "platform/ui/MessageService.h"
#include "tests/cards/melvex/DibTestSupport.h"

namespace orvale::melvex {
namespace {

using testing::BlockBytes;
using testing::FileBytes;
using testing::TempFolder;
using Bytes = std::vector<std::uint8_t>;
using Masks = std::array<std::uint32_t, 3>;  // red, green, blue

constexpr int kWidth = 5;
constexpr int kHeight = 3;  // 15 pixels: a 4-bit DIB still gives each its own entry
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kV4 = 108;
constexpr std::uint32_t kV5 = 124;
constexpr std::uint32_t kSRgb = 0x73524742;             // 'sRGB'
constexpr std::uint32_t kProfileEmbedded = 0x4D424544;  // 'MBED'
constexpr std::uint8_t kProfileByte = 0x5C;

struct Rgb {
  std::uint8_t red, green, blue;
};

// Pixel (x, y), y counted from the top: every pixel its own colour.
Rgb PictureAt(int x, int y) {
  return {static_cast<std::uint8_t>(50 * x + 7), static_cast<std::uint8_t>(90 * y + 11),
          static_cast<std::uint8_t>(13 * x + 71 * y + 3)};
}

struct DibKind {
  const char* name;
  int bits;
  bool topDown;
  std::uint32_t compression = gdi::BI_RGB;
  Masks masks{};
  std::int32_t height = kHeight;  // as the header gives it, before the sign of a top-down DIB
  std::int64_t missingBytes = 0;  // cut off the end of the block
  std::uint32_t headerSize = 40;
  std::uint32_t colourSpace = kSRgb;  // of a V4 or V5 header
  std::uint32_t profileBytes = 0;     // a V5 header's profile, after the pixels
  std::int32_t profileShift = 0;      // added to the profile's offset as the header gives it
};

std::uint32_t Channel(std::uint8_t level, std::uint32_t mask) {
  if (mask == 0) return 0;
  const int width = std::popcount(mask);
  const int shift = std::countr_zero(mask);
  return (static_cast<std::uint32_t>(level) >> (8 - std::min(width, 8))) << shift & mask;
}

std::uint32_t Packed(const Rgb& c, const Masks& m) {
  return Channel(c.red, m[0]) | Channel(c.green, m[1]) | Channel(c.blue, m[2]);
}

// Where the rows start in a DIB of `kind`: the masks follow a 40-byte header only.
std::size_t BitsOffset(std::uint32_t headerSize, int bits, std::uint32_t compression) {
  if (compression == kBitFields) return headerSize == 40 ? 52 : headerSize;
  return headerSize + (bits <= 8 ? 4u << bits : 0);
}

// The picture as a DIB of `kind` in a block of `memory`.
MemoryHandle MakeDib(MovableMemory& memory, const DibKind& kind) {
  const std::int64_t stride = testing::RowBytes(kWidth, kind.bits);
  const bool masked = kind.compression == kBitFields;
  const std::size_t bitsOffset = BitsOffset(kind.headerSize, kind.bits, kind.compression);
  const std::size_t image = static_cast<std::size_t>(stride * kHeight);
  Bytes block(bitsOffset + image + kind.profileBytes, 0);
  WriteLE32(block.data(), kind.headerSize);
  WriteLE32(block.data() + 4, kWidth);
  WriteLE32(block.data() + 8, static_cast<std::uint32_t>(kind.topDown ? -kind.height : kind.height));
  WriteLE16(block.data() + 12, 1);
  WriteLE16(block.data() + 14, static_cast<std::uint16_t>(kind.bits));
  WriteLE32(block.data() + 16, kind.compression);
  if (masked) {  // right after a 40-byte header, or in the same place inside a longer one
    for (int i = 0; i < 3; ++i) WriteLE32(block.data() + 40 + 4 * i, kind.masks[i]);
  }
  if (kind.headerSize >= kV4) WriteLE32(block.data() + 56, kind.colourSpace);
  if (kind.headerSize >= kV5 && kind.profileBytes != 0) {
    WriteLE32(block.data() + 112, static_cast<std::uint32_t>(bitsOffset + image + kind.profileShift));
    WriteLE32(block.data() + 116, kind.profileBytes);
    std::fill(block.end() - kind.profileBytes, block.end(), kProfileByte);
  }
  std::uint8_t* table = block.data() + kind.headerSize;
  for (int y = 0; y < kHeight; ++y) {
    std::uint8_t* row = block.data() + bitsOffset + stride * (kind.topDown ? y : kHeight - 1 - y);
    for (int x = 0; x < kWidth; ++x) {
      const Rgb c = PictureAt(x, y);
      switch (kind.bits) {
        case 1:
        case 4:
        case 8: {
          // Every pixel its own entry, as far as the entries go; a 1-bit DIB has two.
          const int index = (kWidth * y + x) % (1 << kind.bits);
          std::uint8_t* entry = table + 4 * index;
          entry[0] = c.blue, entry[1] = c.green, entry[2] = c.red;
          if (kind.bits == 8) row[x] = static_cast<std::uint8_t>(index);
          else if (kind.bits == 4) row[x / 2] |= static_cast<std::uint8_t>(x & 1 ? index : index << 4);
          else row[x / 8] |= static_cast<std::uint8_t>(index << (7 - x % 8));
          break;
        }
        case 16:
          WriteLE16(row + 2 * x, static_cast<std::uint16_t>(
                                     Packed(c, masked ? kind.masks : Masks{0x7C00, 0x03E0, 0x001F})));
          break;
        case 24:
          row[3 * x] = c.blue, row[3 * x + 1] = c.green, row[3 * x + 2] = c.red;
          break;
        case 32:
          WriteLE32(row + 4 * x, Packed(c, masked ? kind.masks : Masks{0xFF0000, 0xFF00, 0xFF}));
          break;
      }
    }
  }
  block.resize(block.size() - static_cast<std::size_t>(kind.missingBytes));
  const MemoryHandle handle = memory.Alloc(block.size());
  std::memcpy(memory.Lock(handle), block.data(), block.size());
  memory.Unlock(handle);
  return handle;
}

// The same picture as the plain bottom-up DIB these functions always took.
DibKind PlainOf(const DibKind& kind) {
  DibKind plain{kind.name, kind.bits, false, kind.compression, kind.masks};
  if (kind.bits == 32) plain.compression = gdi::BI_RGB;
  return plain;
}

// What a BMP reader shows of a packed DIB (or of a whole BMP file).
QImage Shown(const Bytes& bytes, bool isFile = false) {
  QByteArray file;
  if (!isFile) {
    Bytes head(14, 0);
    head[0] = 'B', head[1] = 'M';
    WriteLE32(head.data() + 2, static_cast<std::uint32_t>(14 + bytes.size()));
    WriteLE32(head.data() + 10, static_cast<std::uint32_t>(
                                    14 + BitsOffset(ReadLE32(bytes.data()), ReadLE16(bytes.data() + 14),
                                                    ReadLE32(bytes.data() + 16))));
    file.append(reinterpret_cast<const char*>(head.data()), 14);
  }
  file.append(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
  return QImage::fromData(file, "BMP").convertToFormat(QImage::Format_RGB32);
}

class ForeignDibTest : public ::testing::Test {
 protected:
  // The picture drawn on a white display 1:1 at (1, 1) and stretched to twice its size
  // beside it, as 32-bit pixels.
  QImage Drawn(MemoryHandle dib, std::int32_t expected = code::kOk) {
    gdi::ImageDeviceContext dc(kDisplayWidth, kDisplayHeight);
    EXPECT_EQ(library.ZLV_drawDIB(&dc, dib, 1, 1, 0, 0), expected);
    EXPECT_EQ(library.ZLV_drawDIB(&dc, dib, kWidth + 2, 1, 2 * kWidth, 2 * kHeight), expected);
    return dc.Image().convertToFormat(QImage::Format_RGB32);
  }
  static QImage Blank() {
    const gdi::ImageDeviceContext white(kDisplayWidth, kDisplayHeight);
    return white.Image().convertToFormat(QImage::Format_RGB32);
  }
  static constexpr int kDisplayWidth = 3 * kWidth + 3;
  static constexpr int kDisplayHeight = 2 * kHeight + 2;
  static bool Filterable(const DibKind& kind) { return kind.bits == 8 || kind.bits == 24 || kind.bits == 32; }
  // The DIB after filtering with a kernel that tells up from down.
  Bytes Filtered(MemoryHandle dib, std::int32_t expected = code::kOk) {
    static const std::int8_t kUpOverDown[] = {1, 0, 0, 0, 2, 0};
    const ZlvFilter filter{3, 2, 3, 0, kUpOverDown};
    EXPECT_EQ(library.ZLV_filterDIB(dib, &filter), expected);
    return BlockBytes(memory, dib);
  }

  MovableMemory memory;
  sim::SimulatedCard card;
  ZelvoLibrary library{card, memory};
  MemoryClipboard clipboard;
  TempFolder folder;
  ScriptedMessageService messages;
  ScopedMessageService scopedMessages{messages};
  void SetUp() override { library.SetClipboard(&clipboard); }
};

const DibKind kReadable[] = {
    {"TopDown4", 4, true},
    {"TopDown8", 8, true},
    {"TopDown16", 16, true},
    {"TopDown16Masks", 16, true, kBitFields, {0xF800, 0x07E0, 0x001F}},
    {"TopDown24", 24, true},
    {"TopDown32", 32, true},
    {"Masks32", 32, false, kBitFields, {0xFF0000, 0xFF00, 0xFF}},
    {"Masks32RedLow", 32, false, kBitFields, {0xFF, 0xFF00, 0xFF0000}},
    {"Masks32HighBytes", 32, false, kBitFields, {0xFF000000, 0xFF0000, 0xFF00}},
    {"TopDownMasks32", 32, true, kBitFields, {0xFF0000, 0xFF00, 0xFF}},
    {"OneBit", 1, false},
    {"TopDownOneBit", 1, true},
    {.name = "V4Plain24", .bits = 24, .topDown = false, .headerSize = kV4},
    {.name = "V4Eight", .bits = 8, .topDown = true, .headerSize = kV4},
    {.name = "V4Masks32", .bits = 32, .topDown = false, .compression = kBitFields,
     .masks = {0xFF0000, 0xFF00, 0xFF}, .headerSize = kV4},
    {.name = "V4TopDownMasks16", .bits = 16, .topDown = true, .compression = kBitFields,
     .masks = {0xF800, 0x07E0, 0x001F}, .headerSize = kV4},
    {.name = "V5OneBit", .bits = 1, .topDown = false, .headerSize = kV5},
    {.name = "V5Masks32RedLow", .bits = 32, .topDown = false, .compression = kBitFields,
     .masks = {0xFF, 0xFF00, 0xFF0000}, .headerSize = kV5},
    {.name = "V5EightWithProfile", .bits = 8, .topDown = false, .headerSize = kV5,
     .colourSpace = kProfileEmbedded, .profileBytes = 20},
    {.name = "V5TopDownMasks32WithProfile", .bits = 32, .topDown = true, .compression = kBitFields,
     .masks = {0xFF0000, 0xFF00, 0xFF}, .headerSize = kV5, .colourSpace = kProfileEmbedded, .profileBytes = 16},
};

// A V5 header's profile: where the header says, whole.
bool ProfileIsWhole(const Bytes& dib, std::uint32_t size) {
  const std::uint32_t offset = ReadLE32(dib.data() + 112);
  return ReadLE32(dib.data() + 116) == size && offset + size == dib.size() &&
         std::all_of(dib.begin() + offset, dib.end(), [](std::uint8_t b) { return b == kProfileByte; });
}

TEST_F(ForeignDibTest, EachFunctionShowsTheSamePictureAsThePlainDib) {
  const QImage picture = Shown(BlockBytes(memory, MakeDib(memory, {"Plain24", 24, false})));
  ASSERT_EQ(picture.size(), QSize(kWidth, kHeight));
  EXPECT_EQ(picture.pixel(4, 0), qRgb(207, 11, 55));  // the reader shows the picture the right way up
  for (const DibKind& kind : kReadable) {
    SCOPED_TRACE(kind.name);
    const MemoryHandle dib = MakeDib(memory, kind);
    const MemoryHandle plain = MakeDib(memory, PlainOf(kind));
    const Bytes bytes = BlockBytes(memory, dib);
    const QImage expected = Shown(BlockBytes(memory, plain));
    ASSERT_FALSE(expected.isNull());
    EXPECT_EQ(Shown(bytes), expected);  // the fixture is right

    ZLV_HDIB copy = nullptr;
    ASSERT_EQ(library.ZLV_copyDIB(dib, &copy), code::kOk);
    EXPECT_EQ(BlockBytes(memory, copy), bytes);

    const std::filesystem::path path = folder / (std::string(kind.name) + ".bmp");
    ASSERT_EQ(library.ZLV_saveDIBToFile(dib, path.c_str()), code::kOk);
    const Bytes file = FileBytes(path);
    EXPECT_EQ(Shown(file, true), expected);
    EXPECT_EQ(Bytes(file.begin() + 14, file.end()), bytes);  // the whole DIB, any profile included

    EXPECT_EQ(Drawn(dib), Drawn(plain));

    if (Filterable(kind)) {
      const Bytes filtered = Filtered(copy);
      EXPECT_EQ(Shown(filtered), Shown(Filtered(plain)));
      EXPECT_EQ(static_cast<std::int32_t>(ReadLE32(filtered.data() + 8)), kind.topDown ? -2 : 2);
      if (kind.profileBytes != 0) {
        EXPECT_TRUE(ProfileIsWhole(filtered, kind.profileBytes));
      }
    }

    ASSERT_EQ(library.ZLV_saveDIBToClipboard(dib), code::kOk);
    EXPECT_EQ(clipboard.GetDib(), bytes);
    EXPECT_FALSE(memory.IsLive(dib));
    memory.Free(copy);
    memory.Free(plain);
  }
  EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(ForeignDibTest, MalformedDibsAreStillRefused) {
  const DibKind malformed[] = {
      {"TopDownShortOfARow", 24, true, gdi::BI_RGB, {}, kHeight, 1},
      {"TopDownTooHigh", 24, true, gdi::BI_RGB, {}, kHeight + 1},
      {"HeightOfNoSign", 24, false, gdi::BI_RGB, {}, INT32_MIN},
      {"Masks32WithAnEmptyMask", 32, false, kBitFields, {0xFF0000, 0, 0xFF}},
      {"Masks32Overlapping", 32, true, kBitFields, {0xFF0000, 0xFFFF00, 0xFF}},
      {"Masks32WithGaps", 32, false, kBitFields, {0xF0F000, 0x0F0F00, 0xFF}},
      {"Masks16PastSixteenBits", 16, false, kBitFields, {0x1F0000, 0x07E0, 0x001F}},
      {"Masks24", 24, false, kBitFields, {0xFF0000, 0xFF00, 0xFF}},
      {.name = "HeaderOf64Bytes", .bits = 24, .topDown = false, .headerSize = 64},
      {.name = "V4UnknownColourSpace", .bits = 24, .topDown = false, .headerSize = kV4, .colourSpace = 0x12345678},
      {.name = "V4NamingAProfileItCannotHold", .bits = 24, .topDown = false, .headerSize = kV4,
       .colourSpace = kProfileEmbedded},
      {.name = "V4Masks32WithAnEmptyMask", .bits = 32, .topDown = false, .compression = kBitFields,
       .masks = {0xFF0000, 0, 0xFF}, .headerSize = kV4},
      {.name = "V5ProfileOverThePixels", .bits = 24, .topDown = false, .headerSize = kV5,
       .colourSpace = kProfileEmbedded, .profileBytes = 16, .profileShift = -8},
      {.name = "V5ProfilePastTheBlock", .bits = 24, .topDown = false, .headerSize = kV5,
       .colourSpace = kProfileEmbedded, .profileBytes = 16, .profileShift = 8},
  };
  clipboard.PutDib(BlockBytes(memory, MakeDib(memory, {"Before", 24, false})));
  const auto before = clipboard.GetDib();
  for (const DibKind& kind : malformed) {
    SCOPED_TRACE(kind.name);
    const MemoryHandle dib = MakeDib(memory, kind);
    const Bytes bytes = BlockBytes(memory, dib);
    ZLV_HDIB copy = nullptr;
    EXPECT_EQ(library.ZLV_copyDIB(dib, &copy), code::kOutOfRange);
    EXPECT_EQ(copy, nullptr);
    const std::filesystem::path path = folder / (std::string(kind.name) + ".bmp");
    EXPECT_EQ(library.ZLV_saveDIBToFile(dib, path.c_str()), code::kOutOfRange);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(Drawn(dib, code::kOutOfRange), Blank());
    if (Filterable(kind)) {
      EXPECT_EQ(Filtered(dib, code::kOutOfRange), bytes);
    }
    EXPECT_EQ(library.ZLV_saveDIBToClipboard(dib), code::kOutOfRange);
    EXPECT_EQ(clipboard.GetDib(), before);
    EXPECT_EQ(BlockBytes(memory, dib), bytes);
  }
  EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(ForeignDibTest, FilteringNeedsMasksOfWholeBytes) {
  // Ten bits a channel: filtering byte by byte would mix the channels.
  const MemoryHandle dib =
      MakeDib(memory, {"Masks32TenBits", 32, false, kBitFields, {0x3FF00000, 0xFFC00, 0x3FF}});
  const Bytes bytes = BlockBytes(memory, dib);
  EXPECT_EQ(Filtered(dib, code::kOutOfRange), bytes);
  ZLV_HDIB copy = nullptr;
  EXPECT_EQ(library.ZLV_copyDIB(dib, &copy), code::kOk);  // a good DIB all the same
  memory.Free(copy);
}

}  // namespace
}  // namespace orvale::melvex
