#include "app/pictures/ImageLoader.h"

#include <QImage>

#include <algorithm>
#include <array>
#include <new>
#include <string>

#include "app/pictures/PictureFileBytes.h"
#include "app/pictures/GreyBitmapInfo.h"
#include "app/pictures/GreyConversion.h"
#include "app/pictures/ImageFileChecks.h"
#include "app/pictures/PictureDecoding.h"
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
  return "\nIts header claims " + SizeText(size) + " pixels, far more than its data describes.";
}

std::string BeyondMemoryReason(const PictureClaims& claims) {
  const std::string pixels = claims.Size.Width > 0 && claims.Size.Height > 0 ? "its " + SizeText(claims.Size) + " pixels" : "it";
  return "\nDecoding " + pixels + " would take " + std::to_string((claims.DecodingBytes + 999'999) / 1'000'000) +
         " MB, more than the program allows for a picture of that size.";
}

std::string TooManyScansReason(const PictureClaims& claims) {
  return "\nIts picture is coded in " + std::to_string(claims.Scans) + " scans, " + std::to_string(claims.ScanPasses) +
         " passes over it; the program opens JPEG pictures of at most " + std::to_string(kMostJpegScans) + " scans and " +
         std::to_string(kMostJpegScanPasses) + " passes.";
}

std::string TooManyRefinementsReason(const PictureClaims& claims) {
  const auto times = [](std::uint64_t sixtyFourths) {
    const std::uint64_t tenths = (sixtyFourths * 10 + 63) / 64;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
  };
  return "\nIts scans decode each coefficient of its picture " + times(claims.CoefficientSixtyFourths) +
         " times; the program opens JPEG pictures whose scans decode each at most " +
         times(kMostJpegCoefficientSixtyFourths) + " times.";
}

constexpr const char* kUnknownFormatReason = "\nIt is not a BMP, JPEG, PNG or GIF picture.";

// The formats whose pixels the grey conversion reads as they are.
bool IsReadAsItIs(QImage::Format format) {
  return format == QImage::Format_Indexed8 || format == QImage::Format_Grayscale8 ||
         format == QImage::Format_RGB32 || format == QImage::Format_ARGB32;
}

// `image` (of a format read as it is) as bitmap pixels; `table` holds the colour table
// they refer to.
BitmapPixels PixelsOf(const QImage& image, std::array<gdi::RgbQuad, gdi::kColorTableSize>& table) {
  BitmapPixels p;
  p.Width = image.width();
  p.Height = image.height();
  if (image.format() == QImage::Format_Indexed8) {
    table.fill(gdi::RgbQuad{});
    const QList<QRgb> colors = image.colorTable();
    for (qsizetype i = 0; i < colors.size() && i < 256; ++i) {
      table[static_cast<std::size_t>(i)] = gdi::RgbQuad{static_cast<std::uint8_t>(qBlue(colors[i])),
                                                        static_cast<std::uint8_t>(qGreen(colors[i])),
                                                        static_cast<std::uint8_t>(qRed(colors[i])), 0};
    }
    p.BitCount = 8;
  } else if (image.format() == QImage::Format_Grayscale8) {
    table = GreyBitmapInfo(0, 0, 0).colors;
    p.BitCount = 8;
  } else {
    p.BitCount = 32;  // 0xAARRGGBB words: blue, green, red, alpha bytes
  }
  p.ColorTable = table;
  p.Bits = std::span<const std::uint8_t>(image.constBits(), static_cast<std::size_t>(image.sizeInBytes()));
  p.Stride = image.bytesPerLine();
  p.TopDown = true;
  return p;
}

enum class GreyConversion { Converted, OutOfMemory, Failed };

// The decoded picture to grey in `data` (its width x height bytes). A format the
// conversion does not read as it is goes over in strips of rows, so that no whole
// second copy of a deep picture is made: 1-bit pictures as 8-bit ones, any other as
// 32-bit colour.
GreyConversion ConvertToGrey(const QImage& decoded, std::span<std::uint8_t> data) {
  std::array<gdi::RgbQuad, gdi::kColorTableSize> table{};
  const int width = decoded.width();
  const int height = decoded.height();
  if (IsReadAsItIs(decoded.format())) {
    return BitmapToImageData(PixelsOf(decoded, table), data, width, height) ? GreyConversion::Converted
                                                                            : GreyConversion::Failed;
  }
  const bool mono = decoded.format() == QImage::Format_Mono || decoded.format() == QImage::Format_MonoLSB;
  constexpr int kStripRows = 64;
  for (int y = 0; y < height; y += kStripRows) {
    const int rows = std::min(kStripRows, height - y);
    const QImage strip =
        decoded.copy(0, y, width, rows).convertToFormat(mono ? QImage::Format_Indexed8 : QImage::Format_RGB32);
    if (strip.isNull()) return GreyConversion::OutOfMemory;
    const std::size_t first = static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    const std::size_t count = static_cast<std::size_t>(rows) * static_cast<std::size_t>(width);
    if (!BitmapToImageData(PixelsOf(strip, table), data.subspan(first, count), width, rows))
      return GreyConversion::Failed;
  }
  return GreyConversion::Converted;
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

  PictureFileBuffer bytes;
  RunError error;
  if (!ReadPictureFile(filename, bytes, error)) return openFailed(error.Description);

  QImage decoded;
  PictureClaims claims;
  switch (DecodePicture(bytes, decoded, &claims)) {
    case PictureDecodeStatus::Decoded:
      break;
    case PictureDecodeStatus::NotABitmap:
      if (!suppressError) ShowError("Could not load image file " + filename.string());
      return ImageLoadStatus::NotABitmap;
    case PictureDecodeStatus::OutOfMemory:
      return openFailed(outOfMemory);
    case PictureDecodeStatus::NotAPicture:
      return openFailed(notAPicture);
    case PictureDecodeStatus::UnknownFormat:
      return openFailed(notAPicture + kUnknownFormatReason);
    case PictureDecodeStatus::TooLarge:
      return openFailed(notAPicture + TooLargeReason(claims.Size));
    case PictureDecodeStatus::BeyondItsData:
      return openFailed(notAPicture + BeyondItsDataReason(claims.Size));
    case PictureDecodeStatus::BeyondMemory:
      return openFailed(notAPicture + BeyondMemoryReason(claims));
    case PictureDecodeStatus::TooManyScans:
      return openFailed(notAPicture + TooManyScansReason(claims));
    case PictureDecodeStatus::TooManyRefinements:
      return openFailed(notAPicture + TooManyRefinementsReason(claims));
  }
  bytes = {};  // what is left of the file's bytes is no longer needed

  LoadedImage loaded;
  GreyConversion conversion = GreyConversion::OutOfMemory;
  try {
    loaded.Data.resize(static_cast<std::size_t>(decoded.width()) * static_cast<std::size_t>(decoded.height()));
    conversion = ConvertToGrey(decoded, loaded.Data);
  } catch (const std::bad_alloc&) {
    conversion = GreyConversion::OutOfMemory;
  }
  if (conversion == GreyConversion::OutOfMemory) return openFailed(outOfMemory);
  if (conversion == GreyConversion::Failed) {
    ShowError("Could not read bitmap");
    return ImageLoadStatus::ConversionFailed;
  }
  loaded.Width = decoded.width();
  loaded.Height = decoded.height();
  image = std::move(loaded);
  return ImageLoadStatus::Loaded;
}

}  // namespace orvale
