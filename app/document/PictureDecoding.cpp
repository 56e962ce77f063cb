#include "app/document/PictureDecoding.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QtGlobal>
#include <atomic>
#include <cstring>
#include <new>
#include <optional>

#include "app/document/ImageFileChecks.h"
#include "app/document/PictureBudget.h"

namespace orvale {

namespace {

// Icons and vector pictures are not bitmaps the program can take.
bool IsBitmapKind(const QByteArray& format) {
  return format != "ico" && format != "cur" && format != "svg" && format != "svgz";
}

// Holds Qt's image readers to a number of pixels while it lives, and notices when a
// reader turned a picture down for it. Qt counts every pixel as at least 32 bits, and
// its readers report nothing but a warning when they stop at the limit.
class DecoderBudget {
 public:
  explicit DecoderBudget(std::int64_t pixels) : previousLimit_(QImageReader::allocationLimit()) {
    constexpr std::int64_t kMegabyte = std::int64_t{1} << 20;
    QImageReader::setAllocationLimit(static_cast<int>((pixels * 4 + kMegabyte - 1) / kMegabyte));
    active_ = this;
    previousHandler_ = qInstallMessageHandler(&Notice);
  }
  ~DecoderBudget() {
    qInstallMessageHandler(previousHandler_);
    active_ = nullptr;
    QImageReader::setAllocationLimit(previousLimit_);
  }
  DecoderBudget(const DecoderBudget&) = delete;
  DecoderBudget& operator=(const DecoderBudget&) = delete;

  bool Exceeded() const { return exceeded_; }

 private:
  static void Notice(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    DecoderBudget* budget = active_;
    if (budget == nullptr) return;
    if (context.category != nullptr && std::strcmp(context.category, "qt.gui.imageio") == 0 &&
        message.contains(QLatin1String("allocation limit"))) {
      budget->exceeded_ = true;  // reported as the picture's own refusal instead
      return;
    }
    if (budget->previousHandler_ != nullptr) budget->previousHandler_(type, context, message);
  }

  static inline std::atomic<DecoderBudget*> active_{nullptr};
  int previousLimit_;
  QtMessageHandler previousHandler_ = nullptr;
  std::atomic<bool> exceeded_{false};
};

}  // namespace

PictureDecodeStatus DecodePicture(std::span<const std::uint8_t> bytes, QImage& decoded, PictureSize* claimed) {
  QByteArray raw = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                           static_cast<qsizetype>(bytes.size()));
  QBuffer device(&raw);
  device.open(QIODevice::ReadOnly);
  QImageReader reader(&device);
  reader.setAutoTransform(false);
  const QByteArray format = reader.format();
  if (!format.isEmpty() && !IsBitmapKind(format)) return PictureDecodeStatus::NotABitmap;

  const auto refuse = [claimed](PictureDecodeStatus status, const PictureSize& size) {
    if (claimed != nullptr) *claimed = size;
    return status;
  };
  // Both the size our reading of the header gives and the decoder's own are judged,
  // before anything is allocated for either, and before Qt turns down a header it
  // finds too large as no picture at all.
  const CodedPictureStructure structure = InspectPictureFile(bytes);
  std::optional<PictureSize> decoders;
  if (const QSize size = reader.size(); !format.isEmpty() && size.isValid()) decoders = PictureSize{size.width(), size.height()};
  const std::optional<PictureSize> sizes[] = {structure.Size, decoders};
  const std::optional<PictureSize>& known = structure.Size ? structure.Size : decoders;
  if (known && claimed != nullptr) *claimed = *known;
  for (const std::optional<PictureSize>& size : sizes) {
    if (size && size->Width >= 0 && !PictureSizeIsWithinLimits(size->Width, size->Height))
      return refuse(PictureDecodeStatus::TooLarge, *size);
  }

  if (format.isEmpty()) return PictureDecodeStatus::NotAPicture;
  if (format == "bmp" && (!BitmapFileIsPlausible(bytes) || !RunLengthCodesAreSound(bytes)))
    return PictureDecodeStatus::NotAPicture;
  if (format == "jpeg" && !structure.Complete) return PictureDecodeStatus::NotAPicture;

  const std::int64_t allowed = AllowedPicturePixels(structure.CodingBytes);
  for (const std::optional<PictureSize>& size : sizes) {
    if (size && size->Width * size->Height > allowed) return refuse(PictureDecodeStatus::BeyondItsData, *size);
  }

  QImage picture;
  DecoderBudget budget(allowed);
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
    if (budget.Exceeded()) return refuse(PictureDecodeStatus::BeyondItsData, known.value_or(PictureSize{}));
    return PictureDecodeStatus::NotAPicture;
  }
  // A format whose header did not tell its size.
  if (!PictureSizeIsWithinLimits(picture.width(), picture.height()))
    return refuse(PictureDecodeStatus::TooLarge, PictureSize{picture.width(), picture.height()});
  decoded = std::move(picture);
  return PictureDecodeStatus::Decoded;
}

}  // namespace orvale
