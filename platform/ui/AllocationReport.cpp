#include "platform/ui/AllocationReport.h"

#include <atomic>
#include <new>
#include <stdexcept>

#include "platform/runtime/RunError.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

// Calls AssignOrReport may still make before they fail; -1: no failure set.
std::atomic<int> allowedAllocations{-1};

bool FailureInjected() {
  int allowed = allowedAllocations.load();
  while (allowed >= 0) {
    if (allowed == 0) return true;
    if (allowedAllocations.compare_exchange_weak(allowed, allowed - 1)) return false;
  }
  return false;
}

template <class T>
bool Assign(std::vector<T>& buffer, std::size_t count, T fill) {
  if (FailureInjected()) {
    ReportOutOfMemory();
    return false;
  }
  try {
    std::vector<T> fresh(count, fill);
    buffer.swap(fresh);
    return true;
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  ReportOutOfMemory();
  return false;
}

}  // namespace

bool AssignOrReport(std::vector<std::uint8_t>& buffer, std::size_t count, std::uint8_t fill) {
  return Assign(buffer, count, fill);
}

bool AssignOrReport(std::vector<double>& buffer, std::size_t count, double fill) {
  return Assign(buffer, count, fill);
}

ScopedAllocationFailure::ScopedAllocationFailure(int allowed)
    : previous_(allowedAllocations.exchange(allowed)) {}

ScopedAllocationFailure::~ScopedAllocationFailure() { allowedAllocations = previous_; }

void ReportOutOfMemory() {
  ShowMessage(RunError::StandardDescription(errnum::kOutOfMemory), mb::kOk, "Error");
}

}  // namespace orvale
