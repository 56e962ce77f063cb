#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "../analysis/TraceTestSupport.h"
#include "DocumentModelTestSupport.h"
#include "app/document/DocumentViews.h"
#include "app/document/clsDocument.h"
#include "platform/runtime/Markers.h"
#include "platform/ui/MessageService.h"

namespace orvale::testing {
namespace {

// Tilt, defocus, astigmatism and spherical aberration, a few waves in all.
ZernikeVector KnownWavefront() {
  ZernikeVector z{};
  z[1] = 1.5;
  z[2] = -0.75;
  z[3] = 2.0;
  z[4] = 0.4;
  z[5] = -0.25;
  z[8] = 0.3;
  return z;
}

class DocumentAnalysisTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GiveImageAndAperture(doc_, pupil_);
    doc_.zscale = 1.0;
    doc_.NumZernikeToFit = 8;
    ASSERT_TRUE(doc_.CreateView(2));
  }
  // The wavefront statistics the engine gives for `z` on the document's pupil.
  void ExpectStatisticsOf(const ZernikeVector& z) {
    double rms = 0, strehl = 0, pv = 0;
    ASSERT_TRUE(doc_.ZAnalysis.EvalAberrations(z, 100, 100, rms, strehl, pv));
    EXPECT_NEAR(doc_.RMS, rms, 1e-6);
    EXPECT_NEAR(doc_.PV, pv, 1e-5);
    EXPECT_NEAR(doc_.Strehl, strehl, 1e-6);
  }

  GeneralSettings settings_ = DefaultDocumentSettings();
  ScriptedMessageService messages_;
  ScopedMessageService installed_{messages_};
  Pupil pupil_;
  clsDocument doc_{settings_};
};

TEST_F(DocumentAnalysisTest, ARefitRecoversTheCoefficientsOfTheFringes) {
  const ZernikeVector known = KnownWavefront();
  const std::int32_t points = AddContourFringes(doc_, pupil_, known);
  ASSERT_GT(points, 100);

  doc_.UpdateAnalysis(false, false);

  EXPECT_TRUE(messages_.Messages().empty());
  ASSERT_TRUE(doc_.AnalysisValid);
  EXPECT_TRUE(doc_.DocDirty);
  EXPECT_EQ(doc_.nDataPts, points);
  EXPECT_EQ(doc_.NumZernikeToFit, 8);  // the request is not overwritten by the fit
  for (int i = 1; i <= 8; ++i) EXPECT_NEAR(doc_.Zernike(i), known[i], 1e-6) << "term " << i;
  for (int i = 9; i <= 36; ++i) EXPECT_EQ(doc_.Zernike(i), 0.0) << "term " << i;
  ExpectStatisticsOf(known);
  EXPECT_GT(doc_.RMS, 0.5);
  EXPECT_GT(doc_.PV, 2.0);
  EXPECT_LT(doc_.Strehl, 0.1);

  const AnalysisViewData& shown = doc_.Views().LastData();
  EXPECT_EQ(doc_.Views().DataLoads(), 1);
  EXPECT_EQ(shown.SurfaceMap.size(), 30u * 30u);
  EXPECT_EQ(shown.SFringeMap.size(), 150u * 150u);
  EXPECT_EQ(shown.ProfileX.size(), 100u);
  EXPECT_EQ(shown.ProfileY.size(), 100u);
}

