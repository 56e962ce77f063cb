#include "platform/gdi/DeviceContext.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace orvale::gdi {

DeviceContext::DeviceContext(std::unique_ptr<DrawingSurface> surface)
    : surface_(std::move(surface)) {}

DeviceContext::~DeviceContext() = default;

int DeviceContext::GetDeviceCaps(int index) const { return surface_->Caps().Get(index); }
DeviceCaps DeviceContext::Caps() const { return surface_->Caps(); }

Pen DeviceContext::SelectPen(const Pen& pen) { return std::exchange(state_.pen, pen); }
Brush DeviceContext::SelectBrush(const Brush& brush) {
  return std::exchange(state_.brush, brush);
}
LogFont DeviceContext::SelectFont(const LogFont& font) {
  return std::exchange(state_.font, font);
}

GdiObject DeviceContext::SelectObject(const GdiObject& object) {
  if (const auto* pen = std::get_if<Pen>(&object)) return SelectPen(*pen);
  if (const auto* brush = std::get_if<Brush>(&object)) return SelectBrush(*brush);
  return SelectFont(std::get<LogFont>(object));
}

int DeviceContext::SetROP2(int rop2) {
  if (!IsValidRop2(rop2)) return 0;
  return std::exchange(state_.rop2, rop2);
}
Color DeviceContext::SetTextColor(Color color) {
  return std::exchange(state_.textColor, color & 0xFFFFFF);
}
Color DeviceContext::SetBkColor(Color color) {
  return std::exchange(state_.bkColor, color & 0xFFFFFF);
}
int DeviceContext::SetBkMode(int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return std::exchange(state_.bkMode, mode);
}
std::uint32_t DeviceContext::SetTextAlign(std::uint32_t align) {
  return std::exchange(state_.textAlign, align);
}
int DeviceContext::SetPolyFillMode(int mode) {
  if (mode != ALTERNATE && mode != WINDING) return 0;
  return std::exchange(state_.polyFillMode, mode);
}
int DeviceContext::SetStretchBltMode(int mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
  return std::exchange(state_.stretchMode, mode);
}

Point DeviceContext::MoveTo(int x, int y) { return std::exchange(state_.position, Point{x, y}); }

bool DeviceContext::LineTo(int x, int y) {
  const Point points[2] = {state_.position, Point{x, y}};
  surface_->Polyline("LineTo", state_, points, false);
  state_.position = points[1];
  return true;
}

bool DeviceContext::Polyline(std::span<const Point> points) {
  if (points.size() < 2) return false;
  surface_->Polyline("Polyline", state_, points, false);
  return true;
}

bool DeviceContext::Polygon(std::span<const Point> points) {
  if (points.size() < 2) return false;
  surface_->Polygon("Polygon", state_, points);
  return true;
}

bool DeviceContext::Rectangle(int left, int top, int right, int bottom) {
  const Rect box = Rect{left, top, right, bottom}.Normalized();
  if (box.IsEmpty()) return true;
  surface_->Rectangle("Rectangle", state_, box);
  return true;
}

bool DeviceContext::Ellipse(int left, int top, int right, int bottom) {
  const Rect box = Rect{left, top, right, bottom}.Normalized();
  if (box.IsEmpty()) return true;
  surface_->Ellipse("Ellipse", state_, box);
  return true;
}

bool DeviceContext::FillRect(const Rect& rect, const Brush& brush) {
  if (rect.IsEmpty()) return true;
  surface_->PatternBlt("FillRect", state_, rect, brush, PATCOPY);
  return true;
}

bool DeviceContext::InvertRect(const Rect& rect) {
  if (rect.IsEmpty()) return true;
  surface_->PatternBlt("InvertRect", state_, rect, state_.brush, DSTINVERT);
  return true;
}

