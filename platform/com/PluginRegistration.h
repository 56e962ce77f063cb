#pragma once
// What a plug-in library's registration functions call: they enter or remove their
// class in the class registry under the library's own absolute path.
#include <string>
#include <string_view>

namespace orvale {

// Registers `progId` as served by the shared object that holds `addressInLibrary`
// (the address of any function of the plug-in, e.g. its DllRegisterServer).
bool RegisterPluginClass(std::string_view progId, const void* addressInLibrary,
                         std::string& error) noexcept;
bool UnregisterPluginClass(std::string_view progId, std::string& error) noexcept;

}  // namespace orvale
