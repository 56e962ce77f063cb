#include "app/dialogs/ApplyAnalysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "AnalyzeTestSupport.h"
#include "platform/runtime/RunError.h"

namespace orvale::testing {
namespace {

constexpr std::uint32_t kWarningIcon = mb::kOk | mb::kIconExclamation;
constexpr std::uint32_t kPlain = mb::kOk;

class ApplyAnalysisTest : public AnalyzeTest {
 protected:
  ApplyOutcome Apply() {
    return ApplyAnalysis(table_, controls_, frame_, [this](bool busy) {
      frame_.calls.push_back(busy ? "dialog busy" : "dialog default");
    });
  }
  // Adds a reference file to the list and selects it.
  void SelectReferenceFile(const std::string& path) {
    controls_.AddReferenceFile(path);
    controls_.SelectReference(controls_.ReferenceCount() - 1);
  }
  AnalyzeControls controls_;
};

TEST_F(ApplyAnalysisTest, TheFirstApplyWritesTheOptionsMakesTheViewsAndAnalyses) {
  settings_.ResultWindowVisible = {true, false, true, false, true, false, true};
  controls_.Remove = {true, false, true, false, false};
  controls_.ScaleFactorOption = scaleoption::kOne;
  controls_.OutputWL = "500";
  controls_.LimitOrderIndex = 3;

  EXPECT_EQ(Apply(), ApplyOutcome::Analysed);

  EXPECT_TRUE(messages_.Messages().empty());
  EXPECT_TRUE(doc_->AnalysisValid);
  EXPECT_EQ(doc_->zscale, 1.0);
  EXPECT_EQ(doc_->OutWL, 500.0);
  EXPECT_DOUBLE_EQ(doc_->DisplayScale, 632.8 / 500.0);
  EXPECT_EQ(doc_->NumZernikeToFit, 8);
  EXPECT_TRUE(doc_->noTilt && !doc_->noFocus && doc_->noAstig && !doc_->noComa && !doc_->noSphere);
  EXPECT_NEAR(doc_->Zernike(3), 1.5, 1e-6);
  EXPECT_TRUE(doc_->OutputViewsExist);
  EXPECT_TRUE(doc_->SurfacePlotViewVisible);
  EXPECT_FALSE(doc_->ContourPlotViewVisible);
  EXPECT_TRUE(doc_->LineProfileViewVisible);
  EXPECT_FALSE(doc_->SFringeViewVisible);
  EXPECT_TRUE(doc_->AberrationsViewVisible);
  EXPECT_FALSE(doc_->ZernikesViewVisible);
  EXPECT_TRUE(doc_->GridResultsViewVisible);
  EXPECT_EQ(views_->calls, (std::vector<std::string>{"CreateOutputViews", "OutputViews_Load 0",
                                                     "OutputViews_UpdateVisibility 1",
                                                     "OutputViews_Refresh"}));
  EXPECT_EQ(frame_.calls, (std::vector<std::string>{"SetMenuItems 0", "SetToolBarItems 0",
                                                    "UpdateToolBar", "dialog busy",
                                                    "SetBusyPointer 1", "SetBusyPointer 0",
                                                    "dialog default"}));
  EXPECT_EQ(views_->DataLoads(), 1);

  // The second Apply uses the views it made and, with only the units changed, the fit
  // it has: no refit.
  views_->calls.clear();
  ZernikeVector marked{};
  doc_->GetZernikes(marked);
  marked[20] = 0.125;
  doc_->SetZernikes(marked);
  controls_.DisplayUnits = displayunits::kMicrometers;
  EXPECT_EQ(Apply(), ApplyOutcome::Analysed);
  EXPECT_EQ(views_->calls, std::vector<std::string>{"OutputViews_Refresh"});
  EXPECT_EQ(doc_->Zernike(20), 0.125);
  EXPECT_EQ(doc_->ScaleMode, 1);
  EXPECT_DOUBLE_EQ(doc_->DisplayScale, 0.6328);
  EXPECT_EQ(views_->DataLoads(), 2);
}

TEST_F(ApplyAnalysisTest, IndividualWindowSetsAreTiled) {
  settings_.HogWindows = false;
  Apply();
  EXPECT_EQ(views_->calls.at(1), "OutputViews_Load 1");
}

TEST_F(ApplyAnalysisTest, DisplayScaleFollowsTheUnits) {
  const struct {
    std::int32_t units;
    const char* input;
    const char* output;
    double scale;
  } cases[] = {
      {displayunits::kMicrometers, "632.8", "632.8", 0.6328},
      {displayunits::kMicroinches, "632.8", "632.8", 24.913385826771652},
      {displayunits::kWaves, "632.8", "632.8", 1.0},
      {displayunits::kWaves, "632.8", "316.4", 2.0},
      {displayunits::kMicrometers, "632.8nm", "1", 0.6328},
  };
  for (const auto& c : cases) {
    controls_.DisplayUnits = c.units;
    controls_.InputWL = c.input;
    controls_.OutputWL = c.output;
    EXPECT_EQ(Apply(), ApplyOutcome::Analysed) << c.input << " " << c.output;
    EXPECT_EQ(doc_->ScaleMode, c.units);
    EXPECT_DOUBLE_EQ(doc_->DisplayScale, c.scale) << c.units << " " << c.output;
  }
  EXPECT_TRUE(messages_.Messages().empty());
}

struct Refusal {
  const char* name;
  std::function<void(AnalyzeControls&, clsDocument&)> setup;
  std::string text;  // empty: Apply goes through
  std::uint32_t flags = kWarningIcon;
};

class ApplyRefusalTest : public ApplyAnalysisTest,
                         public ::testing::WithParamInterface<Refusal> {};

TEST_P(ApplyRefusalTest, RefusesWithItsMessageOrGoesThrough) {
  const Refusal& c = GetParam();
  c.setup(controls_, *doc_);
  const ApplyOutcome outcome = Apply();
  if (c.text.empty()) {
    EXPECT_EQ(outcome, ApplyOutcome::Analysed);
    EXPECT_TRUE(messages_.Messages().empty());
    return;
  }
  EXPECT_EQ(outcome, ApplyOutcome::Refused);
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].text, c.text);
  EXPECT_EQ(messages_.Messages()[0].title, "Warning");
  EXPECT_EQ(messages_.Messages()[0].flags, c.flags);
  EXPECT_EQ(views_->DataLoads(), 0);
  EXPECT_FALSE(doc_->OutputViewsExist);
}

