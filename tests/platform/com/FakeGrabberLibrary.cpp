// A grabber plug-in library for tests, built once per kind (FAKE_PLUGIN_NAME): "Fake"
// is ready, "NotReady" initialises without a device, "Failing" fails to initialise and
// to shut down.
#include <cstring>
#include <exception>
#include <new>
#include <string>

#include "platform/com/PluginExports.h"
#include "platform/com/PluginRegistration.h"
#include "tests/support/FakeGrabberPlugin.h"

namespace {

constexpr char kName[] = FAKE_PLUGIN_NAME;

std::string ProgId() { return std::string("OVVGPlug") + kName + ".cls" + kName; }

}  // namespace

ORVALE_PLUGIN_EXPORT std::int32_t DllCreateObject(const char* progId, const char* iid,
                                                  orvale::IGrabberPlugin** object, char* error,
                                                  std::size_t errorSize) noexcept {
  using namespace orvale;
  if (const std::int32_t refused =
          CheckObjectRequest(progId != nullptr && ProgId() == progId, iid, object, error, errorSize))
    return refused;
  try {
    auto* plugin = new testing::FakeGrabberPlugin();
    plugin->Ready = std::strcmp(kName, "NotReady") != 0;
    if (std::strcmp(kName, "Failing") == 0) {
      plugin->InitializeStatus = PluginStatus::Fail("The fake camera did not start.");
      plugin->ShutdownStatus = PluginStatus::Fail("Failing has not been initialized.");
    }
    *object = plugin;
    return 0;
  } catch (const std::exception& e) {
    return ReportPluginError(plugincode::kFailed, e.what(), error, errorSize);
  }
}

ORVALE_PLUGIN_EXPORT std::int32_t DllRegisterServer(char* error, std::size_t errorSize) noexcept {
  std::string text;
  if (orvale::RegisterPluginClass(ProgId(), reinterpret_cast<const void*>(&DllRegisterServer), text))
    return 0;
  return orvale::ReportPluginError(orvale::plugincode::kFailed, text, error, errorSize);
}

ORVALE_PLUGIN_EXPORT std::int32_t DllUnregisterServer(char* error, std::size_t errorSize) noexcept {
  std::string text;
  if (orvale::UnregisterPluginClass(ProgId(), text)) return 0;
  return orvale::ReportPluginError(orvale::plugincode::kFailed, text, error, errorSize);
}
