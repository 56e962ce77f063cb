#include <gtest/gtest.h>

#include <QImage>
#include <cstring>
#include <vector>

#include "ResultViewTestSupport.h"
#include "app/plots/SFringePicture.h"
#include "platform/gdi/DeviceCaps.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/DrawModes.h"
#include "platform/gdi/ImageDeviceContext.h"

namespace orvale::testing {
namespace {

// A picture whose byte is its column plus 10 times its row.
std::vector<std::uint8_t> Ramp(std::int32_t width, std::int32_t height) {
  std::vector<std::uint8_t> bytes;
  for (std::int32_t y = 0; y < height; ++y)
    for (std::int32_t x = 0; x < width; ++x) bytes.push_back(static_cast<std::uint8_t>(x + 10 * y));
  return bytes;
}

SFringeViewModel ReadyView(std::int32_t width, std::int32_t height) {
  SFringeViewModel view;
  RefreshBitmapFromData(view, Ramp(width, height), width, height);
  view.ImageReady = true;
  return view;
}

TEST(SFringePrintBuffer, IsAGreyBottomUpDibWithRowsPaddedToFourBytes) {
  const SFringeViewModel view = ReadyView(41, 3);
  ASSERT_EQ(view.PrintBuffer.size(), 1064u + 44u * 3u);
  EXPECT_EQ(view.PrintWidth, 41);
  EXPECT_EQ(view.PrintHeight, 3);
  std::size_t offset = 0;
  const auto info = gdi::ReadPackedDib(view.PrintBuffer, offset);
  ASSERT_TRUE(info);
  EXPECT_EQ(offset, 1064u);
  EXPECT_EQ(info->header.biWidth, 41);
  EXPECT_EQ(info->header.biHeight, 3);
  EXPECT_EQ(info->header.biBitCount, 8);
  EXPECT_EQ(info->header.biSizeImage, 0u);
  for (int i : {0, 128, 255}) {
    const auto level = static_cast<std::uint8_t>(i);
    EXPECT_EQ(info->colors[static_cast<std::size_t>(i)], (gdi::RgbQuad{level, level, level, 0}));
  }
  // The top row of the picture is the last row of the bitmap.
  const std::uint8_t* rows = view.PrintBuffer.data() + 1064;
  EXPECT_EQ(rows[2 * 44 + 0], 0);
  EXPECT_EQ(rows[2 * 44 + 40], 40);
  EXPECT_EQ(rows[0 * 44 + 1], 21);
  for (int row = 0; row < 3; ++row)
    for (int pad = 41; pad < 44; ++pad) EXPECT_EQ(rows[row * 44 + pad], 0) << row << " " << pad;
  EXPECT_EQ(view.Picture, Ramp(41, 3));
}

TEST(SFringePrintBuffer, ASizeThatDoesNotFitTheDataLeavesNoOldPictureBehind) {
  SFringeViewModel view = ReadyView(8, 8);
  SetPrintDIBBuffer(view, Ramp(8, 8), 9, 8);
  EXPECT_TRUE(view.PrintBuffer.empty());
  EXPECT_EQ(view.PrintWidth, 0);
}

class PrintImageTest : public ::testing::Test {
 protected:
  ScriptedMessageService messages_;
  ScopedMessageService installed_{messages_};
};

TEST_F(PrintImageTest, ThePictureFitsThePaneCentredWithItsAspectRatio) {
  const SFringeViewModel view = ReadyView(40, 20);
  const struct { std::int32_t l, t, r, b; gdi::Rect dest; } cases[] = {
      {0, 0, 99, 99, {0, 25, 100, 75}},
      {10, 20, 209, 69, {60, 20, 160, 70}},
      {0, 0, 39, 19, {0, 0, 40, 20}},
      {5, 5, 14, 104, {5, 52, 15, 57}},  // 10 wide: 10 x 5, centred in 100 rows
  };
  for (const auto& c : cases) {
    gdi::RecordingDeviceContext dc;
    PrintImage(view, dc, c.l, c.t, c.r, c.b);
    const auto blits = CallsNamed(dc, "StretchDIBits");
    ASSERT_EQ(blits.size(), 1u) << c.l << "," << c.t << "," << c.r << "," << c.b;
    EXPECT_EQ(blits[0].rect, c.dest) << c.l << "," << c.t << "," << c.r << "," << c.b;
    EXPECT_EQ(blits[0].state.stretchMode, gdi::HALFTONE);
    EXPECT_EQ(dc.State().stretchMode, gdi::COLORONCOLOR);
  }
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(PrintImageTest, PrintsTheGreyPicture) {
  SFringeViewModel view;
  RefreshBitmapFromData(view, {0, 255, 128, 64}, 2, 2);
  view.ImageReady = true;
  gdi::ImageDeviceContext dc(100, 100);
  PrintImage(view, dc, 0, 0, 99, 99);
  const QImage& image = dc.Image();
  EXPECT_EQ(qGray(image.pixel(10, 10)), 0);
  EXPECT_EQ(qGray(image.pixel(90, 10)), 255);
  EXPECT_EQ(qGray(image.pixel(10, 90)), 128);
  EXPECT_EQ(QColor(image.pixel(90, 90)), QColor(64, 64, 64));
}

TEST_F(PrintImageTest, TinyAndInvertedPanesPrintNothing) {
  const SFringeViewModel view = ReadyView(40, 20);
  for (const auto& [l, t, r, b] : {std::array{0, 0, 0, 0}, std::array{50, 50, 10, 10},
                                   std::array{0, 0, 99, -5}}) {
    gdi::RecordingDeviceContext dc;
    PrintImage(view, dc, l, t, r, b);
    EXPECT_TRUE(CallsNamed(dc, "StretchDIBits").empty());
    EXPECT_EQ(dc.State().stretchMode, gdi::COLORONCOLOR);
  }
}

TEST_F(PrintImageTest, AViewThatIsNotReadyLeavesThePaneBlank) {
  SFringeViewModel view = ReadyView(40, 20);
  view.ImageReady = false;  // a refill that failed: the old picture must not print
  gdi::RecordingDeviceContext dc;
  PrintImage(view, dc, 0, 0, 99, 99);
  EXPECT_TRUE(dc.Records().empty());
  EXPECT_EQ(dc.State().stretchMode, gdi::COLORONCOLOR);

  SFringeViewModel empty;
  empty.ImageReady = true;
  PrintImage(empty, dc, 0, 0, 99, 99);
  EXPECT_TRUE(dc.Records().empty());
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(PrintImageTest, APrinterWithoutStretchedDibOutputIsWarnedAbout) {
  const SFringeViewModel view = ReadyView(40, 20);
  gdi::DeviceCaps caps = gdi::DisplayCaps(200, 200);
  caps.rasterCaps = gdi::RC_BITBLT | gdi::RC_STRETCHBLT;
  gdi::RecordingDeviceContext dc(caps);
  dc.SetStretchBltMode(gdi::HALFTONE);
  PrintImage(view, dc, 0, 0, 99, 99);
  EXPECT_TRUE(CallsNamed(dc, "StretchDIBits").empty());
  EXPECT_EQ(dc.State().stretchMode, gdi::COLORONCOLOR);
  ASSERT_EQ(messages_.Messages().size(), 1u);
  const auto& shown = messages_.Messages()[0];
  EXPECT_EQ(shown.text, "Cannot print image. Printer does not support StretchDIB");
  EXPECT_EQ(shown.title, "Warning");
  EXPECT_EQ(shown.flags, 48u);
  EXPECT_EQ(shown.owner, kMainWindowOwner);
}

}  // namespace
}  // namespace orvale::testing
