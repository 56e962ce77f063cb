#pragma once
// The pictures of the synthetic camera. The default is the interferogram of a known
// wavefront over a circular pupil in the middle of the frame, so that a frame grabbed,
// traced and fitted can be checked against the coefficients it was made from.
#include <array>
#include <cstdint>

#include "platform/capture/VideoFrame.h"

namespace orvale {

struct SyntheticPupil {
  std::int32_t CentreX = 0;  // pixels from the left
  std::int32_t CentreY = 0;  // pixels from the top
  std::int32_t Radius = 0;
};

// The pupil of a width x height frame: centred, its radius 0.42 of the shorter side.
SyntheticPupil SyntheticPupilFor(std::int32_t width, std::int32_t height);

// The wavefront in waves as Fringe Zernike coefficients 1..8 (element 0 unused): tilt
// across and down, defocus, astigmatism and coma, so that the dark fringes cross the
// pupil from top to bottom.
inline constexpr std::array<double, 9> kSyntheticWavefront = {0, 8.0, 1.0, 1.5, 0.5, 0, 0.3, 0, 0};

// Grey 128 + 100 cos(2 pi W) at every pixel, W the wavefront at (x - cx, y - cy) / radius
// with y growing downwards, continued beyond the pupil.
void DrawSyntheticFringes(VideoFrame& frame);

// Blue = x, green = y (from the top), red = `frameNumber`, each mod 256.
void DrawSyntheticRamp(VideoFrame& frame, std::uint64_t frameNumber);

}  // namespace orvale
