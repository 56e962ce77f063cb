#pragma once
// Registry-style access to the settings store. Every key path lies below the user's
// settings root, "SOFTWARE\Halvern\Orvale\" followed by a section name; the user's
// store is the only hive there is, and its values are texts only.
#include <string>
#include <string_view>

namespace orvale {

inline constexpr std::string_view SettingsRoot = "SOFTWARE\\Halvern\\Orvale\\";

// The longest value text that reads back; a longer one reads as missing.
inline constexpr std::size_t kMaxSettingTextLength = 1023;

// Reads the value `valueName` of the key `keyPath` into `text` (cut at the first zero
// byte). Not found, with an empty text, when the value is missing or longer than
// kMaxSettingTextLength, or when the key is missing; with `create` a missing key is
// created, empty. Paths outside SettingsRoot are never found.
bool RegReadValue(std::string_view keyPath, std::string_view valueName, std::string& text,
                  bool create);

// Writes the text into an existing key; false (nothing written) when the key does not
// exist or the store cannot be written.
bool RegWriteString(std::string_view keyPath, std::string_view valueName, std::string_view text);

// Deletes the value; silent when it or its key does not exist.
void DeleteRegistryValue(std::string_view keyPath, std::string_view valueName);

}  // namespace orvale
