#include "app/document/ImageLoader.h"

#include <QImage>

#include <array>
#include <new>
#include <string>

#include "app/document/FileBytes.h"
#include "app/document/GreyBitmapInfo.h"
#include "app/document/GreyConversion.h"
#include "app/document/PictureDecoding.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

void ShowError(const std::string& text) { ShowMessage(text, mb::kOk, "Error"); }

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
  if (!ReadFileBytes(filename, bytes, error)) return openFailed(error.Description);

  QImage decoded;
  switch (DecodePicture(bytes, decoded)) {
    case PictureDecodeStatus::Decoded:
      break;
    case PictureDecodeStatus::NotABitmap:
      if (!suppressError) ShowError("Could not load image file " + filename.string());
      return ImageLoadStatus::NotABitmap;
    case PictureDecodeStatus::OutOfMemory:
      return openFailed(outOfMemory);
    case PictureDecodeStatus::NotAPicture:
      return openFailed(notAPicture);
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
