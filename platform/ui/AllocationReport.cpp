#include "platform/ui/AllocationReport.h"

#include <new>
#include <stdexcept>

#include "platform/runtime/RunError.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

template <class T>
bool Assign(std::vector<T>& buffer, std::size_t count, T fill) {
  try {
    std::vector<T> fresh(count, fill);
    buffer.swap(fresh);
    return true;
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  ShowMessage(RunError::StandardDescription(errnum::kOutOfMemory), mb::kOk, "Error");
  return false;
}

}  // namespace

bool AssignOrReport(std::vector<std::uint8_t>& buffer, std::size_t count, std::uint8_t fill) {
  return Assign(buffer, count, fill);
}

bool AssignOrReport(std::vector<double>& buffer, std::size_t count, double fill) {
  return Assign(buffer, count, fill);
}

}  // namespace orvale
