#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <vector>

#include "app/analysis/clsGrid.h"
#include "app/analysis/clsShape.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "platform/gdi/RecordingDeviceContext.h"
#include "tests/app/analysis/ShapesGridTestSupport.h"

namespace orvale {
namespace {

using gdi::DrawRecord;
using gdi::Point;

clsShape MakeShape(std::int32_t type, std::vector<double> x, std::vector<double> y) {
  clsShape shape;
  shape.Init(clsShape::kAperture);
  x.insert(x.begin(), 0);
  y.insert(y.begin(), 0);
  EXPECT_EQ(shape.Save(type, static_cast<std::int32_t>(x.size()) - 1, x, y),
            ShapeSaveResult::Saved);
  return shape;
}

clsShape Circle() { return MakeShape(clsShape::kCircle, {10, 30, 30, 10}, {20, 20, 60, 60}); }
clsShape TurnedEllipse() { return MakeShape(clsShape::kEllipse, {20, 120, 60}, {30, 90, 40}); }
clsShape Pentagon() {
  return MakeShape(clsShape::kPolygon, {50, 90, 80, 20, 10}, {10, 40, 90, 90, 40});
}

std::vector<DrawRecord> Lines(const gdi::RecordingDeviceContext& dc) {
  std::vector<DrawRecord> lines;
  for (const DrawRecord& r : dc.Records())
    if (r.call == "LineTo") lines.push_back(r);
  return lines;
}

// A picture with something in it, so that XOR has colours to turn and back.
void PaintBackground(gdi::ImageDeviceContext& dc) {
  for (int y = 0; y < dc.Image().height(); y += 3)
    for (int x = 0; x < dc.Image().width(); x += 2)
      dc.SetPixel(x, y, gdi::RGB(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 90));
}

TEST(OutlineDrawing, XorDrawingTwiceRestoresThePicture) {
  const clsShape circle = Circle();
  const clsShape ellipse = TurnedEllipse();
  const clsShape pentagon = Pentagon();
  const clsGrid grid = TenByThreeGrid();
  struct View {
    double scale, offsetX, offsetY;
  };
  for (const View& v : {View{1, 0, 0}, View{1.5, 5, -3}, View{0.25, 0, 0}, View{3, 40, 20}}) {
    SCOPED_TRACE(testing::Message() << "scale " << v.scale);
    gdi::ImageDeviceContext dc(240, 200, gdi::RGB(0, 0, 0));
    PaintBackground(dc);
    const QImage before = dc.Image().copy();
    auto drawAll = [&] {
      circle.Draw(dc, v.scale, v.offsetX, v.offsetY, true);
      ellipse.Draw(dc, v.scale, v.offsetX, v.offsetY, true);
      pentagon.Draw(dc, v.scale, v.offsetX, v.offsetY, true);
      grid.Draw(dc, v.scale, v.offsetX, v.offsetY, true);
    };
    drawAll();
    EXPECT_NE(dc.Image(), before);
    drawAll();
    EXPECT_EQ(dc.Image(), before);
  }
}

TEST(OutlineDrawing, DrawsWithTheWhitePenAndSelectsThePreviousOneBack) {
  gdi::RecordingDeviceContext dc;
  const gdi::Pen mine{gdi::PS_DOT, 1, gdi::RGB(255, 0, 0)};
  dc.SelectPen(mine);
  Pentagon().Draw(dc, 1, 0, 0, false);
  TenByThreeGrid().Draw(dc, 1, 0, 0, true);
  ASSERT_FALSE(dc.Records().empty());
  for (const DrawRecord& r : dc.Records()) {
    EXPECT_EQ(r.state.pen, gdi::StockPen(gdi::WHITE_PEN));
  }
  EXPECT_EQ(dc.Records().front().state.rop2, gdi::R2_COPYPEN);
  EXPECT_EQ(dc.Records().back().state.rop2, gdi::R2_XORPEN);
  EXPECT_EQ(dc.CurrentPen(), mine);
}

TEST(OutlineDrawing, CircleIsOneEllipseCall) {
  gdi::RecordingDeviceContext dc;
  Circle().Draw(dc, 2, 5, 5, true);  // centre (20, 40), radii 10 and 20
  ASSERT_EQ(dc.Records().size(), 1u);
  EXPECT_EQ(dc.Records()[0].call, "Ellipse");
  EXPECT_EQ(dc.Records()[0].rect, (gdi::Rect{10, 30, 51, 111}));

  // Halves round to the even neighbour: 9.5, 19.5, 30.5 and 60.5 give 10, 20, 30, 60.
  dc.ClearRecords();
  Circle().Draw(dc, 1, 0.5, 0.5, false);
  EXPECT_EQ(dc.Records()[0].rect, (gdi::Rect{10, 20, 30, 60}));

  clsShape flat = Circle();
  flat.SetRadii(0, 20);
  dc.ClearRecords();
  flat.Draw(dc, 1, 0, 0, true);
  EXPECT_TRUE(dc.Records().empty());
}

TEST(OutlineDrawing, EllipseIsAClosedLineOfBoundedSegments) {
  struct Case {
    double scale, radius;
    std::size_t segments;
  };
  for (const Case& c : {Case{1, 40, 20}, Case{1, 200, 50}, Case{4, 1000, 200}}) {
    SCOPED_TRACE(testing::Message() << c.scale << " x " << c.radius);
    clsShape ellipse;
    ellipse.SetShapeType(clsShape::kEllipse);
    ellipse.SetCenter(300, 300);
    ellipse.SetRadii(c.radius, c.radius / 2);
    ellipse.SetAngle(0.3);
    gdi::RecordingDeviceContext dc;
    ellipse.Draw(dc, c.scale, 0, 0, true);
    const auto lines = Lines(dc);
    ASSERT_EQ(lines.size(), c.segments);
    // Starts at the end of the major axis and comes back to it.
    const double sx = (300 + c.radius * std::cos(0.3)) * c.scale;
    const double sy = (300 - c.radius * std::sin(0.3)) * c.scale;
    EXPECT_EQ(lines.front().points.front(), (Point{static_cast<int>(std::nearbyint(sx)),
                                                   static_cast<int>(std::nearbyint(sy))}));
    EXPECT_EQ(lines.back().points.back(), lines.front().points.front());
  }
}

TEST(OutlineDrawing, PolygonIsClosedFromItsLastVertex) {
  gdi::RecordingDeviceContext dc;
  Pentagon().Draw(dc, 1, 0, 0, true);
  const auto lines = Lines(dc);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0].points.front(), (Point{10, 40}));
  EXPECT_EQ(lines[0].points.back(), (Point{50, 10}));
  EXPECT_EQ(lines[4].points.back(), (Point{10, 40}));

