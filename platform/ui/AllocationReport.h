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

}  // namespace orvale
