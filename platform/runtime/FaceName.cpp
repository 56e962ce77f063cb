#include "platform/runtime/FaceName.h"

#include <algorithm>

namespace orvale {

std::string FixedFaceName(std::string_view name) {
  std::size_t length = std::min(name.size(), kFaceNameLength);
  if (length < name.size())  // do not split a UTF-8 sequence
    while (length > 0 && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80) --length;
  std::string fixed(name.substr(0, length));
  fixed.resize(kFaceNameLength, ' ');
  return fixed;
}

std::string_view TrimFaceName(std::string_view name) {
  name = name.substr(0, kFaceNameLength);
  const std::size_t last = name.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view() : name.substr(0, last + 1);
}

}  // namespace orvale
