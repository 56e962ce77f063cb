#pragma once
// The video geometry exports: input window, acquisition rectangle, delays, the video
// window on the display or off-screen, the colour space, live video and the caller's
// capture buffer.
#include <cstdint>

#include "cards/korrin/session/Library.h"
#include "korrin32.h"

namespace orvale::korrin {

// Input window, video window and acquisition rectangle all 0, 0, 640, 480.
void InitDefaultGeometry(Library& lib);
// After a standard change: input and video window 760 x 570 or 640 x 480, which is also
// the full-size scaling limit.
void SetStandardWindows(Library& lib);

std::int32_t SetInputOffset(Library& lib, std::int32_t x, std::int32_t y);
std::int32_t SetInputWindow(Library& lib, std::int32_t x, std::int32_t y, std::int32_t width,
                            std::int32_t height);
std::int32_t SetAcqRect(Library& lib, std::int32_t xDelay, std::int32_t yDelay, std::int32_t width,
                        std::int32_t height);
std::int32_t SetXYDelay(Library& lib, std::int32_t xDelay, std::int32_t yDelay);
// Selector 0 acquisition (delays and input size), 1 input window, 2 video window.
std::int32_t GetVideoRect(Library& lib, std::int32_t selector, std::int16_t* x, std::int16_t* y,
                          std::int16_t* width, std::int16_t* height);
std::int32_t SetVideoWindow(Library& lib, std::int32_t x, std::int32_t y, std::int32_t width,
                            std::int32_t height, std::int32_t limit);
std::int32_t VideoOffscreen(Library& lib, std::int32_t width, std::int32_t height, std::int32_t bits,
                            std::int32_t limit);
std::int32_t SetColorSpace(Library& lib, std::int32_t inputFormat, std::int32_t outputFormat);

bool LiveRunning(Library& lib);
std::int32_t VideoLive(Library& lib, std::int32_t state, std::int32_t flags);

std::int32_t VideoCaptureMem(Library& lib, KR_CaptureRecord* record, std::int32_t flags);

// The DMA offsets of misc parameters 8 and 9; a refused one leaves the old in place.
std::int32_t SetDmaOffset(Library& lib, int which, std::int32_t offset);

}  // namespace orvale::korrin
