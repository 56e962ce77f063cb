#pragma once
// Loading plug-in libraries and calling their C entry points. A loaded library stays
// loaded for the rest of the process: objects it made may outlive any one call, and
// their code must stay mapped until they are released.
#include <filesystem>
#include <string>

namespace orvale {

// Loads `library` (an absolute path); null and `error` set when it cannot be loaded, or
// when another user may change it or a folder above it.
void* LoadPluginLibrary(const std::filesystem::path& library, std::string& error);

// The address of the export `name` of a loaded library; null and `error` set when the
// library has none.
void* FindPluginExport(void* handle, const char* name, const std::filesystem::path& library,
                       std::string& error);

// Runs the library's registration function, which writes its classes into the class
// registry (or, unregistering, takes them out).
bool RegisterServer(const std::filesystem::path& library, std::string& error);
bool UnregisterServer(const std::filesystem::path& library, std::string& error);

}  // namespace orvale
