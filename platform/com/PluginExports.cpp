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

std::int32_t CheckObjectRequest(bool served, const char* iid, IGrabberPlugin** object, char* error,
                                std::size_t errorSize) noexcept {
  if (object == nullptr) return ReportPluginError(plugincode::kFailed, "No object pointer", error, errorSize);
  *object = nullptr;
  if (!served)
    return ReportPluginError(plugincode::kClassNotRegistered, "Class not registered", error, errorSize);
  // The interface's identity stands for its layout: a changed interface gets a new one.
  if (iid == nullptr || std::strcmp(iid, kIGrabberPluginIID) != 0)
    return ReportPluginError(plugincode::kNoInterface, "No such interface supported", error, errorSize);
  return 0;
}

}  // namespace orvale
