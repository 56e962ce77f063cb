#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "app/imageview/ImageEditController.h"
#include "tests/app/imageview/ImageViewTestSupport.h"

namespace orvale {
namespace {

using testing::ViewFixture;

// Orders and their point counts.
std::map<std::int32_t, std::int32_t> OrderCounts(const clsFringes& fringes) {
  std::map<std::int32_t, std::int32_t> counts;
  for (std::int32_t i = 1; i <= fringes.NumFringes(); ++i) {
    std::int32_t index = i;
    counts[fringes.GetFringeOrder(i)] = fringes.GetNumTicks(kNoOrder, index);
  }
  return counts;
}

void AddFringe(clsFringes& fringes, std::int32_t order, std::int32_t points) {
  std::vector<double> x(static_cast<std::size_t>(points) + 1, 10.0 * order);
  std::vector<double> y(static_cast<std::size_t>(points) + 1, 5.0);
  for (std::int32_t i = 1; i <= points; ++i) y[static_cast<std::size_t>(i)] = 5.0 + 7 * i;
  fringes.InsertOrder(order, points, x, y);
}

class CommandsTest : public ::testing::Test {
 protected:
  CommandsTest() : f(200, 200, 200, 200) {}

  void MarkClean() {
    f.doc->DocDirty = false;
    f.doc->AnalysisValid = true;
  }
  // Clicks made as fringe centres, not yet recorded (the toolbox records them).
  void ClickWithoutRecording(double x, double y) {
    f.editor.newMouseClicks = 99;
    f.editor.MouseDown(mousebutton::kLeft, 0, x, y);
    f.editor.MouseUp(mousebutton::kLeft, 0, x, y);
    f.editor.newMouseClicks = 1;
  }

