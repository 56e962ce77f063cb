#pragma once
// Reading a picture file into memory: its first bytes are judged before the rest is
// read, and no more is read than the picture they describe can need.
#include <cstdint>
#include <filesystem>
#include <vector>

#include "platform/runtime/RunError.h"

namespace orvale {

// The bytes of the picture file `path`: its first bytes, then, when they begin a
// picture the program or Qt's readers know, the rest of the file in chunks up to what
// that picture can need (MostBytesOfPictureFile; a format only Qt knows may need as
// much as the largest picture the program takes). Whatever the first bytes do not
// begin, and whatever lies beyond that extent, is left unread: the decoder refuses what
// it cannot take. False with `error` set (a file error, or "Out of memory") when the
// file cannot be read; `bytes` is left as it was then.
bool ReadPictureFileBytes(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes,
                          RunError& error);

}  // namespace orvale