const std::string kWavelengthRange = "\r\nEnter a wavelength between 1 nm and 10000 nm";

INSTANTIATE_TEST_SUITE_P(
    Cases, ApplyRefusalTest,
    ::testing::Values(
        Refusal{"Combined", [](AnalyzeControls&, clsDocument& d) { d.Combined = true; },
                "Cannot analyze a document created by mathematical operations."},
        Refusal{"AveragedCustom",
                [](AnalyzeControls& c, clsDocument& d) {
                  d.Averaged = true;
                  c.SelectReference(kReferenceCustom);
                },
                "Cannot subtract reference Zernikes from an averaged document"},
        Refusal{"AveragedNone", [](AnalyzeControls&, clsDocument& d) { d.Averaged = true; }, ""},
        Refusal{"Scale1000",
                [](AnalyzeControls& c, clsDocument&) {
                  c.ScaleFactorOption = scaleoption::kCustom;
                  c.ScaleFactorText = "1000";
                },
                ""},
        Refusal{"Scale0",
                [](AnalyzeControls& c, clsDocument&) {
                  c.ScaleFactorOption = scaleoption::kCustom;
                  c.ScaleFactorText = "0";
                },
                ""},
        Refusal{"Scale1000_5",
                [](AnalyzeControls& c, clsDocument&) {
                  c.ScaleFactorOption = scaleoption::kCustom;
                  c.ScaleFactorText = "1000.5";
                },
                "Invalid Custom Scale\r\nEnter a scale between 0 and 1000"},
        Refusal{"InputLetters",
                [](AnalyzeControls& c, clsDocument&) {
                  c.InputWL = "abc";
                  c.OutputWL = "abc";
                },
                "Invalid Input Wavelength" + kWavelengthRange},
        Refusal{"InputTooLong",
                [](AnalyzeControls& c, clsDocument&) { c.InputWL = "10000.5"; },
                "Invalid Input Wavelength" + kWavelengthRange},
        Refusal{"OutputZero",
                [](AnalyzeControls& c, clsDocument&) {
                  c.InputWL = "632.8nm";
                  c.OutputWL = "0";
                },
                "Invalid Output Wavelength" + kWavelengthRange},
        Refusal{"NoFringes", [](AnalyzeControls&, clsDocument& d) { d.Fringes.DeleteAll(); },
                "No fringe centers to analyze", kPlain},
        Refusal{"NoAperture",
                [](AnalyzeControls&, clsDocument& d) { d.Aperture.SetShapeType(clsShape::kNone); },
                "No aperture set", kPlain}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return info.param.name; });

TEST_F(ApplyAnalysisTest, AnAveragedDocumentRefusesBeforeAnythingIsWrittenWithAReference) {
  doc_->Averaged = true;
  doc_->zscale = 7.0;
  controls_.SelectReference(kReferenceCustom);
  EXPECT_EQ(Apply(), ApplyOutcome::Refused);
  EXPECT_EQ(doc_->zscale, 7.0);
  EXPECT_FALSE(doc_->UseRefZCoeff);
}

