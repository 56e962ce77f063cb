#include <gtest/gtest.h>

#include "app/analysis/AxisLimits.h"
#include "platform/runtime/Markers.h"

namespace orvale {
namespace {

struct AxisCase {
  double min, max;
  bool autoMin, autoMax;
  double minStep;
  int result;
  double newMin, newMax;
  const char* what;
};

void Check(const AxisCase& c, bool logAxis) {
  double min = c.min, max = c.max;
  EXPECT_EQ(RoundAxisLimits(min, max, logAxis, c.autoMin, c.autoMax, c.minStep), c.result)
      << c.what;
  EXPECT_DOUBLE_EQ(min, c.newMin) << c.what;
  EXPECT_DOUBLE_EQ(max, c.newMax) << c.what;
}

constexpr double kNone = kNotGivenDouble;

TEST(RoundAxisLimits, LinearAxis) {
  const AxisCase cases[] = {
      {0, 100, true, true, kNone, 1, 0, 100, "span already 1E2"},
      {0, 300, true, true, kNone, 3, 0, 300, "span already 3E2"},
      {0, 150, true, true, kNone, 0, 0, 200, "2E2 from below"},
      {5, 5, true, true, kNone, 0, 0, 1, "empty span"},
      {5, 3, true, true, kNone, 0, 0, 1, "reversed span"},
      // d = 1 with the span above 10^k: the step is 1.2 or 1.5 times 10^k.
      {0, 110, true, true, kNone, 0, 0, 120, "1 bumped, second digit 1"},
      {0, 120, true, true, kNone, 0, 0, 150, "1 bumped, second digit 2"},
      {10, 124, true, true, kNone, 0, 0, 150, "1 bumped by 1.2, enlarged to 1.5"},
      {10, 159, true, true, kNone, 0, 0, 200, "1 bumped by 1.5, enlarged to 2"},
      // d = 1 with the span below 10^k: the next power of ten.
      {0, 0.96, true, true, kNone, 0, 0, 1, "1 from below"},
      {2, 98, true, true, kNone, 0, 0, 100, "1 from below, offset"},
      {7, 103, true, true, kNone, 0, 0, 120, "1 from below, enlarged by 1.2"},
      // d = 2..9.
      {25, 305, true, true, kNone, 0, 0, 400, "3 from below, enlarged to 4"},
      {55, 604, true, true, kNone, 0, 0, 700, "5 bumped to 6, enlarged to 7"},
      {2570, 3510, true, true, kNone, 0, 2480, 3680, "9 bumped, enlarged to 1.2E3"},
      {1234, 1460, true, true, kNone, 0, 1230, 1530, "2 bumped to 3, base and tenths"},
      // The smallest step.
      {0, 150, true, true, 500, 0, 0, 500, "MinStep"},
      {0, 150, true, true, 50, 0, 0, 200, "MinStep below the step"},
      // One end only.
      {3, 150, true, false, kNone, 0, 0, 150, "AutoMin alone"},
      {10, 160, false, true, kNone, 0, 10, 210, "AutoMax alone"},
      {10, 160, false, false, kNone, 0, 10, 160, "neither"},
  };
  for (const auto& c : cases) Check(c, false);
}

TEST(RoundAxisLimits, LogarithmicAxis) {
  const AxisCase cases[] = {
      {-5, 0, true, true, kNone, 10, 1, 10, "nothing positive"},
      // Log10(100) lies just below 2, so an automatic minimum 100 starts at 10.
      {100, 5000, true, true, kNone, 10, 10, 10000, "both"},
      {100, 1000, true, false, kNone, 10, 10, 1000, "AutoMin, exact power"},
      {0, 50, true, true, kNone, 10, 10, 100, "both, minimum not positive"},
      {20, -1, true, true, kNone, 10, 10, 10, "both, maximum not positive"},
      {3, 250, false, true, kNone, 10, 3, 1000, "AutoMax"},
      {-1, 250, false, true, kNone, 10, 100, 1000, "AutoMax, minimum not positive"},
      {3, 1000, false, true, kNone, 10, 3, 1000, "AutoMax, exact power stays"},
      {0, 500, true, false, kNone, 10, 100, 500, "AutoMin, minimum not positive"},
      {300, -5, true, false, kNone, 10, 100, 100, "AutoMin, maximum not positive"},
      {3, 250, false, false, kNone, 10, 3, 250, "neither"},
  };
  for (const auto& c : cases) Check(c, true);
}

}  // namespace
}  // namespace orvale
