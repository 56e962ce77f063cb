#pragma once
// The video geometry: input window, acquisition rectangle, delays and video window.
#include "cards/korrin/core/Library.h"

namespace orvale::korrin {

// Input window, video window and acquisition rectangle all 0, 0, 640, 480.
void InitDefaultGeometry(Library& lib);

}  // namespace orvale::korrin
