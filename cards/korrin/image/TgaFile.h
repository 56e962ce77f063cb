#pragma once
// Truevision TGA files: the reader takes image types 1, 2, 3 (uncompressed colour-mapped,
// true-colour, grey) and 9, 10, 11 (run-length encoded); the writer makes uncompressed
// true-colour version-2 files with the library's extension area.
#include <optional>

#include "cards/korrin/image/ByteInput.h"
#include "cards/korrin/image/ImageCodec.h"
#include "cards/korrin/image/PixelConvert.h"
#include "platform/runtime/TextOutput.h"

namespace orvale::korrin {

std::optional<ImageInfo> ReadTgaInfo(ByteInput& in);
// Colour maps fill `palette` (the first 256 entries). Fails for an image wider than
// kMaxLoadWidth and for a file that ends early; rows already delivered stay delivered.
bool ReadTgaImage(ByteInput& in, Palette& palette, const RowSink& sink);

bool WriteTga(TextOutput& out, int width, int height, int bits, const RowSource& source);

}  // namespace orvale::korrin
