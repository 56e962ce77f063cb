#include "app/document/InMemoryBitmap.h"

#include <cstring>
#include <utility>

#include "app/pictures/DWordAlign.h"
#include "app/document/DisplayPalette.h"
#include "app/pictures/GreyBitmapInfo.h"
#include "platform/ui/AllocationReport.h"

namespace orvale {

bool GetDIBFromBuffer(std::span<const std::uint8_t> data, std::int32_t width, std::int32_t height,
                      bool autoStretch, std::vector<std::uint8_t>& dibBuffer,
                      std::int32_t& headerBytes) {
  if (width <= 0 || height <= 0) return false;
  const auto rowBytes = static_cast<std::size_t>(width);
  const auto rows = static_cast<std::size_t>(height);
  if (data.size() != rowBytes * rows) return false;
  const auto stride = static_cast<std::size_t>(AlignToDWord(width));

  std::vector<std::uint8_t> dib;
  if (!AssignOrReport(dib, kGreyBitmapInfoBytes + stride * rows, 0)) return false;
  // The top row of the image is the last row of the bitmap.
  for (std::size_t y = 0; y < rows; ++y) {
    std::memcpy(dib.data() + kGreyBitmapInfoBytes + (rows - 1 - y) * stride,
                data.data() + y * rowBytes, rowBytes);
  }
  gdi::BitmapInfo info = GreyBitmapInfo(width, height, 0);
  std::int32_t firstIndex = static_cast<std::int32_t>(kGreyBitmapInfoBytes);
  SetDisplayPalette(false, autoStretch, dib, info, firstIndex);
  gdi::WriteBitmapInfo(info, std::span<std::uint8_t, kGreyBitmapInfoBytes>(dib.data(), kGreyBitmapInfoBytes));

  dibBuffer = std::move(dib);
  headerBytes = static_cast<std::int32_t>(kGreyBitmapInfoBytes);
  return true;
}

}  // namespace orvale
