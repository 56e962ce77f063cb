#pragma once
// DeviceContext: the GDI-like drawing state over a drawing surface. All drawing code of
// the program draws through it, so the same code draws on the screen's backing image,
// on a printer page, into an image file or into a recording for tests.
//
// Conventions: device pixels with y growing downward; right and bottom edges of
// rectangles are exclusive; a width-1 line leaves out its end pixel; objects are
// values and every Select... returns the object selected before, for the caller to
// select back. A call that cannot do anything returns false (or 0) and draws nothing.
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "platform/gdi/DrawingSurface.h"

namespace orvale::gdi {

class DeviceContext {
 public:
  explicit DeviceContext(std::unique_ptr<DrawingSurface> surface);
  virtual ~DeviceContext();
  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;

  // Device.
  int GetDeviceCaps(int index) const;
  DeviceCaps Caps() const;

  // Objects.
  Pen SelectPen(const Pen& pen);
  Brush SelectBrush(const Brush& brush);
  LogFont SelectFont(const LogFont& font);
  // Selects a pen, brush or font and returns the one of the same kind selected before.
  GdiObject SelectObject(const GdiObject& object);
  const Pen& CurrentPen() const { return state_.pen; }
  const Brush& CurrentBrush() const { return state_.brush; }
  const LogFont& CurrentFont() const { return state_.font; }

  // Modes. Each setter returns the previous value, or 0 for a value it does not know
  // (the mode is then unchanged).
  int SetROP2(int rop2);
  int GetROP2() const { return state_.rop2; }
  Color SetTextColor(Color color);
  Color SetBkColor(Color color);
  int SetBkMode(int mode);
  std::uint32_t SetTextAlign(std::uint32_t align);
  int SetPolyFillMode(int mode);
  int SetStretchBltMode(int mode);

  // Lines and shapes.
  Point MoveTo(int x, int y);  // returns the previous current position
  Point GetCurrentPosition() const { return state_.position; }
  bool LineTo(int x, int y);
  bool Polyline(std::span<const Point> points);
  bool Polygon(std::span<const Point> points);
  bool Rectangle(int left, int top, int right, int bottom);
  bool Ellipse(int left, int top, int right, int bottom);
  bool FillRect(const Rect& rect, const Brush& brush);
  bool InvertRect(const Rect& rect);
  // The selected brush combined with the destination by a ternary operation that does
  // not use a source (PATCOPY, PATINVERT, DSTINVERT, BLACKNESS, WHITENESS ...).
  bool PatBlt(int x, int y, int width, int height, std::uint32_t rop);

  // Pixels; the raster mode does not apply, the clip does.
  Color SetPixel(int x, int y, Color color);  // the colour set, or kInvalidColor
  bool SetPixelV(int x, int y, Color color);
  // kInvalidColor outside the surface or the clip, or when the surface is unreadable.
  Color GetPixel(int x, int y) const;
  void SetPixels(std::span<const Point> points, Color color);
  void SetPixelRow(int x, int y, std::span<const Color> colors);

  // Text. The alignment is read in the turned text's own frame.
  bool TextOut(int x, int y, std::string_view text);
  bool GetTextExtentPoint32(std::string_view text, Size& size) const;
  // `fit` gets the byte length of the longest leading part of `text` (whole characters)
  // that is at most `maxExtent` wide; `extents`, when given, the width after each
  // character.
  bool GetTextExtentExPoint(std::string_view text, int maxExtent, int* fit,
                            std::vector<int>* extents, Size& size) const;
  bool GetTextMetrics(TextMetrics& metrics) const;
  // Draws `text` with tabs expanded to the stops (device units from `tabOrigin`): no
  // stops means every 8 average character widths, one stop means every that many
  // pixels. Returns the extent drawn.
  Size TabbedTextOut(int x, int y, std::string_view text, std::span<const int> tabStops,
                     int tabOrigin);

  // Clipping. Each returns the complexity of the new clip (RGN_ERROR on a bad mode).
  int SelectClipRgn(const Region* region);  // nullptr removes the clip
  int ExtSelectClipRgn(const Region* region, int mode);
  int IntersectClipRect(int left, int top, int right, int bottom);
  int ExcludeClipRect(int left, int top, int right, int bottom);
  int GetClipBox(Rect& box) const;
  bool HasClip() const { return state_.clip.has_value(); }

  // Bitmaps. The source of BitBlt/StretchBlt must have readable pixels (an image).
  bool BitBlt(int xDest, int yDest, int width, int height, const DeviceContext& source,
              int xSrc, int ySrc, std::uint32_t rop);
  bool StretchBlt(int xDest, int yDest, int wDest, int hDest, const DeviceContext& source,
                  int xSrc, int ySrc, int wSrc, int hSrc, std::uint32_t rop);
  // For a bottom-up DIB ySrc counts from the bottom row, as GDI does. Returns the
  // number of rows drawn, 0 on failure.
  int StretchDIBits(int xDest, int yDest, int wDest, int hDest, int xSrc, int ySrc, int wSrc,
                    int hSrc, std::span<const std::uint8_t> bits, const BitmapInfo& info,
                    std::uint32_t colorUse, std::uint32_t rop);
  // `bits` holds `numScans` rows starting with row `startScan` (rows counted from the
  // bottom for bottom-up DIBs, from the top otherwise). Returns the rows drawn.
  int SetDIBitsToDevice(int xDest, int yDest, int width, int height, int xSrc, int ySrc,
                        int startScan, int numScans, std::span<const std::uint8_t> bits,
                        const BitmapInfo& info, std::uint32_t colorUse);

  // Palettes (Palette.h). Qt draws in true colour, so these change no pixel: the state
  // keeps the selection, SaveDC/RestoreDC include it, and a recording logs the calls.
  // Returns the palette selected before; None for an unknown palette (nothing changes).
  PaletteHandle SelectPalette(PaletteHandle palette, bool forceBackground);
  // How many entries of the selected palette are mapped: all of them on a palette device
  // (8 bits per pixel or fewer), none on a true-colour one; GDI_ERROR when the selected
  // palette has been deleted.
  std::uint32_t RealizePalette();
  // As GetSystemPaletteEntries: copies the system palette (Palette.h) from `start` into
  // `out`, on any device; returns how many.
  std::uint32_t GetSystemPaletteEntries(std::uint32_t start, std::span<PaletteEntry> out) const;

  // State. SaveDC returns the new save level; RestoreDC takes a level (or -n for the
  // n-th most recent) and drops every later one.
  int SaveDC();
  bool RestoreDC(int level);
  const DrawState& State() const { return state_; }

 protected:
  DrawingSurface& surface() { return *surface_; }
  const DrawingSurface& surface() const { return *surface_; }

 private:
  bool Blit(std::string_view call, const BlitGeometry& geometry, const PixelSource& source,
            std::uint32_t rop);
  bool SourceBlit(std::string_view call, const BlitGeometry& geometry,
                  const DeviceContext& source, std::uint32_t rop);

  std::unique_ptr<DrawingSurface> surface_;
  DrawState state_;
  std::vector<DrawState> saved_;
};

}  // namespace orvale::gdi
