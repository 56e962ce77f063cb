#include "app/dialogs/WorkspaceLayout.h"

#include <gtest/gtest.h>

#include "app/document/DocumentTable.h"
#include "app/document/OutputViewKinds.h"
#include "app/document/clsDocument.h"
#include "tests/app/document/DocumentModelTestSupport.h"
#include "tests/support/RecordingMainFrame.h"

namespace orvale::testing {
namespace {

// Three documents with headless windows, individual sets: each shows its surface,
// contour and aberrations views, kind k of document d at (100 d + 10 k, 50 d + 10 k).
class WorkspaceLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings_.HogWindows = false;
    for (std::int32_t d = 1; d <= 3; ++d) {
      clsDocument* doc = nullptr;
      ASSERT_TRUE(table_.NewDocument(doc));
      doc->SetImageData(std::vector<std::uint8_t>(64 * 48, 90), 64, 48);
      ASSERT_TRUE(doc->CreateView(1));
      ASSERT_TRUE(doc->CreateView(2));
      doc->SurfacePlotViewVisible = true;
      doc->ContourPlotViewVisible = true;
      doc->AberrationsViewVisible = true;
      doc->OutputViews_Load(false);
      for (const OutputViewKind& kind : kOutputViewKinds) {
        const auto k = static_cast<std::int32_t>(kind.LayoutIndex);
        doc->Views().SetViewPlacement(kind.FormType, {100 * d + 10 * k, 50 * d + 10 * k, 300, 200});
      }
      doc->OutputViews_UpdateVisibility(false);
      doc->Views().WindowCalls().Clear();
    }
    table_.ActiveDocIndex = 2;
  }
  clsDocument& Doc(std::int32_t slot) { return *table_.Documents[static_cast<std::size_t>(slot)]; }
  std::vector<std::string>& Calls(std::int32_t slot) { return Doc(slot).Views().WindowCalls().Calls; }

  GeneralSettings settings_ = DefaultDocumentSettings();
  RecordingMainFrame frame_;
  DocumentTable table_{settings_, &frame_};
  const WindowFrameMetrics metrics_{0, 0, 4, 4, 18};
};

TEST_F(WorkspaceLayoutTest, TheCommonSetTakesTheActiveDocumentsPlacesForAllOthers) {
  const WindowPlacement untouched = settings_.ResultWindowLayout[2];
  settings_.HogWindows = true;
  RearrangeForWorkspace(table_, metrics_);

  // The shown views of document 2 give the layout; the hidden line profile keeps its own.
  EXPECT_EQ(settings_.ResultWindowLayout[0], (WindowPlacement{200, 100, 300, 200}));
  EXPECT_EQ(settings_.ResultWindowLayout[1], (WindowPlacement{210, 110, 300, 200}));
  EXPECT_EQ(settings_.ResultWindowLayout[4], (WindowPlacement{240, 140, 300, 200}));
  EXPECT_EQ(settings_.ResultWindowLayout[2], untouched);
  EXPECT_TRUE(Calls(2).empty());
  for (std::int32_t other : {1, 3}) {
    const DocumentViews& views = Doc(other).Views();
    for (std::int32_t formType : {viewtype::kSurfacePlot, viewtype::kContourPlot, viewtype::kAberrations}) {
      EXPECT_EQ(views.GetViewPlacement(formType),
                settings_.ResultWindowLayout[FindOutputViewKind(formType)->LayoutIndex])
          << other << " " << formType;
      EXPECT_FALSE(views.Window(formType)->IsShown()) << other << " " << formType;
    }
    EXPECT_EQ(views.WindowCalls().Count("Show"), 0) << other;
  }
}

TEST_F(WorkspaceLayoutTest, WithoutResultViewsOnTheActiveDocumentTheFirstOtherGivesTheLayout) {
  Doc(2).OutputViewsExist = false;
  settings_.HogWindows = true;
  RearrangeForWorkspace(table_, metrics_);
  EXPECT_EQ(settings_.ResultWindowLayout[0], (WindowPlacement{100, 50, 300, 200}));
  EXPECT_EQ(Doc(3).Views().GetViewPlacement(viewtype::kContourPlot), (WindowPlacement{110, 60, 300, 200}));
}

TEST_F(WorkspaceLayoutTest, IndividualSetsCascadeTheOthersAndBringTheActiveOneUp) {
  RearrangeForWorkspace(table_, metrics_);

  // One frame across and one frame plus caption down per document, in slot order.
  EXPECT_EQ(Doc(1).Views().GetViewPlacement(viewtype::kSurfacePlot), (WindowPlacement{104, 72, 300, 200}));
  EXPECT_EQ(Doc(3).Views().GetViewPlacement(viewtype::kSurfacePlot), (WindowPlacement{308, 194, 300, 200}));
  EXPECT_EQ(Doc(3).Views().GetViewPlacement(viewtype::kAberrations), (WindowPlacement{348, 234, 300, 200}));
  for (std::int32_t other : {1, 3}) {
    EXPECT_TRUE(Doc(other).Views().Window(viewtype::kContourPlot)->IsShown()) << other;
    EXPECT_EQ(Doc(other).Views().WindowCalls().Count("Show 4"), 1) << other;
  }
  // The active image view comes up first, its result views above it; nothing is
  // activated and nothing stays on top.
  const std::vector<std::string>& active = Calls(2);
  ASSERT_FALSE(active.empty());
  EXPECT_EQ(active.front(), "Top 1");
  EXPECT_EQ(Doc(2).Views().WindowCalls().Count("Show 3 raise"), 1);
  for (const std::string& line : active) EXPECT_EQ(line.find("activate"), std::string::npos) << line;
  for (std::int32_t slot : {1, 3})
    for (const std::string& line : Calls(slot)) EXPECT_EQ(line.find("activate"), std::string::npos) << line;
}

TEST_F(WorkspaceLayoutTest, NothingMovesWithoutAnActiveDocument) {
  table_.ActiveDocIndex = 0;
  for (bool hog : {true, false}) {
    settings_.HogWindows = hog;
    RearrangeForWorkspace(table_, metrics_);
    for (std::int32_t slot : {1, 2, 3}) EXPECT_TRUE(Calls(slot).empty()) << hog;
  }
}

}  // namespace
}  // namespace orvale::testing
