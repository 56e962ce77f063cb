#pragma once
// The companion bitmap: the 8-bit grey bitmap file saved beside every document (and
// any image saved as ".bmp"), and the raw read of a bitmap file.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace orvale {

// File header, info header and the 256-entry grey colour table.
inline constexpr std::size_t kCompanionBitsOffset = 1078;

// The whole file of the image (`data`: width x height bytes, rows from the top) as an
// 8-bit grey bitmap: rows bottom-up, each padded with zero bytes to a multiple of 4.
// Nullopt for a blank image, a size of 0 or less, or a buffer that does not hold
// width x height bytes; also, after FileErrorPrompt, for an image too large for the
// file's size fields or for the memory.
std::optional<std::vector<std::uint8_t>> GreyBitmapFileBytes(std::span<const std::uint8_t> data,
                                                             std::int32_t width, std::int32_t height,
                                                             bool blankImage);

// Writes GreyBitmapFileBytes of the image as `target`. The file is replaced only when it
// was written completely. Failures go to FileErrorPrompt: Abort gives False, Retry
// writes the file again, Ignore leaves the file incomplete, so it is not kept. An image
// that has no such file writes nothing and gives False.
bool SaveDataBufferToBMP(const std::filesystem::path& target, std::span<const std::uint8_t> data,
                         std::int32_t width, std::int32_t height, bool blankImage);

// Every byte of a bitmap file after its 14-byte file header (header, colour table and
// bits), as far as its headers say the bitmap reaches. A file that is not a bitmap, or has nothing after the file header, leaves
// `dib` as it was; so does a file that cannot be read (after FileErrorPrompt).
void LoadFileIntoDIB(const std::filesystem::path& path, std::vector<std::uint8_t>& dib);

}  // namespace orvale
