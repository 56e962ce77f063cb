#include "app/frame/NumberInputRules.h"

#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

constexpr char32_t kEnter = 13;
constexpr char32_t kEscape = 27;
constexpr char32_t kFirstPrintable = 32;
constexpr char32_t kDelete = 127;

bool IsDigit(char32_t key) { return key >= '0' && key <= '9'; }

}  // namespace

InputKeyAction FilterInputKey(char32_t key, const NumberInputRequest& rules) {
  if (key == kEnter) return InputKeyAction::Ok;
  if (key == kEscape) return InputKeyAction::Cancel;
  if (!rules.NumberOnly || key < kFirstPrintable || key == kDelete) return InputKeyAction::Pass;
  if (IsDigit(key)) return InputKeyAction::Pass;
  if (rules.IntegerOnly) {
    return key == '-' && !rules.PositiveIntegerOnly ? InputKeyAction::Pass
                                                     : InputKeyAction::Refuse;
  }
  return key == '.' || key == '-' || key == 'e' || key == 'E' ? InputKeyAction::Pass
                                                              : InputKeyAction::Refuse;
}

InputNumber ConvertInputNumber(std::string_view text, const NumberInputRequest& rules) {
  InputNumber result;
  if (!rules.NumberOnly) return result;
  const double number = ReadSettingNumber(text);
  if (rules.IntegerOnly) {
    double value = RoundHalfEven(number);
    if (!(value >= rules.MinimumL)) {
      value = rules.MinimumL;
      result.OutofRange = true;
    }
    if (value > rules.MaximumL) {
      value = rules.MaximumL;
      result.OutofRange = true;
    }
    result.ValueL = RoundToInt32(value);
  } else {
    double value = number;
    if (!(value >= rules.MinimumD)) {
      value = rules.MinimumD;
      result.OutofRange = true;
    }
    if (value > rules.MaximumD) {
      value = rules.MaximumD;
      result.OutofRange = true;
    }
    result.ValueD = value;
  }
  return result;
}

}  // namespace orvale
