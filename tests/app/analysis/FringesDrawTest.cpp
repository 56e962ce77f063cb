#include <gtest/gtest.h>

#include <QImage>
#include <functional>
#include <string>
#include <vector>

#include "app/analysis/clsFringes.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "platform/gdi/RecordingDeviceContext.h"

namespace orvale {
namespace {

using gdi::Point;

// One fringe per order, its points given as (x, y) pairs.
clsFringes StoreOf(const std::vector<std::pair<std::int32_t, std::vector<PointD>>>& fringes) {
  clsFringes store;
  for (const auto& [order, points] : fringes) {
    std::vector<double> x{0.0}, y{0.0};
    for (const PointD& p : points) {
      x.push_back(p.x);
      y.push_back(p.y);
    }
    EXPECT_NE(store.InsertOrder(order, static_cast<std::int32_t>(points.size()), x, y), kNoOrder);
  }
  return store;
}

std::vector<gdi::DrawRecord> Lines(const gdi::RecordingDeviceContext& dc) {
  std::vector<gdi::DrawRecord> lines;
  for (const gdi::DrawRecord& r : dc.Records())
    if (r.call == "LineTo") lines.push_back(r);
  return lines;
}

TEST(FringeDrawing, DrawAllColoursByOrderWithTheCurrentOrderWhite) {
  const clsFringes store =
      StoreOf({{3, {{10, 10}}}, {4, {{20, 10}}}, {5, {{30, 10}}}, {6, {{40, 10}}}});
  gdi::RecordingDeviceContext dc;
  dc.SetROP2(gdi::R2_MERGEPEN);
  const gdi::Pen before = *gdi::CreatePen(gdi::PS_DOT, 0, 0x0000FF);
  dc.SelectPen(before);

  store.DrawAll(dc, 1.0, 0, 0, true, 2, FringeMarkStyle{6, 3});

  const std::vector<gdi::DrawRecord> lines = Lines(dc);
  ASSERT_EQ(lines.size(), 8u);  // two lines a cross
  const gdi::Color expected[] = {0xFFFF00, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].state.pen.color, expected[i / 2]) << i;
    EXPECT_EQ(lines[i].state.pen.width, 2) << i;
    EXPECT_EQ(lines[i].state.rop2, gdi::R2_XORPEN) << i;
  }
  // The caller's raster mode and pen come back.
  EXPECT_EQ(dc.GetROP2(), gdi::R2_MERGEPEN);
  EXPECT_EQ(dc.CurrentPen(), before);

  dc.ClearRecords();
  store.DrawAll(dc, 1.0, 0, 0, false, 1, FringeMarkStyle{});
  ASSERT_EQ(Lines(dc).size(), 8u);
  EXPECT_EQ(Lines(dc)[0].state.rop2, gdi::R2_COPYPEN);
  EXPECT_EQ(Lines(dc)[6].state.pen.color, 0xFFFF00u);  // order 6 is not current now
}

TEST(FringeDrawing, CrossesSitOnTheRoundedScreenPoint) {
  // (1.25 - 0) x 2 = 2.5 rounds to 2; (10.75 - 0.5) x 2 = 20.5 rounds to 20.
  const clsFringes store = StoreOf({{1, {{1.25, 10.75}}}});
  gdi::RecordingDeviceContext dc;
  store.DrawAll(dc, 2.0, 0, 0.5, false, 1, FringeMarkStyle{kNoOrder, 4});
  const std::vector<gdi::DrawRecord> lines = Lines(dc);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].points, (std::vector<Point>{{-2, 20}, {7, 20}}));
  EXPECT_EQ(lines[1].points, (std::vector<Point>{{2, 16}, {2, 25}}));
}

TEST(FringeDrawing, EveryFringeIsWhiteOnAOneBitDevice) {
  const clsFringes store = StoreOf({{3, {{10, 10}}}, {4, {{20, 10}}}});
  gdi::DeviceCaps caps = gdi::DisplayCaps(100, 100);
  caps.bitsPixel = 1;
  gdi::RecordingDeviceContext dc(caps);
  store.DrawAll(dc, 1.0, 0, 0, false, 1, FringeMarkStyle{});
  for (const gdi::DrawRecord& line : Lines(dc)) EXPECT_EQ(line.state.pen.color, 0xFFFFFFu);
  EXPECT_EQ(Lines(dc).size(), 4u);
}

TEST(FringeDrawing, APenThatCannotBeMadeDrawsNothing) {
  const clsFringes store = StoreOf({{3, {{10, 10}}}});
  gdi::RecordingDeviceContext dc;
  store.DrawAll(dc, 1.0, 0, 0, true, -1, FringeMarkStyle{});
  EXPECT_TRUE(Lines(dc).empty());
  EXPECT_EQ(dc.GetROP2(), gdi::R2_COPYPEN);
}

TEST(FringeDrawing, CentresFarOffTheDeviceAreLeftOut) {
  const clsFringes store = StoreOf({{3, {{1E+300, 10}, {-1E+12, 5}, {10, 10}}}});
  gdi::RecordingDeviceContext dc;
  store.DrawAll(dc, 1.0, 0, 0, false, 1, FringeMarkStyle{kNoOrder, 2147483647});
  const std::vector<gdi::DrawRecord> lines = Lines(dc);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].points[0].y, 10);
}