TEST_F(ApplyAnalysisTest, OptionsWrittenBeforeARefusalStayWritten) {
  doc_->Averaged = true;
  controls_.DisplayUnits = displayunits::kMicroinches;
  controls_.Remove = {false, false, true, true, true};
  controls_.InvertWavefront = true;

  EXPECT_EQ(Apply(), ApplyOutcome::Refused);

  EXPECT_EQ(messages_.Messages().at(0).text,
            "Cannot change the Invert Wavefront parameter of an averaged document");
  EXPECT_EQ(doc_->ScaleMode, 2);
  EXPECT_TRUE(doc_->noAstig && doc_->noComa && doc_->noSphere && !doc_->noTilt);
  EXPECT_FALSE(doc_->InvertWavefront);
  EXPECT_TRUE(views_->calls.empty());

  messages_.Clear();
  controls_.InvertWavefront = false;
  controls_.LimitOrderIndex = 2;
  EXPECT_EQ(Apply(), ApplyOutcome::Refused);
  EXPECT_EQ(messages_.Messages().at(0).text, "Cannot change order of fit of an averaged document");
  EXPECT_EQ(doc_->NumZernikeToFit, 0);
}

TEST_F(ApplyAnalysisTest, ATrimChangeInvalidatesTheMaskButNotTheFit) {
  ASSERT_EQ(Apply(), ApplyOutcome::Analysed);
  ASSERT_TRUE(doc_->ZAnalysis.MaskValid);
  // Stop at the aperture check, just after the trim option was written.
  doc_->Aperture.SetShapeType(clsShape::kNone);
  controls_.TrimEdges = false;
  EXPECT_EQ(Apply(), ApplyOutcome::Refused);
  EXPECT_FALSE(doc_->TrimEdges);
  EXPECT_FALSE(doc_->ZAnalysis.MaskValid);
  EXPECT_TRUE(doc_->AnalysisValid);
}

TEST_F(ApplyAnalysisTest, AChangedFitOrderRefitsAndAnUnchangedOneDoesNot) {
  controls_.LimitOrderIndex = 1;
  ASSERT_EQ(Apply(), ApplyOutcome::Analysed);
  EXPECT_EQ(doc_->NumZernikeToFit, 24);

  ZernikeVector marked{};
  doc_->GetZernikes(marked);
  marked[30] = 5.0;
  doc_->SetZernikes(marked);
  Apply();
  EXPECT_EQ(doc_->Zernike(30), 5.0);

  controls_.LimitOrderIndex = 0;
  Apply();
  EXPECT_EQ(doc_->NumZernikeToFit, 0);
  EXPECT_NE(doc_->Zernike(30), 5.0);
}

TEST_F(ApplyAnalysisTest, TheCustomReferenceIsSubtractedAndNoneTakesItOffAgain) {
  settings_.CustomRefZernikes[3] = 0.5;
  controls_.SelectReference(kReferenceCustom);
  ASSERT_EQ(Apply(), ApplyOutcome::Analysed);
  EXPECT_TRUE(doc_->UseRefZCoeff);
  EXPECT_NEAR(doc_->Zernike(3), 1.0, 1e-6);

  controls_.SelectReference(kReferenceNone);
  ASSERT_EQ(Apply(), ApplyOutcome::Analysed);
  EXPECT_FALSE(doc_->UseRefZCoeff);
  EXPECT_NEAR(doc_->Zernike(3), 1.5, 1e-6);
}

TEST_F(ApplyAnalysisTest, AReferenceFileIsReadAtEveryApply) {
  std::vector<double> reference(36, 0.0);
  reference[0] = 0.25;
  const std::string path = WriteFile("ref.zrn", ZrnText(reference));
  SelectReferenceFile(path);
  ASSERT_EQ(Apply(), ApplyOutcome::Analysed);
  EXPECT_NEAR(doc_->Zernike(1), 0.75, 1e-6);

  reference[0] = 0.5;
  WriteFile("ref.zrn", ZrnText(reference));
  ASSERT_EQ(Apply(), ApplyOutcome::Analysed);
  EXPECT_NEAR(doc_->Zernike(1), 0.5, 1e-6);
}

