// The TGA reader and writer.
#include <gtest/gtest.h>

#include <map>

#include "ImageFixtures.h"
#include "cards/korrin/image/TgaFile.h"

namespace orvale::korrin {
namespace {

using test::Bytes;
using test::MakeTga;
using test::TgaFields;

struct Decoded {
  bool ok = false;
  std::map<int, Bytes> rows;  // by row number
  Palette palette = GreyRamp();
  int width = 0;
  int bits = 0;
};

Decoded Decode(const Bytes& file) {
  Decoded d;
  ByteInput in(file);
  const auto info = ReadTgaInfo(in);
  if (!info) return d;
  d.width = info->width;
  d.bits = info->bits;
  const std::size_t rowBytes = static_cast<std::size_t>(info->width) * BytesPerPixel(info->bits == 8 ? 8 : info->bits);
  d.ok = ReadTgaImage(in, d.palette, [&](int row, const std::uint8_t* p) {
    EXPECT_TRUE(row >= 0 && row < info->height) << row;
    EXPECT_EQ(d.rows.count(row), 0u) << "row " << row << " twice";
    d.rows[row] = Bytes(p, p + rowBytes);
  });
  return d;
}

TEST(TgaFileTest, UncompressedTypesAndDepths) {
  struct Row {
    const char* name;
    TgaFields fields;
    int bits;
    Bytes row0;
  };
  TgaFields mapped{.type = 1, .width = 2, .height = 1, .depth = 8, .mapType = 1, .mapLength = 2,
                 .mapEntryBits = 24, .map = {1, 2, 3, 4, 5, 6}, .pixels = {1, 0}};
  TgaFields mapped15 = mapped;
  mapped15.mapEntryBits = 15;
  mapped15.map = {0x1F, 0x00, 0x00, 0x7C};
  const Row rows[] = {
      {"type 2, 24 bits", {.width = 1, .height = 1, .pixels = {1, 2, 3}}, 24, {1, 2, 3}},
      {"type 2, 32 bits", {.width = 1, .height = 1, .depth = 32, .pixels = {1, 2, 3, 4}}, 32, {1, 2, 3, 4}},
      {"type 2, 16 bits top-left", {.width = 1, .height = 1, .depth = 16, .pixels = {0x34, 0x12}}, 16, {0x34, 0x12}},
      {"type 2, 16 bits with attribute", {.width = 1, .height = 1, .depth = 16, .descriptor = 0x21, .pixels = {1, 0}}, 15, {1, 0}},
      {"type 2, 16 bits bottom-up", {.width = 1, .height = 1, .depth = 16, .descriptor = 0, .pixels = {1, 0}}, 15, {1, 0}},
      {"type 2, 15 bits", {.width = 1, .height = 1, .depth = 15, .pixels = {1, 0}}, 15, {1, 0}},
      {"type 3 grey", {.type = 3, .width = 2, .height = 1, .depth = 8, .pixels = {9, 200}}, 8, {9, 200}},
      {"type 1 colour-mapped", mapped, 8, {1, 0}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const Decoded d = Decode(MakeTga(row.fields));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.bits, row.bits);
    EXPECT_EQ(d.rows.at(0), row.row0);
  }
  const Decoded m = Decode(MakeTga(mapped));
  EXPECT_EQ((Bytes{m.palette[3], m.palette[4], m.palette[5]}), (Bytes{4, 5, 6}));
  const Decoded m15 = Decode(MakeTga(mapped15));
  EXPECT_EQ((Bytes{m15.palette[3], m15.palette[4], m15.palette[5]}), (Bytes{0, 0, 255}));
}

TEST(TgaFileTest, RowsComeBottomUpUnlessTheOriginIsTopLeft) {
  TgaFields fields{.width = 1, .height = 2, .descriptor = 0, .pixels = {1, 1, 1, 2, 2, 2}};
  EXPECT_EQ(Decode(MakeTga(fields)).rows.at(1), (Bytes{1, 1, 1}));
  fields.descriptor = 0x20;
  EXPECT_EQ(Decode(MakeTga(fields)).rows.at(0), (Bytes{1, 1, 1}));
}

TEST(TgaFileTest, RunLengthPacketsCrossRowsAndStopAtTheEnd) {
  // 3 x 2 grey: a run of 4 crosses into row 1, then raw 2 pixels.
  TgaFields fields{.type = 11, .width = 3, .height = 2, .depth = 8, .pixels = {0x83, 7, 0x01, 8, 9}};
  Decoded d = Decode(MakeTga(fields));
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.rows.at(0), (Bytes{7, 7, 7}));
  EXPECT_EQ(d.rows.at(1), (Bytes{7, 8, 9}));
  // A run longer than the image stops at its end.
  fields.pixels = {0xFF, 5};
  d = Decode(MakeTga(fields));
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.rows.at(1), (Bytes{5, 5, 5}));
  // Colour true-colour RLE.
  TgaFields colour{.type = 10, .width = 2, .height = 1, .pixels = {0x81, 1, 2, 3}};
  EXPECT_EQ(Decode(MakeTga(colour)).rows.at(0), (Bytes{1, 2, 3, 1, 2, 3}));
}

TEST(TgaFileTest, AFileThatEndsEarlyFails) {
  TgaFields raw{.width = 2, .height = 2, .pixels = Bytes(11, 1)};
  EXPECT_FALSE(Decode(MakeTga(raw)).ok);
  TgaFields rle{.type = 10, .width = 2, .height = 2, .pixels = {0x01, 1, 2, 3}};
  EXPECT_FALSE(Decode(MakeTga(rle)).ok);
  Bytes header = MakeTga({});
  header.resize(10);
  ByteInput in(header);
  EXPECT_FALSE(ReadTgaInfo(in));
}

