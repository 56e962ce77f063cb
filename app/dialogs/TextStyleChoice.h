#pragma once
// The "Screen Font" and "Printer Font" buttons of the preferences and the view
// properties: the font dialog, started from a text style, and what a choice makes of
// that style.
#include <cstdint>
#include <string>

#include "platform/registry/GeneralSettings.h"
#include "platform/ui/FontDialogService.h"

namespace orvale {

// What the two buttons ask the dialog for: screen fonts for the screen style, both
// screen and printer fonts for the printer style; effects (underline, colour), fonts
// that exist.
inline constexpr std::uint32_t kScreenFontFlags =
    cf::kForceFontExist | cf::kAnsiOnly | cf::kEffects | cf::kScreenFonts;
inline constexpr std::uint32_t kPrinterFontFlags = kScreenFontFlags | cf::kPrinterFonts;

// Shows the font dialog titled `title`, started from `style`. On a choice `style`
// takes the face (as its fixed 32-character field), the size (clamped to 1..72 points),
// bold, italic, underline and the colour, and the result is true. A cancelled dialog
// leaves `style` alone: false.
bool ChooseTextStyle(TextStyleSettings& style, const std::string& title, std::uint32_t flags);

// The screen and the printer style a dialog edits, each with whether the user chose
// one; OK hands on only a chosen style.
struct EditedTextStyles {
  TextStyleSettings Screen;
  TextStyleSettings Printer;
  bool ScreenChanged = false;
  bool PrinterChanged = false;

  // "Screen Font" (`screen`) or "Printer Font": the dialog titled so with `flags`,
  // started from the working copy; a choice marks the style changed.
  void Choose(bool screen, std::uint32_t flags);
};

}  // namespace orvale
