#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/document/FontSpec.h"
#include "app/report/ReportPage.h"
#include "platform/registry/GeneralSettings.h"
#include "platform/registry/MemorySettingsStore.h"
#include "platform/registry/TypedSettings.h"
#include "platform/runtime/NumberText.h"
#include "tests/app/report/ReportTestSupport.h"

namespace orvale::testing {
namespace {

using Print = RecordingViews::Print;

// The title's size on a device of `caps`, measured as the report measures it.
gdi::Size TitleSize(const gdi::DeviceCaps& caps) {
  gdi::RecordingDeviceContext dc(caps);
  FontSpec style;
  style.Size = 14;
  style.Escapement = kTextHorizontal;
  style.facename = FixedFaceName("Times New Roman");
  gdi::LogFont font;
  FontSpecToLogFont(dc, style, font);
  dc.SelectFont(font);
  gdi::Size size;
  dc.GetTextExtentPoint32(kReportTitle, size);
  return size;
}

std::vector<std::vector<gdi::Point>> Lines(const gdi::RecordingDeviceContext& dc) {
  std::vector<std::vector<gdi::Point>> lines;
  for (const gdi::DrawRecord& r : CallsNamed(dc, "LineTo")) {
    EXPECT_EQ(r.state.pen, gdi::StockPen(gdi::BLACK_PEN));
    lines.push_back(r.points);
  }
  return lines;
}

class ReportPageTest : public ReportTest {
 protected:
  // Draws the page on Letter at 300 dpi; the pane area's top comes back in `top_`.
  void DrawLetterPage() {
    DrawReportPage(dc_, *doc_, dir_);
    top_ = 60 + TitleSize(LetterCaps()).cy + 38;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const gdi::DrawRecord& r : CallsNamed(dc_, "TextOut")) texts.push_back(r.text);
    return texts;
  }

