#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gdi/RecordingDeviceContext.h"

namespace orvale::gdi {
namespace {

struct Line {
  std::string text;
  Point at;
  bool operator==(const Line&) const = default;
  friend void PrintTo(const Line& line, std::ostream* out) {
    *out << '"' << line.text << "\" at (" << line.at.x << ',' << line.at.y << ')';
  }
};

std::vector<Line> TextLines(const RecordingDeviceContext& dc) {
  std::vector<Line> lines;
  for (const DrawRecord& record : dc.Records())
    if (record.call == "TextOut") lines.push_back({record.text, record.points[0]});
  return lines;
}

class DrawTextTest : public ::testing::Test {
 protected:
  DrawTextTest() {
    LogFont font;
    font.lfHeight = -20;
    font.SetFaceName("Arial");
    dc_.SelectFont(font);
    TextMetrics metrics;
    dc_.GetTextMetrics(metrics);
    lineHeight_ = metrics.tmHeight;
  }
  int Width(std::string_view text) const {
    Size size;
    dc_.GetTextExtentPoint32(text, size);
    return size.cx;
  }
  // A rectangle at (10, 20) as wide as `widest` and `lines` lines high.
  Rect Box(std::string_view widest, int lines) const {
    return Rect{10, 20, 10 + Width(widest), 20 + lines * lineHeight_};
  }

  RecordingDeviceContext dc_{DisplayCaps(800, 600)};
  int lineHeight_ = 0;
};

TEST_F(DrawTextTest, LinesBreakAtLineEndsAndBeforeTheWordThatWouldNotFit) {
  struct Case {
    const char* text;
    const char* widest;  // the rectangle is as wide as this
    std::uint32_t format;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"alpha beta gamma delta", "gamma delta", DT_WORDBREAK | DT_NOPREFIX, {"alpha beta", "gamma delta"}},
      {"alpha\r\nbeta\rgamma\ndelta", "alpha beta", DT_WORDBREAK | DT_NOPREFIX,
       {"alpha", "beta", "gamma", "delta"}},
      // The blanks a line breaks at go; a paragraph keeps its own leading blanks.
      {"  alpha beta     gamma", "  alpha beta", DT_WORDBREAK | DT_NOPREFIX, {"  alpha beta", "gamma"}},
      // Without word breaks only the line ends break.
      {"alpha beta gamma delta\r\nx", "alpha", DT_NOPREFIX, {"alpha beta gamma delta", "x"}},
      {"Smith & Sons &&", "Smith & Sons &&", DT_NOPREFIX, {"Smith & Sons &&"}},
      {"Smith && Sons &x", "Smith & Sons x", 0, {"Smith & Sons x"}},
  };
  for (const Case& c : cases) {
    dc_.ClearRecords();
    const int height = dc_.DrawText(c.text, Box(c.widest, 10), c.format);
    std::vector<Line> expected;
    for (std::size_t i = 0; i < c.lines.size(); ++i)
      expected.push_back({c.lines[i], {10, 20 + static_cast<int>(i) * lineHeight_}});
    EXPECT_EQ(TextLines(dc_), expected) << c.text;
    EXPECT_EQ(height, static_cast<int>(c.lines.size()) * lineHeight_) << c.text;
  }
}

TEST_F(DrawTextTest, AWordTooLongForTheLineKeepsALineOfItsOwnAndIsClipped) {
  const std::string word(5000, 'W');
  dc_.DrawText("short " + word + " tail", Box("short tail", 5), DT_WORDBREAK | DT_NOPREFIX);
  const std::vector<Line> lines = TextLines(dc_);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].text, "short");
  EXPECT_EQ(lines[1].text, word);
  EXPECT_EQ(lines[2].text, "tail");
  for (const DrawRecord& record : dc_.Records()) {
    ASSERT_TRUE(record.state.clip.has_value());
    EXPECT_EQ(record.state.clip->Box(), Box("short tail", 5));
  }
  EXPECT_FALSE(dc_.HasClip());  // the caller's clip is back
}

TEST_F(DrawTextTest, NothingIsDrawnBelowTheRectangle) {
  std::string comments;
  while (comments.size() < 10000) comments += "mirror tested at the centre of curvature ";
  const Rect box = Box("mirror tested at the", 4);
  const int height = dc_.DrawText(comments, Rect{box.left, box.top, box.right, box.bottom - 1},
                                  DT_WORDBREAK | DT_NOPREFIX);
  const std::vector<Line> lines = TextLines(dc_);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines.back().at.y, box.top + 3 * lineHeight_);
  EXPECT_EQ(height, 4 * lineHeight_);

  dc_.ClearRecords();
  EXPECT_EQ(dc_.DrawText("text", Rect{10, 10, 10, 50}, DT_WORDBREAK), 0);
  EXPECT_TRUE(dc_.Records().empty());
}

}  // namespace
}  // namespace orvale::gdi
