#include "app/pictures/PictureFileBytes.h"

#include <algorithm>
#include <new>
#include <optional>
#include <stdexcept>
#include <utility>

#include "app/pictures/CodedPictureStructure.h"
#include "app/pictures/ImageFileChecks.h"
#include "platform/runtime/ReadableFile.h"

namespace orvale {

namespace {

// Enough for every header the program reads and every format it tells apart.
constexpr std::uint64_t kPictureHeadBytes = 64 * 1024;

// Reads on, doubling what is read each time, until the picture's end is among
// `content`, its structure is found damaged, the file ends or `content` holds what
// the picture can need.
bool ReadOnToPictureEnd(ReadableFile& file, PictureFileBuffer& content, RunError& error) {
  CodedPictureWalk walk(content.Bytes());
  for (;;) {
    const CodedPictureStructure walked = walk.Continue(content.Bytes());
    if (walked.Complete) return true;
    const std::uint64_t extent = MostBytesOfPictureFile(content.Bytes(), walked);
    if (content.Size() >= extent) return true;
    const std::uint64_t wanted =
        std::min<std::uint64_t>(extent, std::max<std::uint64_t>(2 * content.Size(), kPictureHeadBytes));
    // Room for all the picture can need that the file holds, at once; only what is
    // read of it takes memory.
    const std::uint64_t room = std::min(extent, file.SizeWhenOpened());
    if (!content.Reserve(static_cast<std::size_t>(room))) {
      error = RunError::FromNumber(errnum::kOutOfMemory);
      return false;
    }
    if (!content.ReadFrom(file, wanted, error)) return false;
    if (content.Size() < wanted) return true;  // the end of the file
  }
}

}  // namespace

bool ReadPictureFile(const std::filesystem::path& path, PictureFileBuffer& bytes, RunError& error) {
  std::optional<ReadableFile> file = ReadableFile::Open(path, &error);
  if (!file) return false;
  PictureFileBuffer content;
  try {
    if (!content.ReadFrom(*file, kPictureHeadBytes, error)) return false;
    if (content.Size() == kPictureHeadBytes && !ReadOnToPictureEnd(*file, content, error)) return false;
  } catch (const std::bad_alloc&) {
    error = RunError::FromNumber(errnum::kOutOfMemory);
    return false;
  }
  bytes = std::move(content);
  return true;
}

bool ReadPictureFileBytes(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes,
                          RunError& error) {
  PictureFileBuffer content;
  if (!ReadPictureFile(path, content, error)) return false;
  try {
    bytes.assign(content.Bytes().begin(), content.Bytes().end());
  } catch (const std::bad_alloc&) {
    error = RunError::FromNumber(errnum::kOutOfMemory);
    return false;
  } catch (const std::length_error&) {
    error = RunError::FromNumber(errnum::kOutOfMemory);
    return false;
  }
  return true;
}

}  // namespace orvale
