#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "app/plots/Conrec.h"
#include "platform/runtime/Markers.h"

namespace orvale {
namespace {

bool Near(const MeshPoint& a, const MeshPoint& b) {
  return std::abs(a.x - b.x) < 1e-12 && std::abs(a.y - b.y) < 1e-12;
}

// The zero set of the linear function on a triangle, from its vertices: vertices on the
// level and the crossing points of edges whose ends lie on opposite sides.
std::vector<MeshPoint> ZeroPoints(const MeshPoint v[3], const double h[3]) {
  std::vector<MeshPoint> pts;
  for (int a = 0; a < 3; ++a) {
    if (h[a] == 0) pts.push_back(v[a]);
    const int b = (a + 1) % 3;
    if ((h[a] < 0 && h[b] > 0) || (h[a] > 0 && h[b] < 0)) {
      const double t = h[a] / (h[a] - h[b]);
      pts.push_back({v[a].x + t * (v[b].x - v[a].x), v[a].y + t * (v[b].y - v[a].y)});
    }
  }
  return pts;
}

// Every combination of signs of the triangle (corner 1, centre, corner 2) of a unit
// cell: the case number follows the table and the segment is the zero line of the
// triangle, from the end the table names.
TEST(Conrec, AllTwentySevenSignCasesOfATriangle) {
  const int expectedCase[3][3][3] = {
      {{0, 0, 8}, {0, 2, 5}, {7, 6, 9}},
      {{0, 3, 4}, {1, 3, 1}, {4, 3, 0}},
      {{9, 6, 7}, {5, 2, 0}, {8, 0, 0}},
  };
  for (int s1 = 0; s1 < 3; ++s1) {
    for (int s0 = 0; s0 < 3; ++s0) {
      for (int s3 = 0; s3 < 3; ++s3) {
        SCOPED_TRACE(testing::Message() << "signs " << s1 << s0 << s3);
        const int c = ConrecCase(s1, s0, s3);
        EXPECT_EQ(c, expectedCase[s1][s0][s3]);

        // Heights -1, 0, +1 for the codes; corners 3 and 4 set the centre's height.
        const double h1 = s1 - 1.0;
        const double h2 = s3 - 1.0;
        const double h0 = s0 - 1.0;
        const double t = (4 * h0 - h1 - h2) / 2;
        ContourCell cell;
        cell.x = {0, 1, 1, 0};
        cell.y = {0, 0, 1, 1};
        cell.z = {h1 + 10, h2 + 10, t + 10, t + 10};
        ContourSegment segs[4];
        const int n = ContourCellAtLevel(cell, 10, segs);

        const MeshPoint v[3] = {{0, 0}, {0.5, 0.5}, {1, 0}};  // corner 1, centre, corner 2
        const double h[3] = {h1, h0, h2};
        const std::vector<MeshPoint> zero = ZeroPoints(v, h);
        if (c == 0) {
          // No zero line, or a single vertex touching the level.
          EXPECT_LE(zero.size(), 1u);
          continue;
        }
        ASSERT_GE(n, 1);
        const ContourSegment& seg = segs[0];
        if (s1 == 1 && s0 == 1 && s3 == 1) {
          // A flat triangle draws its outer edge, from corner 2 to corner 1.
          EXPECT_TRUE(Near(seg.p, v[2]));
          EXPECT_TRUE(Near(seg.q, v[0]));
          continue;
        }
        ASSERT_EQ(zero.size(), 2u);
        const bool forward = Near(seg.p, zero[0]) && Near(seg.q, zero[1]);
        const bool backward = Near(seg.p, zero[1]) && Near(seg.q, zero[0]);
        EXPECT_TRUE(forward || backward);
        // The table's first point: a corner on the level (cases 1, 3, 4, 6 start at a
        // corner, 2 and 5 at the centre), else the crossing the table names first.
        switch (c) {
          case 1: case 4: EXPECT_TRUE(Near(seg.p, v[0])); break;
          case 2: case 5: EXPECT_TRUE(Near(seg.p, v[1])); break;
          case 3: case 6: EXPECT_TRUE(Near(seg.p, v[2])); break;
          case 7: EXPECT_NEAR(seg.p.x, seg.p.y, 1e-12); break;           // on corner 1 - centre
          case 8: EXPECT_NEAR(seg.p.x + seg.p.y, 1.0, 1e-12); break;     // on centre - corner 2
          case 9: EXPECT_EQ(seg.p.y, 0.0); break;                         // on corner 2 - corner 1
        }
      }
    }
  }
}

TEST(Conrec, PlanarFillInOfEachCorner) {
  const double b = kBlankValue;
  // Corners 1..4 of z = 1 + 2x + 3y at (0,0), (1,0), (1,1), (0,1): 1, 3, 6, 4.
  const std::array<double, 4> full = {1, 3, 6, 4};
  for (int m = 0; m < 4; ++m) {
    std::array<double, 4> z = full;
    z[m] = b;
    EXPECT_EQ(FillOneBlankCorner(z), 1);
    EXPECT_EQ(z, full) << "corner " << m + 1;
  }
  // The four formulas on values that are not a plane.
  std::array<double, 4> z = {b, 2, 7, 5};
  FillOneBlankCorner(z);
  EXPECT_EQ(z[0], 2 + 5 - 7);
  z = {1, b, 7, 5};
  FillOneBlankCorner(z);
  EXPECT_EQ(z[1], 1 + 7 - 5);
  z = {1, 2, b, 5};
  FillOneBlankCorner(z);
  EXPECT_EQ(z[2], 2 + 5 - 1);
  z = {1, 2, 7, b};
  FillOneBlankCorner(z);
  EXPECT_EQ(z[3], 1 + 7 - 2);
  // Two blank corners: counted, left alone.
  z = {b, 2, b, 5};
  EXPECT_EQ(FillOneBlankCorner(z), 2);
  EXPECT_EQ(z[0], b);
  EXPECT_EQ(z[2], b);
}

// A 2 x 2 mesh (one cell) at unit spacing.
struct OneCell {
  std::vector<double> x = {0, 1, 0, 1};
  std::vector<double> y = {0, 0, 1, 1};
  std::vector<double> z;
  ContourMeshRef Ref() const { return {x, y, z, 2, 2}; }
};

// Every segment lies on the line x + y = sum.
void ExpectAllOnTheLine(const std::vector<LevelSegment>& segs, double sum) {
  ASSERT_FALSE(segs.empty());
  for (const auto& s : segs) {
    EXPECT_NEAR(s.segment.p.x + s.segment.p.y, sum, 1e-12);
    EXPECT_NEAR(s.segment.q.x + s.segment.q.y, sum, 1e-12);
  }
}

TEST(Conrec, CellWithOneBlankCornerIsContouredWithItsPlanarValue) {
  OneCell cell;
  // Mesh order is row by row: (0,0) (1,0) / (0,1) (1,1); corner 3 is (1,1).
  cell.z = {0, 1, 1, kBlankValue};
  const std::vector<double> levels = {1.5};
  // The filled corner (2) raises the cell's maximum above the level: the level is drawn
  // although no corner as read reaches it.
  ExpectAllOnTheLine(ContourMesh(cell.Ref(), levels, {}), 1.5);
  // With two blank corners the cell is skipped.
  cell.z = {0, kBlankValue, 1, kBlankValue};
  EXPECT_TRUE(ContourMesh(cell.Ref(), levels, {}).empty());
}

TEST(Conrec, UnitCircleTestAppliesOnlyToCellsWithABlankCorner) {
  // A cell straddling the unit circle: corners at 0.5 and 1.5 along x.
  std::vector<double> x = {0.5, 1.5, 0.5, 1.5};
  std::vector<double> y = {0, 0, 0.2, 0.2};
  std::vector<double> z = {0, 1, 0, 1};  // z = x - 0.5
  const std::vector<double> levels = {0.9};  // x = 1.4, outside the circle
  ContourMeshRef mesh{x, y, z, 2, 2};
  ContourOptions circle;
  circle.unitCircleForBlankCells = true;
  EXPECT_FALSE(ContourMesh(mesh, levels, circle).empty());  // no blank corner: kept
  z[3] = kBlankValue;
  EXPECT_TRUE(ContourMesh(mesh, levels, circle).empty());   // blank corner: dropped
  EXPECT_FALSE(ContourMesh(mesh, levels, {}).empty());      // no circle test: kept
}

TEST(Conrec, ExactCornerOnTheLevelStartsTheSegmentAtThatCorner) {
  OneCell cell;
  cell.z = {0, 1, 1, 2};  // z = x + y: level 1 passes corners 2 (1,0) and 4 (0,1) and the centre
  const std::vector<double> levels = {1};
  const auto segs = ContourMesh(cell.Ref(), levels, {});
  ExpectAllOnTheLine(segs, 1);
  // One segment per triangle, each between the centre and corner 2 or 4 (cases 1 and 2).
  ASSERT_EQ(segs.size(), 4u);
  const MeshPoint centre{0.5, 0.5}, c2{1, 0}, c4{0, 1};
  EXPECT_TRUE(Near(segs[0].segment.p, centre) && Near(segs[0].segment.q, c2));
  EXPECT_TRUE(Near(segs[1].segment.p, c2) && Near(segs[1].segment.q, centre));
  EXPECT_TRUE(Near(segs[2].segment.p, centre) && Near(segs[2].segment.q, c4));
  EXPECT_TRUE(Near(segs[3].segment.p, c4) && Near(segs[3].segment.q, centre));
}

// Reference: every level scanned for every cell, in the documented order.
std::vector<LevelSegment> ScanAllLevels(const ContourMeshRef& mesh, const std::vector<double>& levels) {
  std::vector<LevelSegment> out;
  for (int j = mesh.ySize - 2; j >= 0; --j) {
    for (int i = 0; i <= mesh.xSize - 2; ++i) {
      const int idx[4] = {mesh.xSize * j + i, mesh.xSize * j + i + 1, mesh.xSize * (j + 1) + i + 1,
                          mesh.xSize * (j + 1) + i};
      ContourCell cell;
      for (int m = 0; m < 4; ++m) {
        cell.x[m] = mesh.x[idx[m]];
        cell.y[m] = mesh.y[idx[m]];
        cell.z[m] = mesh.z[idx[m]];
      }
      if (FillOneBlankCorner(cell.z) >= 2) continue;
      const double lo = *std::min_element(cell.z.begin(), cell.z.end());
      const double hi = *std::max_element(cell.z.begin(), cell.z.end());
      for (int k = 0; k < static_cast<int>(levels.size()); ++k) {
        if (levels[k] < lo || levels[k] > hi) continue;
        ContourSegment segs[4];
        const int n = ContourCellAtLevel(cell, levels[k], segs);
        for (int s = 0; s < n; ++s) out.push_back({k, segs[s]});
      }
    }
  }
  return out;
}

TEST(Conrec, LevelsSkippedByIndexGiveTheSameSegmentsAsAScanOfAllLevels) {
  const int nx = 23, ny = 17;
  std::vector<double> x(nx * ny), y(nx * ny), z(nx * ny);
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> noise(-0.05, 0.05);
  for (int j = 0; j < ny; ++j) {
    for (int i = 0; i < nx; ++i) {
      const int k = nx * j + i;
      x[k] = -1 + 2.0 * i / (nx - 1);
      y[k] = 1 - 2.0 * j / (ny - 1);
      const double r2 = x[k] * x[k] + y[k] * y[k];
      z[k] = r2 > 1 ? kBlankValue : 2 * r2 - 1 + 0.3 * x[k] * y[k] + noise(rng);
    }
  }
  z[nx * 3 + 5] = 0.25;  // a value exactly on a level
  std::vector<double> levels;
  for (int k = 0; k < 40; ++k) levels.push_back(-1.2 + k * 0.0625);
  const ContourMeshRef mesh{x, y, z, nx, ny};
  const auto fast = ContourMesh(mesh, levels, {});
  const auto slow = ScanAllLevels(mesh, levels);
  ASSERT_EQ(fast.size(), slow.size());
  ASSERT_FALSE(fast.empty());
  for (std::size_t s = 0; s < fast.size(); ++s) {
    EXPECT_EQ(fast[s].level, slow[s].level);
    EXPECT_EQ(fast[s].segment.p.x, slow[s].segment.p.x);
    EXPECT_EQ(fast[s].segment.q.y, slow[s].segment.q.y);
  }
}

TEST(Conrec, DegenerateMeshesGiveNothing) {
  const std::vector<double> levels = {0.5};
  std::vector<double> v = {0, 1, 0, 1};
  EXPECT_TRUE(ContourMesh({v, v, v, 1, 4}, levels, {}).empty());
  EXPECT_TRUE(ContourMesh({v, v, v, 3, 3}, levels, {}).empty());  // arrays too short
  EXPECT_TRUE(ContourMesh({v, v, v, 2, 2}, {}, {}).empty());
  std::vector<double> z = {0, std::nan(""), 1, 1};
  EXPECT_TRUE(ContourMesh({v, v, z, 2, 2}, levels, {}).empty());
}

}  // namespace
}  // namespace orvale
