#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/analysis/LineParser.h"
#include "app/analysis/MathConstants.h"
#include "app/analysis/PolygonCenter.h"
#include "app/analysis/clsShape.h"
#include "platform/runtime/LineInput.h"
#include "platform/runtime/Markers.h"
#include "platform/runtime/TextOutput.h"
#include "tests/app/analysis/ShapesGridTestSupport.h"

namespace orvale {
namespace {

struct Clicks {
  std::vector<double> x{0};  // element 0 unused
  std::vector<double> y{0};
  Clicks(std::initializer_list<PointD> points) {
    for (const PointD& p : points) {
      x.push_back(p.x);
      y.push_back(p.y);
    }
  }
  std::int32_t Count() const { return static_cast<std::int32_t>(x.size()) - 1; }
};

ShapeSaveResult SaveClicks(clsShape& shape, std::int32_t type, const Clicks& c) {
  return shape.Save(type, c.Count(), c.x, c.y);
}

clsShape Polygon(std::initializer_list<PointD> points) {
  clsShape shape;
  shape.Init(clsShape::kAperture);
  EXPECT_EQ(SaveClicks(shape, clsShape::kPolygon, Clicks(points)), ShapeSaveResult::Saved);
  return shape;
}

void ExpectGeometry(const clsShape& shape, double cx, double cy, double rx, double ry,
                    double angle) {
  double x, y, r1, r2;
  shape.GetCenter(x, y);
  shape.GetRadii(r1, r2);
  EXPECT_DOUBLE_EQ(x, cx);
  EXPECT_DOUBLE_EQ(y, cy);
  EXPECT_DOUBLE_EQ(r1, rx);
  EXPECT_DOUBLE_EQ(r2, ry);
  EXPECT_DOUBLE_EQ(shape.GetAngle(), angle);
}

struct Hit {
  std::int32_t type;
  std::int32_t data;
};

Hit FindAt(const clsShape& shape, double x, double y) {
  Hit hit{-1, -1};
  shape.Find(x, y, hit.type, hit.data);
  return hit;
}

// ---------------------------------------------------------------------------------
// Save

TEST(ShapeSave, CircleIsTheBoxOfTheClicksInAnyOrder) {
  struct Case {
    const char* name;
    Clicks clicks;
    double cx, cy, rx, ry;
  };
  const std::vector<Case> cases = {
      {"clockwise", {{10, 20}, {30, 20}, {30, 60}, {10, 60}}, 20, 40, 10, 20},
      {"reversed", {{10, 60}, {30, 60}, {30, 20}, {10, 20}}, 20, 40, 10, 20},
      {"crossed", {{30, 60}, {10, 20}, {10, 60}, {30, 20}}, 20, 40, 10, 20},
      {"edge points", {{20, 20}, {30, 40}, {20, 60}, {10, 40}}, 20, 40, 10, 20},
      // Clicks left of and above the image: the box must not be stretched to 0.
      {"negative", {{-30, -20}, {-10, -20}, {-10, -60}, {-30, -60}}, -20, -40, 10, 20},
      {"straddling", {{-10, -5}, {10, 5}, {-10, 5}, {10, -5}}, 0, 0, 10, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clsShape shape;
    EXPECT_EQ(SaveClicks(shape, clsShape::kCircle, c.clicks), ShapeSaveResult::Saved);
    EXPECT_EQ(shape.GetShapeType(), clsShape::kCircle);
    ExpectGeometry(shape, c.cx, c.cy, c.rx, c.ry, 0);
  }
}

TEST(ShapeSave, DegenerateClicksLeaveNoShapeAndZeroGeometry) {
  struct Case {
    const char* name;
    std::int32_t type;
    Clicks clicks;
  };
  const std::vector<Case> cases = {
      {"circle on one row", clsShape::kCircle, {{10, 20}, {30, 20}, {50, 20}, {70, 20}}},
      {"circle on one column", clsShape::kCircle, {{10, 20}, {10, 30}, {10, 50}, {10, 70}}},
      {"circle without points", clsShape::kCircle, {}},
      {"ellipse on one row", clsShape::kEllipse, {{0, 0}, {20, 0}, {10, 0}}},
      {"polygon of two points", clsShape::kPolygon, {{0, 0}, {20, 0}}},
      {"circle with infinity", clsShape::kCircle, {{0, 0}, {HUGE_VAL, 5}, {3, 9}, {1, 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clsShape shape = EllipseShape(5, 6, 7, 8, 0.5);
    EXPECT_EQ(SaveClicks(shape, c.type, c.clicks), ShapeSaveResult::Degenerate);
    EXPECT_EQ(shape.GetShapeType(), clsShape::kNone);
    ExpectGeometry(shape, 0, 0, 0, 0, 0);
  }
}

TEST(ShapeSave, EllipseFromTheEndsOfItsMajorAxisAndAPointOnIt) {
  clsShape shape;
  // The two points farthest apart are the axis ends, whatever their order.
  EXPECT_EQ(SaveClicks(shape, clsShape::kEllipse, {{10, 8}, {0, 0}, {20, 0}}),
            ShapeSaveResult::Saved);
  EXPECT_EQ(shape.GetShapeType(), clsShape::kEllipse);
  ExpectGeometry(shape, 10, 0, 10, 8, 0);

  // A turned ellipse: its axis from (0, 20) to (20, 0) rises on the screen by 45 degrees.
  EXPECT_EQ(SaveClicks(shape, clsShape::kEllipse, {{0, 20}, {20, 0}, {12, 12}}),
            ShapeSaveResult::Saved);
  EXPECT_NEAR(shape.GetAngle(), kPi / 4, 1e-12);
  double x, y;
  shape.GetCenter(x, y);
  EXPECT_DOUBLE_EQ(x, 10);
  EXPECT_DOUBLE_EQ(y, 10);
}

TEST(ShapeSave, PolygonKeepsItsPointsAndCentroid) {
  clsShape shape;
  const Clicks triangle{{0, 0}, {30, 0}, {0, 30}};
  EXPECT_EQ(SaveClicks(shape, clsShape::kPolygon, triangle), ShapeSaveResult::Saved);
  EXPECT_EQ(shape.GetVertices(), 3);
  double x, y;
  shape.GetCenter(x, y);
  EXPECT_DOUBLE_EQ(x, 10);
  EXPECT_DOUBLE_EQ(y, 10);
  shape.GetVertex(x, y, 2);
  EXPECT_EQ(x, 30);
  EXPECT_EQ(y, 0);
}

TEST(ShapeSave, FiftyVerticesAreKeptAndTheFiftyFirstIsRefused) {
  auto ring = [](int n) {
    Clicks c{};
    for (int k = 0; k < n; ++k) {
      const double a = 2 * kPi * k / n;
      c.x.push_back(100 + 50 * std::cos(a));
      c.y.push_back(100 + 50 * std::sin(a));
    }
    return c;
  };
  clsShape shape;
  EXPECT_EQ(SaveClicks(shape, clsShape::kPolygon, ring(50)), ShapeSaveResult::Saved);
  EXPECT_EQ(shape.GetVertices(), 50);

  clsShape before = Polygon({{0, 0}, {10, 0}, {10, 10}});
  clsShape shape51 = before;
  EXPECT_EQ(SaveClicks(shape51, clsShape::kPolygon, ring(51)), ShapeSaveResult::TooManyVertices);
  // Refused: the shape is as it was.
  EXPECT_EQ(shape51.GetVertices(), 3);
  StringTextOutput a, b;
  before.SaveToFile(a);
  shape51.SaveToFile(b);
  EXPECT_EQ(a.Text(), b.Text());
}

TEST(ShapeSave, RefusesBuffersShorterThanTheCountAndUnknownTypes) {
  clsShape shape = EllipseShape(5, 6, 7, 8, 0.5);
  const std::vector<double> two{0, 1, 2};
  EXPECT_EQ(shape.Save(clsShape::kPolygon, 4, two, two), ShapeSaveResult::MissingPoints);
  EXPECT_EQ(shape.Save(clsShape::kEllipse, 3, two, two), ShapeSaveResult::MissingPoints);
  EXPECT_EQ(shape.Save(clsShape::kCircle, 4, two, two), ShapeSaveResult::MissingPoints);
  EXPECT_EQ(shape.Save(7, 2, two, two), ShapeSaveResult::UnknownType);
  EXPECT_EQ(shape.GetShapeType(), clsShape::kEllipse);
  EXPECT_EQ(shape.GetAngle(), 0.5);
}

// ---------------------------------------------------------------------------------
// Find

TEST(ShapeFind, PolygonReportsAVertexBeforeAnEdge) {
  const clsShape square = Polygon({{0, 0}, {100, 0}, {100, 100}, {0, 100}});
  struct Case {
    double x, y;
    std::int32_t type, data;
  };
  const Case cases[] = {
      {2, 1, clsShape::kFoundVertex, 1},     // vertex 1, also on edges 1 and 4
      {103, 97, clsShape::kFoundVertex, 3},  // within 3 in x and in y
      {104, 100, clsShape::kFoundEdge, 3},   // 4 px right of vertex 3, on edge 3's line
      {50, 3, clsShape::kFoundEdge, 1},
      {50, -3, clsShape::kFoundEdge, 1},
      {97, 50, clsShape::kFoundEdge, 2},
      {150, 2, clsShape::kFoundEdge, 1},  // on the extension of edge 1 beyond vertex 2
      {50, 50, 0, kNotGivenLong},
      {50, 3.5, 0, kNotGivenLong},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
    const Hit hit = FindAt(square, c.x, c.y);
    EXPECT_EQ(hit.type, c.type);
    EXPECT_EQ(hit.data, c.data);
  }
}

TEST(ShapeFind, EllipseOutlineWithinThreePixels) {
  const clsShape circle = EllipseShape(100, 100, 40, 40, 0);
  EXPECT_EQ(FindAt(circle, 143, 100).type, clsShape::kEllipse);
  EXPECT_EQ(FindAt(circle, 100, 57).type, clsShape::kEllipse);
  EXPECT_EQ(FindAt(circle, 144, 100).type, 0);
  EXPECT_EQ(FindAt(circle, 100, 100).type, 0);

  // Turned by 90 degrees the long axis runs down the screen.
  const clsShape tall = EllipseShape(100, 100, 50, 20, kHalfPi);
  EXPECT_EQ(FindAt(tall, 100, 152).type, clsShape::kEllipse);
  EXPECT_EQ(FindAt(tall, 121, 100).type, clsShape::kEllipse);
  EXPECT_EQ(FindAt(tall, 150, 100).type, 0);

  clsShape drawnCircle;
  SaveClicks(drawnCircle, clsShape::kCircle, {{10, 20}, {30, 20}, {30, 60}, {10, 60}});
  const Hit hit = FindAt(drawnCircle, 30, 40);
  EXPECT_EQ(hit.type, clsShape::kCircle);
  EXPECT_EQ(hit.data, kNotGivenLong);
}

TEST(ShapeFind, ZeroRadiusHitsOnlyTheExactCentre) {
  clsShape shape = EllipseShape(10, 10, 0, 20, 0);
  shape.SetShapeType(clsShape::kCircle);
  shape.SetCenter(10, 10);
  shape.SetRadii(0, 20);
  EXPECT_EQ(FindAt(shape, 10, 10).type, clsShape::kCircle);
  EXPECT_EQ(FindAt(shape, 10.5, 10).type, 0);
  EXPECT_EQ(FindAt(shape, 10, 30).type, 0);
}

TEST(ShapeFind, NoShapeFindsNothing) {
  clsShape none;
  const Hit hit = FindAt(none, 0, 0);
  EXPECT_EQ(hit.type, 0);
  EXPECT_EQ(hit.data, kNotGivenLong);
}

// ---------------------------------------------------------------------------------
// Editing

TEST(ShapeEdit, SetShapeTypeAcceptsOnlyKnownTypes) {
  clsShape shape = EllipseShape(5, 6, 7, 8, 0.5);
  shape.SetShapeType(5);
  EXPECT_EQ(shape.GetShapeType(), clsShape::kEllipse);
  EXPECT_EQ(shape.GetAngle(), 0.5);
  shape.SetShapeType(clsShape::kEllipse);
  ExpectGeometry(shape, 0, 0, 0, 0, 0);
}

TEST(ShapeEdit, GetVertexGivesTheMarkerWhereThereIsNoVertex) {
  const clsShape triangle = Polygon({{0, 0}, {30, 0}, {0, 30}});
  const clsShape circle = EllipseShape(5, 6, 7, 8, 0);
  for (auto [shape, index] : {std::pair{&triangle, 0}, std::pair{&triangle, 4},
                              std::pair{&circle, 1}}) {
    double x = 0, y = 0;
    shape->GetVertex(x, y, index);
    EXPECT_EQ(x, kNotGivenDouble);
    EXPECT_EQ(y, kNotGivenDouble);
  }
  EXPECT_EQ(circle.GetVertices(), 0);
}

TEST(ShapeEdit, PolygonMovesWithItsCentreAndKeepsItsCentroid) {
  clsShape triangle = Polygon({{0, 0}, {30, 0}, {0, 30}});
  triangle.SetCenter(20, 30);
  double x, y;
  triangle.GetVertex(x, y, 2);
  EXPECT_DOUBLE_EQ(x, 40);
  EXPECT_DOUBLE_EQ(y, 20);

  triangle.SetVertex(60, 20, 2);
  triangle.GetCenter(x, y);
  std::vector<PointD> v(4);
  for (int k = 1; k <= 3; ++k) triangle.GetVertex(v[k].x, v[k].y, k);
  PointD expected;
  PolygonCenter(expected, v, 3);
  EXPECT_DOUBLE_EQ(x, expected.x);
  EXPECT_DOUBLE_EQ(y, expected.y);
}

TEST(ShapeEdit, PolygonWithoutAreaGetsAFiniteCentre) {
  // Three clicks on one line have no centroid; the vertices' mean stands in, so that
  // moving the polygon keeps its vertices where they belong.
  clsShape line = Polygon({{0, 0}, {10, 10}, {20, 20}});
  double x, y;
  line.GetCenter(x, y);
  EXPECT_DOUBLE_EQ(x, 10);
  EXPECT_DOUBLE_EQ(y, 10);
  line.SetCenter(15, 10);
  line.GetVertex(x, y, 3);
  EXPECT_DOUBLE_EQ(x, 25);
  EXPECT_DOUBLE_EQ(y, 20);
}

TEST(ShapeEdit, CopyTakesTheOutlineButNotTheKind) {
  const clsShape source = Polygon({{0, 0}, {30, 0}, {0, 30}});
  clsShape target;
  target.Init(clsShape::kObstruction);
  target.Copy(source);
  EXPECT_EQ(target.GetKind(), clsShape::kObstruction);
  EXPECT_EQ(target.GetShapeType(), clsShape::kPolygon);
  EXPECT_EQ(target.GetVertices(), 3);
  double x, y;
  target.GetCenter(x, y);
  EXPECT_DOUBLE_EQ(x, 10);

  const clsShape ellipse = EllipseShape(5, 6, 7, 8, 0.25);
  target.Copy(ellipse);
  EXPECT_EQ(target.GetShapeType(), clsShape::kEllipse);
  EXPECT_EQ(target.GetAngle(), 0.25);
  EXPECT_EQ(target.GetVertices(), 0);
}

TEST(ShapeEdit, DeleteKeepsTheGeometry) {
  clsShape shape = EllipseShape(5, 6, 7, 8, 0.25);
  shape.Delete();
  EXPECT_EQ(shape.GetShapeType(), clsShape::kNone);
  EXPECT_EQ(shape.GetAngle(), 0.25);
}

TEST(ShapeEdit, RotateFoldsAnyTurnIntoTheHalfTurnRange) {
  struct Case {
    double start, turn;
  };
  const Case cases[] = {{1.0, 1.0},   {0.0, 1e300},  {0.0, -1e300}, {0.5, 1e308},
                        {-1.5, -1.0}, {0.0, 100.0},  {1.0, -7.0},   {0.0, kPi}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << " + " << c.turn);
    clsShape shape = EllipseShape(0, 0, 20, 10, c.start);
    shape.Rotate(c.turn);
    const double a = shape.GetAngle();
    EXPECT_TRUE(std::isfinite(a));
    EXPECT_LE(std::fabs(a), kHalfPi);
    if (std::fabs(c.turn) < 1e6) {
      // The same ellipse: the new angle differs from start + turn by whole half turns.
      const double halfTurns = (c.start + c.turn - a) / kPi;
      EXPECT_NEAR(halfTurns, std::nearbyint(halfTurns), 1e-9);
    }
  }
  clsShape shape = EllipseShape(0, 0, 20, 10, 1.0);
  shape.Rotate(1.0);
  EXPECT_DOUBLE_EQ(shape.GetAngle(), 2.0 - kPi);
  shape.Rotate(NAN);
  shape.Rotate(HUGE_VAL);
  EXPECT_DOUBLE_EQ(shape.GetAngle(), 2.0 - kPi);
}

TEST(ShapeEdit, RotateTurnsPolygonsAboutTheirCentreAndLeavesCircles) {
  clsShape square = Polygon({{10, 0}, {20, 10}, {10, 20}, {0, 10}});
  square.Rotate(kHalfPi);  // counter-clockwise on the screen
  double x, y;
  square.GetVertex(x, y, 1);
  EXPECT_NEAR(x, 0, 1e-12);
  EXPECT_NEAR(y, 10, 1e-12);
  square.GetCenter(x, y);
  EXPECT_DOUBLE_EQ(x, 10);
  EXPECT_DOUBLE_EQ(y, 10);

  clsShape circle;
  SaveClicks(circle, clsShape::kCircle, {{10, 20}, {30, 20}, {30, 60}, {10, 60}});
  circle.Rotate(1.0);
  EXPECT_EQ(circle.GetAngle(), 0);
}

TEST(ShapeEdit, ResizeSetsGivenRadiiAndScalesPolygons) {
  clsShape circle;
  SaveClicks(circle, clsShape::kCircle, {{10, 20}, {30, 20}, {30, 60}, {10, 60}});
  circle.Resize(kNotGivenDouble, 50, 3);
  double rx, ry;
  circle.GetRadii(rx, ry);
  EXPECT_EQ(rx, 10);
  EXPECT_EQ(ry, 50);
  circle.Resize(NAN, HUGE_VAL, 0);  // not numbers: not given
  circle.GetRadii(rx, ry);
  EXPECT_EQ(rx, 10);
  EXPECT_EQ(ry, 50);

  clsShape diamond = Polygon({{10, 0}, {20, 10}, {10, 20}, {0, 10}});
  diamond.Resize(20, kNotGivenDouble, 1);  // vertex 1 from distance 10 to 20
  const PointD expected[] = {{}, {10, -10}, {30, 10}, {10, 30}, {-10, 10}};
  for (int k = 1; k <= 4; ++k) {
    double x, y;
    diamond.GetVertex(x, y, k);
    EXPECT_NEAR(x, expected[k].x, 1e-12) << k;
    EXPECT_NEAR(y, expected[k].y, 1e-12) << k;
  }
  // Not given, or a vertex that does not exist: nothing happens.
  diamond.Resize(kNotGivenDouble, 5, 1);
  diamond.Resize(5, 5, 9);
  double x, y;
  diamond.GetVertex(x, y, 2);
  EXPECT_NEAR(x, 30, 1e-12);
}

// ---------------------------------------------------------------------------------
// Keyword section

TEST(ShapeSection, WritesTheDescribedLines) {
  clsShape shape = Polygon({{12.5, 40}, {100, 40}, {0.25, 80}});
  EXPECT_EQ(Written(shape),
            "Aperture\r\n"
            "ShapeType, 3 \r\n"
            "Center, 37.5833333333333, 53.3333333333333\r\n"
            "RadiusX, 0\r\n"
            "RadiusY, 0\r\n"
            "Angle, 0\r\n"
            "NumVertices, 3 \r\n"
            "Vertex, 12.5, 40\r\n"
            "Vertex, 100, 40\r\n"
            "Vertex, .25, 80\r\n"
            "EndShape\r\n");

  clsShape obstruction = EllipseShape(20, 30, 5.5, 2, -0.25);
  obstruction.Init(clsShape::kObstruction);
  EXPECT_EQ(Written(obstruction),
            "Obstruction\r\n"
            "ShapeType, 2 \r\n"
            "Center, 20, 30\r\n"
            "RadiusX, 5.5\r\n"
            "RadiusY, 2\r\n"
            "Angle,-.25\r\n"
            "NumVertices, 0 \r\n"
            "EndShape\r\n");

  clsShape noKind = EllipseShape(1, 2, 3, 4, 0);
  noKind.Init(0);
  EXPECT_EQ(Written(noKind), "");
}

TEST(ShapeSection, RoundTripsEveryShapeType) {
  clsShape circle;
  circle.Init(clsShape::kAperture);
  SaveClicks(circle, clsShape::kCircle, {{10.125, 20}, {30, 20}, {30, 61.3}, {10.125, 61.3}});
  clsShape ellipse;
  ellipse.Init(clsShape::kObstruction);
  SaveClicks(ellipse, clsShape::kEllipse, {{3, 7}, {91, 44}, {50, 20}});
  const clsShape polygon = Polygon({{1e-7, 3}, {250.75, 1e20}, {-4, 80}, {7, 7}});
  for (const clsShape* shape : std::initializer_list<const clsShape*>{&circle, &ellipse, &polygon}) {
    const std::string first = Written(*shape);
    clsShape read;
    read.Init(shape->GetKind());
    ASSERT_TRUE(ReadSection(read, Body(first)));
    EXPECT_EQ(Written(read), first);
  }
}

TEST(ShapeSection, KeepsTheFirstFiftyVertices) {
  std::string text = "ShapeType, 3 \r\nNumVertices, 60 \r\n";
  for (int k = 1; k <= 60; ++k) text += "Vertex, " + std::to_string(k) + ", 5\r\n";
  text += "EndShape\r\n";
  clsShape shape;
  ASSERT_TRUE(ReadSection(shape, text));
  EXPECT_EQ(shape.GetVertices(), 50);
  double x, y;
  shape.GetVertex(x, y, 50);
  EXPECT_EQ(x, 50);
}

TEST(ShapeSection, ReadsLooselyWrittenSections) {
  clsShape shape = EllipseShape(5, 6, 7, 8, 0.5);
  // Lower and mixed case, several keys on a line, unknown keys, blank lines; the
  // section ends at "EndShape" and the next line stays for the caller.
  StringLineSource file(
      "shapetype= 1 ; RADIUSX 3.5\r\n"
      "\r\n"
      "Colour, red, RadiusY, 9\r\n"
      "Center, 12.5, 40 Angle 0.125\r\n"
      "endshape\r\n"
      "NextKey, 1\r\n");
  clsParser parser;
  ASSERT_TRUE(shape.LoadFromFile(file, parser));
  EXPECT_EQ(shape.GetShapeType(), clsShape::kCircle);
  double x, y, rx, ry;
  shape.GetCenter(x, y);
  shape.GetRadii(rx, ry);
  EXPECT_EQ(x, 12.5);
  EXPECT_EQ(y, 40);
  EXPECT_EQ(rx, 3.5);
  EXPECT_EQ(ry, 8);  // "RadiusY" followed the unknown key, so that line was skipped
  EXPECT_EQ(shape.GetAngle(), 0.125);
  ASSERT_TRUE(parser.Readline(file));
  EXPECT_EQ(parser.GetToken(), "NextKey");
}

TEST(ShapeSection, TruncatedSectionLoadsWhatItHas) {
  clsShape shape = EllipseShape(5, 6, 7, 8, 0.5);
  ASSERT_TRUE(ReadSection(shape, "ShapeType, 1 \r\nCenter, 1, 2\r\nRadiusX,"));
  EXPECT_EQ(shape.GetShapeType(), clsShape::kCircle);
  double rx, ry;
  shape.GetRadii(rx, ry);
  EXPECT_EQ(rx, 0);  // a missing value reads as 0
  EXPECT_EQ(ry, 8);  // keys the section does not name keep their values
}

TEST(ShapeSection, RefusesAbsurdSectionsAndKeepsTheShape) {
  struct Case {
    const char* name;
    const char* text;
  };
  const Case cases[] = {
      {"unknown type", "ShapeType, 9 \r\nCenter, 1, 2\r\nEndShape\r\n"},
      {"negative type", "ShapeType,-1 \r\nEndShape\r\n"},
      {"huge type", "ShapeType, 1E+40 \r\nEndShape\r\n"},
      {"radius beyond doubles", "ShapeType, 1 \r\nRadiusX, 1E+999\r\nEndShape\r\n"},
      {"vertex beyond doubles", "ShapeType, 3 \r\nVertex, 1, -1E+400\r\nEndShape\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clsShape shape = EllipseShape(5, 6, 7, 8, 0.5);
    const std::string before = Written(shape);
    std::string problem;
    EXPECT_FALSE(ReadSection(shape, c.text, &problem));
    EXPECT_FALSE(problem.empty());
    EXPECT_EQ(Written(shape), before);
  }
}

TEST(ShapeSection, WriteFailuresFollowTheUsersAnswer) {
  const clsShape shape = Polygon({{0, 0}, {30, 0}, {0, 30}});
  const std::string whole = Written(shape);
  struct Case {
    const char* name;
    int answer;
    bool completed;
  };
  // Line 3 ("Center, ...") fails once.
  for (const Case& c : {Case{"abort", idbutton::kAbort, false},
                        Case{"retry", idbutton::kRetry, true},
                        Case{"ignore", idbutton::kIgnore, true}}) {
    SCOPED_TRACE(c.name);
    ScriptedMessageService messages;
    ScopedMessageService scope(messages);
    messages.QueueAnswer(c.answer);
    FailingTextOutput out(3);
    EXPECT_EQ(shape.SaveToFile(out), c.completed);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].title, "Error");
    const auto lines = SplitLines(whole);
    std::string expected;
    if (c.answer == idbutton::kAbort)
      expected = lines[0] + lines[1];
    else if (c.answer == idbutton::kRetry)
      expected = whole;
    else
      for (std::size_t i = 0; i < lines.size(); ++i)
        if (i != 2) expected += lines[i];
    EXPECT_EQ(out.Text(), expected);
  }
}

}  // namespace
}  // namespace orvale
