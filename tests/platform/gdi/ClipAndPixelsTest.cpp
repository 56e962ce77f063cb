#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/ImageDeviceContext.h"
#include "tests/platform/gdi/GdiTestSupport.h"

namespace orvale::gdi {
namespace {

constexpr Color kWhite = 0xFFFFFF;
constexpr Color kBlue = RGB(0, 0, 255);

TEST(ClipTest, SubtractingARegionCutsAHoleOutOfTheClip) {
  ImageDeviceContext dc(20, 20);
  EXPECT_EQ(dc.IntersectClipRect(2, 2, 14, 14), SIMPLEREGION);
  const Point hole[] = {{5, 5}, {10, 5}, {10, 10}, {5, 10}};
  const Region obstruction = Region::FromPolygon(hole, WINDING);
  EXPECT_EQ(dc.ExtSelectClipRgn(&obstruction, RGN_DIFF), COMPLEXREGION);
  Rect box;
  EXPECT_EQ(dc.GetClipBox(box), COMPLEXREGION);
  EXPECT_EQ(box, (Rect{2, 2, 14, 14}));

  dc.FillRect(Rect{0, 0, 20, 20}, CreateSolidBrush(kBlue));
  EXPECT_EQ(dc.GetPixel(3, 3), kBlue);
  EXPECT_EQ(dc.GetPixel(13, 13), kBlue);
  EXPECT_EQ(dc.GetPixel(1, 1), kInvalidColor);  // outside the clip: not readable
  dc.SelectClipRgn(nullptr);
  EXPECT_EQ(dc.GetPixel(1, 1), kWhite);
  EXPECT_EQ(dc.GetPixel(14, 14), kWhite);
  EXPECT_EQ(dc.GetPixel(5, 5), kWhite);   // the hole
  EXPECT_EQ(dc.GetPixel(9, 9), kWhite);
  EXPECT_EQ(dc.GetPixel(10, 7), kBlue);   // right edge of the hole is exclusive
}

TEST(ClipTest, ModesCombineTheClipWithARegion) {
  struct Case {
    int mode;
    std::vector<Point> inside;
    std::vector<Point> outside;
  };
  // Current clip (0,0)-(10,10), region (5,0)-(15,10).
  const std::vector<Case> cases = {
      {RGN_AND, {{6, 1}}, {{1, 1}, {12, 1}}},
      {RGN_OR, {{1, 1}, {6, 1}, {12, 1}}, {{16, 1}}},
      {RGN_XOR, {{1, 1}, {12, 1}}, {{6, 1}}},
      {RGN_DIFF, {{1, 1}}, {{6, 1}, {12, 1}}},
      {RGN_COPY, {{6, 1}, {12, 1}}, {{1, 1}}},
  };
  for (const Case& c : cases) {
    ImageDeviceContext dc(20, 4);
    dc.IntersectClipRect(0, 0, 10, 10);
    const Region region = Region::FromRect(Rect{5, 0, 15, 10});
    dc.ExtSelectClipRgn(&region, c.mode);
    dc.FillRect(Rect{0, 0, 20, 4}, CreateSolidBrush(kBlue));
    dc.SelectClipRgn(nullptr);
    for (const Point p : c.inside) EXPECT_EQ(dc.GetPixel(p.x, p.y), kBlue) << c.mode;
    for (const Point p : c.outside) EXPECT_EQ(dc.GetPixel(p.x, p.y), kWhite) << c.mode;
  }
}

TEST(ClipTest, LinesAndPixelsStopAtTheClip) {
  ImageDeviceContext dc(10, 3);
  dc.IntersectClipRect(3, 0, 6, 3);
  dc.MoveTo(0, 1);
  dc.LineTo(10, 1);
  EXPECT_EQ(dc.SetPixel(1, 0, kBlue), kInvalidColor);
  EXPECT_FALSE(dc.SetPixelV(8, 2, kBlue));
  EXPECT_TRUE(dc.SetPixelV(4, 2, kBlue));
  dc.SelectClipRgn(nullptr);
  EXPECT_EQ(test::PixelsNotOf(dc, kWhite),
            (test::PixelSet{{3, 1}, {4, 1}, {5, 1}, {4, 2}}));
}

TEST(PixelTest, SetPixelIgnoresTheRasterModeAndStaysInsideTheSurface) {
  ImageDeviceContext dc(5, 5);
  dc.SetROP2(R2_XORPEN);
  EXPECT_EQ(dc.SetPixel(2, 2, kBlue), kBlue);
  EXPECT_EQ(dc.SetPixel(2, 2, kBlue), kBlue);
  EXPECT_EQ(dc.GetPixel(2, 2), kBlue);
  EXPECT_EQ(dc.SetPixel(-1, 2, kBlue), kInvalidColor);
  EXPECT_EQ(dc.SetPixel(5, 0, kBlue), kInvalidColor);
  EXPECT_EQ(dc.GetPixel(0, 5), kInvalidColor);
}

TEST(PixelTest, BatchedPixelsAndRowsHonourTheClip) {
  ImageDeviceContext dc(8, 4);
  dc.ExcludeClipRect(0, 0, 2, 4);
  const Point points[] = {{1, 0}, {3, 0}, {7, 3}, {9, 9}, {-1, -1}};
  dc.SetPixels(points, kBlue);
  const Color row[] = {RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3), RGB(4, 4, 4)};
  dc.SetPixelRow(0, 2, row);
  dc.SetPixelRow(6, 1, row);  // runs off the right edge
  dc.SelectClipRgn(nullptr);
  EXPECT_EQ(dc.GetPixel(1, 0), kWhite);
  EXPECT_EQ(dc.GetPixel(3, 0), kBlue);
  EXPECT_EQ(dc.GetPixel(7, 3), kBlue);
  EXPECT_EQ(dc.GetPixel(1, 2), kWhite);
  EXPECT_EQ(dc.GetPixel(2, 2), RGB(3, 3, 3));
  EXPECT_EQ(dc.GetPixel(3, 2), RGB(4, 4, 4));
  EXPECT_EQ(dc.GetPixel(6, 1), RGB(1, 1, 1));
  EXPECT_EQ(dc.GetPixel(7, 1), RGB(2, 2, 2));
}

TEST(PixelTest, InvertRectAndPatBltWorkWithoutASource) {
  ImageDeviceContext dc(6, 6, RGB(0, 255, 0));
  EXPECT_TRUE(dc.InvertRect(Rect{0, 0, 2, 2}));
  EXPECT_EQ(dc.GetPixel(1, 1), RGB(255, 0, 255));
  EXPECT_EQ(dc.GetPixel(2, 2), RGB(0, 255, 0));
  dc.SelectBrush(StockBrush(BLACK_BRUSH));
  EXPECT_TRUE(dc.PatBlt(3, 3, 2, 2, PATCOPY));
  EXPECT_EQ(dc.GetPixel(4, 4), 0x000000u);
  EXPECT_FALSE(dc.PatBlt(0, 0, 2, 2, SRCCOPY));  // needs a source
}

TEST(PixelTest, HatchedBrushLeavesItsGapsOnATransparentBackground) {
  ImageDeviceContext dc(8, 8, kBlue);
  dc.SetBkMode(TRANSPARENT);
  dc.FillRect(Rect{0, 0, 8, 8}, *CreateHatchBrush(HS_HORIZONTAL, 0x000000));
  int black = 0;
  int blue = 0;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) (dc.GetPixel(x, y) == 0 ? black : blue) += 1;
  }
  EXPECT_EQ(black, 8);
  EXPECT_EQ(blue, 56);
}

}  // namespace
}  // namespace orvale::gdi
