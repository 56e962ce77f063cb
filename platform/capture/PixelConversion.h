#pragma once
// Camera buffers in the pixel formats the V4L2 backend takes, turned into frames
// (bottom-up BGR rows, VideoFrame.h).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/capture/VideoFrame.h"

namespace orvale {

// The formats taken, best first: the 24-bit ones need no conversion but a swap, YUYV
// and GREY cost little, Motion-JPEG is decoded.
inline constexpr std::uint32_t kPixelFormatPreference[] = {
    0x33524742,  // BGR24 "BGR3"
    0x33424752,  // RGB24 "RGB3"
    0x56595559,  // YUYV
    0x59455247,  // GREY
    0x47504A4D,  // MJPEG "MJPG"
};

// The rank of `pixelFormat` in kPixelFormatPreference; nullopt for a format not taken.
std::optional<std::size_t> PixelFormatRank(std::uint32_t pixelFormat);

// Whether the format is compressed (its buffers have no fixed size).
bool IsCompressedPixelFormat(std::uint32_t pixelFormat);

// The bytes a buffer of an uncompressed format must hold: every row of `bytesPerLine`
// but the last, which needs only its pixels.
std::size_t MinimumBufferBytes(std::uint32_t pixelFormat, std::int32_t width, std::int32_t height,
                               std::size_t bytesPerLine);

// Converts one camera buffer (rows top-down, `bytesPerLine` apart) of width x height
// into `frame`, which is resized to that size. False, with `frame` of no use, when the
// buffer is too short, the format is not taken, or a compressed picture does not decode
// to width x height.
bool ConvertCameraBuffer(std::uint32_t pixelFormat, std::span<const std::uint8_t> buffer,
                         std::int32_t width, std::int32_t height, std::size_t bytesPerLine,
                         VideoFrame& frame);

}  // namespace orvale