TEST_F(DocumentAnalysisTest, ScaleRemovedTermsAndDisplayScaleApplyWithoutARefit) {
  const ZernikeVector known = KnownWavefront();
  AddContourFringes(doc_, pupil_, known);
  doc_.UpdateAnalysis(false, false);
  ASSERT_TRUE(doc_.AnalysisValid);
  const std::vector<double> sfringe = doc_.Views().LastData().SFringeMap;
  const std::vector<double> surface = doc_.Views().LastData().SurfaceMap;
  const double rms = doc_.RMS;

  // The fringes are gone: only a re-evaluation can still give results.
  doc_.Fringes.DeleteAll();
  doc_.zscale = 0.5;
  doc_.noTilt = true;
  doc_.UpdateAnalysis(false, false);
  EXPECT_TRUE(messages_.Messages().empty());
  EXPECT_EQ(doc_.RMS, rms);  // aberrations only on request
  EXPECT_EQ(doc_.ZernikeFiltered(1), 0.0);
  EXPECT_EQ(doc_.ZernikeFiltered(2), 0.0);
  EXPECT_NEAR(doc_.ZernikeFiltered(3), 0.5 * known[3], 1e-6);
  EXPECT_NEAR(doc_.Zernike(3), known[3], 1e-6);
  // The synthetic fringes show the fit as measured.
  EXPECT_EQ(doc_.Views().LastData().SFringeMap, sfringe);

  doc_.UpdateAnalysis(true, false);
  ZernikeVector expected = known;
  for (double& v : expected) v *= 0.5;
  expected[1] = expected[2] = 0.0;
  ExpectStatisticsOf(expected);

  // The display scale multiplies the map and the profile, never the blank points.
  doc_.zscale = 1.0;
  doc_.noTilt = false;
  doc_.DisplayScale = 3.0;
  doc_.UpdateAnalysis(false, false);
  const std::vector<double>& scaled = doc_.Views().LastData().SurfaceMap;
  ASSERT_EQ(scaled.size(), surface.size());
  int blanks = 0;
  for (std::size_t i = 0; i < scaled.size(); ++i) {
    if (surface[i] == kBlankValue) {
      ++blanks;
      EXPECT_EQ(scaled[i], kBlankValue);
    } else {
      EXPECT_NEAR(scaled[i], 3.0 * surface[i], 1e-9);
    }
  }
  EXPECT_GT(blanks, 0);  // the map's corners lie outside the pupil
}

TEST_F(DocumentAnalysisTest, TheReferenceIsSubtractedOncePerFit) {
  const ZernikeVector known = KnownWavefront();
  AddContourFringes(doc_, pupil_, known);
  ZernikeVector reference{};
  reference[3] = 0.5;
  reference[8] = 0.1;
  doc_.SetRefZernikes(reference);

  doc_.UpdateAnalysis(false, false);
  ASSERT_TRUE(doc_.AnalysisValid);
  EXPECT_NEAR(doc_.Zernike(3), known[3] - 0.5, 1e-6);
  EXPECT_NEAR(doc_.Zernike(8), known[8] - 0.1, 1e-6);

  // Re-evaluating, even with the aberrations, does not subtract it again.
  doc_.UpdateAnalysis(true, false);
  doc_.UpdateAnalysis(false, true);
  EXPECT_NEAR(doc_.Zernike(3), known[3] - 0.5, 1e-6);

  // A new reference refits from the fringes and subtracts only the new one.
  reference[3] = 1.0;
  reference[8] = 0.0;
  doc_.SetRefZernikes(reference);
  doc_.UpdateAnalysis(false, false);
  EXPECT_NEAR(doc_.Zernike(3), known[3] - 1.0, 1e-6);
  EXPECT_NEAR(doc_.Zernike(8), known[8], 1e-6);
}

TEST_F(DocumentAnalysisTest, InvertWavefrontFitsTheNegatedOrders) {
  const ZernikeVector known = KnownWavefront();
  AddContourFringes(doc_, pupil_, known);
  doc_.InvertWavefront = true;
  doc_.UpdateAnalysis(false, false);
  ASSERT_TRUE(doc_.AnalysisValid);
  EXPECT_NEAR(doc_.Zernike(3), -known[3], 1e-6);
}

