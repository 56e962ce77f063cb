// Tracing end to end as the document drives it: the mask is built from the aperture and
// obstruction shapes (at twice the image's size for small images), the fringes are
// traced, and the fit of their centres, on a mask at the image's size, gives back the
// wavefront the interferogram was made from.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ShapesGridTestSupport.h"
#include "TraceTestSupport.h"
#include "app/analysis/clsAnalysis.h"
#include "app/analysis/clsFringes.h"
#include "app/analysis/clsShape.h"
#include "platform/ui/MessageService.h"

namespace orvale {
namespace {

using analysis_test::FringePoints;
using analysis_test::Interferogram;

// A circle, or a regular polygon of `sides` vertices on that circle.
clsShape Outline(double x, double y, double radius, int sides) {
  if (sides == 0) return CircleShape(x, y, radius);
  std::vector<PointD> vertices;
  for (int i = 0; i < sides; ++i) {
    const double angle = 2 * M_PI * (i + 0.5) / sides;
    vertices.push_back({x + radius * std::cos(angle), y + radius * std::sin(angle)});
  }
  return PolygonShape(vertices);
}

// The document's mask: the aperture, then the obstruction over it, then the scale.
void BuildMask(clsAnalysis& analysis, clsShape& aperture, const clsShape& obstruction,
               std::int32_t width, std::int32_t height, bool doubled) {
  const std::int32_t factor = doubled ? 2 : 1;
  ASSERT_TRUE(analysis.CreateMask(factor * width, factor * height));
  analysis.MaskDoubleSize = doubled;
  ASSERT_TRUE(analysis.UpdateApertureMask(aperture, doubled));
  if (obstruction.GetShapeType() != clsShape::kNone) {
    ASSERT_TRUE(analysis.UpdateObstructionMask(obstruction, doubled));
  }
  ASSERT_TRUE(analysis.SetScalefactors(aperture));
  analysis.MaskValid = true;
}

struct ShapeCase {
  const char* name;
  int width, height;  // below 350 on a side: traced at twice the size
  double cx, cy, radius, obstruction;
  int direction;
  int sides = 0;  // of a polygon aperture; 0 for a circle
};

class TraceThroughShapes : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(TraceThroughShapes, FitOfTheTracedCentresRecoversTheWavefront) {
  const ShapeCase& c = GetParam();
  ZernikeVector truth{};
  truth[c.direction == 0 ? 2 : 1] = 9.0;
  truth[c.direction == 0 ? 1 : 2] = -0.8;
  truth[3] = 1.2;
  truth[5] = 0.4;
  truth[8] = 0.15;
  const auto image = Interferogram(c.width, c.height, c.cx, c.cy, c.radius, truth);
  clsShape aperture = Outline(c.cx, c.cy, c.radius, c.sides);
  clsShape obstruction;
  obstruction.Init(clsShape::kObstruction);
  if (c.obstruction > 0) obstruction = CircleShape(c.cx, c.cy, c.obstruction);

  ScriptedMessageService messages;
  ScopedMessageService scoped(messages);
  clsAnalysis analysis;
  const bool doubled = c.width < 350 || c.height < 350;
  BuildMask(analysis, aperture, obstruction, c.width, c.height, doubled);
  std::vector<std::uint8_t> mask;
  std::int32_t maskWidth = 0, maskHeight = 0;
  analysis.GetMaskPointer(mask, maskWidth, maskHeight);

  clsFringes fringes;
  analysis.AutoTrace(fringes, image, c.width, c.height, c.direction, 2);
  EXPECT_TRUE(messages.Messages().empty());
  std::vector<std::uint8_t> after;
  std::int32_t afterWidth = 0, afterHeight = 0;
  analysis.GetMaskPointer(after, afterWidth, afterHeight);
  EXPECT_EQ(after, mask);
  EXPECT_EQ(afterWidth, maskWidth);
  EXPECT_EQ(afterHeight, maskHeight);
  ASSERT_GE(fringes.NumFringes(), 10);

  // The fit always works on a mask at the image's size.
  if (doubled) BuildMask(analysis, aperture, obstruction, c.width, c.height, false);
  for (std::int32_t i = 1; i <= fringes.NumFringes(); ++i)
    for (const PointD& p : FringePoints(fringes, i))
      EXPECT_TRUE(p.x >= 0 && p.x < c.width && p.y >= 0 && p.y < c.height);
  const ZernikeVector fit = analysis_test::FitCentresByOrder(analysis, fringes);
  for (int k = 1; k <= 8; ++k) EXPECT_NEAR(fit[k], truth[k], 0.05) << "term " << k;
}

INSTANTIATE_TEST_SUITE_P(
    Pupils, TraceThroughShapes,
    ::testing::Values(ShapeCase{"LargeObstructedVertical", 640, 480, 330, 236, 220, 60, 1},
                      ShapeCase{"LargeObstructedHorizontal", 480, 640, 236, 330, 220, 60, 0},
                      ShapeCase{"LargePolygonVertical", 640, 480, 330, 236, 220, 0, 1, 12},
                      ShapeCase{"SmallClearHorizontal", 320, 240, 161, 118, 110, 0, 0},
                      ShapeCase{"SmallObstructedVertical", 320, 240, 161, 118, 110, 30, 1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvale
