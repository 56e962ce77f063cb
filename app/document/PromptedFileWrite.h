#pragma once
// Writing whole files with the user's Abort, Retry and Ignore answers to failures.
#include <filesystem>
#include <span>
#include <string_view>

namespace orvale {

// A file to write: its target and the parts that make its whole content, in order.
struct PromptedFile {
  std::filesystem::path target;
  std::span<const std::string_view> parts;
};

// Writes each file whole into a temporary file first and, only when all of them are
// complete, puts them in the places of their targets in the order given, so that a
// failure before then leaves every target as it was. A failure goes to
// FileErrorPrompt: Retry starts that file again from its beginning, Abort ends, Ignore
// goes on with the next part, but a file with a missing part never replaces the old
// one. True only when every target now holds its parts; a failure to put a later file
// in place leaves the earlier ones already in theirs.
bool WriteFilesWithPrompt(std::span<const PromptedFile> files);

inline bool WriteFileWithPrompt(const std::filesystem::path& target,
                                std::span<const std::string_view> parts) {
  const PromptedFile file{target, parts};
  return WriteFilesWithPrompt(std::span<const PromptedFile>(&file, 1));
}

inline bool WriteFileWithPrompt(const std::filesystem::path& target, std::string_view text) {
  return WriteFileWithPrompt(target, std::span<const std::string_view>(&text, 1));
}

}  // namespace orvale
