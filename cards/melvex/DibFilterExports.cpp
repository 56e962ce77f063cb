// Small convolution kernels over a DIB, in place: the image shrinks by the kernel's size
// less one in each direction.
#include <bit>
#include <cstdlib>
#include <cstring>

#include "cards/melvex/DibBlock.h"
#include "cards/melvex/DibLayout.h"
#include "cards/melvex/ErrorCodes.h"
#include "cards/melvex/ExportNames.h"
#include "cards/melvex/ZelvoLibrary.h"
#include "platform/runtime/ByteFields.h"

namespace orvale::melvex {

namespace {

constexpr std::int8_t kMean[] = {1, 1, 1, 1, 1, 1, 1, 1, 1};
constexpr std::int8_t kWeightedMean[] = {1, 1, 1, 1, 8, 1, 1, 1, 1};
constexpr std::int8_t kSharpen[] = {0, -1, 0, -1, 10, -1, 0, -1, 0};
constexpr std::int8_t kSharpenMore[] = {1, -4, 1, -4, 16, -4, 1, -4, 1};
constexpr std::int8_t kVerticalSmooth[] = {1, 2, 1};
constexpr std::int8_t kLaplaceTall[] = {1, -4, 1, -2, 8, -2, -6, 24, -6, -2, 8, -2, 1, -4, 1};
constexpr std::int8_t kSobelVertical[] = {-1, 0, 1, -2, 0, 2, -1, 0, 1};
constexpr std::int8_t kSobelHorizontal[] = {-1, -2, -1, 0, 0, 0, 1, 2, 1};

const ZlvFilter kFilters[] = {
    {3, 3, 9, 0, kMean},          {3, 3, 16, 0, kWeightedMean},   {3, 3, 6, 0, kSharpen},
    {3, 3, 4, 0, kSharpenMore},   {1, 3, 4, 0, kVerticalSmooth},  {3, 5, 16, 0, kLaplaceTall},
    {3, 3, 1, 1, kSobelVertical}, {3, 3, 1, 1, kSobelHorizontal},
};

// Each colour byte is filtered apart: masks must give every channel whole bytes of its own.
bool WholeByteChannels(const DibView& view) {
  if (view.info.header.biCompression != kBitFields) return true;
  for (const std::uint32_t mask : view.masks) {
    if (mask != 0xFFu << (std::countr_zero(mask) & ~7)) return false;
  }
  return true;
}

}  // namespace

const ZlvFilter* ZelvoLibrary::ZLV_getFilter(std::int32_t n) {
  ExportScope scope(*this, export_name::ZLV_getFilter);
  if (n < 1 || n > static_cast<std::int32_t>(std::size(kFilters))) {
    RecordFailure();
    return nullptr;
  }
  return &kFilters[n - 1];
}

std::int32_t ZelvoLibrary::ZLV_filterDIB(ZLV_HDIB dib, const ZlvFilter* filter) {
  ExportScope scope(*this, export_name::ZLV_filterDIB);
  if (dib == nullptr || filter == nullptr) return Fail(code::kBadPointer);
  const ZlvFilter f = *filter;  // packed: read the fields through a copy
  if (f.width == 0 || f.height == 0 || f.divisor == 0) return Fail(code::kOutOfRange);
  if (f.kernel == nullptr) return Fail(code::kBadPointer);
  LockedBlock bytes(memory_, dib);
  if (!bytes) return Fail(code::kNoMemory);
  const std::optional<DibView> view = CheckDib({bytes.Bytes(), bytes.Size()});
  if (!view) return Fail(code::kOutOfRange);
  const int bits = view->info.header.biBitCount;
  const int width = view->info.header.biWidth;
  const int height = view->rows;
  if ((bits != 8 && bits != 24 && bits != 32) || !WholeByteChannels(*view) || width < f.width ||
      height < f.height) {
    return Fail(code::kOutOfRange);
  }
  const int b = bits / 8;
  const int outWidth = width - f.width + 1;
  const int outHeight = height - f.height + 1;
  const auto stride = static_cast<std::size_t>(view->stride);
  const auto outStride = static_cast<std::size_t>(DibRowBytes(outWidth, bits));
  std::uint8_t* pixels = bytes.Bytes() + view->bitsOffset;
  // Rows are written from the first on with the new stride, which never overtakes a
  // source byte still to be read. The kernel's first row lies over the lowest picture row,
  // so a DIB stored from the top meets the kernel upside down.
  for (int y = 0; y < outHeight; ++y) {
    std::uint8_t* out = pixels + static_cast<std::size_t>(y) * outStride;
    for (int i = 0; i < outWidth * b; ++i) {
      int sum = 0;
      for (int r = 0; r < f.height; ++r) {
        const std::uint8_t* src = pixels + static_cast<std::size_t>(y + r) * stride + i;
        const std::int8_t* kernelRow = f.kernel + (view->topDown ? f.height - 1 - r : r) * f.width;
        for (int c = 0; c < f.width; ++c) sum += kernelRow[c] * src[c * b];
      }
      int value = sum / f.divisor;
      if (value < 0) value = f.absolute != 0 ? -value : 0;
      out[i] = static_cast<std::uint8_t>(value > 255 ? 255 : value);
    }
    std::memset(out + outWidth * b, 0, outStride - static_cast<std::size_t>(outWidth * b));
  }
  const std::size_t imageBytes = outStride * static_cast<std::size_t>(outHeight);
  WriteLE32(bytes.Bytes() + 4, static_cast<std::uint32_t>(outWidth));
  WriteLE32(bytes.Bytes() + 8, static_cast<std::uint32_t>(view->topDown ? -outHeight : outHeight));
  WriteLE32(bytes.Bytes() + 20, static_cast<std::uint32_t>(imageBytes));
  std::size_t end = view->bitsOffset + imageBytes;
  if (view->profileBytes != 0) {
    // A V5 header's profile moves up behind the smaller picture, and its offset with it.
    std::memmove(bytes.Bytes() + end, bytes.Bytes() + view->profileOffset, view->profileBytes);
    WriteLE32(bytes.Bytes() + kV5ProfileOffsetField, static_cast<std::uint32_t>(end));
    end += view->profileBytes;
  }
  bytes.Unlock();
  if (!memory_.Resize(dib, end)) return Fail(code::kNoMemory);
  return code::kOk;
}

}  // namespace orvale::melvex
