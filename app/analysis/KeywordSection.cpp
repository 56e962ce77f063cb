#include "app/analysis/KeywordSection.h"

#include "platform/ui/MessageService.h"

namespace orvale {

bool WriteSectionLine(TextOutput& out, std::string_view text) {
  for (;;) {
    RunError error;
    // WriteLine is one write of text and line end, so a retry never doubles half a line.
    if (out.WriteLine(text, error)) return true;
    const int answer = FileErrorPrompt(error);
    if (answer == idbutton::kRetry) continue;
    return answer == idbutton::kIgnore;
  }
}

std::string LowerKey(std::string_view token) {
  std::string key(token);
  for (char& c : key)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return key;
}

}  // namespace orvale
