#pragma once
// Decoding a picture file's bytes with Qt's readers, after the structure checks: only
// the formats whose structure the program checks are decoded, no decoder sees a file
// before the program's own walk of its structure has passed it, a damaged file is
// refused instead of decoded in part, and nothing is allocated for a picture larger
// than any camera makes, than the file's data can describe or than memory allows for
// its pixels. The decoder itself is held to the budget of PictureBudget.h.
#include <QImage>
#include <cstdint>
#include <span>

#include "app/pictures/ImageFileChecks.h"
#include "app/pictures/PictureFileBuffer.h"

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
  TooManyRefinements,  // a JPEG whose scans decode its coefficients more often than any encoder's
};

// More scans than any encoder writes (about ten), and more passes over the picture: each
// scan takes the decoder a pass over the blocks of its components, so that the time a
// JPEG takes follows its pixels (an encoder's scans pass over the picture about six
// times).
inline constexpr std::uint64_t kMostJpegScans = 300;
inline constexpr std::uint64_t kMostJpegScanPasses = 16;

// Each scan of a progressive JPEG decodes every coefficient of its band again, a
// refinement as much as a first scan, however little data it holds (with arithmetic
// coding, nearly none). The usual scripts decode each coefficient 2 to 3 times (4:4:4
// colour 2.33, grey 2.98); a picture may take at most 1.5 times the 4:4:4 script's:
// 3.5 times, in 64ths.
inline constexpr std::uint64_t kMostJpegCoefficientSixtyFourths = 224;

// What a refused picture claims, for its reason.
struct PictureClaims {
  PictureSize Size;                 // as its header gives it; 0 x 0 when no header told
  std::uint64_t DecodingBytes = 0;  // BeyondMemory: what decoding it would take
  std::uint64_t Scans = 0;          // TooManyScans: its scans
  std::uint64_t ScanPasses = 0;     // TooManyScans: the passes they make over the picture
  std::uint64_t CoefficientSixtyFourths = 0;  // TooManyRefinements: each coefficient's decodings, in 64ths
};

PictureDecodeStatus DecodePicture(std::span<const std::uint8_t> bytes, QImage& decoded,
                                  PictureClaims* claims = nullptr);

// The same for a file's bytes held in a buffer, which the decoder lets go as it reads
// them: the buffer holds nothing of use afterwards.
PictureDecodeStatus DecodePicture(PictureFileBuffer& bytes, QImage& decoded, PictureClaims* claims = nullptr);

}  // namespace orvale
