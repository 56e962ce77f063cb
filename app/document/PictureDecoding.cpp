#include "app/document/PictureDecoding.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <new>

#include "app/document/ImageFileChecks.h"

namespace orvale {

namespace {

// Enough for pictures of 256 megapixels in 32-bit colour while decoding; the bitmap
// checks keep absurd headers from getting this far.
constexpr int kDecodeAllocationLimitMB = 1024;

// Icons and vector pictures are not bitmaps the program can take.
bool IsBitmapKind(const QByteArray& format) {
  return format != "ico" && format != "cur" && format != "svg" && format != "svgz";
}

}  // namespace

PictureDecodeStatus DecodePicture(std::span<const std::uint8_t> bytes, QImage& decoded) {
  QByteArray raw = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                           static_cast<qsizetype>(bytes.size()));
  QBuffer device(&raw);
  device.open(QIODevice::ReadOnly);
  QImageReader reader(&device);
  reader.setAutoTransform(false);
  reader.setAllocationLimit(kDecodeAllocationLimitMB);
  const QByteArray format = reader.format();
  if (format.isEmpty()) return PictureDecodeStatus::NotAPicture;
  if (!IsBitmapKind(format)) return PictureDecodeStatus::NotABitmap;
  if ((format == "bmp" && !BitmapFileIsPlausible(bytes)) ||
      (format == "jpeg" && !JpegIsComplete(bytes))) {
    return PictureDecodeStatus::NotAPicture;
  }
  QImage picture;
  try {
    picture = reader.read();
  } catch (const std::bad_alloc&) {
    return PictureDecodeStatus::OutOfMemory;
  }
  if (picture.isNull() ||
      static_cast<std::int64_t>(picture.width()) * picture.height() > kMaxImagePixels) {
    return PictureDecodeStatus::NotAPicture;
  }
  decoded = std::move(picture);
  return PictureDecodeStatus::Decoded;
}

}  // namespace orvale
