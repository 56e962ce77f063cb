#include <gtest/gtest.h>

#include <QImage>
#include <vector>

#include "platform/gdi/ImageDeviceContext.h"
#include "platform/gdi/LineWalk.h"
#include "tests/platform/gdi/GdiTestSupport.h"

namespace orvale::gdi {
namespace {

using test::PixelSet;
using test::PixelsNotOf;

constexpr Color kWhite = 0xFFFFFF;
constexpr Color kBlack = 0x000000;
constexpr Color kRed = RGB(255, 0, 0);

struct LineCase {
  Point from;
  Point to;
  PixelSet pixels;
};

TEST(LineToTest, SetsTheWalkPixelsAndLeavesOutTheEndPixel) {
  const std::vector<LineCase> cases = {
      {{1, 1}, {6, 1}, {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}}},
      {{6, 4}, {6, 1}, {{6, 4}, {6, 3}, {6, 2}}},
      {{0, 0}, {4, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
      {{2, 7}, {0, 1}, {{2, 7}, {2, 6}, {1, 5}, {1, 4}, {1, 3}, {0, 2}}},
      {{3, 3}, {3, 3}, {}},
  };
  for (const LineCase& c : cases) {
    ImageDeviceContext dc(10, 10);
    dc.MoveTo(c.from.x, c.from.y);
    dc.LineTo(c.to.x, c.to.y);
    EXPECT_EQ(PixelsNotOf(dc, kWhite), c.pixels) << c.from.x << "," << c.from.y;
    EXPECT_EQ(dc.GetCurrentPosition(), c.to);
  }
}

TEST(LineToTest, LineDdaVisitsTheSamePointsThatLineToDraws) {
  ImageDeviceContext dc(40, 40);
  dc.MoveTo(3, 35);
  dc.LineTo(31, 4);
  PixelSet visited;
  LineDDA(3, 35, 31, 4, [&](int x, int y) { visited.insert({x, y}); });
  EXPECT_EQ(PixelsNotOf(dc, kWhite), visited);
}

TEST(LineToTest, PolylineDrawsEachJointOnceSoXorKeepsThem) {
  ImageDeviceContext dc(12, 12);
  dc.SelectPen(StockPen(WHITE_PEN));
  dc.SetROP2(R2_XORPEN);
  const Point points[] = {{1, 1}, {8, 1}, {8, 8}, {1, 8}};
  dc.Polyline(points);
  // White XOR white gives black on every pixel drawn once; a joint drawn twice would
  // come back white.
  const PixelSet drawn = PixelsNotOf(dc, kWhite);
  EXPECT_TRUE(drawn.count({8, 1}));
  EXPECT_TRUE(drawn.count({8, 8}));
  EXPECT_FALSE(drawn.count({1, 8}));  // the end point
  EXPECT_EQ(drawn.size(), 7u + 7u + 7u);
}

TEST(RasterModeTest, XorTwiceRestoresThePictureExactly) {
  ImageDeviceContext dc(40, 30);
  test::PaintTestPattern(dc);
  const QImage before = dc.Image().copy();
  dc.SetROP2(R2_XORPEN);
  dc.SelectBrush(CreateSolidBrush(RGB(90, 20, 200)));
  const Point triangle[] = {{5, 25}, {20, 2}, {35, 27}};
  auto drawAll = [&] {
    dc.SelectPen(*CreatePen(PS_SOLID, 1, RGB(255, 128, 7)));
    dc.MoveTo(0, 0);
    dc.LineTo(39, 29);
    dc.Rectangle(3, 4, 17, 15);
    dc.Ellipse(10, 8, 33, 26);
    dc.Polygon(triangle);
    dc.SelectPen(*CreatePen(PS_DOT, 1, RGB(0, 255, 0)));
    dc.MoveTo(0, 20);
    dc.LineTo(39, 20);
    dc.SelectPen(*CreatePen(PS_SOLID, 3, RGB(9, 9, 250)));
    dc.MoveTo(2, 28);
    dc.LineTo(37, 3);
  };
  drawAll();
  EXPECT_NE(dc.Image(), before);
  drawAll();
  EXPECT_EQ(dc.Image(), before);
}

TEST(RasterModeTest, NotInvertsTheDestinationWhateverThePenColour) {
  ImageDeviceContext dc(8, 4, RGB(10, 20, 30));
  dc.SelectPen(StockPen(BLACK_PEN));
  dc.SetROP2(R2_NOT);
  dc.MoveTo(0, 1);
  dc.LineTo(4, 1);
  EXPECT_EQ(dc.GetPixel(0, 1), RGB(245, 235, 225));
  EXPECT_EQ(dc.GetPixel(3, 1), RGB(245, 235, 225));
  EXPECT_EQ(dc.GetPixel(4, 1), RGB(10, 20, 30));
}

TEST(RasterModeTest, NotXorPenAndCopyPenCombineAsTheirTruthTables) {
  ImageDeviceContext dc(4, 4, RGB(0x0F, 0xF0, 0x55));
  dc.SelectPen(StockPen(WHITE_PEN));
  EXPECT_EQ(dc.SetROP2(R2_NOTXORPEN), R2_COPYPEN);
  dc.MoveTo(0, 0);
  dc.LineTo(1, 0);
  EXPECT_EQ(dc.GetPixel(0, 0), RGB(0x0F, 0xF0, 0x55));  // not (white xor d) = d
  EXPECT_EQ(dc.SetROP2(99), 0);                        // unknown mode: unchanged
  EXPECT_EQ(dc.GetROP2(), R2_NOTXORPEN);
}

TEST(ShapeTest, RectangleLeavesOutTheRightAndBottomEdges) {
  ImageDeviceContext dc(12, 12);
  dc.SelectBrush(CreateSolidBrush(kRed));
  dc.Rectangle(2, 3, 8, 7);
  const PixelSet drawn = PixelsNotOf(dc, kWhite);
  EXPECT_EQ(test::BoundsOf(drawn), (Rect{2, 3, 8, 7}));
  EXPECT_EQ(drawn.size(), 24u);
  for (int x = 2; x < 8; ++x) {
    EXPECT_EQ(dc.GetPixel(x, 3), kBlack);
    EXPECT_EQ(dc.GetPixel(x, 6), kBlack);
  }
  EXPECT_EQ(dc.GetPixel(2, 5), kBlack);
  EXPECT_EQ(dc.GetPixel(7, 5), kBlack);
  EXPECT_EQ(dc.GetPixel(3, 4), kRed);
  EXPECT_EQ(dc.GetPixel(6, 5), kRed);
}

TEST(ShapeTest, RectangleWithoutPenFillsOnePixelShort) {
  ImageDeviceContext dc(12, 12);
  dc.SelectPen(StockPen(NULL_PEN));
  dc.SelectBrush(CreateSolidBrush(kRed));
  dc.Rectangle(2, 3, 8, 7);
  EXPECT_EQ(test::BoundsOf(PixelsNotOf(dc, kWhite)), (Rect{2, 3, 7, 6}));
}

TEST(ShapeTest, EllipseStaysInsideItsBoxAndTouchesEveryEdge) {
  ImageDeviceContext dc(20, 20);
  dc.SelectBrush(CreateSolidBrush(kRed));
  dc.Ellipse(2, 3, 15, 11);
  const PixelSet drawn = PixelsNotOf(dc, kWhite);
  EXPECT_EQ(test::BoundsOf(drawn), (Rect{2, 3, 15, 11}));
  EXPECT_EQ(dc.GetPixel(8, 7), kRed);       // inside: the brush
  EXPECT_EQ(dc.GetPixel(2, 7), kBlack);     // leftmost: the pen
  EXPECT_EQ(dc.GetPixel(14, 7), kBlack);    // rightmost column is right - 1
  EXPECT_EQ(dc.GetPixel(2, 3), kWhite);     // corner of the box is outside
}

TEST(ShapeTest, HollowBrushDrawsOnlyTheOutline) {
  ImageDeviceContext dc(20, 20, kRed);
  dc.SelectBrush(StockBrush(HOLLOW_BRUSH));
  dc.Rectangle(1, 1, 9, 9);
  dc.Ellipse(10, 10, 19, 19);
  EXPECT_EQ(dc.GetPixel(1, 1), kBlack);
  EXPECT_EQ(dc.GetPixel(4, 4), kRed);
  EXPECT_EQ(dc.GetPixel(14, 14), kRed);
  EXPECT_EQ(dc.GetPixel(10, 14), kBlack);
}

TEST(ShapeTest, PolygonFillModesDifferOnOverlappingLoops) {
  // Two loops in the same direction: the overlap counts twice.
  const Point loops[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0},
                         {4, 4}, {14, 4}, {14, 14}, {4, 14}, {4, 4}};
  for (const int mode : {ALTERNATE, WINDING}) {
    ImageDeviceContext dc(16, 16);
    dc.SelectPen(StockPen(NULL_PEN));
    dc.SelectBrush(CreateSolidBrush(kRed));
    dc.SetPolyFillMode(mode);
    dc.Polygon(loops);
    EXPECT_EQ(dc.GetPixel(2, 2), kRed);
    EXPECT_EQ(dc.GetPixel(12, 12), kRed);
    EXPECT_EQ(dc.GetPixel(6, 6), mode == WINDING ? kRed : kWhite);
    EXPECT_EQ(dc.GetPixel(10, 2), kWhite) << "right edge is exclusive";
  }
}

TEST(ShapeTest, DottedPenFillsItsGapsOnlyOnAnOpaqueBackground) {
  for (const int mode : {OPAQUE, TRANSPARENT}) {
    ImageDeviceContext dc(16, 3, kRed);
    dc.SelectPen(*CreatePen(PS_DOT, 0, kBlack));
    dc.SetBkColor(kWhite);
    dc.SetBkMode(mode);
    dc.MoveTo(0, 1);
    dc.LineTo(12, 1);
    const Color gap = mode == OPAQUE ? kWhite : kRed;
    const Color expected[] = {kBlack, kBlack, kBlack, gap, gap, gap,
                              kBlack, kBlack, kBlack, gap, gap, gap, kRed};
    for (int x = 0; x < 13; ++x) EXPECT_EQ(dc.GetPixel(x, 1), expected[x]) << x;
  }
}

TEST(ObjectTest, SelectReturnsThePreviousObjectAndStockObjectsAreKnown) {
  ImageDeviceContext dc(4, 4);
  const Pen red = *CreatePen(PS_DASH, 0, kRed);
  const Pen before = dc.SelectPen(red);
  EXPECT_EQ(before, StockPen(BLACK_PEN));
  const GdiObject back = dc.SelectObject(before);
  EXPECT_EQ(std::get<Pen>(back), red);
  EXPECT_EQ(std::get<Brush>(*GetStockObject(BLACK_BRUSH)).color, kBlack);
  EXPECT_TRUE(std::get<Brush>(*GetStockObject(NULL_BRUSH)).IsNull());
  EXPECT_EQ(std::get<Brush>(*GetStockObject(LTGRAY_BRUSH)).color, 0xC0C0C0u);
  EXPECT_FALSE(GetStockObject(9).has_value());
  EXPECT_FALSE(CreatePen(7, 1, 0).has_value());
  EXPECT_FALSE(CreateHatchBrush(6, 0).has_value());
}

TEST(ObjectTest, SaveAndRestoreBringBackTheState) {
  ImageDeviceContext dc(4, 4);
  const int level = dc.SaveDC();
  dc.SetROP2(R2_XORPEN);
  dc.SelectBrush(StockBrush(BLACK_BRUSH));
  dc.IntersectClipRect(0, 0, 2, 2);
  dc.SaveDC();
  dc.SetTextColor(kRed);
  EXPECT_TRUE(dc.RestoreDC(level));
  EXPECT_EQ(dc.GetROP2(), R2_COPYPEN);
  EXPECT_FALSE(dc.HasClip());
  EXPECT_EQ(dc.CurrentBrush(), StockBrush(WHITE_BRUSH));
  EXPECT_FALSE(dc.RestoreDC(-1));  // both levels are gone
}

}  // namespace
}  // namespace orvale::gdi
