#pragma once
// The one budget a picture file is decoded within: how many pixels its data may make.
// Coded formats can claim any size in a few bytes, and a decoder allocates what the
// file claims before it finds out that the data does not fill it.
//
// Every picture up to the floor opens whatever little data it takes: a dark camera
// frame of 60 megapixels codes in well under a megabyte. What a picture costs follows
// the pixels it holds (at most about 12 bytes a pixel, decoded in the costliest way the
// program takes), so that a few bytes claiming the floor cost no more than an honest
// picture of that size. Beyond the floor each coding byte buys
// kPicturePixelsPerCodingByte pixels: a progressive JPEG of a black frame codes about
// 256 pixels a byte, a 100-megapixel grey JPEG of fringes at quality 90 about 50.
#include <cstdint>

namespace orvale {

inline constexpr std::int64_t kPicturePixelsFloor = std::int64_t{64} << 20;  // 8192 x 8192
inline constexpr std::int64_t kPicturePixelsPerCodingByte = 256;

// The pixels a picture file whose data codes in `codingBytes` may decode to; never more
// than the absolute limits of ImageFileChecks.h.
std::int64_t AllowedPicturePixels(std::uint64_t codingBytes);

// The most bytes a pixel the decoders of the program's formats allocate: 16-bit RGBA.
// Qt's readers are held to the budget's pixels at this depth, so that every picture
// the budget allows decodes.
inline constexpr std::int64_t kMostDecodedBytesPerPixel = 8;

// A decoder that keeps every coefficient of a JPEG (progressive, or components in scans
// of their own) holds them beside the picture it fills. Above kCostlyCodingFloor pixels
// a picture may take no more than this a pixel that way (4:4:4 colour takes 10; 4:4:4
// CMYK 12, which with the program's own copy would pass 12).
inline constexpr std::int64_t kMostDecodingBytesPerPixel = 11;
inline constexpr std::int64_t kCostlyCodingFloor = std::int64_t{16} << 20;  // 4096 x 4096

// A document whose picture is missing is drawn on a blank picture of the size its file
// gives. Nothing is decoded for it, but the program still works on its extent; beyond
// this a few bytes of document would cost the program more than any picture may.
inline constexpr std::int64_t kMostBlankPicturePixels = kPicturePixelsFloor;

}  // namespace orvale
