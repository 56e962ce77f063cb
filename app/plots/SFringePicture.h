#pragma once
// The synthetic-fringe view's picture: the 8-bit image made from the synthetic
// interferogram map, its print buffer, and printing it into a page rectangle.
#include <cstdint>
#include <span>
#include <vector>

#include "app/plots/ResultViewModels.h"
#include "platform/gdi/DeviceContext.h"

namespace orvale {

// One byte per map value: the smallest value with data gives 0, the largest 255, evenly
// between (rounded, halves to even). Blank and non-finite values give 0 and take no
// part in the range; a map whose values are all equal gives all 0. `bytes` holds as
// many elements as `map`.
void SyntheticFringeBytes(std::span<const double> map, std::span<std::uint8_t> bytes);

// The print buffer from `data` (XSize x YSize bytes, rows from the top): a packed 8-bit
// DIB with a grey table and the rows bottom-up, padded to 4 bytes. When it cannot be
// built (out of memory, shown as a message, or a size that does not fit the data) the
// buffer is left empty, so that an older picture is never printed for a new one.
void SetPrintDIBBuffer(SFringeViewModel& view, std::span<const std::uint8_t> data,
                       std::int32_t XSize, std::int32_t YSize);

// A new picture for the view: the print buffer, then the picture itself.
void RefreshBitmapFromData(SFringeViewModel& view, std::vector<std::uint8_t> data,
                           std::int32_t XSize, std::int32_t YSize);

// Prints the picture as large as fits into the rectangle (inclusive edges, device
// units), centred with its aspect ratio kept. A device without stretched DIB output
// gets the warning "Cannot print image. Printer does not support StretchDIB"; a view
// that is not ready, or has no print buffer, leaves the rectangle blank. The stretch
// mode is COLORONCOLOR afterwards in every case.
void PrintImage(const SFringeViewModel& view, gdi::DeviceContext& dc, std::int32_t left,
                std::int32_t top, std::int32_t right, std::int32_t bottom);

}  // namespace orvale
