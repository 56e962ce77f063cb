#pragma once
// The clipboard service over QClipboard. The image goes on the clipboard as "image/bmp"
// (the DIB behind a BMP file header) and as a Qt image, so other programs can paste it in
// any format they take; the palette goes with it under a type of our own. Fails, leaving
// the clipboard alone, without a QGuiApplication, off the GUI thread, or for a DIB that
// Qt cannot read.
#include "platform/ui/ClipboardService.h"

namespace orvale {

class QtClipboardService final : public ClipboardService {
 public:
  bool PutDib(std::span<const std::uint8_t> packedDib,
              std::span<const gdi::PaletteEntry> palette = {}) override;
  std::optional<std::vector<std::uint8_t>> GetDib() const override;
  std::vector<gdi::PaletteEntry> GetPalette() const override;
};

}  // namespace orvale
