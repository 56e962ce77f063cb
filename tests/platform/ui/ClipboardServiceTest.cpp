#include <gtest/gtest.h>

#include <ostream>

#include "platform/ui/ClipboardService.h"
#include "tests/platform/ui/DibFixture.h"

namespace orvale {
namespace {

using testing::DibFields;
using testing::MakePackedDib;

struct DibCase {
  const char* name;
  DibFields fields;
  std::ptrdiff_t sizeChange;  // bytes added to (or cut from) the end
  bool whole;
  std::size_t bitsOffset;
  friend void PrintTo(const DibCase& c, std::ostream* out) { *out << c.name; }
};

class WholeDibTest : public ::testing::TestWithParam<DibCase> {};

TEST_P(WholeDibTest, TakesOnlyDibsWhoseHeaderTableAndRowsAreAllThere) {
  const DibCase& c = GetParam();
  std::vector<std::uint8_t> dib = MakePackedDib(c.fields);
  dib.resize(static_cast<std::size_t>(static_cast<std::ptrdiff_t>(dib.size()) + c.sizeChange));
  std::size_t offset = 0;
  EXPECT_EQ(IsWholePackedDib(dib, offset), c.whole);
  if (c.whole) {
    EXPECT_EQ(offset, c.bitsOffset);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WholeDibTest,
    ::testing::Values(
        DibCase{"8-bit grey", {4, 3, 8, 0, 0, 256}, 0, true, 1064},
        DibCase{"8-bit with 16 colours used", {4, 3, 8, 0, 16, 16}, 0, true, 104},
        DibCase{"24-bit", {3, 2, 24, 0, 0, 0}, 0, true, 40},
        DibCase{"24-bit top-down", {3, -2, 24, 0, 0, 0}, 0, true, 40},
        DibCase{"32-bit", {3, 2, 32, 0, 0, 0}, 0, true, 40},
        DibCase{"16-bit masks after the header", {5, 2, 16, 3, 0, 3}, 0, true, 52},
        DibCase{"16-bit masks counted as colours", {5, 2, 16, 3, 3, 3}, 0, true, 52},
        DibCase{"4-bit", {5, 2, 4, 0, 0, 16}, 0, true, 104},
        DibCase{"last row cut short", {3, 2, 24, 0, 0, 0}, -1, false, 0},
        DibCase{"table cut short", {4, 3, 8, 0, 0, 256}, -100, false, 0},
        DibCase{"more colours than 8 bits have", {4, 3, 8, 0, 300, 300}, 0, false, 0},
        DibCase{"width 0", {0, 2, 24, 0, 0, 0}, 8, false, 0},
        DibCase{"height 0", {3, 0, 24, 0, 0, 0}, 8, false, 0},
        DibCase{"12 bits per pixel", {3, 2, 12, 0, 0, 0}, 0, false, 0},
        DibCase{"run-length encoded", {4, 3, 8, 1, 0, 256}, 0, false, 0},
        DibCase{"bit fields on 24 bits", {3, 2, 24, 3, 0, 3}, 0, false, 0}));

TEST(WholeDibTest, HeaderTooShortIsRefused) {
  std::vector<std::uint8_t> dib = MakePackedDib({});
  std::size_t offset = 0;
  EXPECT_FALSE(IsWholePackedDib(std::span(dib).first(39), offset));
  dib[0] = 20;  // a header size below 40
  EXPECT_FALSE(IsWholePackedDib(dib, offset));
}

TEST(MemoryClipboardTest, HoldsTheLastImageAndKeepsItWhenAPutFails) {
  MemoryClipboard clipboard;
  EXPECT_FALSE(clipboard.GetDib());
  const std::vector<std::uint8_t> grey = MakePackedDib({4, 3, 8, 0, 0, 256});
  const std::vector<gdi::PaletteEntry> palette = {{1, 2, 3, gdi::PC_NOCOLLAPSE}, {4, 5, 6, 0}};
  ASSERT_TRUE(clipboard.PutDib(grey, palette));
  EXPECT_EQ(clipboard.GetDib(), grey);
  EXPECT_EQ(clipboard.GetPalette(), palette);

  std::vector<std::uint8_t> broken = MakePackedDib({});
  broken.pop_back();
  EXPECT_FALSE(clipboard.PutDib(broken));
  clipboard.SetAvailable(false);
  EXPECT_FALSE(clipboard.PutDib(MakePackedDib({})));
  EXPECT_EQ(clipboard.GetDib(), grey);
  EXPECT_EQ(clipboard.GetPalette(), palette);

  clipboard.SetAvailable(true);
  const std::vector<std::uint8_t> colour = MakePackedDib({});
  ASSERT_TRUE(clipboard.PutDib(colour));
  EXPECT_EQ(clipboard.GetDib(), colour);
  EXPECT_TRUE(clipboard.GetPalette().empty());
}

}  // namespace
}  // namespace orvale
