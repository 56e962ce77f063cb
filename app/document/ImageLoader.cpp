#include "app/document/ImageLoader.h"

#include <QImage>

#include <array>
#include <new>
#include <string>

#include "app/document/FileBytes.h"
#include "app/document/GreyBitmapInfo.h"
#include "app/document/GreyConversion.h"
#include "app/document/ImageFileChecks.h"
#include "app/document/PictureDecoding.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

void ShowError(const std::string& text) { ShowMessage(text, mb::kOk, "Error"); }

std::string SizeText(const PictureSize& size) {
  return std::to_string(size.Width) + " x " + std::to_string(size.Height);
}

// The second line of "Could not open image file": why a picture was refused unread.
std::string TooLargeReason(const PictureSize& size) {
  return "\nThe picture is " + SizeText(size) + " pixels; the program opens pictures of at most " +
         std::to_string(kMaxPictureSide) + " pixels on a side and " +
         std::to_string(kMaxPicturePixels / 1'000'000) + " million pixels in all.";
}

std::string BeyondItsDataReason(const PictureSize& size) {
  if (size.Width <= 0 || size.Height <= 0) return "\nIt claims far more pixels than its data describes.";
  return "\nIts header claims " + SizeText(size) + " pixels, far more than its data describes.";
}

// The decoded picture as bitmap pixels. `keep` holds any converted copy and the colour
// table the pixels refer to.
struct PicturePixels {
  QImage keep;
  std::array<gdi::RgbQuad, gdi::kColorTableSize> table{};
  BitmapPixels pixels;
};

// False when a needed format conversion ran out of memory.
bool Describe(const QImage& decoded, PicturePixels& out) {
  QImage image = decoded;
  switch (image.format()) {
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
      break;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
      image = image.convertToFormat(QImage::Format_Indexed8);
      break;
    default:
      image = image.convertToFormat(QImage::Format_RGB32);
      break;
  }
  if (image.isNull()) return false;
  BitmapPixels& p = out.pixels;
  p.Width = image.width();
  p.Height = image.height();
  if (image.format() == QImage::Format_Indexed8) {
    const QList<QRgb> colors = image.colorTable();
    for (qsizetype i = 0; i < colors.size() && i < 256; ++i) {
      out.table[static_cast<std::size_t>(i)] =
          gdi::RgbQuad{static_cast<std::uint8_t>(qBlue(colors[i])),
                       static_cast<std::uint8_t>(qGreen(colors[i])),
                       static_cast<std::uint8_t>(qRed(colors[i])), 0};
    }
    p.BitCount = 8;
  } else if (image.format() == QImage::Format_Grayscale8) {
    out.table = GreyBitmapInfo(0, 0, 0).colors;
    p.BitCount = 8;
  } else {
    p.BitCount = 32;  // 0xAARRGGBB words: blue, green, red, alpha bytes
  }
  p.ColorTable = out.table;
  p.Bits = std::span<const std::uint8_t>(image.constBits(), static_cast<std::size_t>(image.sizeInBytes()));
  p.Stride = image.bytesPerLine();
  p.TopDown = true;
  out.keep = image;
  return true;
}

}  // namespace

ImageLoadStatus LoadFileIntoDataBuffer(const std::filesystem::path& filename, bool suppressError,
                                       LoadedImage& image) {
  const auto openFailed = [&](const std::string& text) {
    if (!suppressError) ShowError(text);
    return ImageLoadStatus::OpenFailed;
  };
  const std::string notAPicture = "Could not open image file " + filename.string();
  const std::string outOfMemory = RunError::StandardDescription(errnum::kOutOfMemory);

  std::vector<std::uint8_t> bytes;
  RunError error;
  if (!ReadPictureFileBytes(filename, bytes, error)) return openFailed(error.Description);

  QImage decoded;
  PictureSize claimed;
  switch (DecodePicture(bytes, decoded, &claimed)) {
    case PictureDecodeStatus::Decoded:
      break;
    case PictureDecodeStatus::NotABitmap:
      if (!suppressError) ShowError("Could not load image file " + filename.string());
      return ImageLoadStatus::NotABitmap;
    case PictureDecodeStatus::OutOfMemory:
      return openFailed(outOfMemory);
    case PictureDecodeStatus::NotAPicture:
      return openFailed(notAPicture);
    case PictureDecodeStatus::TooLarge:
      return openFailed(notAPicture + TooLargeReason(claimed));
    case PictureDecodeStatus::BeyondItsData:
      return openFailed(notAPicture + BeyondItsDataReason(claimed));
  }

  LoadedImage loaded;
  PicturePixels picture;
  try {
    if (!Describe(decoded, picture)) return openFailed(outOfMemory);
    loaded.Data.resize(static_cast<std::size_t>(decoded.width()) *
                       static_cast<std::size_t>(decoded.height()));
  } catch (const std::bad_alloc&) {
    return openFailed(outOfMemory);
  }
  if (!BitmapToImageData(picture.pixels, loaded.Data, picture.pixels.Width, picture.pixels.Height)) {
    ShowError("Could not read bitmap");
    return ImageLoadStatus::ConversionFailed;
  }
  loaded.Width = picture.pixels.Width;
  loaded.Height = picture.pixels.Height;
  image = std::move(loaded);
  return ImageLoadStatus::Loaded;
}

}  // namespace orvale
