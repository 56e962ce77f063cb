// The BMP reader and writer.
#include <gtest/gtest.h>

#include <map>

#include "ImageFixtures.h"
#include "cards/korrin/image/BmpFile.h"

namespace orvale::korrin {
namespace {

using test::BmpFields;
using test::Bytes;
using test::MakeBmp;

struct Decoded {
  bool ok = false;
  std::map<int, Bytes> rows;
  Palette palette = GreyRamp();
};

Decoded Decode(const Bytes& file) {
  Decoded d;
  ByteInput in(file);
  const auto info = ReadBmpInfo(in);
  if (!info) return d;
  const std::size_t rowBytes = static_cast<std::size_t>(info->width) * (info->bits / 8);
  d.ok = ReadBmpImage(in, d.palette, [&](int row, const std::uint8_t* p) {
    EXPECT_TRUE(row >= 0 && row < info->height);
    d.rows[row] = Bytes(p, p + rowBytes);
  });
  return d;
}

Bytes Text(const StringTextOutput& out) { return Bytes(out.Text().begin(), out.Text().end()); }

TEST(BmpFileTest, EightAndTwentyFourBitFilesRoundTrip) {
  for (int bits : {8, 24}) {
    SCOPED_TRACE(bits);
    Palette palette = GreyRamp();
    palette[3] = 0x11;
    StringTextOutput out;
    const int bpp = bits / 8;
    ASSERT_TRUE(WriteBmp(out, 4, 3, bits, palette, [&](int row, std::uint8_t* p) {
      for (int i = 0; i < 4 * bpp; ++i) p[i] = static_cast<std::uint8_t>(row * 16 + i);
      return true;
    }));
    const Bytes file = Text(out);
    EXPECT_EQ(file.size(), (bits == 8 ? 1078u : 54u) + 3 * 4 * bpp);
    const Decoded d = Decode(file);
    ASSERT_TRUE(d.ok);
    for (int row = 0; row < 3; ++row) {
      for (int i = 0; i < 4 * bpp; ++i) EXPECT_EQ(d.rows.at(row)[i], row * 16 + i);
    }
    if (bits == 8) {
      EXPECT_EQ(d.palette[3], 0x11);
    }
  }
}

TEST(BmpFileTest, WriterRoundsTheWidthDownToFour) {
  StringTextOutput out;
  ASSERT_TRUE(WriteBmp(out, 6, 1, 24, GreyRamp(), [](int, std::uint8_t* p) {
    for (int i = 0; i < 18; ++i) p[i] = static_cast<std::uint8_t>(i);
    return true;
  }));
  const Bytes file = Text(out);
  EXPECT_EQ(file[18], 4);
  EXPECT_EQ(file.size(), 54u + 12);
  EXPECT_EQ(file.back(), 11);
  StringTextOutput none;
  EXPECT_FALSE(WriteBmp(none, 3, 1, 24, GreyRamp(), [](int, std::uint8_t*) { return true; }));
  EXPECT_FALSE(WriteBmp(none, 8, 1, 16, GreyRamp(), [](int, std::uint8_t*) { return true; }));
  EXPECT_TRUE(none.Text().empty());
}

TEST(BmpFileTest, HeadersTheReaderRefuses) {
  struct Row {
    const char* name;
    BmpFields fields;
  };
  const Row rows[] = {
      {"300 used colours", {.bits = 8, .coloursUsed = 300, .table = Bytes(1200), .pixels = Bytes(8)}},
      {"negative height", {.height = -2, .pixels = Bytes(24)}},
      {"zero width", {.width = 0, .pixels = Bytes(24)}},
      {"compressed", {.compression = 1, .pixels = Bytes(24)}},
      {"two planes", {.planes = 2, .pixels = Bytes(24)}},
      {"16 bits", {.bits = 16, .pixels = Bytes(16)}},
  };
  for (const auto& row : rows) {
    const Bytes file = MakeBmp(row.fields);
    ByteInput in(file);
    EXPECT_FALSE(ReadBmpInfo(in)) << row.name;
  }
}

TEST(BmpFileTest, TruncatedFilesAndOffsetsPastTheEndFail) {
  Bytes file = MakeBmp({.pixels = Bytes(24, 1)});
  file.resize(file.size() - 1);
  EXPECT_FALSE(Decode(file).ok);
  Bytes farOffset = MakeBmp({.pixels = Bytes(24, 1)});
  farOffset[10] = 0x88;
  farOffset[11] = 0x13;  // pixels said to start at 5000
  EXPECT_FALSE(Decode(farOffset).ok);
  EXPECT_FALSE(Decode(MakeBmp({.bits = 8, .table = Bytes(40), .pixels = Bytes(8)})).ok)
      << "palette cut short";
}

TEST(BmpFileTest, TheStatedPixelOffsetIsHonoured) {
  // A 24-bit file carrying a two-entry colour table before its pixels.
  BmpFields fields{.width = 1, .height = 1, .coloursUsed = 2, .table = Bytes(8, 0x55), .pixelOffset = 70,
               .pixels = {1, 2, 3, 0}};
  const Decoded d = Decode(MakeBmp(fields));
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.rows.at(0), (Bytes{1, 2, 3}));
  // An 8-bit file with a short table; an offset inside the headers is not used.
  BmpFields eight{.width = 4, .height = 1, .bits = 8, .coloursUsed = 2,
                .table = {10, 20, 30, 0, 40, 50, 60, 0}, .pixelOffset = 20, .pixels = {1, 0, 1, 0}};
  const Decoded e = Decode(MakeBmp(eight));
  ASSERT_TRUE(e.ok);
  EXPECT_EQ(e.rows.at(0), (Bytes{1, 0, 1, 0}));
  EXPECT_EQ((Bytes{e.palette[3], e.palette[4], e.palette[5]}), (Bytes{40, 50, 60}));
  EXPECT_EQ(e.palette[6], 2) << "entries past the used colours stay grey";
}

TEST(BmpFileTest, RowsAreStoredBottomUp) {
  const Decoded d = Decode(MakeBmp({.width = 1, .height = 2, .pixels = {1, 1, 1, 0, 2, 2, 2, 0}}));
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.rows.at(1), (Bytes{1, 1, 1}));
  EXPECT_EQ(d.rows.at(0), (Bytes{2, 2, 2}));
}

TEST(BmpFileTest, TooWideToLoadButDescribed) {
  const Bytes file = MakeBmp({.width = 1025, .height = 1, .pixels = Bytes(3076)});
  ByteInput in(file);
  ASSERT_TRUE(ReadBmpInfo(in));
  EXPECT_EQ(ReadBmpInfo(in)->width, 1025);
  Palette palette = GreyRamp();
  EXPECT_FALSE(ReadBmpImage(in, palette, [](int, const std::uint8_t*) {}));
}

}  // namespace
}  // namespace orvale::korrin
