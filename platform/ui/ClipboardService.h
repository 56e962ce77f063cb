#pragma once
// The clipboard for images, in place of OpenClipboard/SetClipboardData(CF_DIB, CF_PALETTE):
// the card libraries put a frame on it as a packed DIB (the 40-byte header, the colour
// table, the rows), with a logical palette when they have one. The program's own text
// copying keeps using QClipboard directly.
//
// The Qt service (QtClipboardService.h) works inside a Qt GUI program; MemoryClipboard
// holds the image for tests and can be made unavailable.
//
//   if (!clipboard.PutDib(packed, paletteEntries)) ReportCannotOpenClipboard();
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/gdi/Palette.h"

namespace orvale {

class ClipboardService {
 public:
  virtual ~ClipboardService() = default;
  // Replaces what the clipboard holds with the DIB and, when not empty, the palette. False,
  // with the clipboard unchanged, when the clipboard cannot be had or the DIB is not whole
  // (IsWholePackedDib).
  virtual bool PutDib(std::span<const std::uint8_t> packedDib,
                      std::span<const gdi::PaletteEntry> palette = {}) = 0;
  // The image on the clipboard as a packed DIB; nullopt when it holds none.
  virtual std::optional<std::vector<std::uint8_t>> GetDib() const = 0;
  // The palette put with the image; empty when there is none.
  virtual std::vector<gdi::PaletteEntry> GetPalette() const = 0;
};

// Whether `packed` holds a DIB a clipboard can take: a readable header and colour table,
// a width above 0 and a height not 0, 1, 4, 8, 16, 24 or 32 bits per pixel, uncompressed or with
// bit-field masks, and all its rows. Where the rows start: `bitsOffset`.
bool IsWholePackedDib(std::span<const std::uint8_t> packed, std::size_t& bitsOffset);

class MemoryClipboard final : public ClipboardService {
 public:
  bool PutDib(std::span<const std::uint8_t> packedDib,
              std::span<const gdi::PaletteEntry> palette = {}) override;
  std::optional<std::vector<std::uint8_t>> GetDib() const override;
  std::vector<gdi::PaletteEntry> GetPalette() const override;

  // While unavailable every PutDib fails, as when another program holds the clipboard.
  void SetAvailable(bool available) { available_ = available; }

 private:
  std::optional<std::vector<std::uint8_t>> dib_;
  std::vector<gdi::PaletteEntry> palette_;
  bool available_ = true;
};

}  // namespace orvale
