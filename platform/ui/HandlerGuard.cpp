#include "platform/ui/HandlerGuard.h"

#include "platform/ui/MessageService.h"

namespace orvale {

void ReportHandlerFailure(const std::string& description) noexcept {
  try {
    ShowMessage(description, mb::kOk | mb::kIconStop, "Error");
  } catch (...) {
    // Nothing left to report with; the handler has already stopped.
  }
}

}  // namespace orvale
