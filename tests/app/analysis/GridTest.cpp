#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/analysis/LineParser.h"
#include "app/analysis/clsGrid.h"
#include "platform/registry/MemorySettingsStore.h"
#include "platform/registry/TypedSettings.h"
#include "platform/runtime/LineInput.h"
#include "platform/runtime/Markers.h"
#include "platform/runtime/TextOutput.h"
#include "tests/app/analysis/ShapesGridTestSupport.h"

namespace orvale {
namespace {

struct Results {
  std::vector<std::int32_t> status;
  std::vector<double> rms;
  std::vector<double> pv;
};

Results SampleResults(std::size_t n) {
  Results r;
  for (std::size_t i = 0; i < n; ++i) {
    r.status.push_back(static_cast<std::int32_t>(i % 3));
    r.rms.push_back(0.0125 * static_cast<double>(i + 1));
    r.pv.push_back(0.25 + static_cast<double>(i));
  }
  return r;
}

// ---------------------------------------------------------------------------------
// Definition and counts

TEST(GridDefinition, NewGridHasNothingDefined) {
  clsGrid grid;
  EXPECT_TRUE(grid.IsDefined(0));
  EXPECT_FALSE(grid.IsDefined(1));
  EXPECT_FALSE(grid.IsDefined(2));
  EXPECT_FALSE(grid.IsDefined(4));
  double analysed = 7, usable = 7, area = 7;
  grid.GetStatistics(analysed, usable, area);
  EXPECT_EQ(analysed, -1);
  EXPECT_EQ(usable, -1);
  EXPECT_EQ(area, 7);
}

TEST(GridDefinition, ARectangleNeedsAPositiveWidthAndHeight) {
  clsGrid grid = TenByThreeGrid();
  EXPECT_TRUE(grid.IsDefined(3));
  for (auto [w, h] : {std::pair{0.0, 60.0}, std::pair{200.0, 0.0}, std::pair{-1.0, 60.0},
                      std::pair{double(NAN), 60.0}}) {
    SCOPED_TRACE(testing::Message() << w << " x " << h);
    grid.PixelSizeX = w;
    grid.PixelSizeY = h;
    EXPECT_FALSE(grid.IsDefined(2));
  }
  // A zero width gives no counts (no division by zero); the old counts stay.
  grid.PixelSizeX = 0;
  grid.PixelSizeY = 60;
  EXPECT_TRUE(grid.UpdateCellCounts());
  EXPECT_EQ(grid.CellCountX, 10);
  EXPECT_EQ(grid.CellCountY, 3);
  std::int32_t found = 9, vertex = 9;
  grid.Find(10, 20, found, vertex);
  EXPECT_EQ(found, 0);
  EXPECT_EQ(vertex, 9);
}

TEST(GridCounts, WholeCellsCountDespiteRoundingShortfalls) {
  struct Case {
    double physicalWidth, cellWidth, cellHeight, pixelsX, pixelsY;
    std::int32_t columns, rows;
  };
  const Case cases[] = {
      {100, 10, 10, 200, 59.9999999999999, 10, 3},
      {100, 10, 10, 200, 59.9, 10, 2},
      {100, 10, 10, 200, 60, 10, 3},
      {0.3, 0.1, 0.1, 300, 100, 3, 1},  // 0.3 / 0.1 is 2.9999999999999996
      {0.3, 0.1, 0.1, 300, 300, 3, 3},
      {10, 3, 5, 100, 100, 3, 2},
      {100, 10, 10, 200, 0, 10, 0},  // a height that snapped to no cells
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.physicalWidth << "/" << c.cellWidth << ", "
                                    << c.pixelsY);
    clsGrid grid;
    grid.GridPhysicalWidth = c.physicalWidth;
    grid.CellPhysicalWidth = c.cellWidth;
    grid.CellPhysicalHeight = c.cellHeight;
    grid.PixelSizeX = c.pixelsX;
    grid.PixelSizeY = c.pixelsY;
    EXPECT_TRUE(grid.UpdateCellCounts());
    EXPECT_EQ(grid.CellCountX, c.columns);
    EXPECT_EQ(grid.CellCountY, c.rows);
  }
}

TEST(GridCounts, AbsurdCountsAreRefused) {
  clsGrid grid = TenByThreeGrid();
  grid.CellPhysicalWidth = 1e-9;  // 1E+11 columns
  EXPECT_FALSE(grid.UpdateCellCounts());
  EXPECT_EQ(grid.CellCountX, 0);
  EXPECT_EQ(grid.CellCountY, 0);

  grid = TenByThreeGrid();
  grid.CellPhysicalHeight = 1e-300;  // rows beyond any range
  EXPECT_FALSE(grid.UpdateCellCounts());
  EXPECT_EQ(grid.CellCountY, 0);

  grid = TenByThreeGrid();
  grid.CellPhysicalWidth = 0.1;  // exactly the largest count allowed
  EXPECT_TRUE(grid.UpdateCellCounts());
  EXPECT_EQ(grid.CellCountX, clsGrid::kMaxCellsPerSide);
}

// ---------------------------------------------------------------------------------
// Rectangle

TEST(GridBounds, SetBoundsSnapsTheHeightToWholeCells) {
  clsGrid grid;
  grid.GridPhysicalWidth = 40;
  grid.CellPhysicalWidth = 10;
  grid.CellPhysicalHeight = 20;
  grid.SetBounds(50, 80, 10, 20);
  EXPECT_EQ(grid.UpperLeftX, 10);
  EXPECT_EQ(grid.UpperLeftY, 20);
  EXPECT_EQ(grid.PixelSizeX, 40);
  EXPECT_EQ(grid.PixelSizeY, 60);
  EXPECT_EQ(grid.CellCountX, 4);
  EXPECT_EQ(grid.CellCountY, 3);

  grid.SetBounds(10, 20, 50, 35);  // shorter than one cell
  EXPECT_EQ(grid.PixelSizeY, 0);
  EXPECT_EQ(grid.CellCountY, 0);
  EXPECT_FALSE(grid.IsDefined(2));

  grid.SetBounds(10, 20, 10, 20);  // one click twice: the minimum size
  EXPECT_EQ(grid.PixelSizeX, 1);

  // The whole 32-bit range does not overflow.
  grid.SetBounds(INT32_MIN, 0, INT32_MAX, 10);
  EXPECT_EQ(grid.PixelSizeX, 4294967295.0);

  clsGrid noSizes;
  noSizes.SetBounds(0, 0, 100, 100);
  EXPECT_EQ(noSizes.PixelSizeX, -1);
}

TEST(GridBounds, ResizeMovesOneCornerAndKeepsSizesPositive) {
  clsGrid grid = TenByThreeGrid();
  grid.UpperLeftX = 100;
  grid.UpperLeftY = 100;
  grid.Resize(300, 200, 2);
  EXPECT_EQ(grid.PixelSizeX, 200);
  EXPECT_EQ(grid.PixelSizeY, 100);
  EXPECT_EQ(grid.CellCountY, 5);  // 20 pixels per cell height, not snapped

  struct Case {
    std::int32_t corner;
    double x, y;
    double left, top, width, height;
  };
  // From the rectangle (100, 100) 200 x 100, far past the opposite corner.
  const Case cases[] = {
      {0, 500, 500, 299, 199, 1, 1},
      {1, -500, 500, 100, 199, 1, 1},
      {2, -500, -500, 100, 100, 1, 1},
      {3, 500, -500, 299, 100, 1, 1},
      {0, 50, 60, 50, 60, 250, 140},
      {1, 350, 60, 100, 60, 250, 140},
      {3, 50, 250, 50, 100, 250, 150},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "corner " << c.corner << " to " << c.x << ", " << c.y);
    clsGrid g = grid;
    g.Resize(c.x, c.y, c.corner);
    EXPECT_EQ(g.UpperLeftX, c.left);
    EXPECT_EQ(g.UpperLeftY, c.top);
    EXPECT_EQ(g.PixelSizeX, c.width);
    EXPECT_EQ(g.PixelSizeY, c.height);
    EXPECT_TRUE(g.IsDefined(3));
  }
  clsGrid g = grid;
  g.Resize(1, 1, 4);
  g.Resize(NAN, 1, 2);
  EXPECT_EQ(g.PixelSizeX, 200);
}

