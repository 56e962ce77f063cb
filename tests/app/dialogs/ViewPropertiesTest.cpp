#include "app/dialogs/ViewProperties.h"

#include <gtest/gtest.h>

#include <tuple>

#include "AnalyzeTestSupport.h"
#include "app/dialogs/ApplyAnalysis.h"

namespace orvale::testing {
namespace {

// What OK may change in a document, to compare before and after a refusal.
auto Stored(const clsDocument& d) {
  return std::make_tuple(d.zmin, d.zmax, d.AutoScaleZ, d.ContourLevels, d.xSurfaceSize,
                         d.ySurfaceSize, d.ProfileSize, d.xOrigSurfaceSize, d.yOrigSurfaceSize,
                         d.FillPolygons, d.DrawMeshWithFill, d.LimitDisplayScale,
                         d.ScreenTextStyle(), d.PrinterTextStyle());
}

class ViewPropertiesTest : public AnalyzeTest {
 protected:
  void SetUp() override {
    AnalyzeTest::SetUp();
    ASSERT_EQ(ApplyAnalysis(table_, AnalyzeControls{}, frame_), ApplyOutcome::Analysed);
    views_->calls.clear();
    frame_.ClearLog();
  }
};

TEST_F(ViewPropertiesTest, OnlyADocumentWithOutputViewsOpensTheDialog) {
  EXPECT_EQ(PropertiesDocument(table_), doc_);
  table_.ActiveDocIndex = 0;
  EXPECT_EQ(PropertiesDocument(table_), nullptr);
  clsDocument* fresh = nullptr;
  ASSERT_TRUE(table_.NewDocument(fresh));
  table_.ActiveDocIndex = fresh->ovDocIndex;
  EXPECT_EQ(PropertiesDocument(table_), nullptr);
}

TEST_F(ViewPropertiesTest, TheDialogShowsTheDocumentsValues) {
  doc_->AutoScaleZ = false;
  doc_->LimitDisplayScale = true;
  doc_->zmin = -0.25;
  doc_->zmax = 1.5;
  doc_->xOrigSurfaceSize = 120;
  doc_->SetText(false, "Zernikes", 0x0000FF, 14, kText90Degrees, true, false, true, "Courier New");

  const ViewPropertiesControls c = ReadViewProperties(*doc_);
  EXPECT_EQ(c.ContourLevels, 10);
  EXPECT_EQ(c.GridSize, 30);
  EXPECT_EQ(c.LinePoints, 100);
  EXPECT_EQ(c.ImageSize, 120);
  EXPECT_TRUE(c.FillPolygons);
  EXPECT_FALSE(c.AutoScale);
  EXPECT_FALSE(c.LimitScale);  // the rule clears it without auto-scaling
  EXPECT_EQ(c.ZMinText, "-0.25");
  EXPECT_EQ(c.ZMaxText, "1.5");
  EXPECT_EQ(c.Text.Printer.FaceName, "Courier New");
  EXPECT_EQ(c.Text.Printer.Size, 14);
  EXPECT_EQ(c.Text.Printer.Color, 0xFF);
  EXPECT_TRUE(c.Text.Printer.Bold && c.Text.Printer.Underline && !c.Text.Printer.Italic);
  EXPECT_EQ(c.Text.Screen.FaceName, "Arial");
  EXPECT_FALSE(c.Text.ScreenChanged || c.Text.PrinterChanged);
}

// OK used to evaluate with the program-wide plot settings when a font had changed,
// which put them over the sizes just entered.
TEST_F(ViewPropertiesTest, OkKeepsTheEnteredValuesWhenAFontChanged) {
  const FontSpec screenBefore = doc_->ScreenTextStyle();
  ViewPropertiesControls c = ReadViewProperties(*doc_);
  c.ContourLevels = 20;
  c.GridSize = 50;
  c.LinePoints = 200;
  c.ImageSize = 60;
  c.FillPolygons = false;
  c.DrawBlackMesh = false;  // not taken: the mesh keeps its flag without filling
  c.Text.Printer.FaceName = "Liberation Serif";
  c.Text.Printer.Size = 9;
  c.Text.PrinterChanged = true;

  ASSERT_TRUE(ApplyViewProperties(*doc_, c));

  EXPECT_EQ(doc_->ContourLevels, 20);
  EXPECT_EQ(doc_->xSurfaceSize, 50);
  EXPECT_EQ(doc_->ySurfaceSize, 50);
  EXPECT_EQ(doc_->ProfileSize, 200);
  EXPECT_EQ(doc_->xOrigSurfaceSize, 60);
  EXPECT_EQ(doc_->yOrigSurfaceSize, 60);
  EXPECT_FALSE(doc_->FillPolygons);
  EXPECT_TRUE(doc_->DrawMeshWithFill);
  // The views were filled at the new sizes.
  EXPECT_EQ(views_->LastData().xSurfaceSize, 50);
  EXPECT_EQ(views_->LastData().SurfaceMap.size(), 2500u);
  EXPECT_EQ(views_->LastData().xOrigSurfaceSize, 60);
  EXPECT_EQ(views_->LastData().ProfileX.size(), 200u);
  EXPECT_EQ(views_->calls, std::vector<std::string>{"OutputViews_Refresh"});
  EXPECT_EQ(frame_.calls, (std::vector<std::string>{"SetBusyPointer 1", "SetBusyPointer 0"}));
  // Only the changed style reached the document, drawn horizontally.
  EXPECT_EQ(doc_->ScreenTextStyle(), screenBefore);
  EXPECT_EQ(doc_->PrinterTextStyle().facename, FixedFaceName("Liberation Serif"));
  EXPECT_EQ(doc_->PrinterTextStyle().Size, 9);
  EXPECT_EQ(doc_->PrinterTextStyle().Escapement, kTextHorizontal);
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(ViewPropertiesTest, ABadZRangeIsRefusedAndNothingIsStored) {
  const std::pair<const char*, const char*> bad[] = {
      {"1", "1"}, {"2", "1"}, {"-3E+38", "1"}, {"0", "3E+38"}, {"abc", "1"}, {"0", ""},
      {"", ""},   {"0", "1e999"}, {"-", "1"},
  };
  for (const auto& [low, high] : bad) {
    messages_.Clear();
    ViewPropertiesControls c = ReadViewProperties(*doc_);
    c.AutoScale = false;
    c.ZMinText = low;
    c.ZMaxText = high;
    c.GridSize = 44;
    c.Text.PrinterChanged = true;
    c.Text.Printer.Size = 30;
    const auto before = Stored(*doc_);
    const std::int32_t loads = views_->DataLoads();

    EXPECT_FALSE(ApplyViewProperties(*doc_, c, 1234)) << low << " / " << high;

    EXPECT_EQ(Stored(*doc_), before) << low << " / " << high;
    EXPECT_EQ(views_->DataLoads(), loads);
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(messages_.Messages()[0].text, "Invalid ZMinimum and/or ZMaximum");
    EXPECT_EQ(messages_.Messages()[0].title, "Orvale");
    EXPECT_EQ(messages_.Messages()[0].owner, 1234u);
  }
}

TEST_F(ViewPropertiesTest, AZRangeIsStoredOnlyWithoutAutoScaling) {
  ViewPropertiesControls c = ReadViewProperties(*doc_);
  c.ZMinText = "abc";  // ignored while auto-scaling
  c.ZMaxText = "";
  const double zmin = doc_->zmin;
  ASSERT_TRUE(ApplyViewProperties(*doc_, c));
  EXPECT_EQ(doc_->zmin, zmin);
  EXPECT_TRUE(doc_->AutoScaleZ);

  c.AutoScale = false;
  c.LimitScale = true;  // locked off without auto-scaling
  c.ZMinText = "-0.5";
  c.ZMaxText = "0.25";
  ASSERT_TRUE(ApplyViewProperties(*doc_, c));
  EXPECT_FALSE(doc_->AutoScaleZ);
  EXPECT_FALSE(doc_->LimitDisplayScale);
  EXPECT_EQ(doc_->zmin, -0.5);
  EXPECT_EQ(doc_->zmax, 0.25);
  EXPECT_TRUE(messages_.Messages().empty());
}

}  // namespace
}  // namespace orvale::testing
