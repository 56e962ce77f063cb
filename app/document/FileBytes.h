#pragma once
// Reading a whole binary file into memory.
#include <cstdint>
#include <filesystem>
#include <vector>

#include "platform/runtime/RunError.h"

namespace orvale {

// The whole content of `path`; false with `error` set (a file error, or "Out of
// memory") when it cannot be read. `bytes` is left as it was on failure.
bool ReadFileBytes(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes,
                   RunError& error);

}  // namespace orvale
