#pragma once
// What a device context draws on. A device context resolves the GDI state and calls
// one of these primitives with it; each backend (32-bit image, any QPaintDevice,
// recording) implements them. `call` names the device-context call being served.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/gdi/BlitGeometry.h"
#include "platform/gdi/DeviceCaps.h"
#include "platform/gdi/DrawState.h"
#include "platform/gdi/PixelSource.h"

namespace orvale::gdi {

// Where text lands and how far it reaches: ends[i] is the byte offset after the
// (i + 1)-th character and extents[i] the width of the text up to there.
struct TextLayout {
  std::vector<std::size_t> ends;
  std::vector<int> extents;
  Size size;  // width of the whole text, height = ascent + descent
};

class DrawingSurface {
 public:
  virtual ~DrawingSurface() = default;

  virtual DeviceCaps Caps() const = 0;
  // The drawable area in device pixels.
  virtual Rect Bounds() const = 0;

  // Width-1 lines leave out the last point; `closed` joins the last point to the first.
  virtual void Polyline(std::string_view call, const DrawState& state,
                        std::span<const Point> points, bool closed) = 0;
  // Filled with the state's brush by its fill mode, outlined with its pen.
  virtual void Polygon(std::string_view call, const DrawState& state,
                       std::span<const Point> points) = 0;
  // Right and bottom edges of `box` are exclusive; `box` is normalised.
  virtual void Rectangle(std::string_view call, const DrawState& state, const Rect& box) = 0;
  virtual void Ellipse(std::string_view call, const DrawState& state, const Rect& box) = 0;
  // `brush` is the pattern of the ternary raster operation `rop3` over `box`.
  virtual void PatternBlt(std::string_view call, const DrawState& state, const Rect& box,
                          const Brush& brush, std::uint32_t rop3) = 0;
  // Pixels are set as they are, whatever the raster mode; the clip applies.
  virtual void SetPixels(std::string_view call, const DrawState& state,
                         std::span<const Point> points, Color color) = 0;
  virtual void SetPixelRow(std::string_view call, const DrawState& state, Point start,
                           std::span<const Color> colors) = 0;
  // kInvalidColor where the surface has no readable pixel.
  virtual Color GetPixel(Point p) const = 0;

  virtual void TextOut(std::string_view call, const DrawState& state, Point origin,
                       std::string_view text) = 0;
  virtual TextLayout MeasureText(const LogFont& font, std::string_view text) const = 0;
  // MeasureText's size alone; backends that can measure the whole text at once spare
  // the extents of every leading part.
  virtual Size MeasureTextSize(const LogFont& font, std::string_view text) const {
    return MeasureText(font, text).size;
  }
  virtual TextMetrics FontMetrics(const LogFont& font) const = 0;

  virtual void Blit(std::string_view call, const DrawState& state, const BlitGeometry& geometry,
                    const PixelSource& source, std::uint32_t rop3) = 0;
  // A call that changes no pixel but that a recording shows (selecting and realising
  // palettes); `state` is the state after it.
  virtual void Note(std::string_view /*call*/, const DrawState& /*state*/) {}

  // The surface's own pixels as a blit source, when it has readable ones.
  virtual std::optional<PixelSource> Pixels() const { return std::nullopt; }
};

}  // namespace orvale::gdi
