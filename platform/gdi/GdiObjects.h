#pragma once
// Pens, brushes and the stock objects. Objects are values: selecting one into a device
// context copies it and hands back the one that was selected before.
#include <cstdint>
#include <optional>
#include <variant>

#include "platform/gdi/Color.h"
#include "platform/gdi/LogFont.h"

namespace orvale::gdi {

// Pen styles. Styles 1..4 are drawn only by pens one pixel wide; wider ones draw solid.
inline constexpr int PS_SOLID = 0;
inline constexpr int PS_DASH = 1;
inline constexpr int PS_DOT = 2;
inline constexpr int PS_DASHDOT = 3;
inline constexpr int PS_DASHDOTDOT = 4;
inline constexpr int PS_NULL = 5;
inline constexpr int PS_INSIDEFRAME = 6;

struct Pen {
  int style = PS_SOLID;
  int width = 0;  // device pixels; 0 draws one pixel wide
  Color color = 0;
  bool IsNull() const { return style == PS_NULL; }
  // The width actually drawn (at least 1).
  int DrawnWidth() const { return width < 1 ? 1 : width; }
  friend bool operator==(const Pen&, const Pen&) = default;
};

// Brush kinds and hatch patterns.
inline constexpr int BS_SOLID = 0;
inline constexpr int BS_NULL = 1;
inline constexpr int BS_HOLLOW = BS_NULL;
inline constexpr int BS_HATCHED = 2;
inline constexpr int HS_HORIZONTAL = 0;
inline constexpr int HS_VERTICAL = 1;
inline constexpr int HS_FDIAGONAL = 2;
inline constexpr int HS_BDIAGONAL = 3;
inline constexpr int HS_CROSS = 4;
inline constexpr int HS_DIAGCROSS = 5;

struct Brush {
  int style = BS_SOLID;
  Color color = 0xFFFFFF;
  int hatch = HS_HORIZONTAL;
  bool IsNull() const { return style == BS_NULL; }
  friend bool operator==(const Brush&, const Brush&) = default;
};

// Creation fails (nullopt) for a style or hatch the layer does not know or a negative width.
std::optional<Pen> CreatePen(int style, int width, Color color);
Brush CreateSolidBrush(Color color);
std::optional<Brush> CreateHatchBrush(int hatch, Color color);

// Stock object numbers.
inline constexpr int WHITE_BRUSH = 0;
inline constexpr int LTGRAY_BRUSH = 1;
inline constexpr int GRAY_BRUSH = 2;
inline constexpr int DKGRAY_BRUSH = 3;
inline constexpr int BLACK_BRUSH = 4;
inline constexpr int NULL_BRUSH = 5;
inline constexpr int HOLLOW_BRUSH = NULL_BRUSH;
inline constexpr int WHITE_PEN = 6;
inline constexpr int BLACK_PEN = 7;
inline constexpr int NULL_PEN = 8;
inline constexpr int OEM_FIXED_FONT = 10;
inline constexpr int ANSI_FIXED_FONT = 11;
inline constexpr int ANSI_VAR_FONT = 12;
inline constexpr int SYSTEM_FONT = 13;
inline constexpr int DEVICE_DEFAULT_FONT = 14;
inline constexpr int SYSTEM_FIXED_FONT = 16;
inline constexpr int DEFAULT_GUI_FONT = 17;

using GdiObject = std::variant<Pen, Brush, LogFont>;

// The stock object with that number; nullopt for a number that names none.
std::optional<GdiObject> GetStockObject(int index);
Pen StockPen(int index);      // WHITE_PEN, BLACK_PEN or NULL_PEN; anything else: black
Brush StockBrush(int index);  // WHITE_BRUSH .. NULL_BRUSH; anything else: white
LogFont DefaultFont();        // the font a new device context starts with

}  // namespace orvale::gdi
