#include "cards/korrin/core/Masks.h"

#include <algorithm>
#include <cstring>

#include "cards/korrin/core/Acquisition.h"
#include "cards/korrin/core/DisplayMemory.h"
#include "cards/korrin/core/RegisterEncoding.h"
#include "cards/korrin/core/Saa7146.h"
#include "cards/korrin/core/Status.h"
#include "cards/korrin/core/Surfaces.h"
#include "cards/korrin/core/Windows.h"
#include "platform/gdi/DeviceContext.h"

namespace orvale::korrin {
namespace {

std::uint32_t Reverse(std::uint32_t v) {
  std::uint32_t r = 0;
  for (int i = 0; i < 32; ++i) r |= ((v >> i) & 1u) << (31 - i);
  return r;
}

std::uint8_t* HardwareRow(Library& lib, int row) {
  return lib.Live().resources.dmaArea->Base() + kHardwareMaskAt + static_cast<std::size_t>(row) * kHardwareRowBytes;
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
  if (!board.Located() || !board.resources.dmaArea) return kFail;
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
                 board.resources.dmaArea->PhysicalAt(kAreaPageTableAt) | encoding::kPageTableEnable);
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
  if (!board.Located() || !board.resources.dmaArea || width < 0 || height < 0 || stride < -1) return kFail;
  const int x0 = x / 8 * 8;
  const int w = width / 8 * 8;
  const int rowBytes = stride == -1 ? w / 8 : stride;
  const bool pattern = bits != 0 && bits != 1;
  if (pattern && rowBytes < w / 8) return kFail;
  const auto* source = reinterpret_cast<const std::uint8_t*>(bits);
  const int rows = MaskRows(board.settings);
  for (int r = 0; r < height; ++r) {
    const int row = y + r;
    if (row < 0 || row >= rows) continue;
    std::uint8_t* hardware = HardwareRow(lib, row);
    for (int i = 0; i < w; ++i) {
      const int column = x0 + i;
      if (column < 0 || column >= kMaskWidth) continue;
      const bool hidden = pattern ? Bit(source + static_cast<std::int64_t>(r) * rowBytes, i) : bits == 1;
      SetHardwareBit(hardware, column, hidden);
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
  const int step = MaskPerField(lib.Settings()) ? 2 : 1;
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
  if (d.perFrame) {
    clear(row);
    clear(row + 1);
  } else {
    clear((row & ~1) / 2);
  }
}

struct Box {
  int x0, y0, x1, y1;  // inclusive
};

template <class Plot>
void Figure(int command, Box b, Plot plot) {
  switch (command) {
    case 5:
    case 6: {
      // Stepped along the longer axis.
      const int dx = b.x1 - b.x0, dy = b.y1 - b.y0;
      const int steps = std::max(std::abs(dx), std::abs(dy));
      for (int i = 0; i <= steps; ++i) {
        const int px = steps == 0 ? b.x0 : b.x0 + (dx * i) / steps;
        const int py = steps == 0 ? b.y0 : b.y0 + (dy * i) / steps;
        plot(px, py, px, py);
      }
      break;
    }
    case 7:
    case 8:
      plot(b.x0, b.y0, b.x1, b.y0);
      plot(b.x0, b.y1, b.x1, b.y1);
      plot(b.x0, b.y0, b.x0, b.y1);
      plot(b.x1, b.y0, b.x1, b.y1);
      break;
    case 9:
    case 10: {
      const int cx = (b.x0 + b.x1) / 2, cy = (b.y0 + b.y1) / 2;
      plot(b.x0, cy, b.x1, cy);
      plot(cx, b.y0, cx, b.y1);
      break;
    }
    default:
      plot(b.x0, b.y0, b.x1, b.y1);
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
    // Clear the figure's bits: video shows there. Coordinates are on the screen.
    Figure(command, box, [&](int ax, int ay, int bx, int by) {
      for (int row = ay; row <= by; ++row) {
        for (int column = ax; column <= bx; ++column) ClearMaskPoint(s, column - video.x, row - video.y);
      }
    });
    return kOk;
  }
  // Draw the figure on the display.
  if (d.directDraw) {
    Figure(command, box, [&](int ax, int ay, int bx, int by) {
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
  Figure(command, box, [&](int ax, int ay, int bx, int by) {
    dc->FillRect({ax - client.left, ay - client.top, bx + 1 - client.left, by + 1 - client.top}, brush);
  });
  return kOk;
}

}  // namespace orvale::korrin