TEST_F(DocumentAnalysisTest, NoFringeCentresWarnsAndChangesNothing) {
  doc_.UpdateAnalysis(false, false);
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].text, "No fringe centers to analyze");
  EXPECT_EQ(messages_.Messages()[0].title, "Warning");
  EXPECT_EQ(messages_.Messages()[0].flags, mb::kOk);
  EXPECT_FALSE(doc_.AnalysisValid);
  EXPECT_EQ(doc_.Views().DataLoads(), 0);
}

TEST_F(DocumentAnalysisTest, AFitThatCannotBeMadeLeavesNoResults) {
  // Fitted once, then the fringes are replaced by points outside the aperture.
  AddContourFringes(doc_, pupil_, KnownWavefront());
  doc_.UpdateAnalysis(false, false);
  ASSERT_TRUE(doc_.AnalysisValid);
  const double rms = doc_.RMS;
  const double z3 = doc_.Zernike(3);
  doc_.Fringes.DeleteAll();
  std::int32_t index = doc_.Fringes.AddOrder(1);
  for (int i = 0; i < 10; ++i) {
    std::int32_t record = index;
    doc_.Fringes.AddCenter(1, 2.0 + i, 2.0, record);
  }
  doc_.InvalidateMask();
  messages_.Clear();

  doc_.UpdateAnalysis(true, false);

  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].title, "Warning");
  EXPECT_NE(messages_.Messages()[0].text.find("could not be fitted"), std::string::npos);
  EXPECT_FALSE(doc_.AnalysisValid);
  EXPECT_EQ(doc_.Views().DataLoads(), 1);  // the views keep the last results
  EXPECT_EQ(doc_.RMS, rms);
  EXPECT_EQ(doc_.Zernike(3), z3);
  EXPECT_EQ(doc_.NumZernikeToFit, 8);
}

TEST_F(DocumentAnalysisTest, NonPositiveSizesDoNothing) {
  AddContourFringes(doc_, pupil_, KnownWavefront());
  doc_.ProfileSize = 0;
  doc_.DocDirty = false;
  doc_.UpdateAnalysis(true, false);
  EXPECT_FALSE(doc_.DocDirty);
  EXPECT_FALSE(doc_.AnalysisValid);
  EXPECT_TRUE(messages_.Messages().empty());
  // Taking the settings again restores the sizes.
  doc_.UpdateAnalysis(true, true);
  EXPECT_TRUE(doc_.AnalysisValid);
  EXPECT_EQ(doc_.ProfileSize, 100);
}

TEST_F(DocumentAnalysisTest, TheMaskFollowsTheImageSize) {
  AddContourFringes(doc_, pupil_, KnownWavefront());
  doc_.UpdateAnalysis(false, false);
  EXPECT_EQ(doc_.ZAnalysis.MaskWidth(), 200);
  EXPECT_EQ(doc_.ZAnalysis.MaskHeight(), 200);

  doc_.StretchImage(0.5, false);  // 200 x 400
  doc_.UpdateAnalysis(false, false);
  EXPECT_EQ(doc_.ZAnalysis.MaskWidth(), 200);
  EXPECT_EQ(doc_.ZAnalysis.MaskHeight(), 400);

  ASSERT_TRUE(doc_.SetImageData(std::vector<std::uint8_t>(300 * 260, 9), 300, 260));
  doc_.UpdateAnalysis(true, false);
  EXPECT_EQ(doc_.ZAnalysis.MaskWidth(), 300);
  EXPECT_EQ(doc_.ZAnalysis.MaskHeight(), 260);
  EXPECT_FALSE(doc_.ZAnalysis.MaskDoubleSize);
}

