#pragma once
// Reading a picture file into memory: its first bytes are judged before the rest is
// read, and no more is read than the picture they describe can need.
#include <cstdint>
#include <filesystem>
#include <vector>

#include "app/pictures/PictureFileBuffer.h"
#include "platform/runtime/RunError.h"

namespace orvale {

// The bytes of the picture file `path`: its first bytes, then, when they begin a
// bitmap, JPEG, PNG or GIF, the rest of the file in growing chunks until the picture's
// end marker is among them, they reach what the picture can need
// (MostBytesOfPictureFile) or its structure is found damaged. Each chunk is walked
// once, on from where the walk of the chunks before stopped. Anything else is left at
// its first bytes, and whatever lies beyond the picture unread: the decoder refuses
// what it cannot take. False with `error` set (a file error, or "Out of memory") when
// the file cannot be read; `bytes` is left as it was then.
bool ReadPictureFile(const std::filesystem::path& path, PictureFileBuffer& bytes, RunError& error);

// The same bytes as a vector of their own, for a caller that keeps them.
bool ReadPictureFileBytes(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes,
                          RunError& error);

}  // namespace orvale
