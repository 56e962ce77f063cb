#pragma once
// Typed readers and writers of the settings store. `section` names a section below
// SettingsRoot. Readers create a missing section; writers drop a value whose section
// has never been created. Nothing here reports a failure: a missing or unreadable
// value yields the default (see each reader).
//
// Numbers are read by the settings reading rule (ReadSettingNumber: blanks anywhere
// ignored, "&H"/"&O" prefixes, a text without a number reads 0) and written in the C
// locale: whole numbers as plain decimals, reals in general form ("0.25", "1E-05"),
// flags as "1" or "0".
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/runtime/Markers.h"

namespace orvale {

// The stored text; `defaultText` when the value is missing.
std::string GetSettingString(std::string_view section, std::string_view key,
                             std::string_view defaultText);
void SaveSettingString(std::string_view section, std::string_view key, std::string_view text);

// The stored number rounded half to even, or `defaultValue` when missing, then raised to
// `minimum` and after that lowered to `maximum`. When any of the three is the marker
// kNotGivenLong, the stored number is returned unclamped (0 when missing). A number
// beyond the 32-bit range never fails: it is clamped like any other.
std::int32_t GetSettingLong(std::string_view section, std::string_view key, std::int32_t minimum,
                            std::int32_t maximum, std::int32_t defaultValue);
void SaveSettingLong(std::string_view section, std::string_view key, std::int32_t value);

// As GetSettingLong for reals, without rounding; the marker is kNotGivenDouble.
double GetSettingDouble(std::string_view section, std::string_view key, double minimum,
                        double maximum, double defaultValue);
void SaveSettingDouble(std::string_view section, std::string_view key, double value);

// True when the stored number is not 0 ("TRUE" reads false, "-1" true); the default
// when the value is missing.
bool GetSettingBool(std::string_view section, std::string_view key, bool defaultValue);
void SaveSettingBool(std::string_view section, std::string_view key, bool value);

void DeleteSettingValue(std::string_view section, std::string_view key);

}  // namespace orvale
