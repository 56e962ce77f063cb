#pragma once
// How the free texts of a document (description, operator, comments, date) travel
// through the one-line-per-item document file.
//
// Files have always carried a comment's line breaks as backslash + "r". That alone
// cannot carry a lone line feed, a typed backslash + "r" or a leading blank, so a text
// holding any of those is written in the full escaped form below, and the file is
// marked with version kEscapedTextFileVersion so that older files keep their meaning.
#include <cstdint>
#include <string>
#include <string_view>

namespace orvale {

inline constexpr std::int32_t kPlainTextFileVersion = 100;
inline constexpr std::int32_t kEscapedTextFileVersion = 101;

// Every CR LF pair becomes backslash + "r"; a lone CR or LF is left alone.
void EscapeNewLines(std::string& text);
// Every backslash + "r" becomes CR LF.
void UnescapeNewLines(std::string& text);

// True when `text` cannot be written in the plain form: it holds a backslash, a CR or
// LF that is not part of a CR LF pair or, with `crlfAllowed` false, any CR or LF, or it
// starts with a blank (the reader drops leading blanks).
bool NeedsFullEscape(std::string_view text, bool crlfAllowed);

// The full form: "\\" backslash, "\r" CR LF, "\n" a lone LF, "\c" a lone CR, "\s" a
// blank at the start. UnescapeText reverses it; any other backslash stays as it is.
std::string EscapeText(std::string_view text);
std::string UnescapeText(std::string_view text);

}  // namespace orvale
