#pragma once
// Decoding a picture file's bytes with Qt's readers, after the structure checks: a
// damaged file is refused instead of decoded in part, and nothing is allocated for a
// picture larger than any camera makes or than the file's data describes.
#include <QImage>
#include <cstdint>
#include <span>

#include "app/document/ImageFileChecks.h"

namespace orvale {

enum class PictureDecodeStatus {
  Decoded,      // `decoded` holds the picture
  NotAPicture,    // unknown format, damaged or truncated file, empty picture
  NotABitmap,     // an icon or a vector picture
  OutOfMemory,
  TooLarge,       // beyond the limits of the largest picture the program takes
  BeyondItsData,  // the header claims far more pixels than the file's data describes
};

// `claimed`, when given, receives the picture's size as its header gives it (with
// TooLarge and BeyondItsData, the size refused).
PictureDecodeStatus DecodePicture(std::span<const std::uint8_t> bytes, QImage& decoded,
                                  PictureSize* claimed = nullptr);

}  // namespace orvale
