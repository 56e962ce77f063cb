#include "app/document/FileBytes.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <new>
#include <optional>
#include <stdexcept>
#include <utility>

#include "app/document/ImageFileChecks.h"
#include "platform/runtime/ReadableFile.h"

namespace orvale {

namespace {

// Enough for every header the program reads, and for Qt to tell any format it knows.
constexpr std::uint64_t kPictureHeadBytes = 64 * 1024;

// The extent of a picture in a format the program does not read itself, when Qt's
// readers know the format its first bytes begin.
std::optional<std::uint64_t> MostBytesOfOtherPicture(const std::vector<std::uint8_t>& head) {
  QByteArray raw = QByteArray::fromRawData(reinterpret_cast<const char*>(head.data()),
                                           static_cast<qsizetype>(head.size()));
  QBuffer device(&raw);
  device.open(QIODevice::ReadOnly);
  if (QImageReader::imageFormat(&device).isEmpty()) return std::nullopt;
  // Uncompressed 16-bit RGBA of the largest picture the program takes.
  return static_cast<std::uint64_t>(kMaxPicturePixels) * 8 + kPictureHeadBytes;
}

}  // namespace

bool ReadPictureFileBytes(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes,
                          RunError& error) {
  std::optional<ReadableFile> file = ReadableFile::Open(path, &error);
  if (!file) return false;
  std::vector<std::uint8_t> content;
  try {
    if (!file->ReadUpTo(content, kPictureHeadBytes, error)) return false;
    std::optional<std::uint64_t> extent = MostBytesOfPictureFile(content);
    if (!extent) extent = MostBytesOfOtherPicture(content);
    if (extent && !file->ReadUpTo(content, *extent, error)) return false;
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
