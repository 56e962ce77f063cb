#pragma once
// The one budget a picture file is decoded within: how many pixels its data may make.
// Coded formats can claim any size in a few bytes, and a decoder allocates what the
// file claims before it finds out that the data does not fill it. The budget grows
// with the bytes that actually code the picture, from a floor that every ordinary
// picture of a camera or a paint program stays under, whatever little data a blank or
// dark frame takes (an arithmetic-coded 2048 x 2048 frame codes in 1 KB, a blank
// 4000 x 3000 PNG in 35 KB, a dark 24-megapixel JPEG in a few hundred KB).
//
// The floor is what a picture may take in a file of any size: decoded in the costliest
// way the program knows (a progressive 4:4:4 CMYK JPEG, whose decoder keeps every
// coefficient, 8 bytes a pixel, while it also fills a 32-bit picture) and shown in its
// image view, a picture of the floor's size keeps the program under 400 MB and 5 s.
// Beyond it each coding byte buys kPicturePixelsPerCodingByte pixels, so that the floor
// is reached at 1 MiB: a file under 1 MB never gets more than the floor.
#include <cstdint>

namespace orvale {

inline constexpr std::int64_t kPicturePixelsPerCodingByte = 24;
inline constexpr std::int64_t kPicturePixelsFloor = kPicturePixelsPerCodingByte << 20;  // 5016 x 5016

// The pixels a picture file whose data codes in `codingBytes` may decode to; never more
// than the absolute limits of ImageFileChecks.h.
std::int64_t AllowedPicturePixels(std::uint64_t codingBytes);

// A document whose picture is missing is drawn on a blank picture of the size its file
// gives. Nothing is decoded for it, and its view takes about 4 bytes a pixel, so it may
// be larger than the floor; beyond this a few bytes of document would cost the program
// gigabytes. The pictures of every camera up to 64 megapixels fit.
inline constexpr std::int64_t kMostBlankPicturePixels = std::int64_t{64} << 20;  // 8192 x 8192

}  // namespace orvale
