#pragma once
// The text form of the settings file:
//
//   [CurrentVersion]
//   Open File Filter=2
//
// Lines end in CR LF when written and in LF or CR LF when read. Blanks around names and
// values are not part of them; lines starting with ";" or "#" are comments. Lines that
// are neither a section, a value nor a comment are kept as they are but not read.
//
// Names and values can hold any bytes. These are written as escapes:
//   "\\" backslash, "\r" CR, "\n" LF, "\t" tab, "\xHH" any other control byte,
//   "\s" a blank as the first or last character (inner blanks stay as they are),
//   and in section and value names "\x3D" for "=", and "\x5B", "\x3B", "\x23" for a
//   leading "[", ";" or "#".
// When reading, a backslash followed by anything else stays as it is, so a hand-typed
// path like C:\data survives.
#include <string>
#include <string_view>

#include "platform/registry/SettingsSections.h"

namespace orvale {

enum class IniTextRole { Name, Value };

std::string EscapeIniText(std::string_view text, IniTextRole role);
std::string UnescapeIniText(std::string_view text);

SettingsSections ParseIniSettings(std::string_view fileText);
std::string FormatIniSettings(const SettingsSections& contents);

}  // namespace orvale
