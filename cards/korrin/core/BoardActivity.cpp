#include "cards/korrin/core/BoardActivity.h"

namespace orvale::korrin {

void ReleaseBoardActivity(Library& lib) {
  lib.Settings().asyncWord = 0;
}

}  // namespace orvale::korrin
