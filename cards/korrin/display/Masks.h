#pragma once
// The clip mask that keeps video from the covered parts of its window: software rows of
// 95 bytes (760 pixels, pixel 0 in bit 0, 1 = hidden), and the hardware copy in the DMA
// area that video-DMA channel 2 reads, rows of 96 bytes whose 32-bit words have their
// bit order reversed.
#include <cstdint>
#include <span>

#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

inline constexpr int kMaskWidth = 760;
inline constexpr int kMaskRowBytes = 95;
inline constexpr int kHardwareRowBytes = 96;
inline constexpr int kMaskFrameRows = 570;

// One mask row per field line (285 rows) or per frame line (570): per field whenever one
// field fills the video window, or when misc parameter 32 says so.
bool MaskPerField(const BoardSettings& s);
int MaskRows(const BoardSettings& s);

// A software row as the hardware reads it: each 32-bit word bit-reversed, the trailing
// three bytes zero-padded into a last word.
void ToHardwareMask(std::span<const std::uint8_t, kMaskRowBytes> software,
                    std::span<std::uint8_t, kHardwareRowBytes> hardware);

std::int32_t EnableVideoMask(Library& lib, std::int32_t on);
// Bits 0 clears, 1 sets, anything else points at the caller's rows of `stride` bytes
// (-1: the rounded width / 8). Clipped to the mask.
std::int32_t SetVideoMask(Library& lib, std::int32_t x, std::int32_t y, std::int32_t width,
                          std::int32_t height, std::int32_t stride, std::intptr_t bits);
// Builds a mask from the display: pixels equal to the colour key show video (bit 31 of
// the key swaps that). Only the rows it writes of the caller's buffer are touched.
std::int32_t VgaRectToMask(Library& lib, std::uint32_t key, std::int32_t x, std::int32_t y,
                           std::int32_t width, std::int32_t height, std::uint8_t* buffer,
                           std::int32_t stride);
// Figures are given in screen coordinates; `windowOrDc` is a device context or a tracked
// window's handle, whose own context then takes them in client coordinates.
std::int32_t MaskDraw(Library& lib, std::int32_t command, std::int32_t x1, std::int32_t y1,
                      std::int32_t x2, std::int32_t y2, std::intptr_t fill, void* windowOrDc);

}  // namespace orvale::korrin
