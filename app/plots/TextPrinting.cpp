#include "app/plots/TextPrinting.h"

#include <algorithm>
#include <array>

#include "app/analysis/clsGrid.h"
#include "app/document/DocumentViews.h"
#include "app/document/FontSpec.h"
#include "app/document/clsDocument.h"
#include "app/plots/ResultReports.h"
#include "platform/gdi/DrawModes.h"
#include "platform/gdi/Region.h"
#include "platform/registry/GeneralSettings.h"
#include "platform/runtime/NumberPattern.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The report setting (index into ReportShowFlags) of the aberrations report's rows
// 1..14; 0 for the rows that always print.
constexpr std::array<std::size_t, 15> kAberrationRowSetting = {
    0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 0, 9, 10, 11};
constexpr std::size_t kAberrationRows = 14;

// Line breaks inside a user-data item would print as control glyphs.
std::string OnOneLine(std::string_view value) {
  std::string line;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
    line += (c == '\r' || c == '\n') ? ' ' : c;
  }
  return line;
}

std::vector<std::string> CutAtLineEnds(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  do {
    const std::size_t end = text.find(kLineEnd, pos);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(pos));
      break;
    }
    lines.emplace_back(text.substr(pos, end - pos));
    pos = end + kLineEnd.size();
  } while (pos < text.size());
  return lines;
}

std::string Coefficients(const ZernikeVector& z, std::size_t first, std::size_t last) {
  std::string line;
  for (std::size_t i = first; i <= last; ++i)
    line += FormatPattern(z[i], " 0.000000;-0.000000") + "  ";
  line.erase(line.find_last_not_of(' ') + 1);
  return line;
}

// Bytes of the UTF-8 character that starts at `pos`.
std::size_t CharLength(std::string_view s, std::size_t pos) {
  if (pos >= s.size()) return 0;
  const auto lead = static_cast<unsigned char>(s[pos]);
  const std::size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  return std::min(n, s.size() - pos);
}

std::int32_t Rounded(double v) { return RoundToInt32(v); }

}  // namespace

TextPrintLayout AberrationsPrintLayout(std::string_view text, const clsDocument& doc) {
  const auto& show = doc.Settings().ReportShowFlags;
  TextPrintLayout layout;
  layout.TabStops = {15, 24, 36};
  for (const std::string& line : CutAtLineEnds(text)) {
    const std::size_t row = layout.Lines.size() + 1;
    const bool printed = row <= kAberrationRows &&
                         (kAberrationRowSetting[row] == 0 || show[kAberrationRowSetting[row]]);
    layout.Lines.push_back({line, printed});
  }
  const struct {
    const std::string& value;
    std::string_view caption;
    std::size_t setting;
  } items[] = {{doc.OpticDescription, "Description", 12},
               {doc.OpticDate, "Date Tested", 13},
               {doc.OpticOperator, "Operator", 14},
               {doc.OpticComments, "Comments", 15}};
  for (const auto& item : items) {
    if (item.value.empty()) continue;
    layout.Lines.push_back({std::string(item.caption) + "\t" + OnOneLine(item.value), show[item.setting]});
  }
  return layout;
}

TextPrintLayout ZernikesPrintLayout(const ZernikeVector& Zernikes) {
  const auto& z = Zernikes;
  TextPrintLayout layout;
  layout.Lines = {{"Zernike Polynomials", true},
                  {"", true},
                  {"Second Order", true},
                  {Coefficients(z, 1, 3), true},
                  {"", true},
                  {"Fourth Order", true},
                  {Coefficients(z, 4, 8), true},
                  {"", true},
                  {"Sixth Order", true},
                  {Coefficients(z, 9, 15), true},
                  {"", true},
                  {"Eighth Order", true},
                  {Coefficients(z, 16, 24), true},
                  {"", true},
                  {"Tenth Order", true},
                  {Coefficients(z, 25, 35), true},
                  {"", true},
                  {"Twelfth Order", true},
                  {Coefficients(z, 36, 36), true}};
  return layout;
}

