#include "app/pictures/PictureDecoding.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <algorithm>
#include <cstring>
#include <new>
#include <optional>

#include "app/pictures/DecoderAllocationLimit.h"
#include "app/pictures/ImageFileChecks.h"
#include "app/pictures/PictureBudget.h"
#include "app/pictures/PictureFormat.h"
#include "app/pictures/PngRowData.h"

namespace orvale {

namespace {

const char* QtFormatName(PictureFormat format) {
  switch (format) {
    case PictureFormat::Bmp: return "bmp";
    case PictureFormat::Jpeg: return "jpeg";
    case PictureFormat::Png: return "png";
    default: return "gif";
  }
}

// The bytes a JPEG's decoder holds at once when it keeps every coefficient: those,
// beside the picture it fills (grey, or 32-bit colour). 0 for a JPEG of one scan.
std::uint64_t CostlyDecodingBytes(const CodedPictureStructure& structure) {
  if (structure.KeptCoefficientBytes == 0 || !structure.Size) return 0;
  const std::uint64_t pixelBytes = structure.Components == 1 ? 1 : 4;
  return structure.KeptCoefficientBytes +
         static_cast<std::uint64_t>(structure.Size->Width * structure.Size->Height) * pixelBytes;
}

// Hands a decoder the bytes of a buffer and lets go of those it has read, but for the
// last stretch, which a decoder may step back into (libjpeg's source hands back what it
// did not use). A step back further is refused, never answered with bytes let go.
class LettingGoDevice : public QIODevice {
 public:
  explicit LettingGoDevice(PictureFileBuffer& buffer) : buffer_(buffer) {
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
  }
  qint64 size() const override { return static_cast<qint64>(buffer_.Size()); }
  bool seek(qint64 pos) override {
    if (pos < 0 || static_cast<std::uint64_t>(pos) < buffer_.LetGo()) return false;
    return QIODevice::seek(pos);
  }

