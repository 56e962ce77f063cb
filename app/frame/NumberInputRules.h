#pragma once
// The rules of the number input box, apart from its window: which typed keys the field
// takes, and how the text becomes a clamped number when OK is pressed.
#include <cstdint>
#include <string_view>

#include "app/dialogs/NumberInput.h"

namespace orvale {

enum class InputKeyAction { Pass, Refuse, Ok, Cancel };

// What a typed character (its code) does under `rules` (the mode flags). Enter means
// OK and Esc Cancel in every mode; control characters other than those two are
// editing keys and shortcuts, not typed text, and pass.
InputKeyAction FilterInputKey(char32_t key, const NumberInputRequest& rules);

struct InputNumber {
  std::int32_t ValueL = 0;
  double ValueD = 0.0;
  bool OutofRange = false;
};

// The number OK takes from `text` under `rules`: read by the settings rule (blanks
// ignored, "&H"/"&O", the leading number, 0 without one); a whole number is rounded
// half to even, then raised to the minimum and lowered to the maximum, `OutofRange`
// telling whether either happened. The limits are compared before the number is
// narrowed to 32 bits, so an overflow is clamped and flagged too. Text mode gives 0s.
InputNumber ConvertInputNumber(std::string_view text, const NumberInputRequest& rules);

}  // namespace orvale