TEST(GridBounds, CentreAndCorners) {
  clsGrid grid = TenByThreeGrid();
  double x, y;
  grid.GetCenter(x, y);
  EXPECT_EQ(x, 110);
  EXPECT_EQ(y, 50);
  grid.SetCenter(0, 0);
  EXPECT_EQ(grid.UpperLeftX, -100);
  EXPECT_EQ(grid.UpperLeftY, -30);
  EXPECT_EQ(grid.CellCountX, 10);
  const double corners[4][2] = {{-100, -30}, {100, -30}, {100, 30}, {-100, 30}};
  for (int v = 0; v < 4; ++v) {
    grid.GetVertex(v, x, y);
    EXPECT_EQ(x, corners[v][0]);
    EXPECT_EQ(y, corners[v][1]);
  }
  x = y = 7;
  grid.GetVertex(4, x, y);
  EXPECT_EQ(x, 7);

  clsGrid none;
  none.SetCenter(50, 50);
  EXPECT_EQ(none.UpperLeftX, 0);
}

TEST(GridBounds, FindCornersThenEdges) {
  const clsGrid grid = TenByThreeGrid();  // (10, 20) to (210, 80)
  struct Case {
    double x, y;
    std::int32_t found, vertex;
  };
  const Case cases[] = {
      {12, 18, 2, 0},   {208, 23, 2, 1}, {213, 83, 2, 2}, {7, 77, 2, 3},
      {11, 50, 1, 4},   {209, 50, 1, 4}, {100, 17, 1, 4}, {100, 82, 1, 4},
      {100, 50, 0, 4},  {500, 500, 0, 4},
      {10, 10, 0, 4},  // on the left edge's line but above the rectangle
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
    std::int32_t found = -1, vertex = -1;
    grid.Find(c.x, c.y, found, vertex);
    EXPECT_EQ(found, c.found);
    EXPECT_EQ(vertex, c.vertex);
  }
}

