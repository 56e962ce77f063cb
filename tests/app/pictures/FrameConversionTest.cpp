#include <gtest/gtest.h>

#include <vector>

#include "app/pictures/FrameConversion.h"
#include "platform/ui/MessageService.h"

namespace orvale {
namespace {

// A grabber frame: header, for 8 bits a palette area, then `rows` as stored.
std::vector<std::uint8_t> Frame(std::int32_t width, std::int32_t height, int bitCount,
                                const std::vector<std::uint8_t>& rows) {
  std::vector<std::uint8_t> frame(40, 0);
  const auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) frame[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  put32(0, 40);
  put32(4, static_cast<std::uint32_t>(width));
  put32(8, static_cast<std::uint32_t>(height));
  frame[12] = 1;
  frame[14] = static_cast<std::uint8_t>(bitCount);
  if (bitCount == 8) {
    // A palette that must not be looked at.
    for (int i = 0; i < 256; ++i) frame.insert(frame.end(), {0, 0, 255, 0});
  }
  frame.insert(frame.end(), rows.begin(), rows.end());
  return frame;
}

class FrameConversionTest : public ::testing::Test {
 protected:
  ScriptedMessageService messages_;
  ScopedMessageService installed_{messages_};
};

TEST_F(FrameConversionTest, EightBitRowsAreCopiedAndTurnedTopDown) {
  // 3 wide: stride 4; stored bottom row first.
  const auto frame = Frame(3, 2, 8, {4, 5, 6, 0, 1, 2, 3, 0});
  std::vector<std::uint8_t> data(6);
  ASSERT_TRUE(DIBToImageData(frame, data));
  EXPECT_EQ(data, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));
}

TEST_F(FrameConversionTest, TwentyFourBitPixelsDropTheRemainder) {
  // 2 wide: 6 bytes + 2 padding per row. (1,1,0) sums to 2 and gives 0.
  const auto frame = Frame(2, 1, 24, {1, 1, 0, 30, 20, 11, 0, 0});
  std::vector<std::uint8_t> data(2);
  ASSERT_TRUE(DIBToImageData(frame, data));
  EXPECT_EQ(data, (std::vector<std::uint8_t>{0, 20}));
}

TEST_F(FrameConversionTest, ANegativeHeightIsATopDownFrame) {
  std::vector<std::uint8_t> data(6);
  ASSERT_TRUE(DIBToImageData(Frame(3, -2, 8, {1, 2, 3, 0, 4, 5, 6, 0}), data));
  EXPECT_EQ(data, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));
  ASSERT_TRUE(DIBToImageData(Frame(3, -2, 24, {3, 3, 3, 6, 6, 6, 9, 9, 9, 0, 0, 0,
                                                1, 1, 1, 4, 4, 4, 7, 7, 7, 0, 0, 0}),
                             data));
  EXPECT_EQ(data, (std::vector<std::uint8_t>{3, 6, 9, 1, 4, 7}));
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(FrameConversionTest, RefusesFramesItCannotConvertSafely) {
  const std::string unsupported = "Cannot convert DIB, unsupported format";
  const std::string mismatch = "Cannot convert DIB, the frame does not match its header";
  struct Case {
    const char* name;
    std::vector<std::uint8_t> frame;
    std::size_t dataSize;
    std::string message;
  };
  auto noPalette = Frame(2, 1, 24, {1, 2, 3, 4});
  noPalette[14] = 8;
  const Case cases[] = {
      {"16 bits", Frame(2, 1, 16, {0, 0, 0, 0}), 2, unsupported},
      {"32 bits", Frame(1, 1, 32, {0, 0, 0, 0}), 1, unsupported},
      {"shorter than a header", std::vector<std::uint8_t>(20, 0), 1, mismatch},
      {"more rows than the frame holds", Frame(3, 100, 8, {1, 2, 3, 0}), 300, mismatch},
      {"huge height", Frame(3, -2147483647, 24, std::vector<std::uint8_t>(12, 0)), 3, mismatch},
      {"huge width", Frame(2147483647, 1, 8, {1, 2, 3, 0}), 4, mismatch},
      {"8 bits without its palette area", noPalette, 2, mismatch},
      {"zero width", Frame(0, 1, 8, {1, 2, 3, 0}), 0, mismatch},
      {"zero height", Frame(4, 0, 8, {1, 2, 3, 0}), 0, mismatch},
      {"buffer of another size", Frame(3, 1, 8, {1, 2, 3, 0}), 4, mismatch},
  };
  for (const Case& c : cases) {
    messages_.Clear();
    std::vector<std::uint8_t> data(c.dataSize, 77);
    const auto before = data;
    EXPECT_FALSE(DIBToImageData(c.frame, data)) << c.name;
    EXPECT_EQ(data, before) << c.name;
    ASSERT_EQ(messages_.Messages().size(), 1u) << c.name;
    EXPECT_EQ(messages_.Messages()[0].text, c.message) << c.name;
    EXPECT_EQ(messages_.Messages()[0].title, "Error - Orvale") << c.name;
  }
}

}  // namespace
}  // namespace orvale
