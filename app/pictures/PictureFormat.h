#pragma once
// The format of a picture file, told by its first bytes alone, whatever its name says.
// The program decodes only the formats whose structure it checks before decoding.
#include <cstdint>
#include <span>

namespace orvale {

enum class PictureFormat {
  Bmp,       // "BM", with or without run-length codes
  Jpeg,      // FF D8 FF
  Png,       // the 8-byte PNG signature
  Gif,       // "GIF87a" or "GIF89a"
  Icon,      // an icon or cursor: no bitmap the program takes
  Metafile,  // a Windows metafile or SVG drawing: no bitmap either
  Other,     // anything else, including too few bytes to tell
};

PictureFormat PictureFormatOf(std::span<const std::uint8_t> head);

// True for the formats the program decodes.
constexpr bool IsDecodedPictureFormat(PictureFormat format) {
  return format == PictureFormat::Bmp || format == PictureFormat::Jpeg || format == PictureFormat::Png ||
         format == PictureFormat::Gif;
}

}  // namespace orvale
