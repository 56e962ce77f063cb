#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/analysis/clsAnalysis.h"
#include "app/analysis/clsGrid.h"

namespace orvale {
namespace {

struct Cell {
  double rms = -1, pv = -1;
  std::int32_t status = -1;
};

// A 100 x 100 mask of usable pupil whose 100 samples an axis fall on pixels 0..99 in
// turn, under a grid of 4 x 4 cells of 25 pixels.
class GridEval : public ::testing::Test {
 protected:
  static constexpr int kSize = 100, kSamples = 100;

  void SetUp() override {
    ASSERT_TRUE(analysis_.CreateMask(kSize, kSize));
    auto bytes = analysis_.MaskBytes();
    std::fill(bytes.begin(), bytes.end(), clsAnalysis::kMaskPupil);
    analysis_.xCenter = analysis_.yCenter = 49.5;
    analysis_.xScale = analysis_.yScale = 1 / 49.5;
    grid_.GridPhysicalWidth = 100;
    grid_.CellPhysicalWidth = grid_.CellPhysicalHeight = 25;
    grid_.PixelSizeX = grid_.PixelSizeY = 100;
    ASSERT_TRUE(grid_.UpdateCellCounts());
    ASSERT_EQ(grid_.CellCountX, 4);
    ASSERT_EQ(grid_.CellCountY, 4);
    a_[1] = 0.5;  // a tilt: every cell's values differ
    a_[8] = 0.05;
  }

  Cell At(int x, int y) const {
    Cell cell;
    grid_.GetCellMeasurements(x, y, cell.rms, cell.pv, cell.status);
    return cell;
  }

  // Two-pass statistics of the samples on pixels [x0, x0 + 25) x [y0, y0 + 25).
  Cell Expected(int x0, int y0) const {
    std::vector<double> w;
    for (int j = y0; j < y0 + 25; ++j)
      for (int i = x0; i < x0 + 25; ++i)
        w.push_back(analysis_.EvalZernike((i - 49.5) / 49.5, (j - 49.5) / 49.5, a_));
    double mean = 0;
    for (double v : w) mean += v / w.size();
    double squares = 0;
    for (double v : w) squares += (v - mean) * (v - mean);
    const auto [low, high] = std::minmax_element(w.begin(), w.end());
    return {std::sqrt(squares / (w.size() - 1)), *high - *low, clsGrid::kWithinLimits};
  }

  clsAnalysis analysis_;
  clsGrid grid_;
  ZernikeVector a_{};
};

TEST_F(GridEval, CellsTouchingTheRightOrBottomEdgeAreNotAnalysed) {
  grid_.UseRMS = grid_.UsePV = false;
  ASSERT_TRUE(analysis_.EvalGrid(a_, kSamples, kSamples, grid_));
  ASSERT_TRUE(grid_.IsDefined(clsGrid::kResults));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      const Cell cell = At(x, y);
      if (x == 3 || y == 3) {  // left + 25 = 100: the cell touches the edge
        EXPECT_EQ(cell.status, clsGrid::kNotAnalysed) << x << "," << y;
        EXPECT_EQ(cell.rms, 0);
        EXPECT_EQ(cell.pv, 0);
        continue;
      }
      const Cell expected = Expected(25 * x, 25 * y);
      EXPECT_EQ(cell.status, clsGrid::kWithinLimits) << x << "," << y;
      EXPECT_NEAR(cell.rms, expected.rms, 1e-12) << x << "," << y;
      EXPECT_NEAR(cell.pv, expected.pv, 1e-15) << x << "," << y;
    }

  // Moved: a cell whose rounded left edge is left of the mask, or that reaches past its
  // right edge, is out too.
  const struct {
    double left;
    std::int32_t status[4];
  } cases[] = {{-0.6, {0, 1, 1, 1}}, {-0.4, {1, 1, 1, 0}}, {10, {1, 1, 1, 0}}};
  for (const auto& c : cases) {
    grid_.UpperLeftX = c.left;
    ASSERT_TRUE(analysis_.EvalGrid(a_, kSamples, kSamples, grid_));
    for (int x = 0; x < 4; ++x) EXPECT_EQ(At(x, 0).status, c.status[x]) << c.left << ", cell " << x;
  }
}

TEST_F(GridEval, OneSampleOffTheUsablePupilRulesOutItsCell) {
  auto bytes = analysis_.MaskBytes();
  bytes[30 * kSize + 30] = clsAnalysis::kMaskObstruction;  // in cell (1, 1)
  bytes[10 * kSize + 60] = clsAnalysis::kMaskOutside;      // in cell (2, 0)
  grid_.UseRMS = grid_.UsePV = false;
  ASSERT_TRUE(analysis_.EvalGrid(a_, kSamples, kSamples, grid_));
  EXPECT_EQ(At(1, 1).status, clsGrid::kNotAnalysed);
  EXPECT_EQ(At(1, 1).rms, 0);
  EXPECT_EQ(At(2, 0).status, clsGrid::kNotAnalysed);
  for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {0, 1}, {2, 1}, {1, 2}})
    EXPECT_EQ(At(x, y).status, clsGrid::kWithinLimits) << x << "," << y;
}