TEST_F(ApplyAnalysisTest, ABadReferenceFileLeavesTheDocumentAsItWas) {
  settings_.CustomRefZernikes[1] = 0.25;
  controls_.SelectReference(kReferenceCustom);
  ASSERT_EQ(Apply(), ApplyOutcome::Analysed);
  ZernikeVector before{};
  doc_->GetZernikes(before);

  const std::string path = WriteFile("bad.zrn", ZrnText(std::vector<double>(35, 1.0)));
  SelectReferenceFile(path);
  controls_.DisplayUnits = displayunits::kMicrometers;
  EXPECT_EQ(Apply(), ApplyOutcome::Refused);

  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].text, "Invalid Zernikes reference file\r\n" + path);
  EXPECT_EQ(messages_.Messages()[0].title, "Error");
  EXPECT_EQ(messages_.Messages()[0].flags, kWarningIcon);
  EXPECT_TRUE(doc_->UseRefZCoeff);
  EXPECT_TRUE(doc_->AnalysisValid);
  EXPECT_EQ(doc_->ScaleMode, 0);
  ZernikeVector reference{};
  doc_->GetRefZernikes(reference);
  EXPECT_EQ(reference[1], 0.25);
  ZernikeVector after{};
  doc_->GetZernikes(after);
  EXPECT_EQ(after, before);

  // "none" afterwards still finds the reference in use, so it refits without it.
  controls_.SelectReference(kReferenceNone);
  messages_.Clear();
  ASSERT_EQ(Apply(), ApplyOutcome::Analysed);
  EXPECT_NEAR(doc_->Zernike(1), 1.0, 1e-6);
}

TEST_F(ApplyAnalysisTest, ACustomScaleThatIsNoNumberIsARunTimeError) {
  controls_.ScaleFactorOption = scaleoption::kCustom;
  controls_.ScaleFactorText = "1..5";
  EXPECT_EQ(Apply(), ApplyOutcome::Failed);
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].text, RunError::StandardDescription(errnum::kTypeMismatch));
  EXPECT_EQ(messages_.Messages()[0].title, "Error");
  EXPECT_EQ(messages_.Messages()[0].flags & mb::kButtonsMask, mb::kOk);
  EXPECT_TRUE(views_->calls.empty());
}

TEST_F(ApplyAnalysisTest, OutputViewsThatCannotBeMadeStopSilently) {
  views_->createFails = true;
  EXPECT_EQ(Apply(), ApplyOutcome::Stopped);
  EXPECT_TRUE(messages_.Messages().empty());
  EXPECT_FALSE(doc_->OutputViewsExist);
  EXPECT_EQ(views_->DataLoads(), 0);
  EXPECT_TRUE(frame_.calls.empty());
}

TEST_F(ApplyAnalysisTest, AFailureAfterTheBusyPointerIsReportedAndThePointerRestored) {
  views_->onRefresh = [] { throw std::runtime_error("Views could not be refreshed"); };
  EXPECT_EQ(Apply(), ApplyOutcome::Failed);
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].text, "Views could not be refreshed");
  EXPECT_EQ(messages_.Messages()[0].title, "Error");
  const std::vector<std::string> tail(frame_.calls.end() - 4, frame_.calls.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"dialog busy", "SetBusyPointer 1", "SetBusyPointer 0",
                                            "dialog default"}));
}

TEST_F(ApplyAnalysisTest, AFileErrorCanBeRetriedOrIgnored) {
  int failures = 1;
  views_->onRefresh = [&failures] {
    if (failures-- > 0) {
      throw std::filesystem::filesystem_error("refresh", "/tmp/x",
                                              std::error_code(ENOSPC, std::generic_category()));
    }
  };
  messages_.QueueAnswer(idbutton::kRetry);
  EXPECT_EQ(Apply(), ApplyOutcome::Analysed);
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].flags & mb::kButtonsMask, mb::kAbortRetryIgnore);
  EXPECT_EQ(std::count(views_->calls.begin(), views_->calls.end(), "OutputViews_Refresh"), 2);

  failures = 1;
  messages_.QueueAnswer(idbutton::kIgnore);
  EXPECT_EQ(Apply(), ApplyOutcome::Analysed);
  EXPECT_EQ(frame_.calls.back(), "dialog default");

  failures = 1;
  messages_.QueueAnswer(idbutton::kAbort);
  EXPECT_EQ(Apply(), ApplyOutcome::Failed);
}

TEST_F(ApplyAnalysisTest, WithoutAnActiveDocumentOrImageViewNothingHappens) {
  table_.ActiveDocIndex = 0;
  EXPECT_EQ(Apply(), ApplyOutcome::NoDocument);
  table_.ActiveDocIndex = 2;  // not in use
  EXPECT_EQ(Apply(), ApplyOutcome::NoDocument);
  table_.ActiveDocIndex = doc_->ovDocIndex;
  doc_->ImageViewExist = false;
  doc_->Combined = true;
  EXPECT_EQ(Apply(), ApplyOutcome::NoDocument);
  EXPECT_TRUE(messages_.Messages().empty());
  EXPECT_TRUE(frame_.calls.empty());
  EXPECT_TRUE(views_->calls.empty());
}

}  // namespace
}  // namespace orvale::testing
