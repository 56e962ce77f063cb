#pragma once
// Windows bitmap files (BMP, DIB): 8 and 24 bits, uncompressed, rows bottom-up.
#include <optional>

#include "cards/korrin/image/ByteInput.h"
#include "cards/korrin/image/ImageCodec.h"
#include "cards/korrin/image/PixelConvert.h"
#include "platform/runtime/TextOutput.h"

namespace orvale::korrin {

std::optional<ImageInfo> ReadBmpInfo(ByteInput& in);
// The palette fills the first entries of `palette` (256, or the used-colours count).
// Fails for an image wider than kMaxLoadWidth and for a file that ends early.
bool ReadBmpImage(ByteInput& in, Palette& palette, const RowSink& sink);

// The width is rounded down to a multiple of 4; fails below 4 and for bits other than 8
// and 24. `source` fills rows of `width` pixels; only the rounded width is written.
bool WriteBmp(TextOutput& out, int width, int height, int bits, const Palette& palette,
              const RowSource& source);

}  // namespace orvale::korrin
