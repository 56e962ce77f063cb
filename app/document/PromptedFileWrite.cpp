#include "app/document/PromptedFileWrite.h"

#include <memory>
#include <vector>

#include "platform/runtime/TextOutput.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

// The file written whole into its temporary file, not yet in place; null when the user
// gave up on it.
std::unique_ptr<AtomicFileWriter> PrepareWithPrompt(const PromptedFile& wanted) {
  for (;;) {
    RunError error;
    auto file = AtomicFileWriter::Open(wanted.target, error);
    if (!file) {
      // Without a file there is nothing to go on with: Ignore ends like Abort.
      if (FileErrorPrompt(error) == idbutton::kRetry) continue;
      return nullptr;
    }
    bool complete = true;
    bool again = false;
    for (const std::string_view part : wanted.parts) {
      if (file->Write(part, error)) continue;
      const int answer = FileErrorPrompt(error);
      if (answer == idbutton::kAbort) return nullptr;
      // A part that failed half-way cannot simply be written a second time.
      if (answer == idbutton::kRetry) {
        again = true;
        break;
      }
      complete = false;
    }
    if (again) continue;
    if (!complete) return nullptr;
    return file;
  }
}

}  // namespace

bool WriteFilesWithPrompt(std::span<const PromptedFile> files) {
  // Every writer not committed removes its temporary file when it goes.
  std::vector<std::unique_ptr<AtomicFileWriter>> prepared;
  for (const PromptedFile& file : files) {
    prepared.push_back(PrepareWithPrompt(file));
    if (!prepared.back()) return false;
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    RunError error;
    while (!prepared[i]->Commit(error)) {
      // A failed commit has used its temporary file up: a retry writes it again.
      if (FileErrorPrompt(error) != idbutton::kRetry) return false;
      prepared[i] = PrepareWithPrompt(files[i]);
      if (!prepared[i]) return false;
    }
  }
  return true;
}

}  // namespace orvale
