#pragma once
// Writes the lines of one keyword section of a document file. A line that cannot be
// written is reported through FileErrorPrompt: Abort ends the section (no later line
// is written), Retry writes the same line again, Ignore goes on with the next line.
#include <string_view>

#include "platform/runtime/TextOutput.h"

namespace orvale {

class SectionWriter {
 public:
  explicit SectionWriter(TextOutput& file) : file_(file) {}

  // Writes `text` and a CR LF line end. Does nothing once the user has aborted.
  void Line(std::string_view text);

  // True when the user chose Abort; the section was left unfinished.
  bool Aborted() const { return aborted_; }

 private:
  TextOutput& file_;
  bool aborted_ = false;
};

}  // namespace orvale