bool DeviceContext::PatBlt(int x, int y, int width, int height, std::uint32_t rop) {
  if (Rop3UsesSource(rop)) return false;
  // Cut to the surface in 64 bits: corners anywhere in the 32-bit range make a rectangle.
  const std::int64_t right = std::int64_t{x} + width;
  const std::int64_t bottom = std::int64_t{y} + height;
  const Rect bounds = surface_->Bounds();
  const Span across = Intersect(Span{std::min<std::int64_t>(x, right), std::max<std::int64_t>(x, right)},
                                Span{bounds.left, bounds.right});
  const Span down = Intersect(Span{std::min<std::int64_t>(y, bottom), std::max<std::int64_t>(y, bottom)},
                              Span{bounds.top, bounds.bottom});
  if (across.IsEmpty() || down.IsEmpty()) return true;
  const Rect box = RectOf(across, down);
  surface_->PatternBlt("PatBlt", state_, box, state_.brush, rop);
  return true;
}

Color DeviceContext::SetPixel(int x, int y, Color color) {
  const Point p{x, y};
  if (!surface_->Bounds().Contains(p)) return kInvalidColor;
  if (state_.clip && !state_.clip->Contains(p)) return kInvalidColor;
  surface_->SetPixels("SetPixel", state_, std::span<const Point>(&p, 1), color & 0xFFFFFF);
  return color & 0xFFFFFF;
}

bool DeviceContext::SetPixelV(int x, int y, Color color) {
  return SetPixel(x, y, color) != kInvalidColor;
}

Color DeviceContext::GetPixel(int x, int y) const {
  const Point p{x, y};
  if (!surface_->Bounds().Contains(p)) return kInvalidColor;
  if (state_.clip && !state_.clip->Contains(p)) return kInvalidColor;
  return surface_->GetPixel(p);
}

void DeviceContext::SetPixels(std::span<const Point> points, Color color) {
  if (points.empty()) return;
  surface_->SetPixels("SetPixels", state_, points, color & 0xFFFFFF);
}

void DeviceContext::SetPixelRow(int x, int y, std::span<const Color> colors) {
  if (colors.empty()) return;
  surface_->SetPixelRow("SetPixelRow", state_, Point{x, y}, colors);
}

bool DeviceContext::TextOut(int x, int y, std::string_view text) {
  if (text.empty()) return true;
  surface_->TextOut("TextOut", state_, Point{x, y}, text);
  return true;
}

bool DeviceContext::GetTextExtentPoint32(std::string_view text, Size& size) const {
  size = surface_->MeasureTextSize(state_.font, text);
  return true;
}

bool DeviceContext::GetTextExtentExPoint(std::string_view text, int maxExtent, int* fit,
                                         std::vector<int>* extents, Size& size) const {
  const TextLayout layout = surface_->MeasureText(state_.font, text);
  size = layout.size;
  if (fit != nullptr) {
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < layout.extents.size() && layout.extents[i] <= maxExtent; ++i) {
      bytes = layout.ends[i];
    }
    *fit = static_cast<int>(bytes);
  }
  if (extents != nullptr) *extents = layout.extents;
  return true;
}

bool DeviceContext::GetTextMetrics(TextMetrics& metrics) const {
  metrics = surface_->FontMetrics(state_.font);
  return true;
}

Size DeviceContext::TabbedTextOut(int x, int y, std::string_view text,
                                  std::span<const int> tabStops, int tabOrigin) {
  const TextMetrics metrics = surface_->FontMetrics(state_.font);
  const int defaultStep = std::max(1, 8 * metrics.tmAveCharWidth);
  auto nextStop = [&](int position) {
    const int relative = position - tabOrigin;
    if (tabStops.size() <= 1) {
      const int step = tabStops.empty() || tabStops[0] <= 0 ? defaultStep : tabStops[0];
      return tabOrigin + (relative / step + 1) * step;
    }
    for (const int stop : tabStops) {
      if (stop > relative) return tabOrigin + stop;
    }
    return position;  // past the last stop the text goes on where it is
  };
  int cursor = x;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t tab = text.find('\t', start);
    const std::string_view piece =
        text.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
    if (!piece.empty()) {
      surface_->TextOut("TabbedTextOut", state_, Point{cursor, y}, piece);
      cursor += surface_->MeasureTextSize(state_.font, piece).cx;
    }
    if (tab == std::string_view::npos) break;
    cursor = nextStop(cursor);
    start = tab + 1;
  }
  return Size{cursor - x, metrics.tmHeight};
}

