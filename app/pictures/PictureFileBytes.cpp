#include "app/pictures/PictureFileBytes.h"

#include <algorithm>
#include <new>
#include <optional>
#include <stdexcept>
#include <utility>

#include "app/pictures/ImageFileChecks.h"
#include "platform/runtime/ReadableFile.h"

namespace orvale {

namespace {

// Enough for every header the program reads and every format it tells apart.
constexpr std::uint64_t kPictureHeadBytes = 64 * 1024;

// Reads on, doubling what is read each time, until the picture's end is among
// `content`, the file ends or `content` holds what the picture can need.
bool ReadOnToPictureEnd(ReadableFile& file, std::vector<std::uint8_t>& content, RunError& error) {
  for (;;) {
    const std::uint64_t extent = MostBytesOfPictureFile(content);
    if (content.size() >= extent || PictureEndIsAmong(content)) return true;
    const std::size_t before = content.size();
    const std::uint64_t wanted = std::min<std::uint64_t>(extent, std::max<std::uint64_t>(before * 2, kPictureHeadBytes));
    // Room for all the picture can need that the file holds, at once: growing by
    // doubling would copy what was read and hold up to twice it meanwhile.
    const std::uint64_t room = std::min(extent, file.SizeWhenOpened());
    if (room > content.capacity()) content.reserve(static_cast<std::size_t>(room));
    if (!file.ReadUpTo(content, wanted, error)) return false;
    if (content.size() < wanted) return true;  // the end of the file
  }
}

}  // namespace

bool ReadPictureFileBytes(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes,
                          RunError& error) {
  std::optional<ReadableFile> file = ReadableFile::Open(path, &error);
  if (!file) return false;
  std::vector<std::uint8_t> content;
  try {
    if (!file->ReadUpTo(content, kPictureHeadBytes, error)) return false;
    if (content.size() == kPictureHeadBytes && !ReadOnToPictureEnd(*file, content, error)) return false;
  } catch (const std::bad_alloc&) {
    error = RunError::FromNumber(errnum::kOutOfMemory);
    return false;
  } catch (const std::length_error&) {
    error = RunError::FromNumber(errnum::kOutOfMemory);
    return false;
  }
  bytes = std::move(content);
  return true;
}

}  // namespace orvale