TEST_F(DocumentAnalysisTest, TracingSmallImagesUsesADoubleMaskThatTheFitReplaces) {
  ASSERT_TRUE(doc_.SetImageData(std::vector<std::uint8_t>(320 * 240, 50), 320, 240));
  EXPECT_FALSE(doc_.AutoTraceFringes(0));  // an even grey has no fringes to find
  EXPECT_EQ(doc_.ZAnalysis.MaskWidth(), 640);
  EXPECT_EQ(doc_.ZAnalysis.MaskHeight(), 480);
  EXPECT_TRUE(doc_.ZAnalysis.MaskDoubleSize);
  EXPECT_TRUE(doc_.ZAnalysis.MaskValid);
  EXPECT_FALSE(doc_.AnalysisValid);
  EXPECT_TRUE(doc_.DocDirty);

  AddContourFringes(doc_, pupil_, KnownWavefront());
  doc_.UpdateAnalysis(false, false);
  EXPECT_EQ(doc_.ZAnalysis.MaskWidth(), 320);
  EXPECT_EQ(doc_.ZAnalysis.MaskHeight(), 240);
  EXPECT_FALSE(doc_.ZAnalysis.MaskDoubleSize);

  // Stretched to 400 x 240 the image is still small: a double mask of the new size.
  doc_.StretchImage(1.25, false);
  messages_.QueueAnswer(idbutton::kYes);
  doc_.AutoTraceFringes(1, 2);
  EXPECT_EQ(doc_.ZAnalysis.MaskWidth(), 800);
  EXPECT_EQ(doc_.ZAnalysis.MaskHeight(), 480);

  // Stretched to 400 x 480 it is traced on a mask of its own size.
  doc_.StretchImage(0.5, false);
  doc_.AutoTraceFringes(1, 2);
  EXPECT_EQ(doc_.ZAnalysis.MaskWidth(), 400);
  EXPECT_EQ(doc_.ZAnalysis.MaskHeight(), 480);
  EXPECT_FALSE(doc_.ZAnalysis.MaskDoubleSize);
}

// A square interferogram of `size` pixels over a pupil of 0.47 times that radius,
// traced by the document at density 3.
void TraceInterferogram(clsDocument& doc, std::int32_t size, const ZernikeVector& truth) {
  Pupil pupil;
  pupil.width = pupil.height = size;
  pupil.cx = pupil.cy = (size - 1) / 2.0;
  pupil.radius = 0.47 * size;
  GiveImageAndAperture(doc, pupil);
  ASSERT_TRUE(doc.SetImageData(
      analysis_test::Interferogram(size, size, pupil.cx, pupil.cy, pupil.radius, truth), size,
      size));
  EXPECT_TRUE(doc.AutoTraceFringes(1, 3));
}

struct TracedPicture {
  std::int32_t size;
  double tilt;  // waves across the pupil
};

// An interferogram traced by the document and fitted gives back its wavefront, whether
// the image is traced at its own size or, being small, at twice its size. The tracer
// finds every fringe only while the narrowest spacing stays near 14 pixels or wider.
class TraceAndFitTest : public DocumentAnalysisTest,
                        public ::testing::WithParamInterface<TracedPicture> {};

TEST_P(TraceAndFitTest, TracedFringesFitToTheWavefrontOfTheImage) {
  const auto [size, tilt] = GetParam();
  const ZernikeVector truth = analysis_test::TracedWavefront(tilt);
  TraceInterferogram(doc_, size, truth);
  EXPECT_EQ(doc_.ZAnalysis.MaskDoubleSize, size < 350);
  ASSERT_GE(doc_.Fringes.NumFringes(), 2 * tilt - 1);
  doc_.UpdateAnalysis(false, false);

  EXPECT_TRUE(messages_.Messages().empty());
  ASSERT_TRUE(doc_.AnalysisValid);
  EXPECT_EQ(doc_.ZAnalysis.MaskWidth(), size);
  for (int k = 1; k <= 8; ++k) EXPECT_NEAR(doc_.Zernike(k), truth[k], 0.05) << "term " << k;
}

INSTANTIATE_TEST_SUITE_P(ImageSizes, TraceAndFitTest,
                         ::testing::Values(TracedPicture{512, 10}, TracedPicture{460, 10},
                                           TracedPicture{440, 10}, TracedPicture{420, 9},
                                           TracedPicture{400, 7}, TracedPicture{380, 8},
                                           TracedPicture{300, 10}),
                         [](const auto& info) {
                           return "Size" + std::to_string(info.param.size) + "Tilt" +
                                  std::to_string(static_cast<int>(info.param.tilt));
                         });