TEST(TgaFileTest, LongColourMapsKeep256Entries) {
  TgaFields fields{.type = 1, .width = 1, .height = 1, .depth = 8, .mapType = 1, .mapLength = 300,
               .mapEntryBits = 24};
  for (int i = 0; i < 300; ++i) fields.map.insert(fields.map.end(), {std::uint8_t(i), 0, 0});
  fields.pixels = {42};
  const Decoded d = Decode(MakeTga(fields));
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.palette[255 * 3], 255);
  EXPECT_EQ(d.rows.at(0), (Bytes{42}));
}

TEST(TgaFileTest, AColourMapOnATrueColourImageIsSkipped) {
  TgaFields fields{.width = 1, .height = 1, .mapType = 1, .mapLength = 2, .mapEntryBits = 24,
               .map = {9, 9, 9, 9, 9, 9}, .pixels = {1, 2, 3}};
  fields.id = "hello";
  const Decoded d = Decode(MakeTga(fields));
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.rows.at(0), (Bytes{1, 2, 3}));
  EXPECT_EQ(d.palette[0], 0) << "the palette is untouched";
}

TEST(TgaFileTest, HeadersTheReaderRefuses) {
  const TgaFields rows[] = {
      {.type = 4},
      {.depth = 12},
      {.width = 0},
      {.type = 1, .depth = 16, .mapType = 1, .mapLength = 1, .mapEntryBits = 24},
      {.type = 1, .depth = 8, .mapType = 1, .mapLength = 1, .mapEntryBits = 8},
      {.type = 9, .depth = 8, .mapType = 0},
  };
  for (const auto& fields : rows) {
    Bytes file = MakeTga(fields);
    file.resize(file.size() + 64);
    ByteInput in(file);
    EXPECT_FALSE(ReadTgaInfo(in)) << "type " << fields.type << " depth " << fields.depth;
  }
}

TEST(TgaFileTest, TooWideToLoadButDescribed) {
  const Bytes file = MakeTga({.width = 1025, .height = 1, .pixels = Bytes(1025 * 3)});
  ByteInput in(file);
  const auto info = ReadTgaInfo(in);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->width, 1025);
  EXPECT_EQ(info->extra, 2);
  Palette palette = GreyRamp();
  EXPECT_FALSE(ReadTgaImage(in, palette, [](int, const std::uint8_t*) { FAIL(); }));
}

class FailingOutput final : public TextOutput {
 public:
  explicit FailingOutput(std::size_t budget) : budget_(budget) {}
  bool Write(std::string_view text, RunError&) override {
    if (text.size() > budget_) return false;
    budget_ -= text.size();
    return true;
  }

 private:
  std::size_t budget_;
};

TEST(TgaFileTest, WriterHeaderExtensionAndFooter) {
  StringTextOutput out;
  ASSERT_TRUE(WriteTga(out, 2, 1, 15, [](int, std::uint8_t* p) {
    p[0] = 1, p[1] = 2, p[2] = 3, p[3] = 4;
    return true;
  }));
  const std::string& f = out.Text();
  ASSERT_EQ(f.size(), 18u + 4 + 495 + 26);
  const Bytes header(f.begin(), f.begin() + 18);
  EXPECT_EQ(header, (Bytes{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, 0, 16, 0x21}));
  const std::string extension = f.substr(22, 495);
  EXPECT_EQ(static_cast<std::uint8_t>(extension[0]) | (static_cast<std::uint8_t>(extension[1]) << 8), 495);
  EXPECT_EQ(extension.substr(426, 7), std::string("KRVLIB\0", 7));
  EXPECT_EQ(extension[467], 100);
  EXPECT_EQ(extension[469], ' ');
  EXPECT_EQ(extension[478], 100);
  EXPECT_EQ(extension[480], 100);
  const std::string footer = f.substr(f.size() - 26);
  EXPECT_EQ(static_cast<std::uint8_t>(footer[0]), 22);
  EXPECT_EQ(footer.substr(4, 4), std::string(4, '\0'));
  EXPECT_EQ(footer.substr(8), std::string("TRUEVISION-XFILE.\0", 18));
}

TEST(TgaFileTest, WrittenFilesReadBackAtEveryDepth) {
  for (int bits : {8, 15, 16, 24, 32}) {
    SCOPED_TRACE(bits);
    const int bpp = BytesPerPixel(bits);
    StringTextOutput out;
    ASSERT_TRUE(WriteTga(out, 3, 2, bits, [&](int row, std::uint8_t* p) {
      for (int i = 0; i < 3 * bpp; ++i) p[i] = static_cast<std::uint8_t>(row * 50 + i);
      return true;
    }));
    const Bytes file(out.Text().begin(), out.Text().end());
    const Decoded d = Decode(file);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.bits, bits == 16 ? 16 : bits);
    for (int row = 0; row < 2; ++row) {
      for (int i = 0; i < 3 * bpp; ++i) EXPECT_EQ(d.rows.at(row)[i], row * 50 + i);
    }
  }
}

TEST(TgaFileTest, AShortWriteFails) {
  FailingOutput out(100);
  EXPECT_FALSE(WriteTga(out, 8, 8, 24, [](int, std::uint8_t*) { return true; }));
  StringTextOutput ok;
  EXPECT_FALSE(WriteTga(ok, 0, 8, 24, [](int, std::uint8_t*) { return true; }));
  EXPECT_FALSE(WriteTga(ok, 8, 8, 12, [](int, std::uint8_t*) { return true; }));
}

}  // namespace
}  // namespace orvale::korrin
