#pragma once
// Helpers shared by the writers and readers of the keyword sections of the document
// text file (fringes, shapes, grid).
#include <string>
#include <string_view>

namespace orvale {

class TextOutput;

// Writes `text` and a CR LF as one line. A failed write goes to FileErrorPrompt: retry
// writes the same line again, ignore goes on as if it had been written. False only when
// the user chose abort, which ends the section.
bool WriteSectionLine(TextOutput& out, std::string_view text);

// A key token in lower case, the form every reader compares keys in.
std::string LowerKey(std::string_view token);

}  // namespace orvale
