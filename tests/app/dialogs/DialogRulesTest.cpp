// The rules of the modal dialogs' fields, without their windows.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/dialogs/AspectRatio.h"
#include "app/dialogs/UserData.h"
#include "app/dialogs/ViewProperties.h"

namespace orvale {
namespace {

TEST(DialogRulesTest, TheCheckBoxesFollowAutoScaleAndFill) {
  struct Case {
    bool autoScale, limitScale, fill;
    bool limitEnabled, limitChecked, zEnabled, meshEnabled;
  };
  const Case cases[] = {
      {true, true, true, true, true, false, true},
      {true, false, false, true, false, false, false},
      // Without auto-scaling "Limit Scale" is cleared and locked; Z takes input.
      {false, true, true, false, false, true, true},
      {false, false, false, false, false, true, false},
  };
  for (const Case& c : cases) {
    const PlotCheckStates s = ComputePlotCheckStates(c.autoScale, c.limitScale, c.fill);
    const std::string row = std::to_string(c.autoScale) + std::to_string(c.limitScale) +
                            std::to_string(c.fill);
    EXPECT_EQ(s.LimitScaleEnabled, c.limitEnabled) << row;
    EXPECT_EQ(s.LimitScaleChecked, c.limitChecked) << row;
    EXPECT_EQ(s.ZRangeEnabled, c.zEnabled) << row;
    EXPECT_EQ(s.DrawMeshEnabled, c.meshEnabled) << row;
  }
}

TEST(DialogRulesTest, TheZRangeMustBeTwoNumbersInOrderWithinTheBlankMarker) {
  struct Case {
    const char* low;
    const char* high;
    bool accepted;
  };
  const Case cases[] = {
      {"-0.5", "0.5", true},
      {" 1E-3 ", "2", true},
      {"-2.9E+38", "2.9E+38", true},
      {"1", "1", false},        // equal
      {"2", "1", false},        // reversed
      {"-3E+38", "0", false},   // the blank marker's edge
      {"0", "3E+38", false},
      {"abc", "1", false},      // no number: refused, not read as 0
      {"0", "", false},
      {"", "", false},
      {"0", "1e999", false},    // infinity
      {"-1e999", "0", false},
      {"0.5x", "1", false},     // not the whole text
      {"nan", "1", false},
  };
  for (const Case& c : cases) {
    double zmin = 7.0;
    double zmax = 8.0;
    EXPECT_EQ(ReadZRange(c.low, c.high, zmin, zmax), c.accepted) << c.low << " / " << c.high;
    if (!c.accepted) {
      EXPECT_EQ(zmin, 7.0);
      EXPECT_EQ(zmax, 8.0);
    }
  }
  double zmin = 0.0;
  double zmax = 0.0;
  ASSERT_TRUE(ReadZRange("-0.25", "0.75", zmin, zmax));
  EXPECT_EQ(zmin, -0.25);
  EXPECT_EQ(zmax, 0.75);
}

TEST(DialogRulesTest, AnAspectRatioIsZeroOrFromOneHundredthToOneHundred) {
  struct Case {
    const char* text;
    bool accepted;
    double ratio;
  };
  const Case cases[] = {
      {"2", true, 2.0},      {"0.5", true, 0.5}, {"1", true, 1.0},    {"0", true, 0.0},
      {"100", true, 100.0},  {"0.01", true, 0.01}, {"1.25", true, 1.25},
      {"", false, 0},        {".", false, 0},    {"abc", false, 0},   {"1.2.3", false, 0},
      {"250", false, 0},     {"100.5", false, 0}, {"5000", false, 0},
      {"0.001", false, 0},   {"0.0002", false, 0}, {"-2", false, 0},
      {"1e999", false, 0},   {"99999999999999999999999999999999", false, 0},
  };
  for (const Case& c : cases) {
    double ratio = -1.0;
    EXPECT_EQ(ReadAspectRatio(c.text, ratio), c.accepted) << c.text;
    EXPECT_EQ(ratio, c.accepted ? c.ratio : -1.0) << c.text;
  }
}

TEST(DialogRulesTest, SingleLineTextsLoseLineBreaksAndCommentsKeepThemAsCrLf) {
  EXPECT_EQ(WithoutLineBreaks("8 inch\r\nf/6\n"), "8 inchf/6");
  EXPECT_EQ(WithoutLineBreaks("plain"), "plain");

  struct Case {
    std::string edited;
    std::string kept;
  };
  const Case cases[] = {
      {"", ""},
      {"one", "one"},
      {"one\ntwo", "one\r\ntwo"},
      {"one\n\nthree\n", "one\r\n\r\nthree\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CommentsForKeeping(c.edited), c.kept) << c.edited;
    EXPECT_EQ(CommentsForEditing(c.kept), c.edited) << c.edited;
  }
  // Whatever line ends arrive, what is kept has CR LF alone.
  EXPECT_EQ(CommentsForKeeping("a\r\nb\rc\n"), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(CommentsForEditing("a\rb"), "a\nb");
}

}  // namespace
}  // namespace orvale
