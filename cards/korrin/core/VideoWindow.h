#pragma once
// The video geometry: input window, acquisition rectangle, delays and video window, and
// live video on and off.
#include <cstdint>

#include "cards/korrin/core/Library.h"

namespace orvale::korrin {

// Input window, video window and acquisition rectangle all 0, 0, 640, 480.
void InitDefaultGeometry(Library& lib);
// After a standard change: input and video window 760 x 570 or 640 x 480, and the same
// as the scaling limit.
void SetStandardWindows(Library& lib);

// Programs the video DMA and the scaler from the stored geometry; false when the layout
// does not fit its target or the scale cannot be made.
bool ApplyAcquisition(Library& lib);

std::int32_t SetXYDelay(Library& lib, std::int32_t xDelay, std::int32_t yDelay);

bool LiveRunning(Library& lib);
std::int32_t VideoLive(Library& lib, std::int32_t state, std::int32_t flags);

}  // namespace orvale::korrin
