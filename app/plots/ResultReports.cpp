#include "app/plots/ResultReports.h"

#include "app/document/AberrationCaptions.h"
#include "app/analysis/clsGrid.h"
#include "app/document/clsDocument.h"
#include "platform/runtime/NumberPattern.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kCoefficientPattern = " 0.000000;-0.000000";
// Angles are padded on the left to this many characters so the column lines up.
constexpr std::size_t kAngleWidth = 10;

// A blank in front of a value that is zero or positive lines it up with negative ones.
std::string SignPlace(double value) { return value >= 0 ? " " : ""; }

std::string AngleText(double degrees) {
  std::string text = SignPlace(degrees) + FormatPattern(degrees, "0.0") + " deg";
  if (text.size() < kAngleWidth) text.insert(0, kAngleWidth - text.size(), ' ');
  return text;
}

// One aberration line: its caption, its value or " Removed", and for tilt, astigmatism
// and coma the angle that follows the magnitude in the vector.
std::string AberrationLine(std::size_t k, bool removed, bool hasAngle, const AberrationVector& wn,
                           double displayScale) {
  std::string line(AberrationCaptions[k - 1]);
  line += '\t';
  if (removed) return line + " Removed";
  line += SignPlace(wn[k]) + FormatPattern(wn[k] * displayScale, "0.00");
  if (hasAngle) line += "\t" + AngleText(wn[k + 1]);
  return line;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += kLineEnd;
    text += lines[i];
  }
  return text;
}

std::string LimitLine(bool used, std::string_view caption, double limit, std::string_view unused) {
  if (!used) return std::string(unused);
  return std::string(caption) + "\t" + FormatPattern(limit, kGridValuePattern);
}

}  // namespace

std::string_view OutputUnitWord(std::int32_t ScaleMode) {
  switch (ScaleMode) {
    case 0: return "Waves";
    case 1: return "Micrometers";
    case 2: return "Microinches";
    default: return {};
  }
}

std::string AberrationsReport(const clsDocument& doc, const AberrationVector& WNotation) {
  const double scale = doc.DisplayScale;
  std::vector<std::string> lines;
  lines.push_back("Output Units: " + std::string(OutputUnitWord(doc.ScaleMode)));
  lines.emplace_back();
  lines.push_back("RMS\t" + FormatPattern(doc.RMS * scale, " 0.000"));
  lines.push_back("Peak-Valley\t" + FormatPattern(doc.PV * scale, " 0.00"));
  lines.push_back("Strehl Ratio\t" + FormatPattern(doc.Strehl, " 0.00"));
  lines.push_back(AberrationLine(1, doc.noTilt, true, WNotation, scale));
  lines.push_back(AberrationLine(3, doc.noFocus, false, WNotation, scale));
  lines.push_back(AberrationLine(4, doc.noAstig, true, WNotation, scale));
  lines.push_back(AberrationLine(6, doc.noComa, true, WNotation, scale));
  lines.push_back(AberrationLine(8, doc.noSphere, false, WNotation, scale));
  lines.emplace_back();
  lines.push_back("Scale\t" + FormatPattern(doc.InvertWavefront ? -doc.zscale : doc.zscale, "0.00"));
  lines.push_back("Wavelength\t" + FormatPattern(doc.OutWL, "000.0") + " nm");
  lines.push_back(std::string(doc.Averaged ? "Data Sets" : "Data Points") + "\t" +
                  FormatPattern(doc.nDataPts, "0"));
  return Joined(lines);
}

std::string ZernikesReport(const ZernikeVector& Zernikes) {
  constexpr std::size_t kRows = 18;
  std::vector<std::string> lines;
  for (std::size_t i = 1; i <= kRows; ++i) {
    const double left = static_cast<double>(i);
    const double right = static_cast<double>(i + kRows);
    lines.push_back(FormatPattern(left, i < 10 ? " #" : "##") + "\t" +
                    FormatPattern(Zernikes[i], kCoefficientPattern) + "\t" +
                    FormatPattern(right, "##") + "\t" +
                    FormatPattern(Zernikes[i + kRows], kCoefficientPattern));
  }
  return Joined(lines);
}

std::string GridResultsReport(const clsGrid& grid) {
  std::string text = LimitLine(grid.UseRMS, "Maximum Acceptable RMS:", grid.MaxRMS,
                               "RMS Measurement Not Considered");
  text += kLineEnd;
  text += LimitLine(grid.UsePV, "Maximum Acceptable P-V:", grid.MaxPV,
                    "P-V Measurement Not Considered");
  text += kLineEnd;
  text += kLineEnd;
  if (!grid.IsDefined(clsGrid::kResults)) return text;

  double analysed = 0, usable = 0, area = 0;
  grid.GetStatistics(analysed, usable, area);
  std::vector<std::string> lines;
  lines.push_back(FormatPattern(analysed, kGridStatisticsPattern) + "% of cells analyzed");
  lines.push_back(FormatPattern(usable, kGridStatisticsPattern) + "% of cells usable");
  lines.push_back(FormatPattern(area, kGridStatisticsPattern) + " mm^2 of area is usable.");
  lines.emplace_back();
  lines.emplace_back("\t RMS\t P-V");
  lines.emplace_back("\t ---\t ---");
  for (std::int32_t y = 0; y < grid.CellCountY; ++y) {
    for (std::int32_t x = 0; x < grid.CellCountX; ++x) {
      double rms = 0, pv = 0;
      std::int32_t status = 0;
      grid.GetCellMeasurements(x, y, rms, pv, status);
      lines.push_back("(" + FormatLong(x) + ", " + FormatLong(y) + ") \t" +
                      FormatPattern(rms, kGridValuePattern) + "\t" +
                      FormatPattern(pv, kGridValuePattern) + "\t" +
                      std::string(CellStatusWord(status)));
    }
  }
  return text + Joined(lines);
}

std::vector<std::int32_t> GridResultsTabStops(const clsGrid& grid) {
  // "(", ", ", ") " and the two numbers; a tab standing exactly on a stop goes on to
  // the next one, hence the one more.
  const std::int32_t name = DecimalWidth(grid.CellCountX - 1) + DecimalWidth(grid.CellCountY - 1) + 5;
  const std::int32_t n = name + 1;
  return {4 * n, 4 * n + 40, 4 * n + 80};
}

std::string_view CellStatusWord(std::int32_t status) {
  switch (status) {
    case clsGrid::kNotAnalysed: return "N/A";
    case clsGrid::kWithinLimits: return "PASS";
    case clsGrid::kOutsideLimits: return "FAIL";
    default: return {};
  }
}

std::int32_t DecimalWidth(std::int32_t n) {
  return static_cast<std::int32_t>(FormatLong(n).size());
}

}  // namespace orvale