  gdi::RecordingDeviceContext dc_{LetterCaps()};
  std::int32_t top_ = 0;
};

TEST_F(ReportPageTest, OnePaneWithTheGridDrawsTheTitleTheFrameAndItsView) {
  settings_.ReportNumPanes = 1;
  DrawLetterPage();
  const std::int32_t T = top_;

  const auto title = CallsNamed(dc_, "TextOut");
  ASSERT_EQ(title.size(), 1u);
  EXPECT_EQ(title[0].text, "Orvale Test Report");
  EXPECT_EQ(title[0].points[0],
            (gdi::Point{RoundToInt32(1274 - TitleSize(LetterCaps()).cx / 2.0), 60}));
  EXPECT_EQ(title[0].state.font.FaceName(), "Times New Roman");
  EXPECT_EQ(title[0].state.font.lfHeight, -58);
  EXPECT_EQ(title[0].state.bkMode, gdi::TRANSPARENT);

  // Exactly the frame's path, and no separators.
  EXPECT_EQ(Lines(dc_), (std::vector<std::vector<gdi::Point>>{{{75, T}, {2474, T}},
                                                              {{2474, T}, {2474, 3224}},
                                                              {{2474, 3224}, {75, 3224}},
                                                              {{75, 3224}, {75, T}}}));
  // The surface plot (view 3) into the pane inset by an eighth of an inch.
  EXPECT_EQ(views_->prints, (std::vector<Print>{{3, {75 + 38, T + 38, 2474 - 38, 3224 - 38}}}));
  EXPECT_EQ(dc_.Records().size(), 5u);
}

TEST_F(ReportPageTest, PanesPrintInOrderThenTheSeparatorsAndOnlyWithTheGrid) {
  settings_.ReportNumPanes = 5;
  settings_.ReportPanes = {0, 2, 0, 3, 9, 7, 0};
  DrawLetterPage();
  const std::int32_t T = top_;
  const PaneLayout layout = ComputePaneLayout(5, 75, T, 2474, 3224, 2400, 3224 - T + 1);
  const auto inset = [&](std::size_t pane) {
    const PaneRect& p = layout.Panes[pane - 1];
    return PaneRect{p.Left + 38, p.Top + 38, p.Right - 38, p.Bottom - 38};
  };
  // Pane 2 is "None".
  EXPECT_EQ(views_->prints,
            (std::vector<Print>{{4, inset(1)}, {1, inset(3)}, {9, inset(4)}, {6, inset(5)}}));
  const auto lines = Lines(dc_);
  ASSERT_EQ(lines.size(), 4u + 3u);
  EXPECT_EQ(lines[4], (std::vector<gdi::Point>{{1275, layout.Panes[1].Top}, {1275, 3224}}));
  EXPECT_EQ(lines[5], (std::vector<gdi::Point>{{75, layout.Panes[1].Top}, {2474, layout.Panes[1].Top}}));

  dc_.ClearRecords();
  settings_.ReportDrawGrid = false;
  DrawReportPage(dc_, *doc_, dir_);
  EXPECT_TRUE(CallsNamed(dc_, "LineTo").empty());
}

TEST_F(ReportPageTest, WithoutResultsOnlyTheInterferogramAndTheLogoPrint) {
  doc_->OutputViewsExist = false;
  settings_.ReportNumPanes = 4;
  settings_.ReportPanes = {0, 6, 3, 5, 8, 0, 0};
  DrawLetterPage();
  ASSERT_EQ(views_->prints.size(), 1u);
  EXPECT_EQ(views_->prints[0].FormType, 1);
  EXPECT_EQ(CallsNamed(dc_, "StretchBlt").size(), 1u);  // the logo
}

TEST_F(ReportPageTest, CountsAndKindsOutOfRangeDrawNoPane) {
  for (const std::int32_t count : {0, 7, -1}) {
    settings_.ReportNumPanes = count;
    DrawReportPage(dc_, *doc_, dir_);
  }
  settings_.ReportNumPanes = 2;
  settings_.ReportPanes = {0, 42, -1, 0, 0, 0, 0};
  DrawReportPage(dc_, *doc_, dir_);
  EXPECT_TRUE(views_->prints.empty());
  for (const std::int32_t pane : {0, 7}) DrawReportPane(*doc_, dc_, pane, {75, 165, 2474, 3224}, 38, dir_);
  EXPECT_TRUE(views_->prints.empty());
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(ReportPageTest, TheLogoFillsTheUpperHalfAndTheCommentsWrapBelowIt) {
  doc_->OpticComments = "Tested & passed.\r\nSecond line " + std::string(5000, 'x') + " end";
  // Pane 3 of 3 on Letter at 300 dpi when the title's bottom and margin come to 165.
  DrawCommentsPane(*doc_, dc_, 3, {1275, 2001, 2474, 3224}, 38, dir_);

  const auto blits = CallsNamed(dc_, "StretchBlt");
  ASSERT_EQ(blits.size(), 1u);
  EXPECT_EQ(blits[0].rect, (gdi::Rect{1313, 2046, 1313 + 1124, 2046 + 562}));
  EXPECT_EQ(blits[0].sourceRect, (gdi::Rect{0, 0, 200, 100}));
  EXPECT_EQ(blits[0].state.stretchMode, gdi::HALFTONE);
  EXPECT_EQ(dc_.State().stretchMode, gdi::BLACKONWHITE);  // put back

  const auto texts = CallsNamed(dc_, "TextOut");
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0].text, "Comments: Tested & passed.");
  EXPECT_EQ(texts[0].points[0], (gdi::Point{1313, 2651}));
  EXPECT_EQ(texts[1].text, "Second line");
  EXPECT_EQ(texts[2].text, std::string(5000, 'x'));  // too long for the line, not split
  EXPECT_EQ(texts[3].text, "end");
  for (const gdi::DrawRecord& text : texts) {
    EXPECT_EQ(text.state.font.FaceName(), "Times New Roman");
    EXPECT_EQ(text.state.bkMode, gdi::TRANSPARENT);
    ASSERT_TRUE(text.state.clip.has_value());
    EXPECT_EQ(text.state.clip->Box(), (gdi::Rect{1313, 2651, 2436, 3186}));
  }
  EXPECT_FALSE(dc_.HasClip());
}