// At 400 pixels with 10 waves of tilt the fringes near the right edge come 11 to 13
// pixels apart. There the seeding passes over dark fringes (its maximum phase starts
// where a minimum is accepted, six brighter pixels on, which is already past the next
// peak, and cannot count six falling pixels before the next dip), and where the one at
// 9.5 waves is seeded, near row 260, it ends within the stop radius of its neighbour
// after two points and is dropped. Every fringe beyond it is numbered one too low.
TEST_F(DocumentAnalysisTest, TracingLosesAFringeWhereTheFringesCrowd) {
  const ZernikeVector truth = analysis_test::TracedWavefront(10);
  TraceInterferogram(doc_, 400, truth);
  ASSERT_EQ(doc_.Fringes.NumFringes(), 18);

  // The mean x of each order: the gap before order 18 is about twice the one before 17.
  std::vector<double> meanX(19, 0.0);
  for (std::int32_t i = 1; i <= doc_.Fringes.NumFringes(); ++i) {
    const auto points = doc_.Fringes.RecordPoints(i);
    ASSERT_FALSE(points.empty());
    double sum = 0;
    for (const PointD& p : points) sum += p.x;
    meanX[static_cast<std::size_t>(doc_.Fringes.GetFringeOrder(i))] = sum / points.size();
  }
  for (std::size_t k = 2; k <= 18; ++k) EXPECT_GT(meanX[k], meanX[k - 1]) << "order " << k;
  EXPECT_NEAR(meanX[17] - meanX[16], 13, 2);
  EXPECT_NEAR(meanX[18] - meanX[17], 25, 2);

  doc_.UpdateAnalysis(false, false);
  ASSERT_TRUE(doc_.AnalysisValid);
  double worst = 0;
  for (int k = 1; k <= 8; ++k) worst = std::max(worst, std::abs(doc_.Zernike(k) - truth[k]));
  EXPECT_GT(worst, 0.1);
}

TEST_F(DocumentAnalysisTest, TracingNeverUsesTheTrimmedFittingMask) {
  ASSERT_TRUE(doc_.SetImageData(std::vector<std::uint8_t>(400 * 400, 50), 400, 400));
  AddContourFringes(doc_, pupil_, KnownWavefront());
  doc_.TrimEdges = true;
  doc_.UpdateAnalysis(false, false);
  ASSERT_TRUE(doc_.ZAnalysis.MaskTrimmed);
  messages_.QueueAnswer(idbutton::kYes);
  doc_.AutoTraceFringes(0);
  EXPECT_FALSE(doc_.ZAnalysis.MaskTrimmed);
  EXPECT_TRUE(doc_.ZAnalysis.MaskValid);
  EXPECT_EQ(doc_.ZAnalysis.MaskWidth(), 400);
}

TEST_F(DocumentAnalysisTest, TracingRefusesBlankImagesAndMissingApertures) {
  doc_.LoadBlankImage(2147483647, 2147483647);
  EXPECT_FALSE(doc_.AutoTraceFringes(0));
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].text, "Cannot AutoTrace a blank image");
  EXPECT_EQ(messages_.Messages()[0].flags, mb::kOk | mb::kIconExclamation);

  messages_.Clear();
  ASSERT_TRUE(doc_.SetImageData(std::vector<std::uint8_t>(400 * 400, 50), 400, 400));
  doc_.Aperture.Delete();
  doc_.InvalidateMask();
  doc_.DocDirty = false;
  EXPECT_FALSE(doc_.AutoTraceFringes(0));
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].text, "Set aperture before automatic fringe tracing");
  EXPECT_EQ(messages_.Messages()[0].title, "Warning");
  EXPECT_FALSE(doc_.DocDirty);
}

