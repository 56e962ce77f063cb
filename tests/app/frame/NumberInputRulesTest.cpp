#include "app/frame/NumberInputRules.h"

#include <gtest/gtest.h>

#include <limits>

namespace orvale {
namespace {

NumberInputRequest Whole(std::int32_t minimum, std::int32_t maximum, bool positive = false) {
  NumberInputRequest rules;
  rules.NumberOnly = true;
  rules.IntegerOnly = true;
  rules.PositiveIntegerOnly = positive;
  rules.MinimumL = minimum;
  rules.MaximumL = maximum;
  return rules;
}

NumberInputRequest Real(double minimum, double maximum) {
  NumberInputRequest rules;
  rules.NumberOnly = true;
  rules.IntegerOnly = false;
  rules.MinimumD = minimum;
  rules.MaximumD = maximum;
  return rules;
}

TEST(NumberInputRulesTest, OkReadsRoundsAndClampsTheText) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  struct Case {
    NumberInputRequest rules;
    const char* text;
    std::int32_t valueL;
    double valueD;
    bool outOfRange;
  };
  const Case cases[] = {
      {Whole(1, 200), "250", 200, 0, true},
      {Whole(1, 200), "-", 1, 0, true},
      {Whole(-5, 5), "-", 0, 0, false},
      {Whole(kMin, kMax), "2.5", 2, 0, false},
      {Whole(kMin, kMax), "3.5", 4, 0, false},
      {Whole(kMin, kMax), "12 34", 1234, 0, false},
      {Whole(kMin, kMax), "&H10", 16, 0, false},
      {Whole(kMin, kMax), "abc", 0, 0, false},
      {Whole(1, 200), "abc", 1, 0, true},
      {Whole(1, 200), "200.4", 200, 0, false},  // rounds to the limit: not beyond it
      {Whole(1, 200), "200.6", 200, 0, true},
      {Whole(1, kMax), "99999999999", kMax, 0, true},
      {Whole(kMin, kMax), "-99999999999", kMin, 0, true},
      {Whole(1, 200), "1e999", 200, 0, true},
      {Real(-1e308, 1e308), "1e3", 0, 1000.0, false},
      {Real(-1e308, 1e308), "1.2.3", 0, 1.2, false},
      {Real(0.0, 10.0), "1e999", 0, 10.0, true},
      {Real(0.0, 10.0), "-0.5", 0, 0.0, true},
      {Real(0.5, 10.0), "x", 0, 0.5, true},
  };
  for (const Case& c : cases) {
    const InputNumber number = ConvertInputNumber(c.text, c.rules);
    EXPECT_EQ(number.ValueL, c.valueL) << c.text;
    EXPECT_EQ(number.ValueD, c.valueD) << c.text;
    EXPECT_EQ(number.OutofRange, c.outOfRange) << c.text;
  }
  NumberInputRequest text;
  text.NumberOnly = false;
  const InputNumber none = ConvertInputNumber("250", text);
  EXPECT_EQ(none.ValueL, 0);
  EXPECT_FALSE(none.OutofRange);
}

TEST(NumberInputRulesTest, KeysPassByMode) {
  NumberInputRequest text;
  text.NumberOnly = false;
  const NumberInputRequest whole = Whole(0, 10);
  const NumberInputRequest positive = Whole(0, 10, true);
  const NumberInputRequest real = Real(0, 10);
  using A = InputKeyAction;
  struct Case {
    char32_t key;
    A text, whole, positive, real;
  };
  const Case cases[] = {
      {13, A::Ok, A::Ok, A::Ok, A::Ok},
      {27, A::Cancel, A::Cancel, A::Cancel, A::Cancel},
      {8, A::Pass, A::Pass, A::Pass, A::Pass},
      {22, A::Pass, A::Pass, A::Pass, A::Pass},  // Ctrl+V: a shortcut, not typed text
      {'7', A::Pass, A::Pass, A::Pass, A::Pass},
      {'-', A::Pass, A::Pass, A::Refuse, A::Pass},
      {'.', A::Pass, A::Refuse, A::Refuse, A::Pass},
      {'e', A::Pass, A::Refuse, A::Refuse, A::Pass},
      {'E', A::Pass, A::Refuse, A::Refuse, A::Pass},
      {'+', A::Pass, A::Refuse, A::Refuse, A::Refuse},
      {' ', A::Pass, A::Refuse, A::Refuse, A::Refuse},
      {'a', A::Pass, A::Refuse, A::Refuse, A::Refuse},
      {U'\u00e9', A::Pass, A::Refuse, A::Refuse, A::Refuse},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FilterInputKey(c.key, text), c.text) << static_cast<int>(c.key);
    EXPECT_EQ(FilterInputKey(c.key, whole), c.whole) << static_cast<int>(c.key);
    EXPECT_EQ(FilterInputKey(c.key, positive), c.positive) << static_cast<int>(c.key);
    EXPECT_EQ(FilterInputKey(c.key, real), c.real) << static_cast<int>(c.key);
  }
}

}  // namespace
}  // namespace orvale
