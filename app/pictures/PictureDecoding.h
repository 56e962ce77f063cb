#pragma once
// Decoding a picture file's bytes with Qt's readers, after the structure checks: only
// the formats whose structure the program checks are decoded, a damaged file is
// refused instead of decoded in part, and nothing is allocated for a picture larger
// than any camera makes, than the file's data can describe or than memory allows for
// its pixels. The decoder itself is held to the budget of PictureBudget.h.
#include <QImage>
#include <cstdint>
#include <span>

#include "app/pictures/ImageFileChecks.h"

namespace orvale {

enum class PictureDecodeStatus {
  Decoded,        // `decoded` holds the picture
  NotAPicture,    // damaged or truncated file, empty picture
  NotABitmap,     // an icon or a drawing
  UnknownFormat,  // not a BMP, JPEG, PNG or GIF picture, whatever its name
  OutOfMemory,
  TooLarge,       // beyond the limits of the largest picture the program takes
  BeyondItsData,  // the picture claims far more pixels than the file's data can describe
  BeyondMemory,   // decoding it would take more memory a pixel than the budget allows
  TooManyScans,   // a JPEG of more scans, or passes over its picture, than any encoder writes
};

// More scans than any encoder writes (about ten), and more passes over the picture: each
// scan takes the decoder a pass over the blocks of its components, so that the time a
// JPEG takes follows its pixels (an encoder's scans pass over the picture about six
// times).
inline constexpr std::uint64_t kMostJpegScans = 300;
inline constexpr std::uint64_t kMostJpegScanPasses = 16;

// What a refused picture claims, for its reason.
struct PictureClaims {
  PictureSize Size;                 // as its header gives it; 0 x 0 when no header told
  std::uint64_t DecodingBytes = 0;  // BeyondMemory: what decoding it would take
  std::uint64_t Scans = 0;          // TooManyScans: its scans
  std::uint64_t ScanPasses = 0;     // TooManyScans: the passes they make over the picture
};

PictureDecodeStatus DecodePicture(std::span<const std::uint8_t> bytes, QImage& decoded,
                                  PictureClaims* claims = nullptr);

}  // namespace orvale
