// The analysis options (no document needed) and the wrapped document's image window.
#include <gtest/gtest.h>

#include <limits>

#include "AutomationTestSupport.h"
#include "app/automation/OrvaleDocTypes.h"
#include "app/dialogs/AnalyzeControls.h"
#include "app/document/RecordingDocumentWindow.h"

namespace orvale::testing {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

using OrvaleDocOptionsTest = AutomationTest;

const AnalyzeControls& Options(const ModelAnalysisOptions& options) { return options.Controls(); }

TEST_F(OrvaleDocOptionsTest, WavelengthsTakeFiniteNumbersAndReadBackByTheirLeadingNumber) {
  object_.SetInputWavelength(Whole(500));
  object_.SetOutputWavelength(Text(" 550.5 "));
  EXPECT_EQ(Options(options_).InputWL, "500");
  EXPECT_EQ(Options(options_).OutputWL, "550.5");
  EXPECT_EQ(object_.GetInputWavelength(), 500);
  for (const AutoValue& bad : {Real(kNaN), Real(kInf), Text("1e999"), Text("red"), Flag(true), Missing()}) {
    const RaisedError raised = ErrorOf([&] { object_.SetInputWavelength(bad); });
    EXPECT_EQ(raised.code, ErrorInvalidNumber);
    EXPECT_EQ(raised.text, "The input wavelength must be assigned a numeric value.");
    EXPECT_EQ(ErrorOf([&] { object_.SetOutputWavelength(bad); }).text,
              "The output wavelength must be assigned a numeric value.");
  }
  EXPECT_EQ(Options(options_).InputWL, "500");

  // What the user typed in the window, read as Apply reads it.
  options_.Edit([](AnalyzeControls& c) {
    c.InputWL = "632.8 nm";
    c.OutputWL = "nm";
  });
  EXPECT_EQ(object_.GetInputWavelength(), 632.8);
  const RaisedError raised = ErrorOf([&] { object_.GetOutputWavelength(); });
  EXPECT_EQ(raised.code, ErrorInvalidNumber);
  EXPECT_EQ(raised.text, "The output wavelength is not a number.");
}

TEST_F(OrvaleDocOptionsTest, CheckBoxesTakeOnlyBooleansAndAGetChangesNothing) {
  for (const AutoValue& bad : {Text("True"), Whole(1), Text(""), Missing()}) {
    const RaisedError invert = ErrorOf([&] { object_.SetInvertWavefront(bad); });
    EXPECT_EQ(invert.code, ErrorInvalidBoolean);
    EXPECT_EQ(invert.text, "The 'Invert Wavefront' property must be assigned a boolean value.");
    EXPECT_EQ(ErrorOf([&] { object_.SetTrimEdges(bad); }).text,
              "The 'Trim Edges' property must be assigned a boolean value.");
  }
  object_.SetInvertWavefront(Flag(true));
  object_.SetTrimEdges(Flag(false));
  EXPECT_TRUE(Options(options_).InvertWavefront);
  EXPECT_FALSE(Options(options_).TrimEdges);
  EXPECT_TRUE(object_.GetInvertWavefront());
  EXPECT_TRUE(object_.GetInvertWavefront());
  EXPECT_FALSE(object_.GetTrimEdges());
  EXPECT_TRUE(Options(options_).InvertWavefront);
}

TEST_F(OrvaleDocOptionsTest, TheOrderLimitReadsBackAsTheOrderItWasSetTo) {
  struct Case {
    AutoValue value;
    std::int32_t index;
    std::int16_t order;
  };
  const Case cases[] = {{Whole(0), 0, 0}, {Whole(8), 1, 8}, {Real(6), 2, 6},
                        {Text("4"), 3, 4}, {Whole(2), 4, 2}, {Text("auto"), 0, 0}};
  for (const Case& c : cases) {
    object_.SetOrderLimit(c.value);
    EXPECT_EQ(Options(options_).LimitOrderIndex, c.index);
    EXPECT_EQ(object_.GetOrderLimit(), c.order);
  }
  for (const AutoValue& bad : {Whole(3), Text("eighth"), Flag(true), Real(8.5)}) {
    const RaisedError raised = ErrorOf([&] { object_.SetOrderLimit(bad); });
    EXPECT_EQ(raised.code, ErrorInvalidNumber);
    EXPECT_EQ(raised.text, "Zernike Order Limit must be specified usiong an integer.");
  }
  options_.Edit([](AnalyzeControls& c) { c.LimitOrderIndex = 2; });  // the user picks "6th"
  EXPECT_EQ(object_.GetOrderLimit(), 6);
}

TEST_F(OrvaleDocOptionsTest, RemoveAddressesTheBoxOfEachRemovableAberration) {
  const std::array<std::int32_t, 5> boxOf = {0, 2, 3, 5, 7};
  for (std::int32_t type = 0; type <= 10; ++type) {
    SCOPED_TRACE(type);
    const auto box = std::find(boxOf.begin(), boxOf.end(), type);
    if (box == boxOf.end()) {
      EXPECT_EQ(ErrorOf([&] { object_.SetRemove(Whole(type), Flag(true)); }).code, ErrorInvalidAberration);
      EXPECT_EQ(ErrorOf([&] { object_.GetRemove(Whole(type)); }).text, "Invalid aberration type parameter.");
      continue;
    }
    const std::size_t index = static_cast<std::size_t>(box - boxOf.begin());
    for (bool value : {true, false}) {
      object_.SetRemove(Whole(type), Flag(value));
      EXPECT_EQ(Options(options_).Remove[index], value);
      EXPECT_EQ(object_.GetRemove(Whole(type)), value);
    }
  }
  object_.SetRemove(Text("COMA"), Flag(true));
  EXPECT_TRUE(Options(options_).Remove[3]);
  EXPECT_TRUE(object_.GetRemove(Text("coma")));
  // The aberration is looked at before the value, and the value before the box.
  EXPECT_EQ(ErrorOf([&] { object_.SetRemove(Text("foo"), Whole(1)); }).code, ErrorInvalidAberration);
  const RaisedError raised = ErrorOf([&] { object_.SetRemove(Whole(1), Whole(1)); });
  EXPECT_EQ(raised.code, ErrorInvalidBoolean);
  EXPECT_EQ(raised.text, "The 'Remove' property must be assigned a boolean value.");
}

TEST_F(OrvaleDocOptionsTest, TheScaleFactorPicksItsOptionButton) {
  struct Case {
    AutoValue value;
    std::int32_t option;
    double reads;
  };
  const Case cases[] = {{Real(0.5), scaleoption::kHalf, 0.5},
                        {Text("0.50"), scaleoption::kHalf, 0.5},
                        {Whole(1), scaleoption::kOne, 1.0},
                        {Whole(2), scaleoption::kCustom, 2.0},
                        {Text("0.25"), scaleoption::kCustom, 0.25}};
  for (const Case& c : cases) {
    object_.SetScaleFactor(c.value);
    EXPECT_EQ(Options(options_).ScaleFactorOption, c.option);
    EXPECT_EQ(object_.GetScaleFactor(), c.reads);
  }
  object_.SetScaleFactor(Whole(2));
  EXPECT_EQ(Options(options_).ScaleFactorText, "2");
  for (const AutoValue& bad : {Text("half"), Flag(true), Real(kNaN), Numbers({2})}) {
    const RaisedError raised = ErrorOf([&] { object_.SetScaleFactor(bad); });
    EXPECT_EQ(raised.code, ErrorInvalidType);
    EXPECT_EQ(raised.text, "Scale Factors must be specified using a numeric data type.");
  }
  options_.Edit([](AnalyzeControls& c) { c.ScaleFactorText = "1.2.3"; });
  const RaisedError raised = ErrorOf([&] { object_.GetScaleFactor(); });
  EXPECT_EQ(raised.code, ErrorInvalidNumber);
  EXPECT_EQ(raised.text, "The custom scale factor is not a number.");
}

class OrvaleDocWindowTest : public AutomationTest {
 protected:
  void SetUp() override {
    AutomationTest::SetUp();
    ASSERT_TRUE(object_.Load(Bitmap("view.bmp", 200, 100)));
    Doc().ActiveView = viewtype::kImage;
    table_.ActiveDocIndex = Doc().ovDocIndex;
  }
};

TEST_F(OrvaleDocWindowTest, ZoomTakesAnEntryOfTheZoomListForThisDocumentsViewOnly) {
  OrvaleDoc other(context_);
  ASSERT_TRUE(other.Load(Bitmap("other.bmp")));
  other.Document()->Views().SetViewZoom(viewtype::kImage, 200);
  frame_.ClearLog();

  object_.SetZoom(Whole(75));
  EXPECT_EQ(object_.GetZoom(), 75);
  object_.SetZoom(Text("50"));
  EXPECT_EQ(object_.GetZoom(), 50);
  EXPECT_EQ(other.GetZoom(), 200);
  EXPECT_EQ(frame_.Count("SelectZoomListIndex"), 0);  // the list never zooms the active view
  EXPECT_EQ(frame_.calls, (std::vector<std::string>{"ShowZoomPercent 75", "ShowZoomPercent 50"}));

  for (const AutoValue& bad : {Whole(120), Text("75%"), Flag(true), Real(kNaN)}) {
    const RaisedError raised = ErrorOf([&] { object_.SetZoom(bad); });
    EXPECT_EQ(raised.code, ErrorInvalidNumber);
    EXPECT_EQ(raised.text, "The zoom factor must be assigned a numeric value.");
  }
  EXPECT_EQ(object_.GetZoom(), 50);

  // While another window is active the list keeps showing that one's zoom.
  frame_.ClearLog();
  table_.ActiveDocIndex = other.Document()->ovDocIndex;
  object_.SetZoom(Whole(25));
  EXPECT_EQ(object_.GetZoom(), 25);
  table_.ActiveDocIndex = Doc().ovDocIndex;
  Doc().ActiveView = viewtype::kSurfacePlot;
  object_.SetZoom(Whole(100));
  EXPECT_TRUE(frame_.calls.empty());
}

TEST_F(OrvaleDocWindowTest, SizeWindowSetsTheOuterSizeInPixelsAtTheSamePlace) {
  Doc().Views().SetViewPlacement(viewtype::kImage, {30, 40, 300, 200});
  EXPECT_EQ(object_.GetWidth(), 300);
  EXPECT_EQ(object_.GetHeight(), 200);
  struct Case {
    AutoValue width;
    AutoValue height;
  };
  const Case refused[] = {{Whole(15), Whole(100)}, {Whole(100), Whole(4097)}, {Real(kNaN), Whole(100)},
                          {Text("a"), Whole(100)}, {Whole(100), Flag(true)}};
  for (const Case& c : refused) {
    const RaisedError raised = ErrorOf([&] { object_.SizeWindow(c.width, c.height); });
    EXPECT_EQ(raised.code, ErrorInvalidNumber);
    EXPECT_EQ(raised.text, "Specified window size is non-numeric or out of range.");
  }
  EXPECT_EQ(object_.GetWidth(), 300);

  auto& window = dynamic_cast<RecordingDocumentWindow&>(*Doc().Views().Window(viewtype::kImage));
  window.SetState(WindowShowState::Maximized);
  EXPECT_TRUE(object_.SizeWindow(Whole(16), Text("4096")));
  EXPECT_EQ(window.State(), WindowShowState::Normal);  // sized in its normal state
  EXPECT_EQ(object_.GetWidth(), 16);
  EXPECT_EQ(object_.GetHeight(), 4096);
  EXPECT_EQ(window.Placement(), (WindowPlacement{30, 40, 16, 4096}));
}

}  // namespace
}  // namespace orvale::testing
