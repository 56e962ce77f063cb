#include "cards/korrin/display/Masks.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "cards/korrin/capture/Acquisition.h"
#include "cards/korrin/display/DisplayMemory.h"
#include "cards/korrin/hardware/RegisterEncoding.h"
#include "cards/korrin/hardware/Saa7146.h"
#include "cards/korrin/session/Status.h"
#include "cards/korrin/capture/Surfaces.h"
#include "cards/korrin/display/Windows.h"
#include "platform/gdi/DeviceContext.h"

namespace orvale::korrin {
namespace {

std::uint32_t Reverse(std::uint32_t v) {
  std::uint32_t r = 0;
  for (int i = 0; i < 32; ++i) r |= ((v >> i) & 1u) << (31 - i);
  return r;
}

std::uint8_t* HardwareRow(Library& lib, int row) {
  std::uint8_t* mask = lib.Live().resources.session->Dma()->Base() + kHardwareMaskAt;
  return mask + static_cast<std::size_t>(row) * kHardwareRowBytes;
}

void SetHardwareBit(std::uint8_t* row, int column, bool hidden) {
  std::uint8_t* word = row + (column / 32) * 4;
  std::uint32_t bits;
  std::memcpy(&bits, word, 4);
  const std::uint32_t mask = 1u << (31 - column % 32);
  bits = hidden ? bits | mask : bits & ~mask;
  std::memcpy(word, &bits, 4);
}

// Software mask rows: pixel i in bit i % 8 of byte i / 8.
void SetBit(std::uint8_t* row, int column, bool hidden) {
  const std::uint8_t bit = static_cast<std::uint8_t>(1u << (column % 8));
  row[column / 8] = hidden ? row[column / 8] | bit : row[column / 8] & ~bit;
}
bool Bit(const std::uint8_t* row, int column) { return (row[column / 8] >> (column % 8)) & 1; }

std::uint32_t KeyMask(int bits) {
  switch (bits) {
    case 8: return 0xFF;
    case 15: return 0x7FFF;
    case 16: return 0xFFFF;
    default: return 0xFFFFFF;
  }
}

std::uint32_t PixelValue(const std::uint8_t* p, int bytes) {
  std::uint32_t v = 0;
  for (int k = 0; k < bytes && k < 4; ++k) v |= std::uint32_t{p[k]} << (8 * k);
  return v;
}

}  // namespace

bool MaskPerField(const BoardSettings& s) { return s.misc.fullFrameMask == 0 || !Interleaves(s); }
int MaskRows(const BoardSettings& s) { return MaskPerField(s) ? kMaskFrameRows / 2 : kMaskFrameRows; }

namespace {
// An interleaved window shows both fields, and a field mask serves both: one mask row
// covers two window rows. Otherwise each window row has its own mask row.
bool MaskRowSpansTwoWindowRows(const BoardSettings& s) { return Interleaves(s) && MaskPerField(s); }
}  // namespace

void ToHardwareMask(std::span<const std::uint8_t, kMaskRowBytes> software,
                    std::span<std::uint8_t, kHardwareRowBytes> hardware) {
  for (int word = 0; word < kHardwareRowBytes / 4; ++word) {
    std::uint32_t v = 0;
    for (int k = 0; k < 4; ++k) {
      const int at = word * 4 + k;
      if (at < kMaskRowBytes) v |= std::uint32_t{software[at]} << (8 * k);
    }
    const std::uint32_t r = Reverse(v);
    std::memcpy(hardware.data() + word * 4, &r, 4);
  }
}

std::int32_t EnableVideoMask(Library& lib, std::int32_t on) {
  BoardState& board = lib.Live();
  if (!board.Located() || !board.resources.session->Dma()) return kFail;
  BoardSettings& s = board.settings;
  RegisterWindow& regs = board.Registers();
  if (on) {
    // The mask spans several pages of the DMA area; channel 2 reaches them through the
    // area's own page table, so addresses are offsets into the area.
    const bool perField = MaskPerField(s);
    const std::uint32_t base = kHardwareMaskAt;
    const std::uint32_t rows = static_cast<std::uint32_t>(MaskRows(s));
    regs.Write32(encoding::kChannel2 + 0x00, base);
    regs.Write32(encoding::kChannel2 + 0x04, perField ? base : base + kHardwareRowBytes);
    regs.Write32(encoding::kChannel2 + 0x08, base + rows * kHardwareRowBytes);
    regs.Write32(encoding::kChannel2 + 0x0C, perField ? kHardwareRowBytes : 2 * kHardwareRowBytes);
    regs.Write32(encoding::kChannel2 + 0x10,
                 board.resources.session->Dma()->PhysicalAt(kAreaPageTableAt) | encoding::kPageTableEnable);
    regs.Write32(encoding::kChannel2 + 0x14, (rows << 16) | kHardwareRowBytes);
    regs.Write32(saa::kMainControl2, encoding::kUploadChannel2);
    regs.Write32(saa::kMainControl1, 0x00200020);
  } else {
    regs.Write32(saa::kMainControl1, 0x00200000);
  }
  // The format word follows the state, so enabling twice adds nothing twice.
  s.maskEnabled = on != 0;
  WriteFormatWord(lib);
  return kOk;
}

std::int32_t SetVideoMask(Library& lib, std::int32_t x, std::int32_t y, std::int32_t width,
                          std::int32_t height, std::int32_t stride, std::intptr_t bits) {
  BoardState& board = lib.Live();
  if (!board.Located() || !board.resources.session->Dma()) return kFail;
  if (width < 0 || height < 0 || stride < -1) return kFail;
  const int x0 = x / 8 * 8;
  const int w = width / 8 * 8;
  const int rowBytes = stride == -1 ? w / 8 : stride;
  const bool pattern = bits != 0 && bits != 1;
  if (pattern && rowBytes < w / 8) return kFail;
  const auto* source = reinterpret_cast<const std::uint8_t*>(bits);
  const int rows = MaskRows(board.settings);
  // Only the rows and columns that fall inside the mask are visited.
  const std::int64_t firstRow = std::max<std::int64_t>(0, -std::int64_t{y});
  const std::int64_t endRow = std::min<std::int64_t>(std::int64_t{rows} - y, height);
  const std::int64_t firstColumn = std::max<std::int64_t>(0, -std::int64_t{x0});
  const std::int64_t endColumn = std::min<std::int64_t>(std::int64_t{kMaskWidth} - x0, w);
  for (std::int64_t r = firstRow; r < endRow; ++r) {
    std::uint8_t* hardware = HardwareRow(lib, static_cast<int>(y + r));
    for (std::int64_t i = firstColumn; i < endColumn; ++i) {
      const bool hidden = pattern ? Bit(source + r * rowBytes, static_cast<int>(i)) : bits == 1;
      SetHardwareBit(hardware, static_cast<int>(x0 + i), hidden);
    }
  }
  return kOk;
}

std::int32_t VgaRectToMask(Library& lib, std::uint32_t key, std::int32_t x, std::int32_t y,
                           std::int32_t width, std::int32_t height, std::uint8_t* buffer,
                           std::int32_t stride) {
  if (buffer == nullptr || stride <= 0) return kFail;
  const auto display = DisplaySurface(lib);
  if (!display) return kFail;
  const bool invert = (key & 0x80000000u) != 0;
  const std::uint32_t mask = KeyMask(display->bits);
  const std::uint32_t wanted = key & mask;
  const int x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int x1 = static_cast<int>(std::min<std::int64_t>({std::int64_t{x} + width, display->width,
                                                          std::int64_t{x0} + std::int64_t{stride} * 8}));
  const int y1 = static_cast<int>(std::min<std::int64_t>(std::int64_t{y} + height, display->height));
  const int step = MaskRowSpansTwoWindowRows(lib.Settings()) ? 2 : 1;
  const int bpp = display->BytesPerPixel();
  int maskRow = 0;
  for (int row = y0; row < y1; row += step, ++maskRow) {
    std::uint8_t* out = buffer + static_cast<std::int64_t>(maskRow) * stride;
    std::memset(out, 0xFF, static_cast<std::size_t>(stride));
    for (int column = x0; column < x1; ++column) {
      const bool equal = (PixelValue(display->At(column, row), bpp) & mask) == wanted;
      if (equal != invert) SetBit(out, column - x0, false);
    }
  }
  return kOk;
}

namespace {

// The mask rows a display row stands for while drawing.
void ClearMaskPoint(const BoardSettings& s, int column, int row) {
  const MaskDrawState& d = s.maskDraw;
  const int rows = d.perFrame ? kMaskFrameRows : kMaskFrameRows / 2;
  if (column < 0 || column >= kMaskWidth) return;
  auto clear = [&](int r) {
    if (r >= 0 && r < rows) SetBit(d.buffer + static_cast<std::size_t>(r) * kMaskRowBytes, column, false);
  };
  // The choice made when drawing began: a field mask under an interleaved window.
  if (!d.perFrame && Interleaves(s)) {
    clear((row & ~1) / 2);
  } else {
    clear(row);
    clear(row + 1);
  }
}

struct Box {
  std::int64_t x0, y0, x1, y1;  // inclusive
};

// Narrows the span [a, b] to [lo, hi]; false when nothing of it is left.
bool ClipSpan(std::int64_t& a, std::int64_t& b, std::int64_t lo, std::int64_t hi) {
  a = std::max(a, lo);
  b = std::min(b, hi);
  return a <= b;
}

// The smallest step in [0, steps + 1] at which `reached` holds, for a test that, once
// true, stays true.
template <class Test>
std::int64_t FirstStep(std::int64_t steps, Test reached) {
  std::int64_t lo = 0, hi = steps + 1;
  while (lo < hi) {
    const std::int64_t mid = lo + (hi - lo) / 2;
    if (reached(mid)) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  return lo;
}

// Narrows the steps [first, last] of a line to those whose coordinate from + delta * i /
// steps lies in [lo, hi]; the coordinate only grows or only falls along the line. The
// product needs more than 64 bits for lines across the whole coordinate range.
void ClipSteps(std::int64_t from, std::int64_t delta, std::int64_t steps, std::int64_t lo, std::int64_t hi,
               std::int64_t& first, std::int64_t& last) {
  const auto at = [&](std::int64_t i) {
    return from + static_cast<std::int64_t>(static_cast<__int128>(delta) * i / steps);
  };
  if (delta >= 0) {
    first = std::max(first, FirstStep(steps, [&](std::int64_t i) { return at(i) >= lo; }));
    last = std::min(last, FirstStep(steps, [&](std::int64_t i) { return at(i) > hi; }) - 1);
  } else {
    first = std::max(first, FirstStep(steps, [&](std::int64_t i) { return at(i) <= hi; }));
    last = std::min(last, FirstStep(steps, [&](std::int64_t i) { return at(i) < lo; }) - 1);
  }
}

// Plots the parts of a figure inside `clip`, so that the work follows what can be seen,
// not the figure's size.
template <class Plot>
void Figure(int command, Box b, Box clip, Plot plot) {
  const auto span = [&](std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by) {
    if (ClipSpan(ax, bx, clip.x0, clip.x1) && ClipSpan(ay, by, clip.y0, clip.y1)) {
      plot(static_cast<int>(ax), static_cast<int>(ay), static_cast<int>(bx), static_cast<int>(by));
    }
  };
  switch (command) {
    case 5:
    case 6: {
      // Stepped along the longer axis.
      const std::int64_t dx = b.x1 - b.x0, dy = b.y1 - b.y0;
      const std::int64_t steps = std::max(std::abs(dx), std::abs(dy));
      if (steps == 0) {
        span(b.x0, b.y0, b.x0, b.y0);
        break;
      }
      std::int64_t first = 0, last = steps;
      ClipSteps(b.x0, dx, steps, clip.x0, clip.x1, first, last);
      ClipSteps(b.y0, dy, steps, clip.y0, clip.y1, first, last);
      for (std::int64_t i = first; i <= last; ++i) {
        const std::int64_t px = b.x0 + static_cast<std::int64_t>(static_cast<__int128>(dx) * i / steps);
        const std::int64_t py = b.y0 + static_cast<std::int64_t>(static_cast<__int128>(dy) * i / steps);
        span(px, py, px, py);
      }
      break;
    }
    case 7:
    case 8:
      span(b.x0, b.y0, b.x1, b.y0);
      span(b.x0, b.y1, b.x1, b.y1);
      span(b.x0, b.y0, b.x0, b.y1);
      span(b.x1, b.y0, b.x1, b.y1);
      break;
    case 9:
    case 10: {
      const std::int64_t cx = (b.x0 + b.x1) / 2, cy = (b.y0 + b.y1) / 2;
      span(b.x0, cy, b.x1, cy);
      span(cx, b.y0, cx, b.y1);
      break;
    }
    default:
      span(b.x0, b.y0, b.x1, b.y1);
      break;
  }
}

}  // namespace

std::int32_t MaskDraw(Library& lib, std::int32_t command, std::int32_t x1, std::int32_t y1,
                      std::int32_t x2, std::int32_t y2, std::intptr_t fill, void* windowOrDc) {
  BoardSettings& s = lib.Settings();
  MaskDrawState& d = s.maskDraw;
  switch (command) {
    case 0: {
      auto* buffer = reinterpret_cast<std::uint8_t*>(fill);
      if (buffer == nullptr) return kFail;
      d = {true, buffer, windowOrDc, x1 != 0, y1 != 0, !MaskPerField(s)};
      std::memset(buffer, 0, static_cast<std::size_t>(kMaskRowBytes) * (d.perFrame ? kMaskFrameRows : kMaskFrameRows / 2));
      return kOk;
    }
    case 2: {
      if (!d.open) return kFail;
      const bool perFrame = !MaskPerField(s);
      const bool changed = perFrame != d.perFrame;
      d.perFrame = perFrame;
      return changed ? 1 : 0;
    }
    case 3:
      if (!d.open || windowOrDc != nullptr) return kFail;
      std::memset(d.buffer, static_cast<int>(fill & 0xFF),
                  static_cast<std::size_t>(kMaskRowBytes) * (d.perFrame ? kMaskFrameRows : kMaskFrameRows / 2));
      return kOk;
    case 4: {
      if (!d.open || windowOrDc != nullptr) return kFail;
      d.open = false;
      if (d.loadAsMask) {
        const int rows = d.perFrame ? kMaskFrameRows : kMaskFrameRows / 2;
        return SetVideoMask(lib, 0, 0, kMaskWidth, rows, kMaskRowBytes, reinterpret_cast<std::intptr_t>(d.buffer));
      }
      s.maskOverlay = reinterpret_cast<std::intptr_t>(d.buffer);
      return kOk;
    }
    case 5: case 7: case 9: case 13:
    case 6: case 8: case 10: case 14:
      break;
    default:
      return kFail;
  }
  if (!d.open) return kFail;
  const Box box{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
  const Rect16& video = s.geometry.window;
  if (command % 2 == 0) {
    // Clear the figure's bits: video shows there. Coordinates are on the screen; a
    // screen row clears its own mask row and the next, or row / 2 under a field mask
    // shared by an interleaved window's two fields (ClearMaskPoint).
    const Box mask{video.x, video.y - 1, video.x + kMaskWidth - 1, video.y + kMaskFrameRows - 1};
    Figure(command, box, mask, [&](int ax, int ay, int bx, int by) {
      for (int row = ay; row <= by; ++row) {
        for (int column = ax; column <= bx; ++column) ClearMaskPoint(s, column - video.x, row - video.y);
      }
    });
    return kOk;
  }
  // Draw the figure on the display.
  // Nothing beyond the 16-bit coordinate range shows on a display or in a window.
  const Box screen{INT16_MIN, INT16_MIN, INT16_MAX, INT16_MAX};
  if (d.directDraw) {
    Figure(command, box, screen, [&](int ax, int ay, int bx, int by) {
      SetVgaRect(lib, ax, ay, bx - ax + 1, by - ay + 1, static_cast<std::uint32_t>(fill));
    });
    return kOk;
  }
  // Through the caller's DC, or a tracked window's own, which draws in client coordinates.
  TrackedWindow* window = FindWindow(windowOrDc);
  gdi::DeviceContext* dc = window != nullptr ? window->Dc() : static_cast<gdi::DeviceContext*>(windowOrDc);
  const gdi::Rect client = window != nullptr ? window->ClientOnScreen() : gdi::Rect{};
  if (dc == nullptr) return kFail;
  const gdi::Brush brush = gdi::CreateSolidBrush(static_cast<gdi::Color>(fill & 0xFFFFFF));
  Figure(command, box, screen, [&](int ax, int ay, int bx, int by) {
    dc->FillRect({ax - client.left, ay - client.top, bx + 1 - client.left, by + 1 - client.top}, brush);
  });
  return kOk;
}

}  // namespace orvale::korrin
