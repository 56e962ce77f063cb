#pragma once
// Pictures coded by libjpeg itself, for the codings Qt's writer does not offer:
// arithmetic coding, 4:4:4 colour and scripts of refinement scans.
#include <QImage>
#include <cstdint>
#include <vector>

namespace orvale::testing {

struct LibjpegCoding {
  int quality = 90;
  bool arithmetic = false;
  bool progressive = false;  // libjpeg's own script of scans
  // When above 0, a progressive script of successive approximation: the DC of all
  // components, then for each component its AC band with `refinements` bits held back,
  // refined one bit a scan.
  int refinements = 0;
};

// `image` (grey when Format_Grayscale8, else colour without subsampling) as libjpeg
// codes it.
std::vector<std::uint8_t> CodedByLibjpeg(const QImage& image, const LibjpegCoding& coding);

}  // namespace orvale::testing
