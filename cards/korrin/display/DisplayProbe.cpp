#include "cards/korrin/display/DisplayProbe.h"

#include <set>

namespace orvale::korrin {
namespace {

int ResolutionCode(int width) {
  switch (width) {
    case 800: return 48;
    case 1024: return 56;
    case 1280: return 63;
    case 1600: return 64;
    default: return 47;
  }
}

}  // namespace

std::int32_t ProbeDisplayDepth(Library& lib) {
  const std::uint32_t iniDepth = lib.Settings().frame.ini.vgaDepth;
  if (iniDepth != 0) return static_cast<std::int32_t>(iniDepth);
  DisplayService& display = lib.Display();
  const int bits = display.BitsPerPixel();
  if (bits != 16) return bits;
  std::set<std::uint32_t> greens;
  for (std::uint32_t i = 0; i < 256; ++i) greens.insert((display.NearestColor(i << 8) >> 8) & 0xFF);
  return greens.size() == 64 ? 16 : 15;
}

std::int32_t GetVgaMode(Library& lib, std::int32_t flag) {
  if (flag != 0) return 0;
  const std::int32_t bits = ProbeDisplayDepth(lib);
  lib.Settings().displayBits = bits;
  return (bits << 8) | ResolutionCode(lib.Display().Width());
}

}  // namespace orvale::korrin