TextPrintLayout GridPrintLayout(const clsGrid& grid, std::int32_t lineHeight,
                                std::int32_t averageCharWidth, std::int32_t left,
                                std::int32_t top, std::int32_t right, std::int32_t bottom) {
  TextPrintLayout layout;
  auto add = [&layout](std::string text) { layout.Lines.push_back({std::move(text), true}); };
  add("Grid Analysis Results");
  add("");
  add(grid.UseRMS ? "Maximum Acceptable RMS:\t" + FormatGeneral(grid.MaxRMS) : "RMS criterion disabled.");
  add(grid.UsePV ? "Maximum Acceptable P-V:\t" + FormatGeneral(grid.MaxPV) : "P-V criterion disabled.");
  if (!grid.IsDefined(clsGrid::kResults)) {
    layout.TabStops = {0, 6, 10, 20};
    return layout;
  }
  add("");
  double analysed = 0, usable = 0, area = 0;
  grid.GetStatistics(analysed, usable, area);
  add(FormatPattern(analysed, kGridStatisticsPattern) + "% of cells analyzed.");
  add(FormatPattern(usable, kGridStatisticsPattern) + "% of cells usable.");
  add(FormatPattern(area, kGridStatisticsPattern) + " mm^2 of area is usable.");
  add("");

  const std::int32_t dx = DecimalWidth(grid.CellCountX - 1);
  const std::int32_t dy = DecimalWidth(grid.CellCountY - 1);
  const std::int64_t cells =
      std::max<std::int64_t>(0, std::int64_t{grid.CellCountX} * grid.CellCountY);
  const std::int32_t pageLines = std::max(0, Rounded((double(bottom) - top) / std::max(1, lineHeight)));
  const std::int32_t rows = pageLines - 11;
  const std::int32_t chars = std::max(0, Rounded((double(right) - left) / std::max(1, averageCharWidth)));
  // A pane narrower than one column still gets one; its lines are clipped.
  std::int64_t columns = std::max(1, chars / (dx + dy + 36));
  const std::int32_t columnWidth = chars / static_cast<std::int32_t>(columns);
  const std::int64_t rowsPerColumn = std::max(rows, 1);
  if (rowsPerColumn * columns > cells) columns = cells / rowsPerColumn + 1;

  std::string header, rule;
  for (std::int64_t c = 1; c <= columns; ++c) {
    const std::int32_t s1 = static_cast<std::int32_t>(c - 1) * columnWidth;
    const std::int32_t s2 = s1 + dx + dy + 6;
    layout.TabStops.insert(layout.TabStops.end(), {s1, s2, s2 + 10, s2 + 20});
    header += "\t RMS\t P-V\t\t";
    rule += "\t ---\t ---\t\t";
  }
  add(header);
  add(rule);
  // Rows past the last cell would stay empty; they are left out.
  const std::int64_t filledRows = std::min<std::int64_t>(std::max(rows, 0), cells);
  for (std::int64_t r = 0; r < filledRows && grid.CellCountX > 0; ++r) {
    std::string line;
    for (std::int64_t c = 0; c < columns; ++c) {
      const std::int64_t i = c * rows + r;
      const auto x = static_cast<std::int32_t>(i % grid.CellCountX);
      const auto y = static_cast<std::int32_t>(i / grid.CellCountX);
      if (y >= grid.CellCountY) break;
      double rms = 0, pv = 0;
      std::int32_t status = 0;
      grid.GetCellMeasurements(x, y, rms, pv, status);
      line += "(" + FormatLong(x) + ", " + FormatLong(y) + ") \t" +
              FormatPattern(rms, kGridValuePattern) + "\t" + FormatPattern(pv, kGridValuePattern) +
              "\t" + std::string(CellStatusWord(status)) + "\t";
    }
    add(std::move(line));
  }
  return layout;
}

void WrapText(gdi::DeviceContext& dc, std::int32_t X, std::int32_t& Y, std::int32_t dy,
              std::int32_t width, std::string_view txt) {
  std::string rest(txt);
  bool continued = false;
  dc.MoveTo(X, Y);
  do {
    if (!rest.empty()) {
      // A number carried onto the next line keeps the blank of its sign place.
      const bool padded = continued && rest[0] >= '0' && rest[0] <= '9';
      const std::string line = padded ? " " + rest : rest;
      int fit = 0;
      gdi::Size size;
      if (!dc.GetTextExtentExPoint(line, width, &fit, nullptr, size)) fit = 0;
      std::size_t f = static_cast<std::size_t>(std::clamp<int>(fit, 0, static_cast<int>(line.size())));
      if (f > 0 && f < line.size() && line[f - 1] != ' ') {
        const std::size_t blank = line.rfind(' ', f - 1);
        // Back to the blank put in front would use up nothing: break inside the word.
        if (blank != std::string::npos && !(padded && blank == 0)) f = blank + 1;
      }
      // However narrow the width, a line takes at least one character of the text.
      const std::size_t start = padded ? 1 : 0;
      f = std::max(f, start + CharLength(line, start));
      dc.TextOut(X, Y, std::string_view(line).substr(0, f));
      rest = line.substr(f);
      continued = true;
    }
    Y += dy;
  } while (!rest.empty());
}

void PrintTextBox(const TextViewModel& view, const clsDocument& doc, gdi::DeviceContext& dc,
                  std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
  const int saved = dc.SaveDC();
  gdi::LogFont font;
  FontSpecToLogFont(dc, doc.PrinterTextStyle(), font);
  dc.SelectFont(font);
  gdi::TextMetrics metrics;
  if (!dc.GetTextMetrics(metrics) || metrics.tmHeight <= 0 || metrics.tmAveCharWidth <= 0) {
    dc.RestoreDC(saved);
    return;
  }
  const gdi::Region clip = gdi::Region::FromRect(gdi::Rect{left, top, right + 1, bottom + 1});
  dc.SelectClipRgn(&clip);
  dc.SetBkMode(gdi::TRANSPARENT);
  dc.SetTextAlign(gdi::TA_LEFT | gdi::TA_TOP);
  dc.MoveTo(left, top);
  std::int32_t y = top;
  const std::int32_t lineHeight = metrics.tmHeight;

  if (view.FormType == viewtype::kZernikes) {
    ZernikeVector z{};
    doc.GetZernikes(z);
    for (const PrintLine& line : ZernikesPrintLayout(z).Lines)
      WrapText(dc, left, y, lineHeight, right - left + 1, line.Text);
  } else {
    const TextPrintLayout layout =
        view.FormType == viewtype::kGridResults
            ? GridPrintLayout(doc.Grid, lineHeight, metrics.tmAveCharWidth, left, top, right, bottom)
            : AberrationsPrintLayout(view.Text, doc);
    std::vector<int> stops;
    for (const std::int32_t stop : layout.TabStops) stops.push_back(stop * metrics.tmAveCharWidth);
    for (const PrintLine& line : layout.Lines) {
      if (!line.Printed) continue;
      if (!line.Text.empty()) dc.TabbedTextOut(left, y, line.Text, stops, left);
      y += lineHeight;
    }
  }
  dc.RestoreDC(saved);
}

}  // namespace orvale
