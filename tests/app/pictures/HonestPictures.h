#pragma once
// Pictures as cameras and ordinary programs make them, beside the lying ones.
#include <QImage>

namespace orvale::testing {

// A camera's interferogram: a disc of fringes (tilt and defocus) of radius 0.3 x the
// height on a black frame, as grey levels `mean` +- `swing`, in `format` (grey, 16-bit
// grey or colour).
QImage DiscOfFringes(int width, int height, QImage::Format format, int mean = 128, int swing = 115);

// Colour noise, which no coder compresses: the largest file of its size.
QImage Noise(int width, int height);

}  // namespace orvale::testing
