// Averaging several snaps into one DIB: the raw lines of every snap are summed in 16-bit
// accumulators kept in the DIB's own block, then divided and packed into its rows. Colour
// lines are summed as the card made them, from pixel 0 in the card's chroma phase, and
// converted as a plain readout converts them, so a still scene averages to its plain
// picture whether the crop starts on an even or an odd sample.
#include <algorithm>
#include <cstring>
#include <vector>

#include "cards/melvex/ConfigRules.h"
#include "cards/melvex/DibBlock.h"
#include "cards/melvex/DibLayout.h"
#include "cards/melvex/ErrorCodes.h"
#include "cards/melvex/ErrorMessages.h"
#include "cards/melvex/ExportNames.h"
#include "cards/melvex/LineFormats.h"
#include "cards/melvex/SnapSums.h"
#include "cards/melvex/ZelvoLibrary.h"

namespace orvale::melvex {

namespace {
constexpr std::uint16_t kTriggerTimeoutMs = 10200;
constexpr int kGreyReadout = 1;
constexpr int kRawColourReadout = 10;
constexpr int kBgrFormat = 7;
constexpr std::size_t kLineSlack = 8;
}  // namespace

std::int32_t ZelvoLibrary::ZLV_snapAverageDIB(const ZlvConfig* config, ZLV_HDIB* dib, std::int32_t count,
                                              std::int32_t divisor) {
  ExportScope scope(*this, export_name::ZLV_snapAverageDIB);
  if (config == nullptr || dib == nullptr) return Fail(code::kBadPointer);
  *dib = nullptr;
  // Both are taken as bytes; none of either would average nothing or divide by zero.
  const int snaps = count & 0xFF;
  const int scale = divisor & 0xFF;
  if (snaps == 0 || scale == 0) return Fail(code::kOutOfRange);
  const int format = config->outputFormat;
  if (format != 1 && format != 7) return Fail(code::kOutOfRange);
  const bool grey = format == 1;
  const ZlpSnapRequest& request = RequestOf(*config);
  if (const std::int32_t rc = ZLP_prepareSnap(&request)) return rc;

  const int width = request.xPixels;
  const int height = request.yPixels;
  const DibLayout layout = *DibLayoutFor(format);
  const auto stride = static_cast<std::size_t>(DibRowBytes(width, layout.bitCount));
  // A colour line may hold one pixel more than the width, up to a whole pair.
  const auto sums = static_cast<std::size_t>(grey ? width : LineBytes(kRawColourReadout, width));
  const std::size_t sumStride = 2 * sums;  // 16 bits per sum
  const int readout = grey ? kGreyReadout : kRawColourReadout;
  const std::size_t lineBytes = static_cast<std::size_t>(LineBytes(readout, width));

  NewBlock line(memory_, lineBytes + kLineSlack);
  if (!line) return OutOfMemory(kCannotAllocate);
  const std::size_t bitsOffset = gdi::kBitmapInfoHeaderSize + layout.tableBytes;
  const std::size_t pixelBytes = std::max(stride, sumStride) * static_cast<std::size_t>(height);
  NewBlock bytes(memory_, bitsOffset + pixelBytes, true);
  if (!bytes) return OutOfMemory(kCannotLock);
  std::uint8_t* pixels = bytes.Bytes() + bitsOffset;
  const auto sumRow = [&](int row) { return pixels + static_cast<std::size_t>(row) * sumStride; };
  CardLine raw;  // the shape of the colour lines, the same for every line of every snap

  for (int n = 0; n < snaps; ++n) {
    std::int32_t rc = code::kOk;
    if (config->extTrig != 0) {
      rc = ZLP_extTrigSnap(kTriggerTimeoutMs);
    } else if (config->flash != 0) {
      rc = ZLP_flashSnap();
    } else if ((rc = ZLP_startSnap()) == code::kOk) {
      rc = ZLP_finishSnap();
    }
    if (rc == code::kOk) rc = ZLP_startReadout(readout, nullptr);
    if (rc != code::kOk) return rc;
    // The first card line is the top of the picture, the last row of the block.
    for (int j = 0; j < height; ++j) {
      const auto count = static_cast<std::uint16_t>(width);
      if (grey) {
        if (const std::int32_t rc2 = ZLP_readLine(line.Bytes(), 0, count)) return rc2;
        AddToSums(sumRow(height - 1 - j), line.Bytes(), sums);
      } else {
        if (const std::int32_t rc2 = ReadRawColourLine(line.Bytes(), count, raw)) return rc2;
        AddToSums(sumRow(height - 1 - j), raw.bytes, 2 * static_cast<std::size_t>(raw.pixels));
      }
    }
  }

  // Rows are packed over their own sums; going down when a row grows, so that a packed row
  // never overwrites sums still to be read.
  std::vector<std::uint8_t> averaged(sums + 2 * kLineSlack);
  std::vector<std::uint8_t> packed(stride + 3 * kLineSlack);
  const bool upward = stride <= sumStride;
  for (int k = 0; k < height; ++k) {
    const int row = upward ? k : height - 1 - k;
    DivideSums(sumRow(row), sums, scale, averaged.data());
    std::fill(packed.begin(), packed.end(), 0);
    if (grey) {
      std::memcpy(packed.data(), averaged.data(), sums);
    } else {
      ConvertLine(tables_, kBgrFormat, CardLine{averaged.data(), raw.pixels, raw.oddStart}, 0, width, 0,
                  packed.data());
    }
    std::memcpy(pixels + static_cast<std::size_t>(row) * stride, packed.data(), stride);
  }
  WriteDibStart(bytes.Bytes(), format, layout, width, height, kMemoryPixelsPerMetre);
  bytes.Unlock();
  if (!memory_.Resize(bytes.Handle(), bitsOffset + stride * static_cast<std::size_t>(height))) {
    return OutOfMemory(kCannotAllocate);
  }
  *dib = bytes.Keep();
  return code::kOk;
}

}  // namespace orvale::melvex
