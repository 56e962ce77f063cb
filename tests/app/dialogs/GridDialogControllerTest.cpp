#include "app/dialogs/GridDialogController.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AnalyzeTestSupport.h"
#include "platform/registry/IniFormat.h"
#include "platform/registry/TypedSettings.h"

namespace orvale::testing {
namespace {

TEST(GridControlStatesTest, OnlyLoadWithoutADocumentAndTheLimitsFollowTheirBoxes) {
  struct Case {
    bool document, defined, rms, pv;
    GridControlStates states;
  };
  // Apply, Add, Save, Clear, Load, MaxRMS, MaxPV
  const Case cases[] = {
      {false, false, true, true, {false, false, false, false, true, true, true}},
      {false, true, false, true, {false, false, false, false, true, false, true}},
      {true, false, true, false, {false, true, false, false, true, true, false}},
      {true, true, true, true, {true, true, true, true, true, true, true}},
      {true, true, false, false, {true, true, true, true, true, false, false}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ComputeGridControlStates(c.document, c.defined, c.rms, c.pv), c.states)
        << c.document << c.defined << c.rms << c.pv;
  }
}

class GridDialogControllerTest : public AnalyzeTest {
 protected:
  // As at the program's start: the window shows the stored defaults before a document
  // is open (which also makes the settings section).
  void SetUp() override {
    AnalyzeTest::SetUp();
    table_.ActiveDocIndex = 0;
    controller_.ShowCurrentGridData();
    table_.ActiveDocIndex = doc_->ovDocIndex;
  }
  void SetSizes(double width, double cellWidth, double cellHeight) {
    doc_->Grid.GridPhysicalWidth = width;
    doc_->Grid.CellPhysicalWidth = cellWidth;
    doc_->Grid.CellPhysicalHeight = cellHeight;
  }
  // A 4 x 4 grid of 10 mm cells over pixels 60..140 of the pupil.
  void DrawGrid() {
    SetSizes(40, 10, 10);
    doc_->Grid.SetBounds(60, 60, 140, 140);
    ASSERT_EQ(doc_->Grid.CellCountX, 4);
    controller_.ShowCurrentGridData();
  }
  GridDialogController controller_{table_, frame_};
};

TEST_F(GridDialogControllerTest, ShowsTheStoredDefaultsWithoutADocument) {
  table_.ActiveDocIndex = 0;
  controller_.ShowCurrentGridData();
  for (int f = 0; f < kGridFieldCount; ++f) EXPECT_EQ(controller_.Text(GridField(f)), "0");
  EXPECT_TRUE(controller_.UseRMS() && controller_.UsePV());
  EXPECT_EQ(controller_.States(), ComputeGridControlStates(false, false, true, true));

  SaveSettingDouble("Grid", "PhysicalWidth", 25);
  SaveSettingDouble("Grid", "MaxPV", 0.25);
  SaveSettingBool("Grid", "UseRMS", false);
  controller_.ShowCurrentGridData();
  EXPECT_EQ(controller_.Text(GridField::GridWidth), "25");
  EXPECT_EQ(controller_.Text(GridField::MaxPV), "0.25");
  EXPECT_FALSE(controller_.UseRMS());
  EXPECT_FALSE(controller_.States().MaxRMS);

  // A document without sizes takes the stored calibration; one with sizes keeps them.
  table_.ActiveDocIndex = doc_->ovDocIndex;
  SaveSettingDouble("Grid", "CellWidth", 5);
  SaveSettingDouble("Grid", "CellHeight", 5);
  controller_.ShowCurrentGridData();
  EXPECT_EQ(doc_->Grid.GridPhysicalWidth, 25);
  EXPECT_EQ(controller_.Text(GridField::CellWidth), "5");
  EXPECT_EQ(controller_.Text(GridField::MaxPV), "1");  // the document's own limit
  EXPECT_TRUE(controller_.States().Add);
  EXPECT_FALSE(controller_.States().Apply);
  SaveSettingDouble("Grid", "PhysicalWidth", 30);
  controller_.ShowCurrentGridData();
  EXPECT_EQ(doc_->Grid.GridPhysicalWidth, 25);
}

TEST_F(GridDialogControllerTest, AddGridChecksTheSizesThenWaitsForTwoClicks) {
  struct Case {
    double width, cellWidth, cellHeight;
    const char* refusal;  // empty: drawing starts
  };
  const Case cases[] = {
      {10, 3, 3, "The grid's physical width must be a whole multiple of the cell's physical width."},
      {10, 2.5, 2.5, ""},
      {1.2, 0.4, 0.4, ""},
      {2.1, 0.7, 0.7, ""},
      {0, 0, 0, "Grid boundaries cannot be defined until a physical width has been entered."},
      {-1, 2, 2, "Grid boundaries cannot be defined until a physical width has been entered."},
      {10, 0, -1, "Grid boundaries cannot be defined until a valid cell width has been entered."},
      {10, 2, 0, "Grid boundaries cannot be defined until a valid cell height has been entered."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << " " << c.cellWidth << " " << c.cellHeight);
    SetSizes(c.width, c.cellWidth, c.cellHeight);
    messages_.Clear();
    frame_.ClearLog();
    const std::int32_t starts = views_->GridDrawingStarts();
    const bool started = controller_.AddGrid();
    EXPECT_EQ(started, std::string(c.refusal).empty());
    if (started) {
      EXPECT_TRUE(messages_.Messages().empty());
      EXPECT_EQ(views_->GridDrawingStarts(), starts + 1);
      EXPECT_EQ(frame_.calls, (std::vector<std::string>{"SetEditToolPressed 1", "SetToolBarItems 0",
                                                        "SetScreenPointer curAddShape",
                                                        "BringViewToFront 1 1"}));
    } else {
      EXPECT_EQ(Texts(), std::vector<std::string>{c.refusal});
      EXPECT_EQ(messages_.Messages()[0].title, "Warning");
      EXPECT_EQ(views_->GridDrawingStarts(), starts);
    }
  }
}

TEST_F(GridDialogControllerTest, AddingOverADrawnGridClearsItFirst) {
  DrawGrid();
  EXPECT_TRUE(controller_.States().Apply && controller_.States().Clear);
  doc_->DocDirty = false;
  EXPECT_TRUE(controller_.AddGrid());
  EXPECT_FALSE(doc_->Grid.IsDefined(clsGrid::kPixelRectangle));
  EXPECT_TRUE(doc_->DocDirty);
  EXPECT_FALSE(controller_.States().Apply);
}

// Every field refuses each bad value with a Warning, and neither the document nor the
// settings change.
TEST_F(GridDialogControllerTest, BadValuesAreRefusedAndChangeNothing) {
  struct Case {
    GridField field;
    const char* text;
    const char* warning;
  };
  const char* kWidth = "The width of a grid must be greater than zero.";
  const char* kCellWidth = "The width of a grid cell must be greater than zero.";
  const char* kCellHeight = "The height of a grid cell must be greater than zero.";
  const char* kTooMany = "A grid cannot have more than 1000 cells across or down.";
  const char* kWhole =
      "The grid's physical width must be a whole multiple of the cell's physical width.";
  const Case cases[] = {
      {GridField::GridWidth, "", "The grid width must be a number."},
      {GridField::GridWidth, "abc", "The grid width must be a number."},
      {GridField::GridWidth, "1e999", "The grid width must be a number."},
      {GridField::GridWidth, "-40", kWidth},
      {GridField::GridWidth, "0", kWidth},
      {GridField::GridWidth, "45", kWhole},
      {GridField::GridWidth, "40000", kTooMany},
      {GridField::CellWidth, "", "The cell width must be a number."},
      {GridField::CellWidth, "10 mm", "The cell width must be a number."},
      {GridField::CellWidth, "1e999", "The cell width must be a number."},
      {GridField::CellWidth, "-10", kCellWidth},
      {GridField::CellWidth, "0", kCellWidth},
      {GridField::CellWidth, "3", kWhole},
      {GridField::CellWidth, "0.01", kTooMany},
      {GridField::CellHeight, "", "The cell height must be a number."},
      {GridField::CellHeight, "x", "The cell height must be a number."},
      {GridField::CellHeight, "-1e999", "The cell height must be a number."},
      {GridField::CellHeight, "-2", kCellHeight},
      {GridField::CellHeight, "0", kCellHeight},
      {GridField::CellHeight, "0.001", kTooMany},
      {GridField::MaxRMS, "", "The RMS limit must be a number."},
      {GridField::MaxRMS, "abc", "The RMS limit must be a number."},
      {GridField::MaxRMS, "1e999", "The RMS limit must be a number."},
      {GridField::MaxRMS, "-0.1", "The RMS limit cannot be negative."},
      {GridField::MaxPV, "", "The P-V limit must be a number."},
      {GridField::MaxPV, ".", "The P-V limit must be a number."},
      {GridField::MaxPV, "1e999", "The P-V limit must be a number."},
      {GridField::MaxPV, "-1", "The P-V limit cannot be negative."},
  };
  DrawGrid();
  doc_->DocDirty = false;
  const clsGrid before = doc_->Grid;
  const std::string store = FormatIniSettings(store_.Contents());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    messages_.Clear();
    EXPECT_FALSE(controller_.CommitField(c.field, c.text));
    EXPECT_EQ(Texts(), std::vector<std::string>{c.warning});
    EXPECT_EQ(messages_.Messages()[0].title, "Warning");
    const clsGrid& grid = doc_->Grid;
    EXPECT_EQ(std::vector<double>({grid.GridPhysicalWidth, grid.CellPhysicalWidth,
                                   grid.CellPhysicalHeight, grid.MaxRMS, grid.MaxPV,
                                   grid.PixelSizeX, grid.PixelSizeY}),
              std::vector<double>({before.GridPhysicalWidth, before.CellPhysicalWidth,
                                   before.CellPhysicalHeight, before.MaxRMS, before.MaxPV,
                                   before.PixelSizeX, before.PixelSizeY}));
    EXPECT_EQ(grid.CellCountX, 4);
    EXPECT_EQ(grid.CellCountY, 4);
  }
  EXPECT_FALSE(doc_->DocDirty);
  EXPECT_EQ(FormatIniSettings(store_.Contents()), store);
}

TEST_F(GridDialogControllerTest, WithoutARectangleASizeOfZeroIsStoredButNotANegativeOne) {
  controller_.ShowCurrentGridData();
  EXPECT_TRUE(controller_.CommitField(GridField::GridWidth, "0"));
  messages_.Clear();
  EXPECT_FALSE(controller_.CommitField(GridField::CellWidth, "-3"));
  EXPECT_EQ(Texts(), std::vector<std::string>{"The width of a grid cell must be greater than zero."});
  EXPECT_TRUE(controller_.CommitField(GridField::CellWidth, "3"));  // no multiple to check yet
  EXPECT_EQ(doc_->Grid.CellPhysicalWidth, 3);
  EXPECT_FALSE(controller_.CommitField(GridField::MaxPV, "abc"));  // with or without a grid
}

TEST_F(GridDialogControllerTest, EverySizeEditRecountsTheCells) {
  DrawGrid();  // 40 mm of 10 mm cells over 80 pixels
  doc_->DocDirty = false;
  views_->WindowCalls().Clear();
  EXPECT_TRUE(controller_.CommitField(GridField::CellWidth, "5"));
  EXPECT_EQ(doc_->Grid.CellCountX, 8);
  EXPECT_EQ(doc_->Grid.CellCountY, 4);
  EXPECT_TRUE(doc_->DocDirty);
  EXPECT_EQ(controller_.Text(GridField::CellWidth), "5");
  EXPECT_TRUE(controller_.CommitField(GridField::CellHeight, "20"));
  EXPECT_EQ(doc_->Grid.CellCountY, 2);
  EXPECT_TRUE(controller_.CommitField(GridField::GridWidth, "20"));
  EXPECT_EQ(doc_->Grid.CellCountX, 4);
  EXPECT_EQ(doc_->Grid.CellCountY, 1);  // 80 pixels are now 20 mm
  EXPECT_TRUE(controller_.CommitField(GridField::CellWidth, "2.5"));
  EXPECT_EQ(doc_->Grid.CellCountX, 8);
  EXPECT_TRUE(controller_.CommitField(GridField::MaxRMS, "0.05"));
  EXPECT_EQ(doc_->Grid.MaxRMS, 0.05);
  EXPECT_TRUE(messages_.Messages().empty());

  // Unchecking "Verify P-V" disables its limit at once and is stored with the grid.
  controller_.SetUsePV(false);
  EXPECT_FALSE(controller_.States().MaxPV);
  EXPECT_FALSE(doc_->Grid.UsePV);
}

TEST_F(GridDialogControllerTest, ClearRemovesTheRectangleAndEndsTheDrawing) {
  DrawGrid();
  frame_.ClearLog();
  controller_.ClearGrid();
  EXPECT_FALSE(doc_->Grid.IsDefined(clsGrid::kPixelRectangle));
  EXPECT_EQ(doc_->Grid.GridPhysicalWidth, 40);  // the sizes stay
  EXPECT_FALSE(controller_.States().Clear);
  EXPECT_EQ(frame_.calls, std::vector<std::string>{"SetScreenPointer "});
}

TEST_F(GridDialogControllerTest, ACalibrationTheGridRefusesIsReportedAndChangesNothing) {
  DrawGrid();
  controller_.SaveCalibration();
  SaveSettingDouble("Grid", "CellWidth", 0.001);  // 40000 columns
  doc_->DocDirty = false;
  controller_.LoadCalibration();
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].title, "Warning");
  EXPECT_NE(Texts()[0].find("1000 cells"), std::string::npos);
  EXPECT_EQ(doc_->Grid.CellPhysicalWidth, 10);
  EXPECT_FALSE(doc_->DocDirty);

  SaveSettingDouble("Grid", "CellWidth", 20);
  controller_.LoadCalibration();
  EXPECT_EQ(doc_->Grid.CellCountX, 2);
  EXPECT_EQ(controller_.Text(GridField::CellWidth), "20");
  EXPECT_TRUE(doc_->DocDirty);
}

TEST_F(GridDialogControllerTest, WithoutAnImageViewEditsAndCommandsDoNothing) {
  DrawGrid();
  doc_->ImageViewExist = false;
  EXPECT_TRUE(controller_.CommitField(GridField::CellWidth, "abc"));
  EXPECT_FALSE(controller_.AddGrid());
  controller_.ClearGrid();
  EXPECT_TRUE(doc_->Grid.IsDefined(clsGrid::kPixelRectangle));
  EXPECT_TRUE(messages_.Messages().empty());
}

}  // namespace
}  // namespace orvale::testing