TEST_F(ReportPageTest, ALongCommentStopsAtTheBottomMargin) {
  std::string comments;
  while (comments.size() < 10000) comments += "The mirror was tested at the centre of curvature. ";
  doc_->OpticComments = comments;
  DrawLetterPage();
  const auto texts = CallsNamed(dc_, "TextOut");
  ASSERT_GT(texts.size(), 3u);
  EXPECT_LT(texts.size(), 60u);
  for (std::size_t i = 1; i < texts.size(); ++i) EXPECT_LT(texts[i].points[0].y, 3186);
}

TEST_F(ReportPageTest, CommentsOffLeaveOnlyTheLogo) {
  doc_->OpticComments = "hidden";
  settings_.ReportShowFlags[15] = false;
  DrawLetterPage();
  EXPECT_EQ(Texts(), std::vector<std::string>{"Orvale Test Report"});
  EXPECT_EQ(CallsNamed(dc_, "StretchBlt").size(), 1u);
}

// A 24-bit bitmap header claiming a size, with no rows.
std::vector<std::uint8_t> BitmapHeader(std::int32_t width, std::int32_t height) {
  BmpSpec spec;
  spec.width = width;
  spec.height = height;
  spec.bitCount = 24;
  return MakeBmp(spec);
}

TEST_F(ReportPageTest, ALogoThatCannotBeLoadedIsReportedAndTheRestPrints) {
  const std::vector<std::uint8_t> sound = ReadBytes(Path("Logo.bmp"));
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
  };
  const Case cases[] = {
      {"corrupt", {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8, 9}},
      {"truncated", std::vector<std::uint8_t>(sound.begin(), sound.begin() + sound.size() / 2)},
      {"0 x 0", BitmapHeader(0, 0)},
      {"100000 x 100000", BitmapHeader(100000, 100000)},
      {"missing", {}},
  };
  for (const Case& c : cases) {
    fs::remove(Path("Logo.bmp"));
    if (!c.bytes.empty()) WriteBytes(Path("Logo.bmp"), c.bytes);
    dc_.ClearRecords();
    views_->prints.clear();
    messages_.Clear();
    doc_->OpticComments = "kept";
    DrawLetterPage();
    ASSERT_EQ(messages_.Messages().size(), 1u) << c.name;
    EXPECT_EQ(messages_.Messages()[0].text, "Could not load file " + Path("Logo.bmp").string());
    EXPECT_EQ(messages_.Messages()[0].title, "Orvale");
    EXPECT_EQ(messages_.Messages()[0].flags, mb::kOk);
    EXPECT_TRUE(CallsNamed(dc_, "StretchBlt").empty()) << c.name;
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Orvale Test Report", "Comments: kept"})) << c.name;
    EXPECT_EQ(views_->prints.size(), 2u) << c.name;
    EXPECT_EQ(Lines(dc_).size(), 6u) << c.name;
  }
}

TEST_F(ReportPageTest, AHandEditedSettingsFileIsClampedAndPrints) {
  MemorySettingsStore store;
  ScopedSettingsStore installed(store);
  const std::pair<const char*, const char*> edited[] = {
      {"Number of Panes", "7"}, {"Pane 1", "42"}, {"Pane 2", "-1"}, {"Pane 6", "3"}};
  for (const auto& [key, value] : edited) {
    GetSettingString("CurrentVersion", key, "");
    SaveSettingString("CurrentVersion", key, value);
  }
  const GeneralSettings read = ReadGeneralSettings(ScreenGeometry{1024, 768, 4, 18});
  EXPECT_EQ(read.ReportNumPanes, 6);
  EXPECT_EQ(read.ReportPanes, (std::array<std::int32_t, 7>{0, 9, 0, 5, 0, 0, 3}));
  settings_.ReportNumPanes = read.ReportNumPanes;
  settings_.ReportPanes = read.ReportPanes;
  DrawLetterPage();
  ASSERT_EQ(views_->prints.size(), 2u);
  EXPECT_EQ(views_->prints[0].FormType, 9);
  EXPECT_EQ(views_->prints[1].FormType, 1);

  SaveSettingString("CurrentVersion", "Number of Panes", "0");
  EXPECT_EQ(ReadGeneralSettings(ScreenGeometry{1024, 768, 4, 18}).ReportNumPanes, 1);
}

}  // namespace
}  // namespace orvale::testing
