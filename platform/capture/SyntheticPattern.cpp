#include "platform/capture/SyntheticPattern.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvale {

namespace {

// The Fringe Zernike terms 1..8 at (x, y) of the unit pupil.
double WavefrontAt(double x, double y) {
  const double r2 = x * x + y * y;
  const double terms[9] = {
      0.0,
      x,                            // tilt across
      y,                            // tilt down
      2 * r2 - 1,                   // defocus
      x * x - y * y,                // astigmatism 0 degrees
      2 * x * y,                    // astigmatism 45 degrees
      (3 * r2 - 2) * x,             // coma across
      (3 * r2 - 2) * y,             // coma down
      6 * r2 * r2 - 6 * r2 + 1,     // spherical
  };
  double w = 0;
  for (int k = 1; k <= 8; ++k) w += kSyntheticWavefront[static_cast<std::size_t>(k)] * terms[k];
  return w;
}

}  // namespace

SyntheticPupil SyntheticPupilFor(std::int32_t width, std::int32_t height) {
  return {width / 2, height / 2, static_cast<std::int32_t>(std::lround(0.42 * std::min(width, height)))};
}

void DrawSyntheticFringes(VideoFrame& frame) {
  const SyntheticPupil pupil = SyntheticPupilFor(frame.Width, frame.Height);
  const double radius = std::max(pupil.Radius, 1);
  for (std::int32_t y = 0; y < frame.Height; ++y) {
    std::uint8_t* row = frame.RowFromTop(y);
    const double v = (y - pupil.CentreY) / radius;
    for (std::int32_t x = 0; x < frame.Width; ++x, row += 3) {
      const double u = (x - pupil.CentreX) / radius;
      const double grey = 128 + 100 * std::cos(2 * std::numbers::pi * WavefrontAt(u, v));
      row[0] = row[1] = row[2] = static_cast<std::uint8_t>(std::lround(grey));
    }
  }
}

void DrawSyntheticRamp(VideoFrame& frame, std::uint64_t frameNumber) {
  const auto red = static_cast<std::uint8_t>(frameNumber & 0xFF);
  for (std::int32_t y = 0; y < frame.Height; ++y) {
    std::uint8_t* row = frame.RowFromTop(y);
    for (std::int32_t x = 0; x < frame.Width; ++x, row += 3) {
      row[0] = static_cast<std::uint8_t>(x & 0xFF);
      row[1] = static_cast<std::uint8_t>(y & 0xFF);
      row[2] = red;
    }
  }
}

}  // namespace orvale
