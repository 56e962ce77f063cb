#include "app/document/FileBytes.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <algorithm>
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

// Far more than any camera or program puts before a JPEG's frame header (EXIF takes at
// most 64 KB, colour profiles and XMP a few hundred).
constexpr std::uint64_t kMostJpegBytesBeforeFrame = std::uint64_t{16} << 20;

// The most bytes a pixel takes in the formats only Qt reads: plain-text Netpbm writes a
// 16-bit colour pixel in 18 characters.
constexpr std::uint64_t kMostOtherBytesPerPixel = 32;

// The extent of a picture in a format the program does not read itself, when Qt's
// readers know the format its first bytes begin: what the size its reader gives can
// need, nothing beyond the head for a size beyond the limits, and as much as the
// largest picture could need when the reader cannot tell.
std::optional<std::uint64_t> MostBytesOfOtherPicture(const std::vector<std::uint8_t>& head) {
  QByteArray raw = QByteArray::fromRawData(reinterpret_cast<const char*>(head.data()),
                                           static_cast<qsizetype>(head.size()));
  QBuffer device(&raw);
  device.open(QIODevice::ReadOnly);
  QImageReader reader(&device);
  if (reader.format().isEmpty()) return std::nullopt;
  const QSize size = reader.size();
  if (!size.isValid()) return static_cast<std::uint64_t>(kMaxPicturePixels) * kMostOtherBytesPerPixel;
  if (!PictureSizeIsWithinLimits(size.width(), size.height())) return head.size();
  return kPictureHeadBytes +
         static_cast<std::uint64_t>(std::int64_t{size.width()} * size.height()) * kMostOtherBytesPerPixel;
}

// Reads on until a JPEG's frame header is among `content`, the file ends or the bytes
// before it are more than any picture carries.
bool ReadOnToJpegFrameHeader(ReadableFile& file, std::vector<std::uint8_t>& content, RunError& error) {
  while (JpegFrameHeaderMayFollow(content) && content.size() < kMostJpegBytesBeforeFrame) {
    const std::size_t before = content.size();
    if (!file.ReadUpTo(content, std::min<std::uint64_t>(before * 2, kMostJpegBytesBeforeFrame), error))
      return false;
    if (content.size() < before * 2) break;  // the end of the file
  }
  return true;
}

}  // namespace

bool ReadPictureFileBytes(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes,
                          RunError& error) {
  std::optional<ReadableFile> file = ReadableFile::Open(path, &error);
  if (!file) return false;
  std::vector<std::uint8_t> content;
  try {
    if (!file->ReadUpTo(content, kPictureHeadBytes, error)) return false;
    if (!ReadOnToJpegFrameHeader(*file, content, error)) return false;
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
