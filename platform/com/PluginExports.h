#pragma once
// The C entry points of a grabber plug-in library. They are plain C, so no C++
// exception and no name mangling crosses the library boundary: a failure comes back as
// a negative code, its description copied into the caller's buffer.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/com/IGrabberPlugin.h"

#define ORVALE_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

// Creates the object registered under `progId` and asks it for the interface `iid`;
// 0 and *object set on success.
ORVALE_PLUGIN_EXPORT std::int32_t DllCreateObject(const char* progId, const char* iid,
                                                  orvale::IGrabberPlugin** object, char* error,
                                                  std::size_t errorSize) noexcept;
// Writes the library's classes into the class registry, or takes them out.
ORVALE_PLUGIN_EXPORT std::int32_t DllRegisterServer(char* error, std::size_t errorSize) noexcept;
ORVALE_PLUGIN_EXPORT std::int32_t DllUnregisterServer(char* error, std::size_t errorSize) noexcept;

namespace orvale {

using CreateObjectFunction = decltype(&DllCreateObject);
using RegisterServerFunction = decltype(&DllRegisterServer);

inline constexpr char kCreateObjectExport[] = "DllCreateObject";
inline constexpr char kRegisterServerExport[] = "DllRegisterServer";
inline constexpr char kUnregisterServerExport[] = "DllUnregisterServer";

// Failure codes a library returns, as the object system has always numbered them.
namespace plugincode {
inline constexpr std::int32_t kClassNotRegistered = static_cast<std::int32_t>(0x80040154);
inline constexpr std::int32_t kNoInterface = static_cast<std::int32_t>(0x80004002);
inline constexpr std::int32_t kFailed = static_cast<std::int32_t>(0x80004005);
}  // namespace plugincode

// The checks a library's DllCreateObject makes before it builds anything: a place for
// the object (which is cleared), a ProgID the library serves (`served`), and the grabber
// interface. 0 when the object may be made; otherwise the failure's code, its text in
// `error`.
std::int32_t CheckObjectRequest(bool served, const char* iid, IGrabberPlugin** object, char* error,
                                std::size_t errorSize) noexcept;

// Copies `text` into `buffer` (cut to fit, always ended by a zero byte) and returns
// `code`, so an export can fail in one statement.
std::int32_t ReportPluginError(std::int32_t code, std::string_view text, char* buffer,
                               std::size_t size) noexcept;

}  // namespace orvale
