#pragma once
// Post-processing of a grabbed frame in place: one field made to fill the frame, and the
// rightmost column repaired.
#include "cards/korrin/capture/Surfaces.h"

namespace orvale::korrin {

// Keeps the first field's lines (0, 2, 4, ...) or, with `keepSecond`, the second's, and
// overwrites the others with their neighbour (the line above, or below with
// `keepSecond`), or with `average` the mean of both neighbours per colour component. A
// line at the edge with one neighbour takes that one.
void KeepOneField(const Surface& s, bool keepSecond, bool average);
// On every line the rightmost pixel takes its left neighbour's value.
void RepairRightmostPixel(const Surface& s);

}  // namespace orvale::korrin
