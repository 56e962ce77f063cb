#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "ResultViewTestSupport.h"
#include "app/plots/ResultReports.h"

namespace orvale::testing {
namespace {

class AberrationsReportTest : public ResultViewTest {
 protected:
  AberrationsReportTest() {
    doc_.ScaleMode = 0;
    doc_.DisplayScale = 1;
    doc_.RMS = 0.0421;
    doc_.PV = 0.2;
    doc_.Strehl = 0.93;
    doc_.zscale = 0.5;
    doc_.OutWL = 632.8;
    doc_.nDataPts = 245;
  }
  // Tilt 0.5 at 45 degrees, defocus 0.25, astigmatism 0.1 at 5.3, coma -0.15 at -123.4,
  // spherical 0.05.
  AberrationVector wn_{0, 0.5, 45, 0.25, 0.1, 5.3, -0.15, -123.4, 0.05};
};

TEST_F(AberrationsReportTest, FourteenLinesInWaves) {
  EXPECT_EQ(AberrationsReport(doc_, wn_),
            "Output Units: Waves\r\n"
            "\r\n"
            "RMS\t 0.042\r\n"
            "Peak-Valley\t 0.20\r\n"
            "Strehl Ratio\t 0.93\r\n"
            "Tilt\t 0.50\t  45.0 deg\r\n"
            "Defocus\t 0.25\r\n"
            "Astigmatism\t 0.10\t   5.3 deg\r\n"
            "Coma\t-0.15\t-123.4 deg\r\n"
            "Spherical\t 0.05\r\n"
            "\r\n"
            "Scale\t0.50\r\n"
            "Wavelength\t632.8 nm\r\n"
            "Data Points\t245");
}

TEST_F(AberrationsReportTest, RemovedTermsScaledUnitsInvertedAndAveraged) {
  doc_.noTilt = true;
  doc_.noSphere = true;
  doc_.ScaleMode = 1;
  doc_.DisplayScale = 0.6328;
  doc_.InvertWavefront = true;
  doc_.Averaged = true;
  doc_.nDataPts = 3;
  EXPECT_EQ(AberrationsReport(doc_, wn_),
            "Output Units: Micrometers\r\n"
            "\r\n"
            "RMS\t 0.027\r\n"
            "Peak-Valley\t 0.13\r\n"
            "Strehl Ratio\t 0.93\r\n"
            "Tilt\t Removed\r\n"
            "Defocus\t 0.16\r\n"
            "Astigmatism\t 0.06\t   5.3 deg\r\n"
            "Coma\t-0.09\t-123.4 deg\r\n"
            "Spherical\t Removed\r\n"
            "\r\n"
            "Scale\t-0.50\r\n"
            "Wavelength\t632.8 nm\r\n"
            "Data Sets\t3");
}

TEST_F(AberrationsReportTest, UnknownScaleModeHasNoUnitWordAndTinyNegativesKeepTheirSign) {
  doc_.ScaleMode = 3;
  wn_[3] = -0.001;
  const std::string text = AberrationsReport(doc_, wn_);
  EXPECT_EQ(text.substr(0, text.find('\r')), "Output Units: ");
  EXPECT_NE(text.find("\r\nDefocus\t-0.00\r\n"), std::string::npos);
}

TEST(ResultReports, UnitWords) {
  EXPECT_EQ(OutputUnitWord(0), "Waves");
  EXPECT_EQ(OutputUnitWord(1), "Micrometers");
  EXPECT_EQ(OutputUnitWord(2), "Microinches");
  EXPECT_EQ(OutputUnitWord(-1), "");
  EXPECT_EQ(OutputUnitWord(3), "");
}

TEST(ResultReports, ZernikesInTwoColumnsOfEighteen) {
  ZernikeVector z{};
  z[1] = 0.123456;
  z[19] = -0.0001;
  z[10] = 1.5;
  z[36] = -2.25;
  const std::string text = ZernikesReport(z);
  EXPECT_EQ(text.substr(0, text.find("\r\n")), " 1\t 0.123456\t19\t-0.000100");
  EXPECT_NE(text.find("\r\n 9\t 0.000000\t27\t 0.000000\r\n10\t 1.500000\t28\t 0.000000\r\n"),
            std::string::npos);
  EXPECT_EQ(text.substr(text.rfind("\r\n") + 2), "18\t 0.000000\t36\t-2.250000");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 17);
}

TEST(ResultReports, GridWithoutResultsShowsTheLimitsOnly) {
  clsGrid grid;
  EXPECT_EQ(GridResultsReport(grid),
            "Maximum Acceptable RMS:\t 0.0900\r\nMaximum Acceptable P-V:\t 1.0000\r\n\r\n");
  grid.UseRMS = false;
  grid.UsePV = false;
  EXPECT_EQ(GridResultsReport(grid),
            "RMS Measurement Not Considered\r\nP-V Measurement Not Considered\r\n\r\n");
}

TEST(ResultReports, GridWithResultsListsEveryCellRowByRow) {
  const clsGrid grid = GridWithResults(2, 2);
  EXPECT_EQ(GridResultsReport(grid),
            "Maximum Acceptable RMS:\t 0.0900\r\n"
            "Maximum Acceptable P-V:\t 1.0000\r\n"
            "\r\n"
            "50.00% of cells analyzed\r\n"
            "50.00% of cells usable\r\n"
            "6.00 mm^2 of area is usable.\r\n"
            "\r\n"
            "\t RMS\t P-V\r\n"
            "\t ---\t ---\r\n"
            "(0, 0) \t 0.0000\t 0.0000\tN/A\r\n"
            "(1, 0) \t 0.0100\t 0.1000\tPASS\r\n"
            "(0, 1) \t 0.0200\t 0.2000\tFAIL\r\n"
            "(1, 1) \t 0.0300\t 0.3000\tN/A");
}

TEST(ResultReports, GridTabStopsFollowTheWidestCellName) {
  // The first stop is one character past "(x, y) ", dx + dy + 5 characters long.
  const struct { std::int32_t nx, ny; std::vector<std::int32_t> stops; } cases[] = {
      {12, 3, {36, 76, 116}},    // dx 2, dy 1
      {1, 1, {32, 72, 112}},     // "0" and "0"
      {100, 101, {44, 84, 124}}, // "99" and "100"
      {0, 0, {40, 80, 120}},     // "-1" twice
  };
  for (const auto& c : cases) {
    clsGrid grid;
    grid.CellCountX = c.nx;
    grid.CellCountY = c.ny;
    EXPECT_EQ(GridResultsTabStops(grid), c.stops) << c.nx << " x " << c.ny;
  }
}

}  // namespace
}  // namespace orvale::testing
