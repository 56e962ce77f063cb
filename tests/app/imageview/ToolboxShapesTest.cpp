#include "app/imageview/ToolboxShapes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/analysis/clsShape.h"
#include "platform/registry/MemorySettingsStore.h"
#include "platform/registry/TypedSettings.h"

namespace orvale {
namespace {

class ToolboxShapesTest : public ::testing::Test {
 protected:
  ToolboxShapesTest() {
    GetSettingLong(kToolboxSection, "Left", 0, 0, 0);  // the toolbox's load makes the section
    target.Init(clsShape::kAperture);
  }
  void Store(const char* key, const char* text) { SaveSettingString(kToolboxSection, key, text); }
  static clsShape Polygon(std::int32_t n) {
    std::vector<double> xs(51), ys(51);
    for (std::int32_t i = 1; i <= n; ++i) {
      xs[static_cast<std::size_t>(i)] = 100 + 40 * std::cos(i * 0.3);
      ys[static_cast<std::size_t>(i)] = 100 + 40 * std::sin(i * 0.3);
    }
    clsShape s;
    s.Init(clsShape::kAperture);
    s.Save(clsShape::kPolygon, n, xs, ys);
    return s;
  }
  // A circle the target holds before a load, to see whether a load touched it.
  void GiveTargetACircle() {
    target.SetShapeType(clsShape::kCircle);
    target.SetCenter(7, 8);
    target.SetRadii(9, 9);
  }
  bool TargetStillTheCircle() const {
    double cx = 0, cy = 0, rx = 0, ry = 0;
    target.GetCenter(cx, cy);
    target.GetRadii(rx, ry);
    return target.GetShapeType() == clsShape::kCircle && cx == 7 && cy == 8 && rx == 9;
  }

  MemorySettingsStore store;
  ScopedSettingsStore installed{store};
  clsShape target;
};

TEST_F(ToolboxShapesTest, CircleAndEllipseRoundTrip) {
  clsShape circle;
  circle.SetShapeType(clsShape::kCircle);
  circle.SetCenter(120.5, 99);
  circle.SetRadii(40, 41);
  SaveToolboxShape(circle, "Aperture");
  ASSERT_TRUE(LoadToolboxShape(target, "Aperture"));
  double cx = 0, cy = 0, rx = 0, ry = 0;
  target.GetCenter(cx, cy);
  target.GetRadii(rx, ry);
  EXPECT_EQ(target.GetShapeType(), clsShape::kCircle);
  EXPECT_EQ(cx, 120.5);
  EXPECT_EQ(ry, 41);
  EXPECT_EQ(GetSettingString(kToolboxSection, "Aperture CenterX", ""), "120.5");

  clsShape ellipse;
  ellipse.SetShapeType(clsShape::kEllipse);
  ellipse.SetCenter(50, 60);
  ellipse.SetRadii(30, 20);
  ellipse.SetAngle(0.25);
  SaveToolboxShape(ellipse, "Obstruction");
  ASSERT_TRUE(LoadToolboxShape(target, "Obstruction"));
  EXPECT_EQ(target.GetShapeType(), clsShape::kEllipse);
  EXPECT_EQ(target.GetAngle(), 0.25);

  Store("Obstruction Angle", "2.0");  // beyond a quarter turn: clamped
  ASSERT_TRUE(LoadToolboxShape(target, "Obstruction"));
  EXPECT_EQ(target.GetAngle(), 1.570796326794895);
}

TEST_F(ToolboxShapesTest, PolygonRoundTripsThroughNumberedVertexKeys) {
  SaveToolboxShape(Polygon(7), "Aperture");  // an older, longer polygon
  const clsShape five = Polygon(5);
  SaveToolboxShape(five, "Aperture");
  EXPECT_EQ(GetSettingLong(kToolboxSection, "Aperture Vertices", 0, 50, 0), 5);
  EXPECT_NE(GetSettingString(kToolboxSection, "Aperture VertexX 5", ""), "");
  EXPECT_NE(GetSettingString(kToolboxSection, "Aperture VertexY 7", ""), "");  // left behind
  ASSERT_TRUE(LoadToolboxShape(target, "Aperture"));
  ASSERT_EQ(target.GetVertices(), 5);  // the count decides
  for (std::int32_t i = 1; i <= 5; ++i) {
    double x = 0, y = 0, ex = 0, ey = 0;
    target.GetVertex(x, y, i);
    five.GetVertex(ex, ey, i);
    EXPECT_NEAR(x, ex, 1e-12);  // stored with 15 significant digits
    EXPECT_NEAR(y, ey, 1e-12);
  }
}

TEST_F(ToolboxShapesTest, StoredCountAbove50ReadsFifty) {
  SaveToolboxShape(Polygon(50), "Aperture");
  Store("Aperture Vertices", "51");
  ASSERT_TRUE(LoadToolboxShape(target, "Aperture"));
  EXPECT_EQ(target.GetVertices(), 50);
}

TEST_F(ToolboxShapesTest, MissingKeysReadZero) {
  Store("Aperture Save Type", "1");
  ASSERT_TRUE(LoadToolboxShape(target, "Aperture"));
  double rx = 1, ry = 1;
  target.GetRadii(rx, ry);
  EXPECT_EQ(target.GetShapeType(), clsShape::kCircle);
  EXPECT_EQ(rx, 0);
}

TEST_F(ToolboxShapesTest, UnusableStoredOutlinesLeaveTheShapeAlone) {
  struct Case {
    const char* what;
    std::vector<std::pair<const char*, const char*>> values;
  };
  const Case cases[] = {
      {"nothing stored", {}},
      {"type 0", {{"Aperture Save Type", "0"}}},
      {"radius beyond the double range", {{"Aperture Save Type", "1"}, {"Aperture RadiusX", "1e999"}}},
      {"centre beyond the double range",
       {{"Aperture Save Type", "2"}, {"Aperture RadiusX", "5"}, {"Aperture CenterY", "-1e400"}}},
      {"polygon without vertices", {{"Aperture Save Type", "3"}, {"Aperture Vertices", "0"}}},
      {"polygon of two vertices",
       {{"Aperture Save Type", "3"}, {"Aperture Vertices", "2"}, {"Aperture VertexX 1", "5"},
        {"Aperture VertexX 2", "9"}}},
      {"vertex beyond the double range",
       {{"Aperture Save Type", "3"}, {"Aperture Vertices", "3"}, {"Aperture VertexX 1", "5"},
        {"Aperture VertexX 2", "1e999"}, {"Aperture VertexY 3", "9"}}},
  };
  for (const Case& c : cases) {
    MemorySettingsStore fresh;
    ScopedSettingsStore scope(fresh);
    GetSettingLong(kToolboxSection, "Left", 0, 0, 0);
    for (const auto& [key, text] : c.values) Store(key, text);
    GiveTargetACircle();
    EXPECT_FALSE(LoadToolboxShape(target, "Aperture")) << c.what;
    EXPECT_TRUE(TargetStillTheCircle()) << c.what;
  }
}

}  // namespace
}  // namespace orvale
