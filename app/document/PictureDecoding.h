#pragma once
// Decoding a picture file's bytes with Qt's readers, after the structure checks: a
// damaged file is refused instead of decoded in part, and nothing is allocated for a
// picture larger than any camera makes or than the file's data can describe. The
// decoder itself is held to the budget of PictureBudget.h, whatever size it decides to
// allocate.
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
  BeyondItsData,  // the picture claims far more pixels than the file's data can describe
};

// `claimed`, when given, receives the picture's size as its header gives it (with
// TooLarge and BeyondItsData, the size refused; 0 x 0 when the decoder stopped at the
// budget with a size no header told).
PictureDecodeStatus DecodePicture(std::span<const std::uint8_t> bytes, QImage& decoded,
                                  PictureSize* claimed = nullptr);

}  // namespace orvale