TEST_F(DocumentAnalysisTest, ClearingFringesAsksFirst) {
  AddContourFringes(doc_, pupil_, KnownWavefront());
  doc_.UpdateAnalysis(false, false);
  ASSERT_TRUE(doc_.AnalysisValid);
  messages_.QueueAnswer(idbutton::kNo);
  doc_.ClearFringes();
  EXPECT_GT(doc_.Fringes.NumFringes(), 0);
  EXPECT_TRUE(doc_.AnalysisValid);
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].text, "Current fringe centers will be erased. Continue?");
  EXPECT_EQ(messages_.Messages()[0].flags, mb::kYesNo);

  messages_.QueueAnswer(idbutton::kYes);
  doc_.ClearFringes();
  EXPECT_EQ(doc_.Fringes.NumFringes(), 0);
  EXPECT_FALSE(doc_.AnalysisValid);

  // A second trace over existing fringes asks too; No keeps them.
  AddContourFringes(doc_, pupil_, KnownWavefront());
  const std::int32_t before = doc_.Fringes.TotalNumTicks();
  messages_.Clear();
  messages_.QueueAnswer(idbutton::kNo);
  EXPECT_FALSE(doc_.AutoTraceFringes(0));
  EXPECT_EQ(doc_.Fringes.TotalNumTicks(), before);
}

TEST_F(DocumentAnalysisTest, GridAnalysisNeedsAFit) {
  doc_.AnalyzeGrid();
  EXPECT_EQ(doc_.Views().GridResultLoads(), 0);
  AddContourFringes(doc_, pupil_, KnownWavefront());
  doc_.UpdateAnalysis(false, false);
  doc_.AnalyzeGrid();
  EXPECT_EQ(doc_.Views().GridResultLoads(), 1);
}

TEST_F(DocumentAnalysisTest, TheProfileFollowsTheLineViewAngle) {
  AddContourFringes(doc_, pupil_, KnownWavefront());
  doc_.UpdateAnalysis(false, false);
  const std::vector<double> horizontal = doc_.Views().LastData().ProfileY;
  doc_.Views().SetViewAngle(90);
  doc_.DisplayScale = 2.0;
  doc_.RefreshLineViewData();
  const std::vector<double>& vertical = doc_.Views().LastData().ProfileY;
  ASSERT_EQ(vertical.size(), horizontal.size());
  // Tilt in x and y differ, so the two diameters differ.
  EXPECT_NE(vertical, horizontal);
  std::vector<double> x(100), y(100);
  ZernikeVector filtered{};
  for (int i = 1; i <= 36; ++i) filtered[i] = doc_.ZernikeFiltered(i);
  doc_.ZAnalysis.EvalProfile(filtered, 90 / 57.29577951308238, 100, x, y);
  for (std::size_t i = 0; i < y.size(); ++i) {
    if (y[i] != kBlankValue) {
      EXPECT_DOUBLE_EQ(vertical[i], 2.0 * y[i]);
    }
  }
}

TEST_F(DocumentAnalysisTest, ANewProfileAngleMarksTheDocumentChanged) {
  AddContourFringes(doc_, pupil_, KnownWavefront());
  doc_.UpdateAnalysis(false, false);
  doc_.DocDirty = false;
  doc_.Views().SetViewAngle(45);
  doc_.RefreshLineViewData();
  EXPECT_TRUE(doc_.DocDirty);
}

TEST_F(DocumentAnalysisTest, GetSurfaceMapEvaluatesTheFilteredFit) {
  AddContourFringes(doc_, pupil_, KnownWavefront());
  doc_.UpdateAnalysis(false, false);
  std::vector<double> map(10000, 1.0);
  doc_.GetSurfaceMap(map);
  EXPECT_EQ(map[0], kBlankValue);
  const double centre = map[50 * 100 + 50];
  EXPECT_NE(centre, kBlankValue);
}

}  // namespace
}  // namespace orvale::testing
