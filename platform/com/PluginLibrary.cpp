#include "platform/com/PluginLibrary.h"

#include <dlfcn.h>

#include "platform/com/PluginExports.h"
#include "platform/runtime/OtherUsersWrites.h"
#include "platform/runtime/ReadableFile.h"

namespace orvale {

namespace {

std::string LastLoaderError() {
  const char* text = ::dlerror();
  return text != nullptr ? text : "unknown reason";
}

bool RunRegistrationExport(const std::filesystem::path& library, const char* exportName,
                           std::string& error) {
  void* handle = LoadPluginLibrary(library, error);
  if (handle == nullptr) return false;
  const auto run =
      reinterpret_cast<RegisterServerFunction>(FindPluginExport(handle, exportName, library, error));
  if (run == nullptr) return false;
  char text[1024] = {};
  const std::int32_t code = run(text, sizeof text);
  if (code >= 0) return true;
  error = text[0] != '\0' ? std::string(text)
                          : std::string(exportName) + " of " + library.string() + " failed.";
  return false;
}

}  // namespace

void* LoadPluginLibrary(const std::filesystem::path& library, std::string& error) {
  if (!library.is_absolute()) {
    error = "Cannot load the plug-in " + library.string() + ": its path is not absolute.";
    return nullptr;
  }
  // Its code runs as this user: not from where another user could have put it.
  std::string why;
  if (!SafeFromOtherUsers(library, why)) {
    error = "Cannot load the plug-in " + library.string() + ": " + why + ".";
    return nullptr;
  }
  // The loader would wait for ever on a FIFO at the plug-in's path, or on a file whose
  // read blocks: only a file that reads at once is handed to it.
  RunError refused;
  if (!ReadableFile::CheckBeforeHandingOver(library, refused)) {
    error = "Cannot load the plug-in " + library.string() + ": " + refused.Description;
    return nullptr;
  }
  ::dlerror();
  void* handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) error = "Cannot load the plug-in " + library.string() + ": " + LastLoaderError();
  return handle;
}

void* FindPluginExport(void* handle, const char* name, const std::filesystem::path& library,
                       std::string& error) {
  ::dlerror();
  void* address = ::dlsym(handle, name);
  if (address == nullptr)
    error = library.string() + " is not an Orvale plug-in: it has no " + name + " (" +
            LastLoaderError() + ").";
  return address;
}

bool RegisterServer(const std::filesystem::path& library, std::string& error) {
  return RunRegistrationExport(library, kRegisterServerExport, error);
}

bool UnregisterServer(const std::filesystem::path& library, std::string& error) {
  return RunRegistrationExport(library, kUnregisterServerExport, error);
}

}  // namespace orvale
