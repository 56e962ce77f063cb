#include <gtest/gtest.h>

#include <QFontInfo>
#include <cstdlib>

#include "platform/gdi/ImageDeviceContext.h"
#include "platform/gdi/QtText.h"
#include "tests/platform/gdi/GdiTestSupport.h"

namespace orvale::gdi {
namespace {

constexpr Color kWhite = 0xFFFFFF;

LogFont Arial(int height, int escapement = 0) {
  LogFont font;
  font.lfHeight = height;
  font.lfEscapement = escapement;
  font.SetFaceName("Arial");
  return font;
}

TEST(FontTest, WindowsFaceNamesResolveToTheLiberationFaces) {
  const std::pair<const char*, const char*> faces[] = {{"Arial", "Liberation Sans"},
                                                       {"Times New Roman", "Liberation Serif"},
                                                       {"Courier New", "Liberation Mono"}};
  for (const auto& [windows, liberation] : faces) {
    LogFont font;
    font.SetFaceName(windows);
    EXPECT_EQ(QFontInfo(ToQFont(font, 96)).family().toStdString(), liberation);
  }
}

TEST(FontTest, FaceNameIsCutToThirtyOneBytes) {
  LogFont font;
  font.SetFaceName(std::string(40, 'x'));
  EXPECT_EQ(font.FaceName().size(), 31u);
  EXPECT_EQ(font.lfFaceName[31], '\0');
}

TEST(TextTest, MetricsAndExtentsAgree) {
  ImageDeviceContext dc(10, 10);
  dc.SelectFont(Arial(-20));
  TextMetrics tm;
  ASSERT_TRUE(dc.GetTextMetrics(tm));
  EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
  EXPECT_GE(tm.tmHeight, 20);
  EXPECT_GT(tm.tmAveCharWidth, 0);
  Size size;
  ASSERT_TRUE(dc.GetTextExtentPoint32("abcdef", size));
  EXPECT_EQ(size.cy, tm.tmHeight);
  Size part;
  dc.GetTextExtentPoint32("abc", part);
  int fit = -1;
  std::vector<int> extents;
  dc.GetTextExtentExPoint("abcdef", part.cx, &fit, &extents, size);
  EXPECT_EQ(fit, 3);
  ASSERT_EQ(extents.size(), 6u);
  EXPECT_EQ(extents[2], part.cx);
  EXPECT_EQ(extents[5], size.cx);
}

// Where the ink of "HHHH" lands for a reference point at (60, 60) with TA_CENTER |
// TA_BOTTOM: centred on the point along the text's own baseline, and on the side of
// the point that is "up" for the turned text.
TEST(TextTest, CentreBottomAlignmentIsReadInTheTurnedTextsFrame) {
  for (const int escapement : {0, 900, 1800, 2700}) {
    ImageDeviceContext dc(120, 120);
    dc.SelectFont(Arial(-20, escapement));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextAlign(TA_CENTER | TA_BOTTOM);
    Size extent;
    dc.GetTextExtentPoint32("HHHH", extent);
    ASSERT_TRUE(dc.TextOut(60, 60, "HHHH"));
    const Rect ink = test::BoundsOf(test::PixelsNotOf(dc, kWhite));
    ASSERT_FALSE(ink.IsEmpty()) << escapement;
    const int alongMid2 = escapement % 1800 == 0 ? ink.left + ink.right : ink.top + ink.bottom;
    EXPECT_LE(std::abs(alongMid2 - 120), 4) << escapement;
    const int along = escapement % 1800 == 0 ? ink.Width() : ink.Height();
    // The ink is the advance width less the side bearings of the first and last letter.
    EXPECT_LE(along, extent.cx) << escapement;
    EXPECT_GE(along, extent.cx - 8) << escapement;
    switch (escapement) {
      case 0: EXPECT_LE(ink.bottom, 60); EXPECT_GE(ink.top, 60 - extent.cy); break;
      case 900: EXPECT_LE(ink.right, 60); EXPECT_GE(ink.left, 60 - extent.cy); break;
      case 1800: EXPECT_GE(ink.top, 60); EXPECT_LE(ink.bottom, 60 + extent.cy); break;
      case 2700: EXPECT_GE(ink.left, 60); EXPECT_LE(ink.right, 60 + extent.cy); break;
    }
  }
}

TEST(TextTest, OpaqueBackgroundFillsTheTextCell) {
  ImageDeviceContext dc(100, 40);
  dc.SelectFont(Arial(-16));
  dc.SetBkColor(RGB(0, 0, 255));
  dc.SetBkMode(OPAQUE);
  dc.SetTextAlign(TA_LEFT | TA_TOP);
  dc.TextOut(10, 5, "Hi");
  Size extent;
  dc.GetTextExtentPoint32("Hi", extent);
  EXPECT_EQ(test::BoundsOf(test::PixelsNotOf(dc, kWhite)),
            (Rect{10, 5, 10 + extent.cx, 5 + extent.cy}));
}

TEST(TextTest, TabbedTextJumpsToTheStops) {
  ImageDeviceContext dc(300, 30);
  dc.SelectFont(Arial(-12));
  dc.SetBkMode(TRANSPARENT);
  const int stops[] = {100, 200};
  const Size size = dc.TabbedTextOut(10, 5, "a\tb\tc", stops, 10);
  Size c;
  dc.GetTextExtentPoint32("c", c);
  EXPECT_EQ(size.cx, 200 + c.cx);
  bool inkNearSecondStop = false;
  for (int y = 0; y < 30; ++y) inkNearSecondStop |= dc.GetPixel(211, y) != kWhite || dc.GetPixel(212, y) != kWhite;
  EXPECT_TRUE(inkNearSecondStop);
}

}  // namespace
}  // namespace orvale::gdi
