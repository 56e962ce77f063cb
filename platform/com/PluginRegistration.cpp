#include "platform/com/PluginRegistration.h"

#include <dlfcn.h>

#include <exception>
#include <filesystem>

#include "platform/com/ClassRegistry.h"

namespace orvale {

bool RegisterPluginClass(std::string_view progId, const void* addressInLibrary,
                         std::string& error) noexcept {
  try {
    Dl_info info{};
    if (::dladdr(addressInLibrary, &info) == 0 || info.dli_fname == nullptr) {
      error = "Cannot register " + std::string(progId) + ": the library's own file is unknown.";
      return false;
    }
    std::error_code ec;
    const std::filesystem::path library = std::filesystem::canonical(info.dli_fname, ec);
    if (ec) {
      error = "Cannot register " + std::string(progId) + ": " + info.dli_fname + ": " + ec.message();
      return false;
    }
    return ClassRegistry().Register(progId, library, error);
  } catch (const std::exception& e) {
    error = e.what();
  }
  return false;
}

bool UnregisterPluginClass(std::string_view progId, std::string& error) noexcept {
  try {
    return ClassRegistry().Unregister(progId, error);
  } catch (const std::exception& e) {
    error = e.what();
  }
  return false;
}

}  // namespace orvale