// ---------------------------------------------------------------------------------
// Results

TEST(GridResults, CellsAreStoredRowByRow) {
  clsGrid grid = TenByThreeGrid();
  const Results r = SampleResults(30);
  ASSERT_TRUE(grid.SetAnalysisResults(r.status, r.rms, r.pv));
  EXPECT_TRUE(grid.IsDefined(7));
  double rms, pv;
  std::int32_t usable;
  ASSERT_TRUE(grid.GetCellMeasurements(3, 2, rms, pv, usable));  // index 23
  EXPECT_EQ(usable, r.status[23]);
  EXPECT_EQ(rms, r.rms[23]);
  EXPECT_EQ(pv, r.pv[23]);
  EXPECT_FALSE(grid.GetCellMeasurements(10, 0, rms, pv, usable));
  EXPECT_FALSE(grid.GetCellMeasurements(0, -1, rms, pv, usable));
  EXPECT_EQ(usable, 0);

  // Arrays shorter than the grid are refused.
  const Results few = SampleResults(29);
  EXPECT_FALSE(grid.SetAnalysisResults(few.status, few.rms, few.pv));
  ASSERT_TRUE(grid.GetCellMeasurements(3, 2, rms, pv, usable));
  EXPECT_EQ(rms, r.rms[23]);

  // After a recount the old results no longer describe the grid.
  grid.PixelSizeY = 80;
  grid.UpdateCellCounts();
  EXPECT_FALSE(grid.IsDefined(4));
  EXPECT_FALSE(grid.GetCellMeasurements(0, 3, rms, pv, usable));
}

TEST(GridResults, ClearingTheResultsKeepsTheLayout) {
  clsGrid grid = TenByThreeGrid();
  const Results r = SampleResults(30);
  ASSERT_TRUE(grid.SetAnalysisResults(r.status, r.rms, r.pv));
  grid.ClearResults();
  EXPECT_FALSE(grid.IsDefined(clsGrid::kResults));
  EXPECT_TRUE(grid.IsDefined(clsGrid::kPhysicalSizes | clsGrid::kPixelRectangle));
  EXPECT_EQ(grid.CellCountX, 10);
  EXPECT_EQ(grid.CellCountY, 3);
  double rms, pv;
  std::int32_t usable;
  EXPECT_FALSE(grid.GetCellMeasurements(0, 0, rms, pv, usable));
}

