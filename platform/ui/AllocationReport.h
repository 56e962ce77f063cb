#pragma once
// Large buffers (masks, images) are sized from user data; running out of memory for one
// is reported to the user as "Out of memory", titled "Error", and the command fails.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvale {

// Resizes `buffer` to `count` bytes of `fill`. False, with the message shown and
// `buffer` unchanged, when the memory cannot be had.
bool AssignOrReport(std::vector<std::uint8_t>& buffer, std::size_t count, std::uint8_t fill);
bool AssignOrReport(std::vector<double>& buffer, std::size_t count, double fill);

// Shows "Out of memory", titled "Error", for a command that ran out of memory.
void ReportOutOfMemory();

// For tests: while it lives, AssignOrReport lets `allowed` more calls succeed, then fails
// every call as if the memory could not be had. A real huge allocation would not do:
// overcommit may grant it and the sanitizers stop the program over it.
class ScopedAllocationFailure {
 public:
  explicit ScopedAllocationFailure(int allowed = 0);
  ~ScopedAllocationFailure();
  ScopedAllocationFailure(const ScopedAllocationFailure&) = delete;
  ScopedAllocationFailure& operator=(const ScopedAllocationFailure&) = delete;

 private:
  int previous_;
};

}  // namespace orvale
