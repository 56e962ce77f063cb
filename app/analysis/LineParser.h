#pragma once
// The tokeniser of every keyword text file: one parser per file reading, line by line,
// token by token. Tokens are separated by runs of Tab, blank, comma, semicolon, colon
// and "="; an "=" met after another delimiter makes the whole rest of the line one
// token ('OpticComments:= a, b; c' yields 'OpticComments' and 'a, b; c').
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/runtime/LineInput.h"

namespace orvale {

class clsParser {
 public:
  // True when the number at the start of s is not 0, or when s is "#TRUE#", "TRUE",
  // "YES" or "ON" in any case.
  static bool BooleanParse(std::string_view s);

  // Fetches the next line of `file` and restarts at its first character. False at the
  // end of the file (the current line stays). A failed read is reported with Abort,
  // Retry and Ignore (a file error) or OK (any other): Abort and OK give False, and so
  // does every later call, Retry reads again, Ignore gives True with an empty current
  // line, so the reader goes on with the next line.
  bool Readline(LineSource& file);

  // True once a failed read ended the reading (see Readline): the file was not read to
  // its end.
  bool ReadFailed() const { return readFailed_; }

  // The next token of the current line; the empty text when the line is used up.
  std::string GetToken();

  // Restarts at the beginning of the current line.
  void ReReadLine();

  // Uses up the current line.
  void SkipLine();

  // Number of tokens of the current line; the line is used up afterwards.
  std::int32_t Tokencount();

  const std::string& CurrentLine() const { return line_; }

 private:
  std::string line_;
  std::size_t position_ = 0;  // 1-based index of the last character examined
  bool readFailed_ = false;
};

// A value token read by the keyword-file rule: the number at its start, 0 when none.
double TokenAsReal(std::string_view token);

// A whole-number value token: the real rounded half to even ('2.5' is 2, '3.5' is 4)
// and clamped into the 32-bit range (' 1E+20' is 2147483647).
std::int32_t TokenAsWhole(std::string_view token);

}  // namespace orvale