TEST(GridResults, Statistics) {
  clsGrid grid = TenByThreeGrid();
  std::vector<std::int32_t> status(30, 0);
  for (int i = 0; i < 12; ++i) status[i] = 1;
  for (int i = 12; i < 15; ++i) status[i] = 2;
  const std::vector<double> zero(30, 0.0);
  ASSERT_TRUE(grid.SetAnalysisResults(status, zero, zero));
  double analysed, usable, area;
  grid.GetStatistics(analysed, usable, area);
  EXPECT_DOUBLE_EQ(analysed, 50);
  EXPECT_DOUBLE_EQ(usable, 80);
  EXPECT_DOUBLE_EQ(area, 1200);

  // Counts grown since the analysis: the cells without results count as not analysed.
  grid.CellCountY = 6;
  grid.GetStatistics(analysed, usable, area);
  EXPECT_DOUBLE_EQ(analysed, 25);

  clsGrid none = TenByThreeGrid();
  none.GetStatistics(analysed, usable, area);
  EXPECT_EQ(analysed, 0);
  EXPECT_EQ(usable, 0);
  EXPECT_EQ(area, 0);
}

// ---------------------------------------------------------------------------------
// Keyword section

TEST(GridSection, WritesTheDescribedLines) {
  clsGrid grid = TenByThreeGrid();
  grid.UsePV = false;
  EXPECT_EQ(Written(grid),
            "Grid\r\n"
            "UpperLeftX, 10\r\n"
            "UpperLeftY, 20\r\n"
            "PixelWidth, 200\r\n"
            "PixelHeight, 60\r\n"
            "CellCountX, 10 \r\n"
            "CellCountY, 3 \r\n"
            "PhysicalWidth, 100\r\n"
            "CellWidth, 10\r\n"
            "CellHeight, 10\r\n"
            "MaxRMS, .09\r\n"
            "MaxPV, 1\r\n"
            "UseRMS,True\r\n"
            "UsePV,False\r\n"
            "GridEnd\r\n");

  grid.GridPhysicalWidth = 20;
  grid.PixelSizeX = 40;
  grid.PixelSizeY = 20;
  grid.UpdateCellCounts();
  ASSERT_TRUE(grid.SetAnalysisResults(std::vector<std::int32_t>{1, -2},
                                      std::vector<double>{0.0123, 1e-7},
                                      std::vector<double>{0.25, -3}));
  const std::string text = Written(grid);
  EXPECT_NE(text.find("UsePV,False\r\n"
                      "Cells\r\n"
                      "Cell,1, .0123, .25\r\n"
                      "Cell,-2, 1E-07,-3\r\n"
                      "CellsEnd\r\n"
                      "GridEnd\r\n"),
            std::string::npos)
      << text;
}

TEST(GridSection, RoundTripsWithAndWithoutResults) {
  clsGrid plain = TenByThreeGrid();
  plain.MaxRMS = 0.075;
  plain.UseRMS = false;
  clsGrid measured = TenByThreeGrid();
  const Results r = SampleResults(30);
  ASSERT_TRUE(measured.SetAnalysisResults(r.status, r.rms, r.pv));
  clsGrid cleared = measured;
  cleared.ClearBounds();
  for (const clsGrid* grid : {&plain, &measured, &cleared}) {
    const std::string first = Written(*grid);
    clsGrid read;
    ASSERT_TRUE(ReadSection(read, Body(first)));
    EXPECT_EQ(Written(read), first);
  }
  clsGrid read;
  ASSERT_TRUE(ReadSection(read, Body(Written(measured))));
  double rms, pv;
  std::int32_t usable;
  ASSERT_TRUE(read.GetCellMeasurements(0, 0, rms, pv, usable));
  EXPECT_EQ(usable, r.status[0]);
  EXPECT_EQ(rms, r.rms[0]);
  EXPECT_EQ(pv, r.pv[0]);
}

