#include "platform/com/PluginExports.h"

#include <algorithm>
#include <cstring>

namespace orvale {

std::int32_t ReportPluginError(std::int32_t code, std::string_view text, char* buffer,
                               std::size_t size) noexcept {
  if (buffer != nullptr && size > 0) {
    const std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
  }
  return code;
}

}  // namespace orvale