TEST_F(GridEval, SingleSamplesHaveNoSpreadAndEmptyCellsAreNotAnalysed) {
  // Three samples an axis fall on pixels 0, 50 and 99.
  ASSERT_TRUE(analysis_.EvalGrid(a_, 3, 3, grid_));
  for (auto [x, y] : {std::pair{0, 0}, {2, 0}, {0, 2}, {2, 2}}) {
    const Cell cell = At(x, y);
    EXPECT_EQ(cell.status, clsGrid::kWithinLimits) << x << "," << y;
    EXPECT_EQ(cell.rms, 0);
    EXPECT_EQ(cell.pv, 0);
  }
  EXPECT_EQ(At(1, 1).status, clsGrid::kNotAnalysed);
  EXPECT_EQ(At(1, 0).status, clsGrid::kNotAnalysed);
}

TEST_F(GridEval, LimitsApplyOnlyWhenInUse) {
  const Cell measured = Expected(0, 0);
  const double rms = measured.rms, pv = measured.pv;
  const struct {
    bool useRms;
    double maxRms;
    bool usePv;
    double maxPv;
    std::int32_t status;
  } cases[] = {
      {true, rms * 1.01, true, pv * 1.01, 1},  {true, rms * 0.99, true, pv * 1.01, 2},
      {true, rms * 1.01, true, pv * 0.99, 2},  {false, rms * 0.99, true, pv * 1.01, 1},
      {true, rms * 1.01, false, pv * 0.99, 1}, {false, 0, false, 0, 1},
      {true, rms + 1e-9, true, pv + 1e-9, 1},
  };
  for (const auto& c : cases) {
    grid_.UseRMS = c.useRms;
    grid_.MaxRMS = c.maxRms;
    grid_.UsePV = c.usePv;
    grid_.MaxPV = c.maxPv;
    ASSERT_TRUE(analysis_.EvalGrid(a_, kSamples, kSamples, grid_));
    EXPECT_EQ(At(0, 0).status, c.status)
        << c.useRms << " " << c.maxRms << " " << c.usePv << " " << c.maxPv;
  }
}

TEST_F(GridEval, GridsWithoutUsableCellsAreRefused) {
  const struct {
    const char* name;
    void (*change)(clsGrid&, clsAnalysis&, int& samples);
  } cases[] = {
      {"zero cell size", [](clsGrid& g, clsAnalysis&, int&) { g.PixelSizeX = 0; }},
      {"infinite cell width",
       [](clsGrid& g, clsAnalysis&, int&) { g.CellPhysicalWidth = INFINITY; }},
      {"infinite physical width",
       [](clsGrid& g, clsAnalysis&, int&) { g.GridPhysicalWidth = INFINITY; }},
      {"no rectangle", [](clsGrid& g, clsAnalysis&, int&) { g.PixelSizeX = -1; }},
      {"no cells", [](clsGrid& g, clsAnalysis&, int&) { g.CellCountY = 0; }},
      {"one sample", [](clsGrid&, clsAnalysis&, int& samples) { samples = 1; }},
      {"no scale", [](clsGrid&, clsAnalysis& a, int&) { a.yScale = 0; }},
  };
  for (const auto& c : cases) {
    SetUp();
    int samples = kSamples;
    c.change(grid_, analysis_, samples);
    EXPECT_FALSE(analysis_.EvalGrid(a_, samples, samples, grid_)) << c.name;
    EXPECT_FALSE(grid_.IsDefined(clsGrid::kResults)) << c.name;
  }
  clsAnalysis noMask;
  noMask.xScale = noMask.yScale = 1;
  SetUp();
  EXPECT_FALSE(noMask.EvalGrid(a_, kSamples, kSamples, grid_));
}

}  // namespace
}  // namespace orvale
