#pragma once
// The program's command line: a path to open, possibly in double quotes, or
// "-Embedding" when the program is started for automation.
#include <span>
#include <string>

namespace orvale {

struct CommandLine {
  bool Embedding = false;  // started for automation: open nothing
  std::string Path;        // empty: open nothing
};

// The arguments after the program name (with the window system's own options already
// taken out) are joined with single blanks into one line, as the program has always
// seen its command line. Exactly "-Embedding" (that case only) is the automation
// marker. Otherwise the whole line is one path: a leading double quote is dropped and
// the path ends before the next double quote, if there is one. The bytes are kept as
// they are, so names that are not UTF-8 survive.
CommandLine ParseCommandLine(std::span<const std::string> arguments);

}  // namespace orvale