  clsShape none;
  dc.ClearRecords();
  none.Draw(dc, 1, 0, 0, true);
  EXPECT_TRUE(dc.Records().empty());
}

struct GridLines {
  std::vector<int> xs;  // screen x of the vertical lines
  std::vector<int> ys;  // screen y of the horizontal lines
};

GridLines DrawnGridLines(const clsGrid& grid, double scale) {
  gdi::RecordingDeviceContext dc;
  grid.Draw(dc, scale, 0, 0, true);
  GridLines result;
  for (const DrawRecord& r : Lines(dc)) {
    if (r.points.front().x == r.points.back().x)
      result.xs.push_back(r.points.front().x);
    else
      result.ys.push_back(r.points.front().y);
  }
  return result;
}

TEST(OutlineDrawing, GridDrawsEveryCellLineOnce) {
  const GridLines full = DrawnGridLines(TenByThreeGrid(), 1);
  EXPECT_EQ(full.xs, (std::vector<int>{10, 30, 50, 70, 90, 110, 130, 150, 170, 190, 210}));
  EXPECT_EQ(full.ys, (std::vector<int>{20, 40, 60, 80}));

  // A height that is not whole cells gets its bottom edge as well.
  clsGrid stretched = TenByThreeGrid();
  stretched.Resize(210, 90, 2);
  EXPECT_EQ(DrawnGridLines(stretched, 1).ys, (std::vector<int>{20, 40, 60, 80, 90}));

  // Zoomed far out, lines on one screen position are drawn once (XOR would erase them).
  const GridLines small = DrawnGridLines(TenByThreeGrid(), 0.02);
  EXPECT_EQ(small.xs, (std::vector<int>{0, 1, 2, 3, 4}));

  // No rectangle: nothing.
  clsGrid cleared = TenByThreeGrid();
  cleared.ClearBounds();
  EXPECT_TRUE(DrawnGridLines(cleared, 1).xs.empty());
}

TEST(OutlineDrawing, AbsurdGridsDrawOnlyTheirBorder) {
  clsGrid grid = TenByThreeGrid();
  grid.CellPhysicalWidth = 1e-12;  // set directly: 1E+14 columns
  const GridLines lines = DrawnGridLines(grid, 1);
  EXPECT_EQ(lines.xs, (std::vector<int>{10, 210}));
  EXPECT_EQ(lines.ys.size(), 4u);

  grid = TenByThreeGrid();
  grid.UpperLeftY = 1e300;  // adding a cell height no longer moves y
  EXPECT_LE(DrawnGridLines(grid, 1).ys.size(), 2u);

  gdi::RecordingDeviceContext dc;
  TenByThreeGrid().Draw(dc, NAN, 0, 0, true);
  Pentagon().Draw(dc, HUGE_VAL, 0, 0, true);
  EXPECT_TRUE(dc.Records().empty());
}

}  // namespace
}  // namespace orvale