int DeviceContext::SelectClipRgn(const Region* region) {
  return ExtSelectClipRgn(region, RGN_COPY);
}

int DeviceContext::ExtSelectClipRgn(const Region* region, int mode) {
  if (mode < RGN_AND || mode > RGN_COPY) return RGN_ERROR;
  if (region == nullptr) {
    if (mode != RGN_COPY) return RGN_ERROR;
    state_.clip.reset();
    return SIMPLEREGION;
  }
  if (mode == RGN_COPY) {
    state_.clip = *region;
  } else {
    const Region current = state_.clip ? *state_.clip : Region::FromRect(surface_->Bounds());
    state_.clip = Region::Combine(current, *region, mode);
  }
  return state_.clip->Complexity();
}

int DeviceContext::IntersectClipRect(int left, int top, int right, int bottom) {
  const Region rect = Region::FromRect(Rect{left, top, right, bottom});
  return ExtSelectClipRgn(&rect, RGN_AND);
}

int DeviceContext::ExcludeClipRect(int left, int top, int right, int bottom) {
  const Region rect = Region::FromRect(Rect{left, top, right, bottom});
  return ExtSelectClipRgn(&rect, RGN_DIFF);
}

int DeviceContext::GetClipBox(Rect& box) const {
  if (!state_.clip) {
    box = surface_->Bounds();
    return SIMPLEREGION;
  }
  box = state_.clip->Box();
  return state_.clip->Complexity();
}

bool DeviceContext::Blit(std::string_view call, const BlitGeometry& geometry,
                         const PixelSource& source, std::uint32_t rop) {
  if (geometry.wDest == 0 || geometry.hDest == 0 || geometry.wSrc == 0 || geometry.hSrc == 0) {
    return false;
  }
  surface_->Blit(call, state_, geometry, source, rop);
  return true;
}

bool DeviceContext::BitBlt(int xDest, int yDest, int width, int height,
                           const DeviceContext& source, int xSrc, int ySrc, std::uint32_t rop) {
  return SourceBlit("BitBlt", BlitGeometry{xDest, yDest, width, height, xSrc, ySrc, width, height},
                    source, rop);
}

bool DeviceContext::StretchBlt(int xDest, int yDest, int wDest, int hDest,
                               const DeviceContext& source, int xSrc, int ySrc, int wSrc,
                               int hSrc, std::uint32_t rop) {
  return SourceBlit("StretchBlt", BlitGeometry{xDest, yDest, wDest, hDest, xSrc, ySrc, wSrc, hSrc},
                    source, rop);
}

bool DeviceContext::SourceBlit(std::string_view call, const BlitGeometry& geometry,
                               const DeviceContext& source, std::uint32_t rop) {
  if (!Rop3UsesSource(rop)) {
    // The geometry holds the caller's 32-bit values here.
    return PatBlt(static_cast<int>(geometry.xDest), static_cast<int>(geometry.yDest),
                  static_cast<int>(geometry.wDest), static_cast<int>(geometry.hDest), rop);
  }
  const std::optional<PixelSource> pixels = source.surface_->Pixels();
  if (!pixels) return false;
  return Blit(call, geometry, *pixels, rop);
}

