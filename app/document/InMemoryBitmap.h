#pragma once
// The in-memory 8-bit bitmap of an image, from which the image view and the
// synthetic-fringe view draw.
#include <cstdint>
#include <span>
#include <vector>

namespace orvale {

// Builds the bitmap of `data` (width x height bytes, rows from the top) in `dibBuffer`:
// the 40-byte header (image size 0), the 256-entry colour table, a grey ramp reshaped
// for display (red off, stretched over the bytes in use with `autoStretch`, the
// setting "Auto Stretch"), then the rows bottom-up, padded with zeros to 4 bytes.
// `headerBytes` gets 1064, where the rows start. An allocation failure shows its
// description (OK, "Error") and gives False; so, without a message, does a size of 0
// or less or a buffer that does not hold width x height bytes (a blank image).
// `dibBuffer` is left as it was on False.
bool GetDIBFromBuffer(std::span<const std::uint8_t> data, std::int32_t width, std::int32_t height,
                      bool autoStretch, std::vector<std::uint8_t>& dibBuffer,
                      std::int32_t& headerBytes);

}  // namespace orvale
