#pragma once
// Logical palettes, in place of CreatePalette/DeleteObject/GetPaletteEntries. Qt draws
// in true colour, so a palette changes no pixel here: the card libraries create, select
// and realise palettes as they would on a 256-colour display, the device context keeps
// the selection in its state, and the recording context logs the calls for tests.
//
// A palette is known by a handle, a number that stays valid until DeletePalette; a
// handle a caller made up, or one already deleted, is refused by every call. The stock
// default palette holds the 20 static colours and is never deleted.
//
//   LogPalette grey;
//   for (int i = 0; i < 256; ++i) grey.entries.push_back({i, i, i, PC_NOCOLLAPSE});
//   const PaletteHandle palette = CreatePalette(grey);
//   dc.SelectPalette(palette, false);
//   dc.RealizePalette();
//   ...
//   DeletePalette(palette);
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace orvale::gdi {

// Entry flags.
inline constexpr std::uint8_t PC_RESERVED = 0x01;
inline constexpr std::uint8_t PC_EXPLICIT = 0x02;
inline constexpr std::uint8_t PC_NOCOLLAPSE = 0x04;

inline constexpr std::uint16_t kPaletteVersion = 0x300;
inline constexpr std::size_t kMaxPaletteEntries = 256;
// What a palette call returns when it fails.
inline constexpr std::uint32_t GDI_ERROR = 0xFFFFFFFF;

struct PaletteEntry {
  std::uint8_t peRed = 0;
  std::uint8_t peGreen = 0;
  std::uint8_t peBlue = 0;
  std::uint8_t peFlags = 0;
  friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

struct LogPalette {
  std::uint16_t palVersion = kPaletteVersion;
  std::vector<PaletteEntry> entries;
};

enum class PaletteHandle : std::uintptr_t { None = 0 };
// The stock palette a device context starts with.
inline constexpr PaletteHandle kDefaultPalette{1};

// None for a version other than 0x300 or an entry count outside 1..256.
PaletteHandle CreatePalette(const LogPalette& palette);
// False for an unknown handle or the stock palette.
bool DeletePalette(PaletteHandle palette);
bool IsPalette(PaletteHandle palette);
// The palette's entries; nullopt for an unknown handle.
std::optional<std::vector<PaletteEntry>> PaletteEntries(PaletteHandle palette);
// As GetPaletteEntries: copies up to `out.size()` entries from `start`, returns how many.
std::uint32_t GetPaletteEntries(PaletteHandle palette, std::uint32_t start,
                                std::span<PaletteEntry> out);

// The 256-entry system palette as this layer reports it: the 20 static colours at 0..9
// and 246..255, black between.
const std::vector<PaletteEntry>& SystemPalette();

}  // namespace orvale::gdi
