#pragma once
// Grabber frames (a 40-byte bitmap header, for 8 bits a 1024-byte palette area, then
// the rows padded to 4 bytes) to the 8-bit intensity buffer.
#include <cstdint>
#include <span>

namespace orvale {

// Converts `frame` into `data` (the frame's width x height bytes, rows from the top).
// 8-bit frames are copied byte for byte whatever their palette says; 24-bit pixels
// become (blue + green + red) / 3 with the remainder dropped. Rows are bottom-up for a
// positive height and top-down for a negative one. Other bit counts are refused with
// "Cannot convert DIB, unsupported format"; a header that describes more rows than the
// frame holds, or a size that is not the size of `data`, with "Cannot convert DIB, the
// frame does not match its header". Nothing outside the two buffers is touched.
bool DIBToImageData(std::span<const std::uint8_t> frame, std::span<std::uint8_t> data);

// The same for a frame that must be `width` x `height` pixels: a header of another width
// or of another number of rows (either direction) is refused as not matching, before
// anything is converted.
bool DIBToImageData(std::span<const std::uint8_t> frame, std::int32_t width, std::int32_t height,
                    std::span<std::uint8_t> data);

// Shows that a frame does not match its header (or the size it was grabbed as), titled
// "Error - Orvale"; false, for the caller to return.
bool RefuseMismatchedFrame();

}  // namespace orvale
