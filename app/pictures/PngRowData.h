#pragma once
// The rows a PNG's zlib stream holds: each row of each interlace pass with its filter
// byte. The decoder inflates the whole stream, whatever follows the last row, so a
// stream that goes on past its rows would cost any time for no pixel.
#include <cstdint>
#include <optional>
#include <span>

namespace orvale {

// The bytes of the rows the header of a PNG (its first chunk, at its start) describes;
// none when `head` holds no header.
std::optional<std::uint64_t> PngRowDataBytes(std::span<const std::uint8_t> head);

// True when the image data of the PNG `bytes` inflates to exactly its rows: a stream
// that ends short of them, goes on past them or is no zlib stream is false. No more
// than one byte past the rows is inflated.
bool PngImageDataHoldsItsRows(std::span<const std::uint8_t> bytes);

}  // namespace orvale