  ViewFixture f;
};

TEST_F(CommandsTest, SaveFringeCreatesOrAppendsAndMarksTheDocument) {
  MarkClean();
  f.editor.SaveFringe(3);  // nothing clicked
  EXPECT_FALSE(f.doc->DocDirty);

  ClickWithoutRecording(20, 20);
  ClickWithoutRecording(30, 20);
  f.editor.SaveFringe(3);
  EXPECT_EQ(OrderCounts(f.doc->Fringes), (std::map<std::int32_t, std::int32_t>{{3, 2}}));
  EXPECT_EQ(f.editor.ClickCount(), 0);
  EXPECT_TRUE(f.doc->DocDirty);
  EXPECT_FALSE(f.doc->AnalysisValid);

  ClickWithoutRecording(40, 20);
  f.editor.SaveFringe(3);
  EXPECT_EQ(OrderCounts(f.doc->Fringes), (std::map<std::int32_t, std::int32_t>{{3, 3}}));
  EXPECT_TRUE(f.messages.Messages().empty());
}

TEST_F(CommandsTest, RefusedCentresAreReportedAndLeaveTheDocumentAlone) {
  AddFringe(f.doc->Fringes, 1, kMaxFringeTicks - 1);
  struct Case {
    std::int32_t order;
    std::int32_t clicks;
    const char* text;
  };
  const Case cases[] = {
      {0, 1, "Fringe order 0 is out of range (1 to 200). The fringe center was not added."},
      {201, 2, "Fringe order 201 is out of range (1 to 200). The fringe centers were not added."},
      {1, 2, "A fringe cannot hold more than 4000 centers. The fringe centers were not added."},
  };
  for (const Case& c : cases) {
    f.messages.Clear();
    MarkClean();
    for (std::int32_t i = 0; i < c.clicks; ++i) ClickWithoutRecording(50 + 5 * i, 60);
    const std::int32_t before = f.doc->Fringes.TotalNumTicks();
    f.editor.SaveFringe(c.order);
    EXPECT_EQ(f.doc->Fringes.TotalNumTicks(), before) << c.order;
    EXPECT_FALSE(f.doc->DocDirty) << c.order;
    EXPECT_TRUE(f.doc->AnalysisValid) << c.order;
    EXPECT_EQ(f.editor.ClickCount(), 0) << c.order;
    ASSERT_EQ(f.messages.Messages().size(), 1u) << c.order;
    EXPECT_EQ(f.messages.Messages()[0].text, c.text);
    EXPECT_EQ(f.messages.Messages()[0].title, "Warning");
    EXPECT_TRUE(f.ShowsFreshPaint()) << c.order;  // no cross of a lost click stays
  }
}

TEST_F(CommandsTest, SaveFringeOutsideFringeModeKeepsTheOutlinesClicks) {
  f.editor.newDrawingObject = drawing::kObstruction;
  f.editor.newDrawingType = clsShape::kPolygon;
  f.editor.newMouseClicks = 50;
  f.editor.MouseDown(mousebutton::kLeft, 0, 20, 20);
  f.editor.MouseUp(mousebutton::kLeft, 0, 20, 20);
  MarkClean();
  f.editor.SaveFringe(2);
  EXPECT_EQ(f.editor.ClickCount(), 1);
  EXPECT_EQ(f.doc->Fringes.TotalNumTicks(), 0);
  EXPECT_FALSE(f.doc->DocDirty);
}

TEST_F(CommandsTest, RenumberRenamesOrMergesAndClosesTheGap) {
  using Counts = std::map<std::int32_t, std::int32_t>;
  struct Case {
    const char* what;
    std::int32_t dest, src;
    Counts after;
    bool changed;
  };
  const Counts start{{4, 1}, {5, 2}, {6, 3}, {7, 4}, {8, 5}};
  const Case cases[] = {
      {"same order", 5, 5, start, false},
      {"new order", 9, 5, {{4, 1}, {9, 2}, {6, 3}, {7, 4}, {8, 5}}, true},
      {"merge into 7, orders above 5 drop", 7, 5, {{4, 1}, {5, 3}, {6, 6}, {7, 5}}, true},
      {"unknown source", 9, 3, start, false},
      {"unknown source into an existing order", 7, 3, start, false},
      {"order the store cannot take", 250, 5, start, false},
  };
  for (const Case& c : cases) {
    ViewFixture v(200, 200, 200, 200);
    for (const auto& [order, points] : start) AddFringe(v.doc->Fringes, order, points);
    v.editor.PaintImage();
    v.doc->DocDirty = false;
    v.doc->AnalysisValid = true;
    v.editor.RenumberFringe(c.dest, c.src);
    EXPECT_EQ(OrderCounts(v.doc->Fringes), c.after) << c.what;
    EXPECT_EQ(v.doc->DocDirty, c.changed) << c.what;
    EXPECT_EQ(v.doc->AnalysisValid, !c.changed) << c.what;
    EXPECT_TRUE(v.ShowsFreshPaint()) << c.what;
  }
}

TEST_F(CommandsTest, InsertAndDeleteOrdersMarkOnlyWhatChanged) {
  AddFringe(f.doc->Fringes, 5, 1);
  AddFringe(f.doc->Fringes, 200, 1);
  MarkClean();
  f.editor.InsertFringe(5);  // 200 cannot rise
  EXPECT_EQ(OrderCounts(f.doc->Fringes), (std::map<std::int32_t, std::int32_t>{{5, 1}, {200, 1}}));
  EXPECT_FALSE(f.doc->DocDirty);
  f.editor.DeleteFringe(9);
  EXPECT_FALSE(f.doc->DocDirty);

  f.editor.DeleteFringe(200);
  EXPECT_TRUE(f.doc->DocDirty);
  MarkClean();
  f.editor.InsertFringe(5);
  EXPECT_EQ(OrderCounts(f.doc->Fringes), (std::map<std::int32_t, std::int32_t>{{6, 1}}));
  EXPECT_TRUE(f.doc->DocDirty);
  EXPECT_FALSE(f.doc->AnalysisValid);
}

TEST_F(CommandsTest, DeleteFringeCenterByPointOrByThePopupsCentre) {
  AddFringe(f.doc->Fringes, 2, 3);  // x 20, y 12, 19, 26
  MarkClean();
  f.editor.DeleteFringeCenter(100, 100);  // hits nothing
  EXPECT_FALSE(f.doc->DocDirty);
  f.editor.DeleteFringeCenter(21, 18);
  EXPECT_EQ(f.doc->Fringes.TotalNumTicks(), 2);
  EXPECT_TRUE(f.doc->DocDirty);

  MarkClean();
  f.editor.DeleteFringeCenter(kNotGivenDouble, kNotGivenDouble);  // no pop-up opened on one
  EXPECT_FALSE(f.doc->DocDirty);
  f.editor.MouseDown(mousebutton::kRight, 0, 20, 26);
  f.editor.DeleteFringeCenter(kNotGivenDouble, kNotGivenDouble);
  EXPECT_EQ(f.doc->Fringes.TotalNumTicks(), 1);
  EXPECT_TRUE(f.doc->DocDirty);
  f.editor.DeleteFringeCenter(kNotGivenDouble, kNotGivenDouble);  // not a second one
  EXPECT_EQ(f.doc->Fringes.TotalNumTicks(), 1);
  EXPECT_TRUE(f.ShowsFreshPaint());
}

TEST_F(CommandsTest, DeleteOutlineInvalidatesTheMask) {
  f.doc->Aperture.SetShapeType(clsShape::kCircle);
  f.doc->Aperture.SetRadii(20, 20);
  f.doc->ZAnalysis.MaskValid = true;
  MarkClean();
  f.editor.DeleteAperture();
  EXPECT_EQ(f.doc->Aperture.GetShapeType(), clsShape::kNone);
  EXPECT_FALSE(f.doc->ZAnalysis.MaskValid);
  EXPECT_TRUE(f.doc->DocDirty);
  EXPECT_TRUE(f.ShowsFreshPaint());
}

TEST_F(CommandsTest, CentreDataComeFromTheOneSharedRoutine) {
  EXPECT_EQ(f.editor.GetFringeNumTicks(), 0);
  AddFringe(f.doc->Fringes, 8, 2);
  ASSERT_EQ(f.editor.GetFringeNumTicks(), 2);
  std::vector<double> X(2), Y(2), z(2);
  f.editor.GetFringeCenterData(X, Y, z);
  EXPECT_EQ(X, (std::vector<double>{80, 80}));
  EXPECT_EQ(z, (std::vector<double>{8, 8}));
}

}  // namespace
}  // namespace orvale