TEST(FringeDrawing, SingleFringeMembersUseOnePixelPens) {
  const clsFringes store = StoreOf({{2, {{10, 10}, {20, 10}, {30, 10}}}, {7, {{10, 30}}}});
  const FringeMarkStyle style{7, 3};
  gdi::RecordingDeviceContext dc;

  store.DrawAllExceptOne(dc, 1.0, 0, 0, 1, 2, true, style);
  std::vector<gdi::DrawRecord> lines = Lines(dc);
  ASSERT_EQ(lines.size(), 6u);  // the dragged point (20, 10) is left out
  EXPECT_EQ(lines[0].points[0], (Point{7, 10}));
  EXPECT_EQ(lines[2].points[0], (Point{27, 10}));
  EXPECT_EQ(lines[0].state.pen, *gdi::CreatePen(gdi::PS_SOLID, 1, 0x00FFFF));
  EXPECT_EQ(lines[4].state.pen, gdi::StockPen(gdi::WHITE_PEN));  // the current order

  dc.ClearRecords();
  std::int32_t index = kNoOrder;
  store.DrawOrder(dc, 2, 1.0, 0, 0, index, false, style);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(Lines(dc).size(), 6u);

  dc.ClearRecords();
  index = kNoOrder;
  store.DrawCenter(dc, 2, 3, 1.0, 0, 0, index, false, style);
  lines = Lines(dc);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].points[0], (Point{27, 10}));
  EXPECT_EQ(lines[0].state.rop2, gdi::R2_COPYPEN);
}

TEST(FringeDrawing, SingleFringeMembersDrawNothingForNoFringeOrPoint) {
  const clsFringes store = StoreOf({{2, {{10, 10}, {20, 10}}}});
  struct Case {
    const char* what;
    std::function<void(gdi::DeviceContext&)> draw;
  } cases[] = {
      {"DrawOrder of a missing order",
       [&](gdi::DeviceContext& dc) {
         std::int32_t i = kNoOrder;
         store.DrawOrder(dc, 5, 1, 0, 0, i, false, {});
       }},
      {"DrawOrder of record 0",
       [&](gdi::DeviceContext& dc) {
         std::int32_t i = 0;
         store.DrawOrder(dc, 2, 1, 0, 0, i, false, {});
       }},
      {"DrawOrder of record 201",
       [&](gdi::DeviceContext& dc) {
         std::int32_t i = 201;
         store.DrawOrder(dc, 2, 1, 0, 0, i, false, {});
       }},
      {"DrawCenter of point 0",
       [&](gdi::DeviceContext& dc) {
         std::int32_t i = kNoOrder;
         store.DrawCenter(dc, 2, 0, 1, 0, 0, i, false, {});
       }},
      {"DrawCenter beyond NumTicks",
       [&](gdi::DeviceContext& dc) {
         std::int32_t i = kNoOrder;
         store.DrawCenter(dc, 2, 3, 1, 0, 0, i, false, {});
       }},
  };
  for (const Case& c : cases) {
    gdi::RecordingDeviceContext dc;
    c.draw(dc);
    EXPECT_TRUE(dc.Records().empty()) << c.what;
    EXPECT_EQ(dc.GetROP2(), gdi::R2_COPYPEN) << c.what;
  }
}

// A background in which neighbouring pixels differ, so that XOR shows everywhere.
void PaintPattern(gdi::ImageDeviceContext& dc, int width, int height) {
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      dc.SetPixel(x, y, gdi::RGB(static_cast<std::uint8_t>(x * 37 + y),
                                 static_cast<std::uint8_t>(y * 53),
                                 static_cast<std::uint8_t>(x * 11 + y * 7)));
}

TEST(FringeDrawing, DrawingTwiceInXorModeRestoresThePicture) {
  // Crosses that overlap each other, one of them the current order.
  const clsFringes store = StoreOf(
      {{1, {{10, 10}, {12, 11}, {30.4, 20.6}}}, {2, {{11, 12}, {40, 30}}}, {3, {{38, 29}}}});
  const FringeMarkStyle style{2, 3};
  struct Case {
    const char* what;
    std::function<void(gdi::DeviceContext&)> draw;
  } cases[] = {
      {"DrawAll", [&](gdi::DeviceContext& dc) { store.DrawAll(dc, 1.5, 2, 1, true, 3, style); }},
      {"DrawAllExceptOne",
       [&](gdi::DeviceContext& dc) { store.DrawAllExceptOne(dc, 1.5, 2, 1, 1, 2, true, style); }},
      {"DrawOrder",
       [&](gdi::DeviceContext& dc) {
         std::int32_t i = kNoOrder;
         store.DrawOrder(dc, 1, 1.5, 2, 1, i, true, style);
       }},
      {"DrawCenter",
       [&](gdi::DeviceContext& dc) {
         std::int32_t i = kNoOrder;
         store.DrawCenter(dc, 2, 1, 1.5, 2, 1, i, true, style);
       }},
  };
  for (const Case& c : cases) {
    gdi::ImageDeviceContext dc(80, 60);
    PaintPattern(dc, 80, 60);
    const QImage before = dc.Image().copy();
    c.draw(dc);
    EXPECT_NE(dc.Image(), before) << c.what;
    c.draw(dc);
    EXPECT_EQ(dc.Image(), before) << c.what;
  }
}

}  // namespace
}  // namespace orvale
