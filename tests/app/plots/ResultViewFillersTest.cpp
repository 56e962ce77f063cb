#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "ResultViewTestSupport.h"
#include "app/plots/ResultViewFillers.h"

namespace orvale::testing {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// One run's data: a 30 x 30 bowl for the plots, a 20 x 20 bowl for the synthetic
// fringes and a 50-point profile.
AnalysisViewData BowlData(std::int32_t surface = 30) {
  AnalysisViewData data;
  data.xSurfaceSize = data.ySurfaceSize = surface;
  data.SurfaceMap = BowlMap(std::max(surface, 1));
  data.SurfaceMap.resize(static_cast<std::size_t>(surface) * static_cast<std::size_t>(surface));
  data.xOrigSurfaceSize = data.yOrigSurfaceSize = 20;
  data.SFringeMap = BowlMap(20);
  for (int i = 0; i < 50; ++i) {
    const double x = -1 + 2.0 * i / 49;
    data.ProfileX.push_back(x);
    data.ProfileY.push_back(x * x);
  }
  return data;
}

double AxisMax2D(const clsChart2D& chart, std::int32_t axis) {
  double lo = 0, hi = 0, cross = 0;
  chart.GetAxisMinMax(axis, lo, hi, cross);
  return hi;
}

TEST_F(ResultViewTest, ScaleLimitTable) {
  const struct {
    bool limit;
    std::int32_t mode;
    double displayScale;
    double expected;
  } cases[] = {
      {true, 0, 0.6328, 0.5},    {false, 0, 24.9, 0.05},  {false, 1, 0.6328, 0.03},
      {true, 2, 24.9, 10},       {true, 1, 0.6328, 0.3},  {false, 1, 0.001, 5E-05},
      {true, 2, 0, 0},
  };
  for (const auto& c : cases) {
    doc_.LimitDisplayScale = c.limit;
    doc_.ScaleMode = c.mode;
    doc_.DisplayScale = c.displayScale;
    EXPECT_DOUBLE_EQ(PlotScaleLimit(doc_), c.expected)
        << c.limit << " " << c.mode << " " << c.displayScale;
  }
}

TEST_F(ResultViewTest, EveryViewIsFilledInTheFixedOrderWithItsCaptionAndScaleLimit) {
  doc_.LimitDisplayScale = false;
  doc_.ScaleMode = 1;
  doc_.DisplayScale = 0.6328;
  OutputViews_LoadData(views_, doc_, BowlData());

  EXPECT_EQ(windows_.calls,
            (std::vector<std::string>{"UpdateTextBox 8", "UpdateTextBox 7", "UpdateTextBox 9",
                                      "ResizeWindow 6", "ResizeWindow 4", "ResizeWindow 3",
                                      "ResizeWindow 5"}));
  EXPECT_EQ(doc_.Views().GetViewPlacement(6), (WindowPlacement{0, 0, 40, 40}));
  EXPECT_TRUE(views_.Contour.PlotReady);
  EXPECT_TRUE(views_.Surface.PlotReady);
  EXPECT_TRUE(views_.Line.PlotReady);
  EXPECT_TRUE(views_.SFringe.ImageReady);
  EXPECT_FALSE(views_.Surface.PolygonsStale);
  EXPECT_EQ(views_.Surface.SurfacePlot.ScaleLimit, 0.03);
  EXPECT_EQ(views_.Contour.ContourPlot.ScaleLimit, 0.03);
  EXPECT_EQ(views_.Line.LinePlot.ScaleLimit, 0.03);
  EXPECT_EQ(views_.Surface.SurfacePlot.Chart.Axis(kAxisZ).TitleFont.Caption, "Micrometers");
  EXPECT_EQ(views_.Line.LinePlot.Chart.Axis(kAxisLeft).TitleFont.Caption, "Micrometers");

  const struct { std::int32_t formType; const char* expected; } captions[] = {
      {3, "Surface Plot - mirror.bmp"}, {4, "Contour Plot - mirror.bmp"},
      {5, "Line Profile - mirror.bmp"}, {6, "Synthetic Fringes - mirror.bmp"},
      {7, "Aberrations - mirror.bmp"},  {8, "Zernikes - mirror.bmp"},
      {9, "Grid Results - mirror.bmp"},
  };
  for (const auto& c : captions) EXPECT_EQ(Caption(c.formType), c.expected);

  doc_.DocumentFileName = "mirror.ovd";
  OutputViews_LoadData(views_, doc_, BowlData());
  EXPECT_EQ(Caption(3), "Surface Plot - mirror.ovd");
  EXPECT_EQ(Caption(9), "Grid Results - mirror.ovd");
}

TEST_F(ResultViewTest, TextViewsTakeTheScreenFontAndTheirTabStops) {
  ZernikeVector z{};
  z[1] = 0.123456;
  z[19] = -0.0001;
  doc_.SetZernikes(z);
  doc_.Grid = GridWithResults(12, 3);
  OutputViews_LoadData(views_, doc_, BowlData());

  EXPECT_EQ(views_.Zernikes.Text.substr(0, views_.Zernikes.Text.find('\r')),
            " 1\t 0.123456\t19\t-0.000100");
  EXPECT_EQ(views_.Zernikes.TabStops, (std::vector<std::int32_t>{16, 68, 84}));
  EXPECT_EQ(views_.Aberrations.TabStops, (std::vector<std::int32_t>{60, 96}));
  EXPECT_EQ(views_.GridResults.TabStops, (std::vector<std::int32_t>{36, 76, 116}));
  EXPECT_EQ(views_.Aberrations.Text.substr(0, 19), "Output Units: Waves");
  for (const TextViewModel* view : {&views_.Aberrations, &views_.Zernikes, &views_.GridResults})
    EXPECT_EQ(view->Font, doc_.ScreenTextStyle()) << view->FormType;
}

TEST_F(ResultViewTest, ContourTitleGivesTheStepBetweenLevels) {
  doc_.AutoScaleZ = false;
  doc_.zmin = 0;
  doc_.zmax = 1;
  doc_.ContourLevels = 8;
  OutputViews_LoadData(views_, doc_, BowlData());
  EXPECT_EQ(views_.Contour.ContourPlot.Chart.ChartTitle().Caption, "0.125 Waves / contour");
  EXPECT_EQ(doc_.zmin, 0);
  EXPECT_EQ(doc_.zmax, 1);
}

TEST_F(ResultViewTest, AutomaticZRangeIsReadBackFromTheContourPlot) {
  doc_.AutoScaleZ = true;
  doc_.zmin = -7;
  doc_.zmax = 7;
  OutputViews_LoadData(views_, doc_, BowlData());
  double lo = 0, hi = 0;
  views_.Contour.ContourPlot.GetZAxisMinMax(lo, hi);
  EXPECT_EQ(doc_.zmin, lo);
  EXPECT_EQ(doc_.zmax, hi);
  EXPECT_LE(lo, 0.0);
  EXPECT_GE(hi, 1.0);
  EXPECT_LT(hi, 7.0);
}

TEST_F(ResultViewTest, AFailedMeshLeavesThatPlotNotReadyAndTheRangeAlone) {
  doc_.AutoScaleZ = false;
  doc_.zmin = -2;
  doc_.zmax = 3;
  OutputViews_LoadData(views_, doc_, BowlData());  // a good run first
  ASSERT_TRUE(views_.Contour.PlotReady);
  doc_.AutoScaleZ = true;
  windows_.calls.clear();

  OutputViews_LoadData(views_, doc_, BowlData(1));  // a 1 x 1 map cannot be meshed

  EXPECT_FALSE(views_.Contour.PlotReady);
  EXPECT_FALSE(views_.Surface.PlotReady);
  EXPECT_TRUE(views_.Line.PlotReady);
  EXPECT_TRUE(views_.SFringe.ImageReady);
  EXPECT_EQ(doc_.zmin, -2);
  EXPECT_EQ(doc_.zmax, 3);
  EXPECT_EQ(std::count(windows_.calls.begin(), windows_.calls.end(), "ResizeWindow 4"), 0);
  EXPECT_EQ(std::count(windows_.calls.begin(), windows_.calls.end(), "ResizeWindow 3"), 0);
  EXPECT_FALSE(messages_.Messages().empty());  // the plots' own warnings
}

TEST_F(ResultViewTest, AnEmptyFixedRangeNeitherHangsNorDrawsNonsense) {
  doc_.AutoScaleZ = false;
  for (const auto& [lo, hi] : {std::pair{1.0, 1.0}, std::pair{2.0, -2.0}, std::pair{kNaN, kInf}}) {
    doc_.zmin = lo;
    doc_.zmax = hi;
    OutputViews_LoadData(views_, doc_, BowlData());
    EXPECT_FALSE(views_.Contour.PlotReady) << lo << " " << hi;
    gdi::RecordingDeviceContext dc;
    if (views_.Surface.PlotReady) views_.Surface.SurfacePlot.PlotRedraw(dc);
    if (views_.Line.PlotReady) views_.Line.LinePlot.PlotRedraw(dc);
  }
}

TEST_F(ResultViewTest, LineProfileTitleTraceAndRefresh) {
  views_.Line.ViewAngle = 45;
  OutputViews_LoadData(views_, doc_, BowlData());
  clsLineProfile& plot = views_.Line.LinePlot;
  EXPECT_EQ(plot.Chart.Axis(kAxisBottom).TitleFont.Caption, "Profile along 45 degs");
  EXPECT_EQ(plot.Chart.Axis(kAxisLeft).TitleFont.Caption, "Waves");
  ASSERT_EQ(doc_.ProfileTraceid, 1);
  ASSERT_EQ(plot.Trace(1)->NumPoints, 50);
  EXPECT_DOUBLE_EQ(plot.YValues()[49], 1.0);

  views_.Line.ViewAngle = 90;
  doc_.ProfileSize = 50;
  std::vector<double> x, y;
  for (int i = 0; i < 50; ++i) {
    x.push_back(-1 + 2.0 * i / 49);
    y.push_back(3.0 * i / 49);
  }
  windows_.calls.clear();
  RefreshLineProfile(views_, doc_, x, y);
  EXPECT_EQ(plot.Chart.Axis(kAxisBottom).TitleFont.Caption, "Profile along 90 degs");
  EXPECT_DOUBLE_EQ(plot.YValues()[49], 3.0);
  EXPECT_GE(AxisMax2D(plot.Chart, kAxisLeft), 3.0);  // rescaled to the new values
  EXPECT_TRUE(windows_.calls.empty());  // the caller redraws
}

TEST_F(ResultViewTest, AnEmptyProfileLeavesTheLineViewNotReady) {
  AnalysisViewData data = BowlData();
  data.ProfileX.clear();
  data.ProfileY.clear();
  OutputViews_LoadData(views_, doc_, data);
  EXPECT_EQ(doc_.ProfileTraceid, 0);
  EXPECT_FALSE(views_.Line.PlotReady);
  EXPECT_TRUE(views_.Contour.PlotReady);
}

TEST_F(ResultViewTest, NothingIsFilledWithoutOutputViews) {
  doc_.OutputViewsExist = false;
  OutputViews_LoadData(views_, doc_, BowlData());
  LoadDataIntoGridResults(views_, doc_);
  RefreshLineProfile(views_, doc_, std::vector<double>(5, 1.0), std::vector<double>(5, 1.0));
  LoadDataIntoSFringe(views_, doc_, 20, 20, BowlMap(20));
  EXPECT_TRUE(windows_.calls.empty());
  EXPECT_TRUE(Caption(3).empty());
  EXPECT_TRUE(views_.GridResults.Text.empty());
  EXPECT_FALSE(views_.SFringe.ImageReady);
  EXPECT_EQ(views_.Line.LinePlot.NumTraces(), 0);
}

TEST_F(ResultViewTest, GridResultsAloneAfterAGridAnalysis) {
  doc_.Grid = GridWithResults(2, 2);
  LoadDataIntoGridResults(views_, doc_);
  EXPECT_EQ(windows_.calls, (std::vector<std::string>{"UpdateTextBox 9"}));
  EXPECT_NE(views_.GridResults.Text.find("(1, 1) \t 0.0300\t 0.3000\tN/A"), std::string::npos);
  EXPECT_EQ(views_.GridResults.TabStops, (std::vector<std::int32_t>{32, 72, 112}));
}

TEST_F(ResultViewTest, SyntheticFringesSizeTheWindowOnTheFirstPictureOnly) {
  views_.SFringe.ZoomFactor = 150;
  LoadDataIntoSFringe(views_, doc_, 21, 10, BowlMap(21, false));
  ASSERT_TRUE(views_.SFringe.ImageReady);
  EXPECT_EQ(views_.SFringe.XSize, 21);
  EXPECT_EQ(views_.SFringe.YSize, 10);
  EXPECT_EQ(views_.SFringe.Picture.size(), 210u);
  EXPECT_EQ(views_.SFringe.PrintWidth, 21);
  // 21 x 1.5 = 31.5 rounds to the even 32; 10 x 1.5 = 15.
  EXPECT_EQ(windows_.calls, (std::vector<std::string>{"ResizeWindow 6"}));
  EXPECT_EQ(doc_.Views().GetViewPlacement(6), (WindowPlacement{0, 0, 32, 15}));
  windows_.calls.clear();
  doc_.Views().SetViewPlacement(6, {5, 6, 100, 100});
  LoadDataIntoSFringe(views_, doc_, 21, 10, BowlMap(21, false));
  EXPECT_EQ(windows_.calls, (std::vector<std::string>{"ResizeWindow 6"}));
  EXPECT_EQ(doc_.Views().GetViewPlacement(6), (WindowPlacement{5, 6, 100, 100}));
}

TEST_F(ResultViewTest, AMinimisedOrMaximisedSyntheticFringeWindowKeepsItsSize) {
  auto& window = dynamic_cast<RecordingDocumentWindow&>(*doc_.Views().Window(6));
  window.SetPlacement({5, 6, 100, 100});
  for (const WindowShowState state : {WindowShowState::Minimized, WindowShowState::Maximized}) {
    window.SetState(state);
    views_.SFringe.ImageReady = false;
    LoadDataIntoSFringe(views_, doc_, 21, 10, BowlMap(21, false));
    EXPECT_EQ(window.Placement(), (WindowPlacement{5, 6, 100, 100}));
  }
}

TEST_F(ResultViewTest, SyntheticFringesWithoutPointsChangeNothing) {
  LoadDataIntoSFringe(views_, doc_, 0, 20, {});
  LoadDataIntoSFringe(views_, doc_, 20, -1, {});
  EXPECT_TRUE(Caption(6).empty());
  EXPECT_TRUE(windows_.calls.empty());
}

TEST_F(ResultViewTest, ASyntheticMapShorterThanItsSizeHidesTheView) {
  LoadDataIntoSFringe(views_, doc_, 20, 20, std::vector<double>(399, 1.0));
  EXPECT_FALSE(views_.SFringe.ImageReady);
  EXPECT_TRUE(windows_.calls.empty());
  ASSERT_FALSE(WindowCalls().empty());
  EXPECT_EQ(WindowCalls().back(), "Hide 6");
}

TEST_F(ResultViewTest, SyntheticFringeBytesSpreadTheRangeAndBlankWhatHasNoData) {
  const std::vector<double> map = {kBlankValue, -1.0, 0.0, 1.0, kNaN, kInf, -kInf, 0.5};
  LoadDataIntoSFringe(views_, doc_, 4, 2, map);
  EXPECT_EQ(views_.SFringe.Picture, (std::vector<std::uint8_t>{0, 0, 128, 255, 0, 0, 0, 191}));

  LoadDataIntoSFringe(views_, doc_, 2, 2, std::vector<double>(4, 0.7));
  EXPECT_EQ(views_.SFringe.Picture, std::vector<std::uint8_t>(4, 0));
}

// The document's own analysis, handed over as it is today, fills every view.
TEST_F(ResultViewTest, AnAnalysedDocumentFillsAllSevenViews) {
  const Pupil pupil;
  GiveImageAndAperture(doc_, pupil);
  doc_.zscale = 1.0;
  doc_.NumZernikeToFit = 8;
  ZernikeVector known{};
  known[3] = 1.5;
  known[4] = 0.4;
  known[8] = 0.3;
  ASSERT_GT(AddContourFringes(doc_, pupil, known), 100);
  doc_.UpdateAnalysis(true, false);
  ASSERT_TRUE(doc_.AnalysisValid);

  OutputViews_LoadData(views_, doc_, doc_.Views().LastData());

  EXPECT_TRUE(views_.Surface.PlotReady);
  EXPECT_TRUE(views_.Contour.PlotReady);
  EXPECT_TRUE(views_.Line.PlotReady);
  EXPECT_TRUE(views_.SFringe.ImageReady);
  EXPECT_EQ(views_.SFringe.XSize, doc_.xOrigSurfaceSize);
  EXPECT_NE(views_.Zernikes.Text.find(" 3\t 1.500000\t21\t"), std::string::npos);
  EXPECT_NE(views_.Aberrations.Text.find("Data Points\t" + std::to_string(doc_.nDataPts)),
            std::string::npos);
  // Dark and bright fringes both appear in the synthetic picture.
  const auto [lo, hi] = std::minmax_element(views_.SFringe.Picture.begin(), views_.SFringe.Picture.end());
  EXPECT_EQ(*lo, 0);
  EXPECT_EQ(*hi, 255);
}

}  // namespace
}  // namespace orvale::testing
