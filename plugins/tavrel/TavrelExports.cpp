// The library's C entry points: the object by ProgID and the registration of both ProgIDs
// in the class registry. Nothing else leaves the library (OVVGPlugTavrel.map).
#include <cstring>
#include <exception>
#include <new>
#include <string>

#include "platform/com/PluginExports.h"
#include "platform/com/PluginRegistration.h"
#include "plugins/tavrel/LiveVideoDialog.h"
#include "plugins/tavrel/clsTavrel.h"

namespace {

bool IsTavrelProgId(const char* progId) {
  return progId != nullptr && (std::strcmp(progId, orvale::kTavrelProgId) == 0 ||
                               std::strcmp(progId, orvale::kTavrelVersionedProgId) == 0);
}

const void* ThisLibrary() { return reinterpret_cast<const void*>(&DllRegisterServer); }

}  // namespace

ORVALE_PLUGIN_EXPORT std::int32_t DllCreateObject(const char* progId, const char* iid,
                                                  orvale::IGrabberPlugin** object, char* error,
                                                  std::size_t errorSize) noexcept {
  using namespace orvale;
  if (const std::int32_t refused = CheckObjectRequest(IsTavrelProgId(progId), iid, object, error, errorSize))
    return refused;
  try {
    CaptureEnvironment environment;
    environment.LiveWindow = LiveVideoWindows();
    *object = new clsTavrel(std::move(environment));
    return 0;
  } catch (const std::bad_alloc&) {
    return ReportPluginError(plugincode::kFailed, "Out of memory", error, errorSize);
  } catch (const std::exception& e) {
    return ReportPluginError(plugincode::kFailed, e.what(), error, errorSize);
  }
}

ORVALE_PLUGIN_EXPORT std::int32_t DllRegisterServer(char* error, std::size_t errorSize) noexcept {
  std::string text;
  for (const char* progId : {orvale::kTavrelProgId, orvale::kTavrelVersionedProgId}) {
    if (!orvale::RegisterPluginClass(progId, ThisLibrary(), text))
      return orvale::ReportPluginError(orvale::plugincode::kFailed, text, error, errorSize);
  }
  return 0;
}

ORVALE_PLUGIN_EXPORT std::int32_t DllUnregisterServer(char* error, std::size_t errorSize) noexcept {
  std::string text;
  for (const char* progId : {orvale::kTavrelProgId, orvale::kTavrelVersionedProgId}) {
    if (!orvale::UnregisterPluginClass(progId, text))
      return orvale::ReportPluginError(orvale::plugincode::kFailed, text, error, errorSize);
  }
  return 0;
}
