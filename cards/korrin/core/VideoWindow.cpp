#include "cards/korrin/core/VideoWindow.h"

namespace orvale::korrin {

void InitDefaultGeometry(Library& lib) {
  VideoGeometry& g = lib.Settings().geometry;
  g.input = {0, 0, 640, 480};
  g.window = {0, 0, 640, 480};
  g.acquisitionWidth = 640;
  g.acquisitionHeight = 480;
  g.limitFlag = true;
}

}  // namespace orvale::korrin
