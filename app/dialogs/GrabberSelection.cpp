#include "app/dialogs/GrabberSelection.h"

#include <algorithm>
#include <string_view>

#include "platform/com/ObjectCreation.h"
#include "platform/ui/BusyCursor.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

constexpr std::string_view kPluginPrefix = "OVVGPlug";
constexpr std::string_view kLibraryExtension = ".so";

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

std::size_t FindIgnoringCase(std::string_view text, std::string_view part) {
  for (std::size_t i = 0; i + part.size() <= text.size(); ++i)
    if (SameTextIgnoringCase(text.substr(i, part.size()), part)) return i;
  return std::string_view::npos;
}

// The search pattern "OVVGPLUG*.SO", matched without regard to case.
bool MatchesPluginPattern(std::string_view file) {
  return file.size() >= kPluginPrefix.size() + kLibraryExtension.size() &&
         SameTextIgnoringCase(file.substr(0, kPluginPrefix.size()), kPluginPrefix) &&
         SameTextIgnoringCase(file.substr(file.size() - kLibraryExtension.size()),
                              kLibraryExtension);
}

// The plug-in name of a matching file: the text after the last case-sensitive
// "OVVGPlug", cut before the first ".so" in it. Empty when the file names no plug-in:
// no such prefix, fewer than two characters after it, or nothing before the ".so".
std::string PluginNameOfFile(std::string_view file) {
  const std::size_t prefix = file.rfind(kPluginPrefix);
  if (prefix == std::string_view::npos) return {};
  std::string_view name = file.substr(prefix + kPluginPrefix.size());
  if (name.size() < 2) return {};
  const std::size_t extension = FindIgnoringCase(name, kLibraryExtension);
  if (extension == 0) return {};  // "OVVGPlug.so" carries no name
  if (extension != std::string_view::npos) name = name.substr(0, extension);
  return std::string(name);
}

void ClearSelection(GrabberState& state) {
  state.GrabberCreated = false;
  state.GrabberReady = false;
  state.GrabberName = "None";
  state.GrabberIndex = -1;
}

// Creates and initialises the plug-in of entry `index`; the failure's description, or
// empty on success (also when the plug-in is created but not ready).
std::string CreateAndInitialize(GrabberState& state, std::int32_t index) {
  const ScopedBusyCursor busy;
  state.GrabberName = state.GrabberNames[index];
  state.GrabberIndex = index;
  std::string error;
  state.Grabber = CreateObject(state.GrabberProgIDs[index], error);
  if (!state.Grabber) return error;
  state.GrabberCreated = true;
  bool ready = false;
  const PluginStatus status = state.Grabber->Initialize(ready);
  if (status.Failed()) {
    // A plug-in that cannot initialise is dropped like one that cannot be created, so
    // the program goes on without a grabber.
    state.Grabber.reset();
    return status.Description.empty()
               ? "The frame grabber " + state.GrabberName + " could not be initialized."
               : status.Description;
  }
  state.GrabberReady = ready;
  return {};
}

}  // namespace

void FindGrabberPlugins(GrabberState& state, const std::filesystem::path& programFolder) {
  state.GrabberProgIDs.fill({});
  state.GrabberNames.fill({});
  std::error_code ec;
  std::filesystem::directory_iterator files(programFolder, ec);
  std::int32_t count = 0;
  for (; !ec && files != std::filesystem::directory_iterator(); files.increment(ec)) {
    const std::string file = files->path().filename().string();
    if (!MatchesPluginPattern(file)) continue;
    std::error_code typeError;
    if (!files->is_regular_file(typeError)) continue;  // a folder is no library
    const std::string name = PluginNameOfFile(file);
    if (name.empty()) continue;
    if (count == kMaxGrabberPlugins) break;
    ++count;
    state.GrabberNames[count] = name;
    state.GrabberProgIDs[count] = std::string(kPluginPrefix) + name + ".cls" + name;
  }
}

void SelectGrabber(GrabberState& state, std::int32_t index) {
  // The previous object goes first: leaving it alive behind a cleared state would
  // never shut its device down.
  ReleaseGrabber(state);
  if (index < 1 || index > kMaxGrabberPlugins) {
    ClearSelection(state);
    return;
  }
  const std::string error = CreateAndInitialize(state, index);
  if (error.empty()) return;
  ClearSelection(state);
  ShowMessage(error, mb::kOk, "Error Loading Frame Grabber");
}

void SelectStartupGrabber(GrabberState& state, const std::string& storedName) {
  state.GrabberName = storedName.empty() ? "None" : storedName;
  if (state.GrabberName == "None") return;
  for (std::int32_t i = 1; i <= kMaxGrabberPlugins && !state.GrabberNames[i].empty(); ++i) {
    if (state.GrabberNames[i] == state.GrabberName) {
      SelectGrabber(state, i);
      return;
    }
  }
  state.GrabberName = "None";
  SelectGrabber(state, 0);
}

void ReleaseGrabber(GrabberState& state) noexcept {
  if (state.Grabber && state.GrabberCreated && state.GrabberReady) {
    // A failing Shutdown is the plug-in's business; the object is released regardless.
    (void)state.Grabber->Shutdown();
  }
  state.Grabber.reset();
  state.GrabberCreated = false;
  state.GrabberReady = false;
}

bool GrabberHasSetupDlg(const GrabberState& state) {
  if (!state.Grabber) return false;
  bool value = false;
  return !state.Grabber->get_HasSetupDlg(value).Failed() && value;
}

}  // namespace orvale
