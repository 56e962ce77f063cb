#pragma once
// Helpers shared by the writers and readers of the keyword sections of the document
// text file (fringes, shapes, grid).
#include <string>
#include <string_view>

#include "platform/runtime/TextOutput.h"

namespace orvale {

// Writes `text` and a CR LF as one line. A failed write goes to FileErrorPrompt: retry
// writes the same line again, ignore goes on as if it had been written. False only when
// the user chose abort, which ends the section.
bool WriteSectionLine(TextOutput& out, std::string_view text);

// Writes the lines of one section and remembers an abort: once the user has chosen
// Abort, no later line of the section is written.
class SectionWriter {
 public:
  explicit SectionWriter(TextOutput& file) : file_(file) {}

  void Line(std::string_view text) {
    if (!aborted_ && !WriteSectionLine(file_, text)) aborted_ = true;
  }

  // True when the user chose Abort; the section was left unfinished.
  bool Aborted() const { return aborted_; }

 private:
  TextOutput& file_;
  bool aborted_ = false;
};

// A key token in lower case, the form every reader compares keys in.
std::string LowerKey(std::string_view token);

}  // namespace orvale
