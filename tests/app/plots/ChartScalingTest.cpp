#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/plots/clsChart2D.h"

namespace orvale {
namespace {

std::string Labels(const clsChart2D& chart, int axisid) {
  return chart.Axis(axisid).LabelFont.Caption;
}

TEST(ChartScaling, RangeZeroToTenGivesMajorTwoMinorPointFourAndSixLabels) {
  clsChart2D chart;
  chart.SetAxisMinMax(kAxisBottom, 0, 10, 0);
  chart.AutoScaleMajor(kAxisBottom, 0, 10, 0);
  chart.AutoScaleMinor(kAxisBottom);
  chart.CreateTickLabels(kAxisBottom);
  EXPECT_DOUBLE_EQ(chart.Axis(kAxisBottom).Major, 2);
  EXPECT_DOUBLE_EQ(chart.Axis(kAxisBottom).Minor, 0.4);
  EXPECT_EQ(chart.Axis(kAxisBottom).NumLabels, 6);
  EXPECT_EQ(Labels(chart, kAxisBottom), "0|2|4|6|8|10|");
}

TEST(ChartScaling, ResidueAtZeroIsWrittenAsZero) {
  clsChart2D chart;
  chart.SetAxisMinMax(kAxisLeft, -1, 1, -1);
  chart.Axis(kAxisLeft).Major = 0.4;
  chart.CreateTickLabels(kAxisLeft);
  EXPECT_EQ(Labels(chart, kAxisLeft), "-1|-0.6|-0.2|0.2|0.6|1|");
  // 3 * 0.1 - 0.3 is a rounding residue of about 5.6E-17; it is labelled 0.
  chart.SetAxisMinMax(kAxisLeft, -0.3, 0.3, -0.3);
  chart.Axis(kAxisLeft).Major = 0.1;
  chart.CreateTickLabels(kAxisLeft);
  EXPECT_EQ(Labels(chart, kAxisLeft), "-0.3|-0.2|-0.1|0|0.1|0.2|0.3|");
}

TEST(ChartScaling, AutoScaleMajorDivisorsByScaleFactor) {
  const struct { int scaleFactor; double tmin; double major; } cases[] = {
      {2, 0, 2}, {3, 0, 8.0 / 6}, {1, 0, 8.0 / 5}, {0, 0, 8.0 / 5}, {2, 1, 7.0 / 5},
      {-3, 0, 8.0 / 6}, {4, 0, 2},
  };
  for (const auto& c : cases) {
    clsChart2D chart;
    chart.AutoScaleMajor(kAxisBottom, c.tmin, 8, c.scaleFactor);
    EXPECT_DOUBLE_EQ(chart.Axis(kAxisBottom).Major, c.major) << c.scaleFactor << " " << c.tmin;
  }
  clsChart2D chart;
  chart.Axis(kAxisLeft).AutoMajor = false;
  chart.Axis(kAxisLeft).Major = 3;
  chart.AutoScaleMajor(kAxisLeft, 0, 8, 0);
  EXPECT_EQ(chart.Axis(kAxisLeft).Major, 3);
  chart.Axis(kAxisLeft).LogScale = true;
  chart.Axis(kAxisLeft).AutoMajor = true;
  chart.AutoScaleMajor(kAxisLeft, 1, 1000, 0);
  chart.AutoScaleMinor(kAxisLeft);
  EXPECT_EQ(chart.Axis(kAxisLeft).Major, 10);
  EXPECT_EQ(chart.Axis(kAxisLeft).Minor, 10);
}

TEST(ChartScaling, ScaleFactorIndexTable) {
  const int exponents[17] = {18, 15, 12, 9, 6, 3, 2, 1, 0, -1, -2, -3, -6, -9, -12, -15, -18};
  for (int idx = 0; idx < 17; ++idx) {
    EXPECT_EQ(clsChart2D::Idx2Exp(idx), exponents[idx]) << idx;
    EXPECT_EQ(clsChart2D::Exp2Idx(exponents[idx]), idx) << idx;
  }
  EXPECT_EQ(clsChart2D::Idx2Exp(17), 0);
  EXPECT_EQ(clsChart2D::Idx2Exp(-1), 0);
  EXPECT_EQ(clsChart2D::Exp2Idx(-19), 16);
  EXPECT_EQ(clsChart2D::Exp2Idx(19), 0);
  EXPECT_EQ(clsChart2D::Exp2Idx(-4), 11);  // between steps: the nearest index
  EXPECT_EQ(clsChart2D::Exp2Idx(-5), 12);
  EXPECT_EQ(clsChart2D::Exp2Idx(4), 5);
}

TEST(ChartScaling, ScaleFactorDividesTheLabels) {
  clsChart2D chart;
  chart.Axis(kAxisBottom).SFactorIdx = clsChart2D::Exp2Idx(-3);
  chart.SetAxisMinMax(kAxisBottom, 0, 0.004, 0);
  chart.Axis(kAxisBottom).Major = 0.001;
  chart.CreateTickLabels(kAxisBottom);
  EXPECT_EQ(Labels(chart, kAxisBottom), "0|1|2|3|4|");
  EXPECT_EQ(chart.GetSFExponent(kAxisBottom), -3);
}

TEST(ChartScaling, LogAxisLabelsPerDecade) {
  clsChart2D chart;
  chart.Axis(kAxisBottom).LogScale = true;
  chart.SetAxisMinMax(kAxisBottom, 1, 1000, 1);
  chart.Axis(kAxisBottom).Major = 10;
  chart.CreateTickLabels(kAxisBottom);
  EXPECT_EQ(Labels(chart, kAxisBottom), "1|10|100|1000|");
  EXPECT_EQ(chart.Axis(kAxisBottom).NumLabels, 4);
}

TEST(ChartScaling, LabelsThatCannotBeBuiltKeepTheOldOnes) {
  clsChart2D chart;
  chart.SetAxisMinMax(kAxisBottom, 0, 10, 0);
  chart.Axis(kAxisBottom).Major = 5;
  chart.CreateTickLabels(kAxisBottom);
  ASSERT_EQ(Labels(chart, kAxisBottom), "0|5|10|");
  ChartAxis& a = chart.Axis(kAxisBottom);
  const struct { double min, max, major; bool log; } stops[] = {
      {10, 10, 5, false}, {10, 0, 5, false}, {0, 10, 0, false}, {0, 10, -1, false},
      {0, 10, 10, true}, {-1, 10, 10, true}, {1, 10, 0, true},
  };
  for (const auto& s : stops) {
    a.Min = s.min;
    a.Max = s.max;
    a.Major = s.major;
    a.LogScale = s.log;
    chart.CreateTickLabels(kAxisBottom);
    EXPECT_EQ(Labels(chart, kAxisBottom), "0|5|10|");
    EXPECT_EQ(a.NumLabels, 3);
  }
}

TEST(ChartScaling, LabelCountIsCappedAtSixtyFour) {
  clsChart2D chart;
  chart.SetAxisMinMax(kAxisBottom, 0, 1E9, 0);
  chart.Axis(kAxisBottom).Major = 1;
  chart.CreateTickLabels(kAxisBottom);
  EXPECT_EQ(chart.Axis(kAxisBottom).NumLabels, 64);
  const std::string labels = Labels(chart, kAxisBottom);
  EXPECT_EQ(std::count(labels.begin(), labels.end(), '|'), 64);
  EXPECT_EQ(labels.substr(labels.size() - 3), "63|");
  // A spacing so small that the count does not fit a whole number.
  chart.Axis(kAxisBottom).Major = 1E-300;
  chart.CreateTickLabels(kAxisBottom);
  EXPECT_EQ(chart.Axis(kAxisBottom).NumLabels, 64);
}

TEST(ChartScaling, DefaultsAndTitles) {
  clsChart2D chart;
  EXPECT_EQ(chart.TICKMAJORLENGTH, 7);
  EXPECT_EQ(chart.TICKMINORLENGTH, 4);
  EXPECT_TRUE(chart.Axis(kAxisBottom).Visible);
  EXPECT_TRUE(chart.Axis(kAxisLeft).Visible);
  EXPECT_FALSE(chart.Axis(kAxisTop).Visible);
  EXPECT_FALSE(chart.Axis(kAxisRight).Visible);
  EXPECT_EQ(chart.Axis(kAxisLeft).TitleFont.Escapement, 3);
  EXPECT_EQ(chart.Axis(kAxisRight).TitleFont.Escapement, 2);
  EXPECT_EQ(chart.Axis(kAxisTop).TitleFont.Escapement, 1);
  EXPECT_EQ(chart.Axis(kAxisBottom).LabelFont.Size, 8);
  EXPECT_EQ(chart.Axis(kAxisBottom).SFactorIdx, 8);
  chart.SetTitle(kChartTitleId, "0.125 Waves / contour");
  chart.SetTitle(kAxisLeft, "Waves");
  chart.SetTitle(7, "ignored");
  EXPECT_EQ(chart.ChartTitle().Caption, "0.125 Waves / contour");
  EXPECT_EQ(chart.Axis(kAxisLeft).TitleFont.Caption, "Waves");
  chart.SetChartDefaults();
  EXPECT_EQ(chart.ChartTitle().Caption, "");
  EXPECT_EQ(chart.Axis(kAxisLeft).TitleFont.Caption, "");
}

TEST(ChartScaling, RangeAccessorsIgnoreUnknownAxes) {
  clsChart2D chart;
  chart.SetAxisMinMax(kAxisLeft, -2, 3, -2);
  double mn = 9, mx = 9, cr = 9;
  chart.GetAxisMinMax(kAxisLeft, mn, mx, cr);
  EXPECT_EQ(mn, -2);
  EXPECT_EQ(mx, 3);
  EXPECT_EQ(cr, -2);
  chart.SetAxisMinMax(9, 1, 2, 3);
  chart.GetAxisMinMax(-1, mn, mx, cr);
  EXPECT_EQ(mn, -2);
  bool a = false, b = false, c = false;
  chart.GetAxisAutoMinMax(kAxisBottom, a, b, c);
  EXPECT_TRUE(a && b && c);
}

}  // namespace
}  // namespace orvale
