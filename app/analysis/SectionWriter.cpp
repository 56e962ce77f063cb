#include "app/analysis/SectionWriter.h"

#include "platform/ui/MessageService.h"

namespace orvale {

void SectionWriter::Line(std::string_view text) {
  while (!aborted_) {
    RunError error;
    if (file_.WriteLine(text, error)) return;
    switch (FileErrorPrompt(error)) {
      case idbutton::kRetry:
        continue;
      case idbutton::kIgnore:
        return;
      default:
        aborted_ = true;
        return;
    }
  }
}

}  // namespace orvale
