#pragma once
// The program-wide settings the document benchmarks run with: the program's defaults,
// shared result windows, all seven shown.
#include "platform/registry/GeneralSettings.h"

namespace orvale {

inline GeneralSettings ProgramDefaults() {
  GeneralSettings s;
  s.SurfaceLevels = 10;
  s.SurfaceGridSize = 30;
  s.SFringeSize = 150;
  s.LineSize = 100;
  s.DefaultSurfaceTheta = 60;
  s.DefaultSurfacePhi = 30;
  s.AutoTraceDensity = 3;
  s.HogWindows = true;
  s.ResultWindowVisible = {true, true, true, true, true, true, true};
  return s;
}

}  // namespace orvale
