#pragma once
// Writing a whole file with the user's Abort, Retry and Ignore answers to failures.
#include <filesystem>
#include <span>
#include <string_view>

namespace orvale {

// Writes `parts` one after the other as the whole content of `target`, through a
// temporary file that replaces the target only when every part was written. A failure
// goes to FileErrorPrompt: Retry starts the file again from its beginning, Abort ends,
// Ignore goes on with the next part, but a file with a missing part never replaces the
// old one. True only when the target now holds all the parts.
bool WriteFileWithPrompt(const std::filesystem::path& target,
                         std::span<const std::string_view> parts);

inline bool WriteFileWithPrompt(const std::filesystem::path& target, std::string_view text) {
  return WriteFileWithPrompt(target, std::span<const std::string_view>(&text, 1));
}

}  // namespace orvale
