#include "platform/registry/TypedSettings.h"

#include <cmath>
#include <limits>

#include "platform/registry/RegistryAccess.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

std::string KeyPath(std::string_view section) {
  std::string path(SettingsRoot);
  path += section;
  return path;
}

bool ReadStoredNumber(std::string_view section, std::string_view key, double& number) {
  std::string text;
  if (!RegReadValue(KeyPath(section), key, text, true)) return false;
  number = ReadSettingNumber(text);
  return true;
}

}  // namespace

std::string GetSettingString(std::string_view section, std::string_view key,
                             std::string_view defaultText) {
  std::string text;
  return RegReadValue(KeyPath(section), key, text, true) ? text : std::string(defaultText);
}

void SaveSettingString(std::string_view section, std::string_view key, std::string_view text) {
  RegWriteString(KeyPath(section), key, text);
}

std::int32_t GetSettingLong(std::string_view section, std::string_view key, std::int32_t minimum,
                            std::int32_t maximum, std::int32_t defaultValue) {
  double number = 0;
  const bool found = ReadStoredNumber(section, key, number);
  // RoundToInt32 clamps into the 32-bit range, so no stored text can overflow here.
  if (minimum == kNotGivenLong || maximum == kNotGivenLong || defaultValue == kNotGivenLong)
    return found ? RoundToInt32(number) : 0;
  std::int32_t value = found ? RoundToInt32(number) : defaultValue;
  if (value < minimum) value = minimum;
  return value > maximum ? maximum : value;
}

void SaveSettingLong(std::string_view section, std::string_view key, std::int32_t value) {
  RegWriteString(KeyPath(section), key, FormatLong(value));
}

double GetSettingDouble(std::string_view section, std::string_view key, double minimum,
                        double maximum, double defaultValue) {
  double number = 0;
  const bool found = ReadStoredNumber(section, key, number);
  if (minimum == kNotGivenDouble || maximum == kNotGivenDouble ||
      defaultValue == kNotGivenDouble) {
    if (!found) return 0;
    // A stored "1E999" reads as infinity; keep it a usable number.
    constexpr double kLargest = std::numeric_limits<double>::max();
    return std::isinf(number) ? std::copysign(kLargest, number) : number;
  }
  double value = found ? number : defaultValue;
  if (value < minimum) value = minimum;
  return value > maximum ? maximum : value;
}

void SaveSettingDouble(std::string_view section, std::string_view key, double value) {
  RegWriteString(KeyPath(section), key, FormatGeneral(value));
}

bool GetSettingBool(std::string_view section, std::string_view key, bool defaultValue) {
  double number = 0;
  return ReadStoredNumber(section, key, number) ? number != 0 : defaultValue;
}

void SaveSettingBool(std::string_view section, std::string_view key, bool value) {
  RegWriteString(KeyPath(section), key, value ? "1" : "0");
}

void DeleteSettingValue(std::string_view section, std::string_view key) {
  DeleteRegistryValue(KeyPath(section), key);
}

}  // namespace orvale
