#pragma once
// Loading a picture file in a child process, so that a load that allocates what a file
// claims, or reads a huge file whole, runs out of memory there instead of in the suite.
#include <cstddef>
#include <filesystem>
#include <string>

namespace orvale::testing {

// The result of loading `path` in a child process that may take only `memory` bytes
// more than the suite: "Loaded", or the message the load showed, followed by every
// message a decoder logged ("\n[decoder] ..."), or "(no answer within the bounds)".
// `seconds` bounds the child only to catch a hang (0: no bound but ctest's own).
std::string LoadWithLittleMemory(const std::filesystem::path& path, std::size_t memory = std::size_t{200} << 20,
                                 unsigned seconds = 60);

// The peak of the memory loading `path` takes in a child process, over what the child
// held before, in bytes for every pixel of the picture loaded; -1 when it did not load.
// It is loaded once before, so that what the first load of a format costs once (its
// decoder's plug-in) is not counted.
double PeakBytesAPixelOfLoading(const std::filesystem::path& path);

}  // namespace orvale::testing
