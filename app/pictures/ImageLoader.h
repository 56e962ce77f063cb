#pragma once
// Loading picture files (JPEG, bitmaps, run-length coded bitmaps, companion bitmaps)
// into the 8-bit intensity buffer. The pixel size is the decoded size of the picture.
#include <cstdint>
#include <filesystem>
#include <vector>

namespace orvale {

struct LoadedImage {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::vector<std::uint8_t> Data;  // Width x Height bytes, rows from the top
};

enum class ImageLoadStatus {
  Loaded,            // `image` holds the picture
  NotABitmap,        // an icon or a vector picture: the document becomes blank
  ConversionFailed,  // decoded but not convertible to grey: the document becomes blank
  OpenFailed,        // unreadable, truncated, corrupt or unsupported: nothing changes
};

// Loads `filename` into `image`, which is left as it was unless the result is Loaded.
// On every result but Loaded the caller empties its ImageFileName; on Loaded it takes
// the file name (without folder) as ImageFileName and clears BMPDirty.
// Messages (OK, "Error", main window): "Could not load image file " + filename for a
// picture that is no bitmap (an icon or a drawing) and "Could not open image file " +
// filename for a file that is not a readable picture, with a second line saying why
// when it is refused for what it is rather than for damage: not a BMP, JPEG, PNG or GIF
// picture, larger than the program takes, claiming far more pixels than its data
// describes, costing more memory to decode than its pixels may, or coded in more scans
// or refinements than any encoder writes; or the description of a file error. None of these when
// `suppressError` is set. "Could not read bitmap" when the conversion fails is shown in
// any case.
ImageLoadStatus LoadFileIntoDataBuffer(const std::filesystem::path& filename, bool suppressError,
                                       LoadedImage& image);

}  // namespace orvale
