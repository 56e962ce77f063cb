#pragma once
// Decoding a picture file's bytes with Qt's readers, after the structure checks: a
// damaged file is refused instead of decoded in part, and nothing is allocated for
// sizes the file cannot hold.
#include <QImage>
#include <cstdint>
#include <span>

namespace orvale {

enum class PictureDecodeStatus {
  Decoded,      // `decoded` holds the picture
  NotAPicture,  // unknown format, damaged or truncated file, empty or oversized picture
  NotABitmap,   // an icon or a vector picture
  OutOfMemory,
};

PictureDecodeStatus DecodePicture(std::span<const std::uint8_t> bytes, QImage& decoded);

}  // namespace orvale
