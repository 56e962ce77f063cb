#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ResultViewTestSupport.h"
#include "app/document/FontSpec.h"
#include "app/plots/ResultReports.h"
#include "app/plots/TextPrinting.h"
#include "platform/gdi/DrawModes.h"
#include "platform/gdi/DrawingSurface.h"
#include "platform/gdi/Region.h"

namespace orvale::testing {
namespace {

std::vector<std::string> Texts(const std::vector<gdi::DrawRecord>& records) {
  std::vector<std::string> out;
  for (const gdi::DrawRecord& r : records) out.push_back(r.text);
  return out;
}

std::int32_t Extent(gdi::DeviceContext& dc, std::string_view text) {
  gdi::Size size;
  dc.GetTextExtentPoint32(text, size);
  return size.cx;
}

// --- WrapText ---

class WrapTextTest : public ::testing::Test {
 protected:
  // The pieces drawn and the final Y for a line printed from (5, 100) with dy 20.
  std::vector<std::string> Wrap(std::string_view text, std::int32_t width) {
    dc_.ClearRecords();
    y_ = 100;
    WrapText(dc_, 5, y_, 20, width, text);
    for (const gdi::DrawRecord& r : CallsNamed(dc_, "TextOut")) EXPECT_EQ(r.points[0].x, 5);
    return Texts(CallsNamed(dc_, "TextOut"));
  }
  gdi::RecordingDeviceContext dc_;
  std::int32_t y_ = 0;
};

TEST_F(WrapTextTest, ALineThatFitsIsOnePiece) {
  EXPECT_EQ(Wrap("Second Order", Extent(dc_, "Second Order") + 3),
            std::vector<std::string>{"Second Order"});
  EXPECT_EQ(y_, 120);
}

TEST_F(WrapTextTest, BreaksAfterTheLastBlankThatFits) {
  EXPECT_EQ(Wrap("alpha beta gamma", Extent(dc_, "alpha beta ga")),
            (std::vector<std::string>{"alpha beta ", "gamma"}));
  EXPECT_EQ(y_, 140);
  const auto pieces = CallsNamed(dc_, "TextOut");
  EXPECT_EQ(pieces[1].points[0].y, 120);
}

TEST_F(WrapTextTest, AContinuedNumberGetsABlankInFront) {
  const std::string first = " 0.123456   -0.000100   ";
  EXPECT_EQ(Wrap(first + "0.250000", Extent(dc_, first + "0.2")),
            (std::vector<std::string>{first, " 0.250000"}));
}

TEST_F(WrapTextTest, AWordWiderThanTheWidthIsCut) {
  const auto pieces = Wrap("abcdefghij", Extent(dc_, "abcd"));
  ASSERT_GE(pieces.size(), 2u);
  std::string joined;
  for (const std::string& p : pieces) {
    EXPECT_LE(Extent(dc_, p), Extent(dc_, "abcd")) << p;
    joined += p;
  }
  EXPECT_EQ(joined, "abcdefghij");
  EXPECT_EQ(y_, 100 + 20 * static_cast<std::int32_t>(pieces.size()));
}

TEST_F(WrapTextTest, NarrowerThanOneCharacterStillEnds) {
  EXPECT_EQ(Wrap("ab c", 1), (std::vector<std::string>{"a", "b", " ", "c"}));
  EXPECT_EQ(Wrap("ab c", 0), (std::vector<std::string>{"a", "b", " ", "c"}));
  EXPECT_EQ(y_, 180);
}

TEST_F(WrapTextTest, ANumberWiderThanThePaneEndsAndLosesNothing) {
  // The blank put in front of a continued number is never the place to break.
  const auto pieces = Wrap(" 0.123456  0.5", Extent(dc_, " 0.1"));
  ASSERT_LE(pieces.size(), 14u);
  std::string digits;
  for (const std::string& p : pieces) {
    EXPECT_FALSE(p.empty());
    for (char c : p)
      if (c != ' ') digits += c;
  }
  EXPECT_EQ(digits, "0.1234560.5");
}

TEST_F(WrapTextTest, AnEmptyTextAdvancesOneLine) {
  EXPECT_TRUE(Wrap("", 100).empty());
  EXPECT_EQ(y_, 120);
}

// --- Print layouts ---

class TextPrintTest : public ResultViewTest {
 protected:
  TextPrintTest() {
    AberrationVector wn{0, 0.5, 45, 0.25, 0.1, 5.3, -0.15, -123.4, 0.05};
    report_ = AberrationsReport(doc_, wn);
    view_.FormType = 7;
    view_.Text = report_;
  }
  std::vector<bool> Printed(const TextPrintLayout& layout) {
    std::vector<bool> out;
    for (const PrintLine& line : layout.Lines) out.push_back(line.Printed);
    return out;
  }
  std::string report_;
  TextViewModel view_;
};

TEST_F(TextPrintTest, AberrationLinesFollowTheReportSettings) {
  doc_.OpticDescription = "8 inch f/6";
  doc_.OpticComments = "after\r\nfiguring\nround two";
  TextPrintLayout layout = AberrationsPrintLayout(report_, doc_);
  ASSERT_EQ(layout.Lines.size(), 16u);
  EXPECT_EQ(layout.TabStops, (std::vector<std::int32_t>{15, 24, 36}));
  EXPECT_EQ(layout.Lines[0].Text, "Output Units: Waves");
  EXPECT_EQ(layout.Lines[13].Text, "Data Points\t0");
  EXPECT_EQ(layout.Lines[14].Text, "Description\t8 inch f/6");
  EXPECT_EQ(layout.Lines[15].Text, "Comments\tafter figuring round two");
  EXPECT_EQ(Printed(layout), std::vector<bool>(16, true));

  settings_.ReportShowFlags.fill(false);
  EXPECT_EQ(Printed(AberrationsPrintLayout(report_, doc_)),
            (std::vector<bool>{true, true, false, false, false, false, false, false, false,
                               false, true, false, false, false, false, false}));

  settings_.ReportShowFlags.fill(true);
  settings_.ReportShowFlags[4] = false;  // "Show Tilt"
  settings_.ReportShowFlags[9] = false;  // "Show Scale"
  layout = AberrationsPrintLayout(report_, doc_);
  EXPECT_FALSE(layout.Lines[5].Printed);
  EXPECT_EQ(layout.Lines[5].Text.substr(0, 5), "Tilt\t");
  EXPECT_FALSE(layout.Lines[11].Printed);
  EXPECT_TRUE(layout.Lines[12].Printed);
}

TEST_F(TextPrintTest, EachUserDataLineFollowsItsOwnSetting) {
  doc_.OpticDescription.clear();
  doc_.OpticDate = "Mar 5, 2024";
  doc_.OpticOperator = "JT";
  settings_.ReportShowFlags[12] = false;  // "Show Description"
  settings_.ReportShowFlags[13] = true;   // "Show Date"
  settings_.ReportShowFlags[14] = false;  // "Show Operator"
  const TextPrintLayout layout = AberrationsPrintLayout(report_, doc_);
  ASSERT_EQ(layout.Lines.size(), 16u);
  EXPECT_EQ(layout.Lines[14].Text, "Date Tested\tMar 5, 2024");
  EXPECT_TRUE(layout.Lines[14].Printed);
  EXPECT_EQ(layout.Lines[15].Text, "Operator\tJT");
  EXPECT_FALSE(layout.Lines[15].Printed);
}

TEST_F(TextPrintTest, TheTextIsCutAtEachLineEndPair) {
  const struct { const char* text; std::vector<std::string> lines; } cases[] = {
      {"", {""}},
      {"a\r\nb", {"a", "b"}},
      {"a\r\n", {"a"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\nb", {"a\nb"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> lines;
    for (const PrintLine& line : AberrationsPrintLayout(c.text, doc_).Lines) lines.push_back(line.Text);
    EXPECT_EQ(lines, c.lines) << c.text;
  }
}

TEST(ZernikesPrint, NineteenLinesByOrder) {
  ZernikeVector z{};
  z[1] = 0.1;
  z[2] = -0.2;
  z[3] = 0.3;
  z[36] = -1.5;
  const TextPrintLayout layout = ZernikesPrintLayout(z);
  ASSERT_EQ(layout.Lines.size(), 19u);
  EXPECT_EQ(layout.Lines[0].Text, "Zernike Polynomials");
  EXPECT_EQ(layout.Lines[2].Text, "Second Order");
  EXPECT_EQ(layout.Lines[3].Text, " 0.100000  -0.200000   0.300000");
  EXPECT_EQ(layout.Lines[8].Text, "Sixth Order");
  EXPECT_EQ(layout.Lines[17].Text, "Twelfth Order");
  EXPECT_EQ(layout.Lines[18].Text, "-1.500000");
  EXPECT_EQ(layout.Lines[15].Text.size(), 11u * 9u + 10u * 2u);  // terms 25..35
  for (std::size_t i : {1u, 4u, 7u, 10u, 13u, 16u}) EXPECT_EQ(layout.Lines[i].Text, "") << i;
}

TEST(GridPrint, WithoutResultsFourLines) {
  clsGrid grid;
  const TextPrintLayout layout = GridPrintLayout(grid, 10, 5, 0, 0, 999, 999);
  ASSERT_EQ(layout.Lines.size(), 4u);
  EXPECT_EQ(layout.Lines[0].Text, "Grid Analysis Results");
  EXPECT_EQ(layout.Lines[2].Text, "Maximum Acceptable RMS:\t0.09");
  EXPECT_EQ(layout.Lines[3].Text, "Maximum Acceptable P-V:\t1");
  EXPECT_EQ(layout.TabStops, (std::vector<std::int32_t>{0, 6, 10, 20}));
  grid.UseRMS = grid.UsePV = false;
  const TextPrintLayout disabled = GridPrintLayout(grid, 10, 5, 0, 0, 999, 999);
  EXPECT_EQ(disabled.Lines[2].Text, "RMS criterion disabled.");
  EXPECT_EQ(disabled.Lines[3].Text, "P-V criterion disabled.");
}

TEST(GridPrint, FewCellsTakeOneColumn) {
  // 30 lines fit: 19 rows per column, and 16 cells need only one.
  const TextPrintLayout layout = GridPrintLayout(GridWithResults(4, 4), 10, 5, 0, 0, 999, 300);
  EXPECT_EQ(layout.TabStops, (std::vector<std::int32_t>{0, 8, 18, 28}));
  ASSERT_EQ(layout.Lines.size(), 27u);
  EXPECT_EQ(layout.Lines[5].Text, "62.50% of cells analyzed.");
  EXPECT_EQ(layout.Lines[6].Text, "50.00% of cells usable.");
  EXPECT_EQ(layout.Lines[7].Text, "30.00 mm^2 of area is usable.");
  EXPECT_EQ(layout.Lines[9].Text, "\t RMS\t P-V\t\t");
  EXPECT_EQ(layout.Lines[10].Text, "\t ---\t ---\t\t");
  EXPECT_EQ(layout.Lines[11].Text, "(0, 0) \t 0.0000\t 0.0000\tN/A\t");
  EXPECT_EQ(layout.Lines[26].Text, "(3, 3) \t 0.1500\t 1.5000\tN/A\t");
  for (const PrintLine& line : layout.Lines) EXPECT_TRUE(line.Printed);
}

TEST(GridPrint, ManyCellsRunDownSeveralColumns) {
  // 20 lines: 9 rows; 120 characters: 3 columns of 40 for names of 2 + 1 digits.
  const TextPrintLayout layout = GridPrintLayout(GridWithResults(12, 3), 10, 5, 0, 0, 600, 200);
  EXPECT_EQ(layout.TabStops,
            (std::vector<std::int32_t>{0, 9, 19, 29, 40, 49, 59, 69, 80, 89, 99, 109}));
  ASSERT_EQ(layout.Lines.size(), 20u);
  EXPECT_EQ(layout.Lines[9].Text, "\t RMS\t P-V\t\t\t RMS\t P-V\t\t\t RMS\t P-V\t\t");
  EXPECT_EQ(layout.Lines[11].Text,
            "(0, 0) \t 0.0000\t 0.0000\tN/A\t(9, 0) \t 0.0900\t 0.9000\tN/A\t"
            "(6, 1) \t 0.1800\t 1.8000\tN/A\t");
  EXPECT_EQ(layout.Lines[19].Text.substr(0, 7), "(8, 0) ");
  EXPECT_NE(layout.Lines[19].Text.find("(2, 2) "), std::string::npos);
}

TEST(GridPrint, PanesTooSmallForAColumnOrARow) {
  const clsGrid grid = GridWithResults(12, 3);
  // Narrower than one column: still one column, clipped when printed.
  const TextPrintLayout narrow = GridPrintLayout(grid, 10, 5, 0, 0, 30, 200);
  EXPECT_EQ(narrow.TabStops.size(), 4u);
  ASSERT_EQ(narrow.Lines.size(), 20u);
  EXPECT_EQ(narrow.Lines[11].Text.substr(0, 7), "(0, 0) ");
  // Lower than the header lines: no cell rows.
  EXPECT_EQ(GridPrintLayout(grid, 10, 5, 0, 0, 600, 50).Lines.size(), 11u);
  // Inverted and empty panes.
  EXPECT_EQ(GridPrintLayout(grid, 10, 5, 600, 200, 0, 0).Lines.size(), 11u);
  EXPECT_EQ(GridPrintLayout(grid, 10, 5, 0, 0, 0, 0).Lines.size(), 11u);
}

// --- PrintTextBox ---

class PrintTextBoxTest : public TextPrintTest {
 protected:
  // The printer font's line height and average character width on dc_.
  gdi::TextMetrics Metrics() {
    const int saved = SelectPrinterFont();
    gdi::TextMetrics tm;
    dc_.GetTextMetrics(tm);
    dc_.RestoreDC(saved);
    return tm;
  }
  std::int32_t PrinterExtent(std::string_view text) {
    const int saved = SelectPrinterFont();
    const std::int32_t width = Extent(dc_, text);
    dc_.RestoreDC(saved);
    return width;
  }
  int SelectPrinterFont() {
    const int saved = dc_.SaveDC();
    gdi::LogFont font;
    FontSpecToLogFont(dc_, doc_.PrinterTextStyle(), font);
    dc_.SelectFont(font);
    return saved;
  }
  gdi::RecordingDeviceContext dc_{gdi::DisplayCaps(2000, 2000)};
};

TEST_F(PrintTextBoxTest, AberrationsPrintGapFreeInTheirColumnsAndClipped) {
  settings_.ReportShowFlags[4] = false;  // "Show Tilt"
  const gdi::TextMetrics tm = Metrics();
  ASSERT_GT(tm.tmHeight, 0);
  PrintTextBox(view_, doc_, dc_, 100, 200, 899, 999);
  const auto pieces = CallsNamed(dc_, "TabbedTextOut");
  ASSERT_FALSE(pieces.empty());
  std::map<std::string, gdi::Point> at;
  for (const gdi::DrawRecord& r : pieces) at.emplace(r.text, r.points[0]);
  EXPECT_EQ(at["Output Units: Waves"], (gdi::Point{100, 200}));
  EXPECT_EQ(at["RMS"].y, 200 + 2 * tm.tmHeight);
  ASSERT_EQ(at.count(" 0.000"), 1u);  // the RMS value
  EXPECT_EQ(at[" 0.000"].x, 100 + 15 * tm.tmAveCharWidth);
  EXPECT_EQ(at.count("Tilt"), 0u);
  EXPECT_EQ(at["Defocus"].y, 200 + 5 * tm.tmHeight);  // right below "Strehl Ratio"
  const gdi::Region clip = gdi::Region::FromRect(gdi::Rect{100, 200, 900, 1000});
  for (const gdi::DrawRecord& r : pieces) {
    ASSERT_TRUE(r.state.clip);
    EXPECT_TRUE(*r.state.clip == clip);
    EXPECT_EQ(r.state.bkMode, gdi::TRANSPARENT);
  }
}

TEST_F(PrintTextBoxTest, LeavesTheDeviceContextAsItWas) {
  const gdi::Region callerClip = gdi::Region::FromRect(gdi::Rect{0, 0, 500, 500});
  dc_.SelectClipRgn(&callerClip);
  dc_.SetBkMode(gdi::OPAQUE);
  dc_.MoveTo(7, 8);
  const gdi::LogFont font = dc_.CurrentFont();
  for (const std::int32_t formType : {7, 8, 9}) {
    view_.FormType = formType;
    PrintTextBox(view_, doc_, dc_, 10, 10, 400, 400);
    EXPECT_TRUE(dc_.State().clip && *dc_.State().clip == callerClip) << formType;
    EXPECT_EQ(dc_.State().bkMode, gdi::OPAQUE);
    EXPECT_EQ(dc_.GetCurrentPosition(), (gdi::Point{7, 8}));
    EXPECT_EQ(dc_.CurrentFont(), font);
  }
}

TEST_F(PrintTextBoxTest, ZernikesWrapInANarrowPaneAndAHugeFontStillEnds) {
  ZernikeVector z{};
  for (int i = 1; i <= 36; ++i) z[i] = 0.01 * i;
  doc_.SetZernikes(z);
  view_.FormType = 8;
  PrintTextBox(view_, doc_, dc_, 0, 0, 299, 1999);
  const auto pieces = Texts(CallsNamed(dc_, "TextOut"));
  ASSERT_GT(pieces.size(), 13u);  // the longer coefficient lines took several
  EXPECT_EQ(pieces[0], "Zernike Polynomials");
  for (const std::string& p : pieces) EXPECT_LE(PrinterExtent(p), 300) << p;

  dc_.ClearRecords();
  doc_.SetText(false, "", 0, 400, 1, false, false, false, "Times New Roman");
  PrintTextBox(view_, doc_, dc_, 0, 0, 9, 9);
  EXPECT_FALSE(CallsNamed(dc_, "TextOut").empty());
}

TEST_F(PrintTextBoxTest, GridResultsUseColumnTabStops) {
  doc_.Grid = GridWithResults(2, 2);
  view_.FormType = 9;
  const gdi::TextMetrics tm = Metrics();
  PrintTextBox(view_, doc_, dc_, 0, 0, 1999, 1999);
  const auto pieces = CallsNamed(dc_, "TabbedTextOut");
  ASSERT_FALSE(pieces.empty());
  EXPECT_EQ(pieces[0].text, "Grid Analysis Results");
  bool found = false;
  for (const gdi::DrawRecord& r : pieces) {
    if (r.text != "PASS") continue;
    found = true;
    EXPECT_EQ(r.points[0].x, (1 + 1 + 6 + 20) * tm.tmAveCharWidth);  // s4 of column 1
    EXPECT_EQ(r.points[0].y, 12 * tm.tmHeight);                      // row of cell (1, 0)
  }
  EXPECT_TRUE(found);
}

// A device whose fonts have no size: nothing can be laid out with them.
class MetricFreeSurface : public gdi::DrawingSurface {
 public:
  gdi::DeviceCaps Caps() const override { return gdi::DisplayCaps(100, 100); }
  gdi::Rect Bounds() const override { return {0, 0, 100, 100}; }
  void Polyline(std::string_view, const gdi::DrawState&, std::span<const gdi::Point>, bool) override { ++draws; }
  void Polygon(std::string_view, const gdi::DrawState&, std::span<const gdi::Point>) override { ++draws; }
  void Rectangle(std::string_view, const gdi::DrawState&, const gdi::Rect&) override { ++draws; }
  void Ellipse(std::string_view, const gdi::DrawState&, const gdi::Rect&) override { ++draws; }
  void PatternBlt(std::string_view, const gdi::DrawState&, const gdi::Rect&, const gdi::Brush&,
                  std::uint32_t) override { ++draws; }
  void SetPixels(std::string_view, const gdi::DrawState&, std::span<const gdi::Point>, gdi::Color) override { ++draws; }
  void SetPixelRow(std::string_view, const gdi::DrawState&, gdi::Point, std::span<const gdi::Color>) override { ++draws; }
  gdi::Color GetPixel(gdi::Point) const override { return gdi::kInvalidColor; }
  void TextOut(std::string_view, const gdi::DrawState&, gdi::Point, std::string_view) override { ++draws; }
  gdi::TextLayout MeasureText(const gdi::LogFont&, std::string_view) const override { return {}; }
  gdi::TextMetrics FontMetrics(const gdi::LogFont&) const override { return {}; }
  void Blit(std::string_view, const gdi::DrawState&, const gdi::BlitGeometry&, const gdi::PixelSource&,
            std::uint32_t) override { ++draws; }
  int draws = 0;
};

TEST_F(TextPrintTest, NoUsableFontPrintsNothingAndTouchesNothing) {
  auto surface = std::make_unique<MetricFreeSurface>();
  MetricFreeSurface* seen = surface.get();
  gdi::DeviceContext dc(std::move(surface));
  const gdi::LogFont font = dc.CurrentFont();
  for (const std::int32_t formType : {7, 8, 9}) {
    view_.FormType = formType;
    PrintTextBox(view_, doc_, dc, 0, 0, 99, 99);
  }
  EXPECT_EQ(seen->draws, 0);
  EXPECT_EQ(dc.CurrentFont(), font);
  EXPECT_FALSE(dc.HasClip());
}

}  // namespace
}  // namespace orvale::testing
