#include "app/document/PromptedFileWrite.h"

#include "platform/runtime/TextOutput.h"
#include "platform/ui/MessageService.h"

namespace orvale {

bool WriteFileWithPrompt(const std::filesystem::path& target,
                         std::span<const std::string_view> parts) {
  for (;;) {
    RunError error;
    auto file = AtomicFileWriter::Open(target, error);
    if (!file) {
      // Without a file there is nothing to go on with: Ignore ends like Abort.
      if (FileErrorPrompt(error) == idbutton::kRetry) continue;
      return false;
    }
    bool complete = true;
    bool again = false;
    for (const std::string_view part : parts) {
      if (file->Write(part, error)) continue;
      const int answer = FileErrorPrompt(error);
      if (answer == idbutton::kAbort) return false;
      // A part that failed half-way cannot simply be written a second time.
      if (answer == idbutton::kRetry) {
        again = true;
        break;
      }
      complete = false;
    }
    if (again) continue;
    if (!complete) return false;
    if (file->Commit(error)) return true;
    if (FileErrorPrompt(error) != idbutton::kRetry) return false;
  }
}

}  // namespace orvale
