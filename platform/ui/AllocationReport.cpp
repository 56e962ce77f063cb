#include "platform/ui/AllocationReport.h"

#include <new>
#include <stdexcept>

#include "platform/runtime/RunError.h"
#include "platform/ui/MessageService.h"

namespace orvale {

bool AssignOrReport(std::vector<std::uint8_t>& buffer, std::size_t count, std::uint8_t fill) {
  try {
    std::vector<std::uint8_t> fresh(count, fill);
    buffer.swap(fresh);
    return true;
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  ReportOutOfMemory();
  return false;
}

void ReportOutOfMemory() {
  ShowMessage(RunError::StandardDescription(errnum::kOutOfMemory), mb::kOk, "Error");
}

}  // namespace orvale
