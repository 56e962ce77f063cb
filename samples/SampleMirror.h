#pragma once
// The mirror the bundled sample shows: where its aperture and obstruction lie in the
// picture, and the wavefront its fringes were made from. The sample's generator
// (MakeSample.cpp) draws the picture from these numbers, and the program's walk-through
// test checks that tracing and analysing the picture finds them again.
#include "app/analysis/ZernikeTerms.h"

namespace orvale::sample {

inline constexpr int kWidth = 640;
inline constexpr int kHeight = 480;
inline constexpr double kCentreX = 318.4;
inline constexpr double kCentreY = 243.1;
inline constexpr double kRadius = 196.0;
inline constexpr double kObstruction = 0.24;  // of the radius

// The fringes run up and down the picture: they are traced with Trace Vertically.
inline constexpr int kTraceDirection = 1;

// In waves: tilt for a workable fringe count, some defocus, a little astigmatism and
// coma, and spherical aberration of an undercorrected paraboloid.
inline ZernikeVector Wavefront() {
  ZernikeVector w{};
  w[1] = 4.3;
  w[2] = -1.3;
  w[3] = 0.5;
  w[4] = 0.22;
  w[5] = -0.14;
  w[6] = 0.06;
  w[7] = -0.04;
  w[8] = 0.28;
  return w;
}

}  // namespace orvale::sample
