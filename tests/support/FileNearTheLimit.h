#pragma once
// A settings or profile file of one byte less than the shared-file limit, with LF line
// ends: readable as it is, but any writer, which writes CR LF, would make it larger than
// the limit.
#include <string>

#include "platform/runtime/LockedFileUpdate.h"

namespace orvale::testing {

// "[Camera]" and "K<n>=<n>" lines to kMostSharedTextFileBytes - 1 bytes, the last line
// padded to fit.
inline std::string LfTextOneByteUnderTheLimit() {
  const std::size_t size = kMostSharedTextFileBytes - 1;
  std::string text = "[Camera]\n";
  text.reserve(size);
  for (int n = 0; text.size() + 40 < size; ++n) {
    text += 'K' + std::to_string(n) + '=' + std::to_string(n) + '\n';
  }
  text += "Pad=";
  text.append(size - text.size() - 1, 'p');
  text += '\n';
  return text;
}

}  // namespace orvale::testing
