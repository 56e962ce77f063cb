#include "cards/korrin/core/VideoWindow.h"

#include "cards/korrin/core/Status.h"

namespace orvale::korrin {

void InitDefaultGeometry(Library& lib) {
  VideoGeometry& g = lib.Settings().geometry;
  g.input = {0, 0, 640, 480};
  g.window = {0, 0, 640, 480};
  g.acquisitionWidth = 640;
  g.acquisitionHeight = 480;
  g.limitFlag = true;
}

void SetStandardWindows(Library& lib) {
  BoardSettings& s = lib.Settings();
  const bool large = s.video.standard != 0;
  const int width = large ? 760 : 640;
  const int height = large ? 570 : 480;
  s.geometry.input = {0, 0, width, height};
  s.geometry.window.width = width;
  s.geometry.window.height = height;
  s.geometry.limitWidth = width;
  s.geometry.limitHeight = height;
}

bool ApplyAcquisition(Library&) { return true; }

std::int32_t SetXYDelay(Library& lib, std::int32_t xDelay, std::int32_t yDelay) {
  if (!lib.Live().Located()) return kFail;
  lib.Settings().xDelay = xDelay & 0x7FF;
  lib.Settings().yDelay = yDelay & 0x7FF;
  return StatusOf(ApplyAcquisition(lib));
}

bool LiveRunning(Library& lib) { return lib.Settings().liveState != 0; }

std::int32_t VideoLive(Library& lib, std::int32_t state, std::int32_t) {
  if (!lib.Live().Located()) return kFail;
  lib.Settings().liveState = state != 0 ? 1 : 0;
  return kOk;
}

}  // namespace orvale::korrin
