#pragma once
// Rows of device-independent bitmaps are padded to a multiple of four bytes.
#include <cstdint>

namespace orvale {

// n rounded up to a multiple of 4.
std::int64_t AlignToDWord(std::int64_t n);

// n rounded up to a multiple of 4; `padding` gets the bytes added (0 to 3).
std::int64_t GetDWordPadding(std::int64_t n, std::int64_t& padding);

}  // namespace orvale