TEST(GridSection, FlagsAreTrueOnlyForTheWordTrue) {
  struct Case {
    const char* line;
    bool useRms, usePv;
  };
  const Case cases[] = {
      {"UseRMS,yes\r\n", false, true},     {"UsePV, TRUE \r\n", true, true},
      {"UseRMS,1\r\nUsePV,-1\r\n", false, false}, {"usepv,true\r\n", true, true},
      {"UseRMS,False\r\n", false, true},   {"UseRMS\r\n", false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    clsGrid grid;  // both flags start True
    ASSERT_TRUE(ReadSection(grid, std::string(c.line) + "GridEnd\r\n"));
    EXPECT_EQ(grid.UseRMS, c.useRms);
    EXPECT_EQ(grid.UsePV, c.usePv);
  }
}

TEST(GridSection, CountsComeFromTheFileAsWritten) {
  clsGrid grid;
  ASSERT_TRUE(ReadSection(grid,
                   "PhysicalWidth, 100\r\nCellWidth, 10\r\nCellHeight, 10\r\n"
                   "PixelWidth, 200\r\nPixelHeight, 60\r\n"
                   "CellCountX, 4 CellCountY, 2.5\r\nGridEnd\r\n"));
  EXPECT_EQ(grid.CellCountX, 4);
  EXPECT_EQ(grid.CellCountY, 2);  // halves round to even
}

TEST(GridSection, SurplusAndMissingCellLines) {
  std::string text = "CellCountX, 2 \r\nCellCountY, 1 \r\nCells\r\n";
  text += "Cell,1, .5, 1\r\nCell,2, .25, 2\r\nCell,1, 9, 9\r\nCell,1, 9, 9\r\nCellsEnd\r\n";
  text += "MaxPV, 3\r\nGridEnd\r\n";
  clsGrid grid;
  ASSERT_TRUE(ReadSection(grid, text));
  EXPECT_EQ(grid.MaxPV, 3);  // reading went on after the block
  double rms, pv;
  std::int32_t usable;
  ASSERT_TRUE(grid.GetCellMeasurements(1, 0, rms, pv, usable));
  EXPECT_EQ(usable, 2);
  EXPECT_EQ(rms, 0.25);

  clsGrid truncated;
  ASSERT_TRUE(ReadSection(truncated, "CellCountX, 2 \r\nCellCountY, 2 \r\nCells\r\nCell,1, .5, 1\r\n"));
  EXPECT_EQ(truncated.CellCountX, 2);
  ASSERT_TRUE(truncated.GetCellMeasurements(1, 1, rms, pv, usable));
  EXPECT_EQ(usable, 0);  // missing cells are zero
  ASSERT_TRUE(truncated.GetCellMeasurements(0, 0, rms, pv, usable));
  EXPECT_EQ(usable, 1);
}

TEST(GridSection, RefusesAbsurdSectionsAndKeepsTheGrid) {
  struct Case {
    const char* name;
    const char* text;
  };
  const Case cases[] = {
      {"huge count", "CellCountX, 1000000000 \r\nCellCountY, 1 \r\nCells\r\nCell,1, 1, 1\r\n"
                     "CellsEnd\r\nGridEnd\r\n"},
      {"count beyond 32 bits", "CellCountY, 1E+20 \r\nGridEnd\r\n"},
      {"negative count", "CellCountX,-3 \r\nCells\r\nCellsEnd\r\nGridEnd\r\n"},
      {"size beyond doubles", "PixelWidth, 1E+999\r\nGridEnd\r\n"},
      {"limit beyond doubles", "MaxRMS,-1E+400\r\nGridEnd\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clsGrid grid = TenByThreeGrid();
    const Results r = SampleResults(30);
    ASSERT_TRUE(grid.SetAnalysisResults(r.status, r.rms, r.pv));
    const std::string before = Written(grid);
    StringLineSource file(std::string(c.text) + "Next, 1\r\n");
    clsParser parser;
    std::string problem;
    EXPECT_FALSE(grid.LoadFromFile(file, parser, &problem));
    EXPECT_FALSE(problem.empty());
    EXPECT_EQ(Written(grid), before);
    // The refused section was still read to its end.
    ASSERT_TRUE(parser.Readline(file));
    EXPECT_EQ(parser.GetToken(), "Next");
  }
}

TEST(GridSection, WriteFailuresFollowTheUsersAnswer) {
  const clsGrid grid = TenByThreeGrid();
  const auto lines = SplitLines(Written(grid));
  for (int answer : {idbutton::kAbort, idbutton::kRetry, idbutton::kIgnore}) {
    SCOPED_TRACE(answer);
    ScriptedMessageService messages;
    ScopedMessageService scope(messages);
    messages.QueueAnswer(answer);
    FailingTextOutput out(5);
    EXPECT_EQ(grid.SaveToFile(out), answer != idbutton::kAbort);
    std::string expected;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (answer == idbutton::kAbort && i >= 4) break;
      if (answer == idbutton::kIgnore && i == 4) continue;
      expected += lines[i];
    }
    EXPECT_EQ(out.Text(), expected);
    EXPECT_EQ(messages.Messages().size(), 1u);
  }
}

// ---------------------------------------------------------------------------------
// Calibration in the settings

class GridCalibration : public ::testing::Test {
 protected:
  GridCalibration() : scope_(store_) {
    // The grid dialog reads the section before anything saves into it.
    GetSettingDouble("Grid", "PhysicalWidth", kNotGivenDouble, kNotGivenDouble,
                     kNotGivenDouble);
  }
  std::string Stored(const char* key) {
    std::string value;
    EXPECT_TRUE(store_.Read("Grid", key, value, false)) << key;
    return value;
  }
  MemorySettingsStore store_;
  ScopedSettingsStore scope_;
};

TEST_F(GridCalibration, SavesAndLoadsTheRectangleAndSizes) {
  clsGrid grid = TenByThreeGrid();
  grid.UpperLeftX = 10.5;
  grid.MaxRMS = 0.5;
  grid.RegistrySaveCalibration();
  EXPECT_EQ(Stored("UpperLeftX"), "10.5");
  EXPECT_EQ(Stored("PixelSizeY"), "60");
  EXPECT_EQ(Stored("PhysicalWidth"), "100");
  EXPECT_EQ(Stored("CellHeight"), "10");
  std::string unused;
  EXPECT_FALSE(store_.Read("Grid", "MaxRMS", unused, false));

  clsGrid loaded;
  ASSERT_TRUE(loaded.RegistryLoadCalibration());
  EXPECT_EQ(loaded.UpperLeftX, 10.5);
  EXPECT_EQ(loaded.UpperLeftY, 20);
  EXPECT_EQ(loaded.PixelSizeX, 200);
  EXPECT_EQ(loaded.PixelSizeY, 60);
  EXPECT_EQ(loaded.CellPhysicalWidth, 10);
  EXPECT_EQ(loaded.CellCountX, 10);  // recounted
  EXPECT_EQ(loaded.CellCountY, 3);
  EXPECT_EQ(loaded.MaxRMS, 0.09);
}

TEST_F(GridCalibration, MissingValuesReadAsZero) {
  SaveSettingString("Grid", "PhysicalWidth", "50");
  clsGrid grid = TenByThreeGrid();
  ASSERT_TRUE(grid.RegistryLoadCalibration());
  EXPECT_EQ(grid.GridPhysicalWidth, 50);
  EXPECT_EQ(grid.PixelSizeX, 0);
  EXPECT_EQ(grid.CellPhysicalWidth, 0);
  EXPECT_FALSE(grid.IsDefined(1));
}

TEST_F(GridCalibration, AbsurdStoredValuesAreRefused) {
  for (auto [key, text] : {std::pair{"CellWidth", "1E-9"}, std::pair{"CellHeight", "1E-300"},
                           std::pair{"PixelSizeY", "1E+300"}}) {
    SCOPED_TRACE(key);
    TenByThreeGrid().RegistrySaveCalibration();
    SaveSettingString("Grid", key, text);
    clsGrid grid = TenByThreeGrid();
    std::string problem;
    EXPECT_FALSE(grid.RegistryLoadCalibration(&problem));
    EXPECT_FALSE(problem.empty());
    EXPECT_EQ(grid.CellCountX, 10);
    EXPECT_EQ(grid.CellPhysicalWidth, 10);
    EXPECT_EQ(grid.PixelSizeX, 200);
  }
}

}  // namespace
}  // namespace orvale
