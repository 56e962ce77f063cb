// The argument rules every member shares: what counts as a number, the keyword tables,
// and the names the errors travel under.
#include <gtest/gtest.h>

#include <limits>

#include "AutomationTestSupport.h"
#include "app/automation/AutomationArguments.h"
#include "app/automation/OrvaleDocTypes.h"

namespace orvale::testing {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(AutomationArguments, NumbersAreWholeNumbersFiniteRealsAndTextsThatConvert) {
  struct Case {
    const char* what;
    AutoValue value;
    std::optional<double> number;
  };
  const Case cases[] = {
      {"whole", Whole(-12), -12.0},
      {"real", Real(2.5), 2.5},
      {"text", Text("632.8"), 632.8},
      {"text with blanks", Text(" 2 "), 2.0},
      {"Boolean", Flag(true), std::nullopt},
      {"NaN", Real(kNaN), std::nullopt},
      {"infinity", Real(-kInf), std::nullopt},
      {"text beyond the range", Text("1e999"), std::nullopt},
      {"text with a unit", Text("632.8 nm"), std::nullopt},
      {"empty text", Text(""), std::nullopt},
      {"list", Numbers({1, 2}), std::nullopt},
      {"other", Other(), std::nullopt},
      {"missing", Missing(), std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(NumericValue(c.value), c.number) << c.what;
  EXPECT_EQ(WholeNumberValue(Text("5")), 5.0);
  EXPECT_EQ(WholeNumberValue(Real(1.5)), std::nullopt);
  EXPECT_EQ(WholeNumberIn(Real(1e20), 1, 36), std::nullopt);  // never wraps into range
  EXPECT_EQ(WholeNumberIn(Real(-0.0), 0, 0), 0);
}

TEST(AutomationArguments, AberrationsAreNamedByKeywordInAnyCaseOrByNumber) {
  struct Case {
    AutoValue value;
    std::optional<std::int32_t> code;
  };
  const Case cases[] = {
      {Text("peak valley"), 9}, {Text("Peak-Valley"), 9}, {Text("S.A."), 7},
      {Text("Strehl Ratio"), 10}, {Text("tilt angle"), 1}, {Text("TiltAngle"), 1},
      {Text("coma"), 5},         {Text("2"), 2},           {Whole(0), 0},
      {Real(10), 10},            {Real(2.5), std::nullopt}, {Whole(11), std::nullopt},
      {Whole(-1), std::nullopt}, {Text("foo"), std::nullopt}, {Flag(true), std::nullopt},
      {Text(" coma"), std::nullopt},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(AberrationCode(cases[i].value), cases[i].code) << "case " << i;
}

TEST(AutomationArguments, DensityDirectionAndShapeKeywords) {
  EXPECT_EQ(ParseTraceDensity("superfine"), 1);
  EXPECT_EQ(ParseTraceDensity("Coarse"), 4);
  EXPECT_EQ(ParseTraceDensity("3"), std::nullopt);
  EXPECT_EQ(ParseTraceDirection("h"), 0);
  EXPECT_EQ(ParseTraceDirection("Vertical"), 1);
  EXPECT_EQ(ParseTraceDirection("x"), std::nullopt);
  EXPECT_EQ(ParseShapeType("ellipse"), 1);
  EXPECT_EQ(ParseShapeType("square"), std::nullopt);
}

TEST(AutomationArguments, EachErrorCodeHasItsBusName) {
  EXPECT_EQ(AutomationErrorName(ErrorNoDocument, "OrvaleDoc"),
            "com.halvern.Orvale.Error.NoDocument.OrvaleDoc.E80040201");
  EXPECT_EQ(AutomationErrorName(ErrorInvalidFringeDensity, "OrvaleDoc"),
            "com.halvern.Orvale.Error.InvalidFringeDensity.OrvaleDoc.E80040206");
  EXPECT_EQ(AutomationErrorName(ErrorInvalidParameter, "Orvaledoc"),
            "com.halvern.Orvale.Error.InvalidParameter.Orvaledoc.E8004020F");
  EXPECT_EQ(AutomationErrorName(0x80004005, "OrvaleDoc"), "com.halvern.Orvale.Error.Internal.OrvaleDoc.E80004005");
  // Whatever a source holds, the name stays a valid bus name.
  EXPECT_EQ(AutomationErrorName(ErrorNoGrabber, "9 lives.x"), "com.halvern.Orvale.Error.NoGrabber._9_lives_x.E80040213");
  EXPECT_EQ(AutomationErrorName(ErrorNoGrabber, ""), "com.halvern.Orvale.Error.NoGrabber._.E80040213");
  const RaisedError raised = ErrorOf([] { RaiseOrvaleDocError(ErrorInvalidPath, "no"); });
  EXPECT_EQ(raised.code, 0x8004020Cu);
  EXPECT_EQ(raised.source, "OrvaleDoc");
  EXPECT_EQ(raised.text, "no");
}

}  // namespace
}  // namespace orvale::testing
