#include "app/document/PictureDecoding.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <new>
#include <optional>

#include "app/document/ImageFileChecks.h"

namespace orvale {

namespace {

// Enough for the largest picture taken in 32-bit colour while decoding.
constexpr int kDecodeAllocationLimitMB = static_cast<int>((kMaxPicturePixels * 4 + (1 << 20) - 1) >> 20);

// Icons and vector pictures are not bitmaps the program can take.
bool IsBitmapKind(const QByteArray& format) {
  return format != "ico" && format != "cur" && format != "svg" && format != "svgz";
}

}  // namespace

PictureDecodeStatus DecodePicture(std::span<const std::uint8_t> bytes, QImage& decoded, PictureSize* claimed) {
  QByteArray raw = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                           static_cast<qsizetype>(bytes.size()));
  QBuffer device(&raw);
  device.open(QIODevice::ReadOnly);
  QImageReader reader(&device);
  reader.setAutoTransform(false);
  reader.setAllocationLimit(kDecodeAllocationLimitMB);
  const QByteArray format = reader.format();
  if (!format.isEmpty() && !IsBitmapKind(format)) return PictureDecodeStatus::NotABitmap;

  // The size the header claims is judged first, before anything is allocated for it,
  // and before Qt turns down a header it finds too large as no picture at all.
  std::optional<PictureSize> size = ReadPictureHeaderSize(bytes);
  if (!size && reader.size().isValid()) size = PictureSize{reader.size().width(), reader.size().height()};
  if (size && claimed != nullptr) *claimed = *size;
  if (size && size->Width >= 0 && !PictureSizeIsWithinLimits(size->Width, size->Height))
    return PictureDecodeStatus::TooLarge;

  if (format.isEmpty()) return PictureDecodeStatus::NotAPicture;
  if (format == "bmp") {
    if (!BitmapFileIsPlausible(bytes)) return PictureDecodeStatus::NotAPicture;
    if (!BitmapDataDescribesPicture(bytes)) return PictureDecodeStatus::BeyondItsData;
  } else if (format == "jpeg") {
    if (!JpegIsComplete(bytes)) return PictureDecodeStatus::NotAPicture;
    if (size && !JpegDataDescribesPicture(*size, bytes.size())) return PictureDecodeStatus::BeyondItsData;
  }

  QImage picture;
  try {
    // Qt's decoder leaves the pixels that run-length codes skip as the memory held
    // them; decoded into a blank picture of its size and kind, which it takes as it
    // is, they stay 0.
    if (size && IsRunLengthCodedBitmap(bytes)) {
      picture = QImage(static_cast<int>(size->Width), static_cast<int>(size->Height), QImage::Format_Indexed8);
      if (picture.isNull()) return PictureDecodeStatus::OutOfMemory;
      picture.fill(0);
    }
    if (!reader.read(&picture)) picture = QImage();
  } catch (const std::bad_alloc&) {
    return PictureDecodeStatus::OutOfMemory;
  }
  if (picture.isNull()) return PictureDecodeStatus::NotAPicture;
  // A format whose header did not tell its size.
  if (!PictureSizeIsWithinLimits(picture.width(), picture.height())) {
    if (claimed != nullptr) *claimed = PictureSize{picture.width(), picture.height()};
    return PictureDecodeStatus::TooLarge;
  }
  decoded = std::move(picture);
  return PictureDecodeStatus::Decoded;
}

}  // namespace orvale