 protected:
  qint64 readData(char* data, qint64 maxSize) override {
    const auto at = static_cast<std::size_t>(pos());
    if (at < buffer_.LetGo()) return -1;
    const std::span<const std::uint8_t> bytes = buffer_.Bytes();
    if (at >= bytes.size()) return 0;
    const auto count = static_cast<std::size_t>(std::min<qint64>(maxSize, static_cast<qint64>(bytes.size() - at)));
    std::memcpy(data, bytes.data() + at, count);
    if (at + count > kKeptBehind) buffer_.LetGoBefore(at + count - kKeptBehind);
    return static_cast<qint64>(count);
  }
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  static constexpr std::size_t kKeptBehind = std::size_t{1} << 20;
  PictureFileBuffer& buffer_;
};

bool IsBeyondLimits(const std::optional<PictureSize>& size) {
  return size && size->Width >= 0 && !PictureSizeIsWithinLimits(size->Width, size->Height);
}

// Decodes `bytes`, read by the decoder from `device`.
PictureDecodeStatus Decode(std::span<const std::uint8_t> bytes, QIODevice& device, QImage& decoded,
                           PictureClaims* claims) {
  const PictureFormat format = PictureFormatOf(bytes);
  if (format == PictureFormat::Icon || format == PictureFormat::Metafile) return PictureDecodeStatus::NotABitmap;
  if (!IsDecodedPictureFormat(format)) return PictureDecodeStatus::UnknownFormat;

  PictureClaims refused;
  const auto refuse = [&](PictureDecodeStatus status) {
    if (claims != nullptr) *claims = refused;
    return status;
  };
  // Everything the program's own walk of the structure can tell is judged before any
  // decoder sees a byte: a decoder allocates what a header or a chunk declares before
  // it finds that the file does not hold it.
  const CodedPictureStructure structure = InspectPictureFile(bytes);
  if (structure.Size) refused.Size = *structure.Size;
  if (IsBeyondLimits(structure.Size)) return refuse(PictureDecodeStatus::TooLarge);
  if (structure.Refused || structure.CutShort) return PictureDecodeStatus::NotAPicture;
  if (format == PictureFormat::Bmp && (!BitmapFileIsPlausible(bytes) || !RunLengthCodesAreSound(bytes)))
    return PictureDecodeStatus::NotAPicture;
  // Their decoders refuse a JPEG or PNG without its end, after allocating the picture.
  if ((format == PictureFormat::Jpeg || format == PictureFormat::Png) && !structure.Complete)
    return PictureDecodeStatus::NotAPicture;
  if (structure.Scans > kMostJpegScans || structure.ScanPasses > kMostJpegScanPasses) {
    refused.Scans = structure.Scans;
    refused.ScanPasses = structure.ScanPasses;
    return refuse(PictureDecodeStatus::TooManyScans);
  }
  if (structure.CoefficientSixtyFourths > kMostJpegCoefficientSixtyFourths) {
    refused.CoefficientSixtyFourths = structure.CoefficientSixtyFourths;
    return refuse(PictureDecodeStatus::TooManyRefinements);
  }
  const std::int64_t allowed = AllowedPicturePixels(structure.CodingBytes);
  if (structure.Size && structure.Size->Width * structure.Size->Height > allowed)
    return refuse(PictureDecodeStatus::BeyondItsData);
  if (structure.Size && structure.Size->Width * structure.Size->Height > kCostlyCodingFloor) {
    const std::uint64_t decoding = CostlyDecodingBytes(structure);
    if (decoding > static_cast<std::uint64_t>(structure.Size->Width * structure.Size->Height * kMostDecodingBytesPerPixel)) {
      refused.DecodingBytes = decoding;
      return refuse(PictureDecodeStatus::BeyondMemory);
    }
  }
  // The decoder inflates all of a PNG's stream, whatever follows its last row.
  if (format == PictureFormat::Png && !PngImageDataHoldsItsRows(bytes)) return PictureDecodeStatus::NotAPicture;

  // Told the format, so that no reader of another one (Qt's extra plug-ins read TIFF,
  // WebP, MNG and more) takes the bytes instead.
  QImageReader reader(&device, QtFormatName(format));
  reader.setAutoDetectImageFormat(false);
  reader.setAutoTransform(false);
  // The decoder's own reading of the size is judged too, before anything is allocated
  // for it, and before Qt turns down a header it finds too large as no picture at all.
  if (const QSize size = reader.size(); size.isValid()) {
    const PictureSize decoders{size.width(), size.height()};
    if (!structure.Size) refused.Size = decoders;
    if (IsBeyondLimits(decoders)) {
      refused.Size = decoders;
      return refuse(PictureDecodeStatus::TooLarge);
    }
    if (decoders.Width * decoders.Height > allowed) {
      refused.Size = decoders;
      return refuse(PictureDecodeStatus::BeyondItsData);
    }
  }

  QImage picture;
  DecoderAllocationLimit limit(allowed);
  const std::int64_t needed = DecoderAllocationLimit::BytesNeeded(reader);
  try {
    // Qt's decoder leaves the pixels that run-length codes skip as the memory held
    // them; decoded into a blank picture of its size and kind, which it takes as it
    // is, they stay 0.
    if (structure.Size && IsRunLengthCodedBitmap(bytes)) {
      picture = QImage(static_cast<int>(structure.Size->Width), static_cast<int>(structure.Size->Height),
                       QImage::Format_Indexed8);
      if (picture.isNull()) return PictureDecodeStatus::OutOfMemory;
      picture.fill(0);
    }
    if (!reader.read(&picture)) picture = QImage();
  } catch (const std::bad_alloc&) {
    return PictureDecodeStatus::OutOfMemory;
  }
  if (picture.isNull()) {
    if (!limit.Stopped(needed)) return PictureDecodeStatus::NotAPicture;
    refused.DecodingBytes = static_cast<std::uint64_t>(needed);
    return refuse(PictureDecodeStatus::BeyondMemory);
  }
  // A format whose header did not tell its size.
  if (!PictureSizeIsWithinLimits(picture.width(), picture.height())) {
    refused.Size = PictureSize{picture.width(), picture.height()};
    return refuse(PictureDecodeStatus::TooLarge);
  }
  decoded = std::move(picture);
  return PictureDecodeStatus::Decoded;
}

}  // namespace

PictureDecodeStatus DecodePicture(std::span<const std::uint8_t> bytes, QImage& decoded, PictureClaims* claims) {
  QByteArray raw = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                           static_cast<qsizetype>(bytes.size()));
  QBuffer device(&raw);
  device.open(QIODevice::ReadOnly);
  return Decode(bytes, device, decoded, claims);
}

PictureDecodeStatus DecodePicture(PictureFileBuffer& bytes, QImage& decoded, PictureClaims* claims) {
  // The JPEG and PNG decoders read on from their header to the end; Qt's GIF decoder
  // goes over the whole file for its size and back, and a bitmap's pixels are no more
  // than its decoded picture.
  const PictureFormat format = PictureFormatOf(bytes.Bytes());
  if (format != PictureFormat::Jpeg && format != PictureFormat::Png) return DecodePicture(bytes.Bytes(), decoded, claims);
  LettingGoDevice device(bytes);
  return Decode(bytes.Bytes(), device, decoded, claims);
}

}  // namespace orvale