int DeviceContext::StretchDIBits(int xDest, int yDest, int wDest, int hDest, int xSrc, int ySrc,
                                 int wSrc, int hSrc, std::span<const std::uint8_t> bits,
                                 const BitmapInfo& info, std::uint32_t colorUse,
                                 std::uint32_t rop) {
  const std::optional<PixelSource> pixels = DibPixelSource(info, bits, colorUse);
  if (!pixels) return 0;
  // Rows of a bottom-up DIB are counted from the bottom.
  const std::int64_t yTop =
      info.header.biHeight > 0 ? std::int64_t{pixels->height} - ySrc - hSrc : std::int64_t{ySrc};
  if (!Blit("StretchDIBits", BlitGeometry{xDest, yDest, wDest, hDest, xSrc, yTop, wSrc, hSrc},
            *pixels, rop)) {
    return 0;
  }
  // The rows of the source rectangle; INT_MIN's count is held to INT_MAX.
  return hSrc == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max() : std::abs(hSrc);
}

int DeviceContext::SetDIBitsToDevice(int xDest, int yDest, int width, int height, int xSrc,
                                     int ySrc, int startScan, int numScans,
                                     std::span<const std::uint8_t> bits, const BitmapInfo& info,
                                     std::uint32_t colorUse) {
  if (width <= 0 || height <= 0 || numScans <= 0 || startScan < 0) return 0;
  // The rows handed over form a DIB of their own.
  BitmapInfo band = info;
  const bool bottomUp = info.header.biHeight > 0;
  band.header.biHeight = bottomUp ? numScans : -numScans;
  const std::optional<PixelSource> pixels = DibPixelSource(band, bits, colorUse);
  if (!pixels) return 0;
  const long long first = std::max<long long>(ySrc, startScan);
  const long long last = std::min<long long>(static_cast<long long>(ySrc) + height,
                                             static_cast<long long>(startScan) + numScans);
  if (last <= first) return 0;
  const int rows = static_cast<int>(last - first);
  BlitGeometry geometry{xDest, 0, width, rows, xSrc, 0, width, rows};
  if (bottomUp) {
    geometry.yDest = yDest + (static_cast<long long>(ySrc) + height - last);
    geometry.ySrc = static_cast<long long>(startScan) + numScans - last;
  } else {
    geometry.yDest = yDest + (first - ySrc);
    geometry.ySrc = first - startScan;
  }
  if (!Blit("SetDIBitsToDevice", geometry, *pixels, SRCCOPY)) return 0;
  return rows;
}

PaletteHandle DeviceContext::SelectPalette(PaletteHandle palette, bool forceBackground) {
  if (!IsPalette(palette)) return PaletteHandle::None;
  const PaletteHandle previous = std::exchange(state_.palette, palette);
  state_.paletteInBackground = forceBackground;
  surface_->Note("SelectPalette", state_);
  return previous;
}

std::uint32_t DeviceContext::RealizePalette() {
  const auto entries = PaletteEntries(state_.palette);
  if (!entries) return GDI_ERROR;
  surface_->Note("RealizePalette", state_);
  const DeviceCaps caps = surface_->Caps();
  const bool paletteDevice = caps.bitsPixel * caps.planes <= 8;
  return paletteDevice ? static_cast<std::uint32_t>(entries->size()) : 0;
}

std::uint32_t DeviceContext::GetSystemPaletteEntries(std::uint32_t start,
                                                     std::span<PaletteEntry> out) const {
  const std::vector<PaletteEntry>& system = SystemPalette();
  if (start >= system.size()) return 0;
  const std::size_t count = std::min(out.size(), system.size() - start);
  std::copy_n(system.begin() + start, count, out.begin());
  return static_cast<std::uint32_t>(count);
}

int DeviceContext::SaveDC() {
  saved_.push_back(state_);
  return static_cast<int>(saved_.size());
}

bool DeviceContext::RestoreDC(int level) {
  const int count = static_cast<int>(saved_.size());
  const int target = level < 0 ? count + level + 1 : level;
  if (target < 1 || target > count) return false;
  state_ = saved_[static_cast<std::size_t>(target - 1)];
  saved_.resize(static_cast<std::size_t>(target - 1));
  return true;
}

}  // namespace orvale::gdi
