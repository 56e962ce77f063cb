#pragma once
// The program-wide grabber state: the plug-ins found beside the program and the one
// selected. At most one plug-in object exists at a time.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/com/IGrabberPlugin.h"

namespace orvale {

struct ReleasePlugin {
  void operator()(IGrabberPlugin* plugin) const noexcept {
    if (plugin != nullptr) plugin->Release();
  }
};
using GrabberPluginPtr = std::unique_ptr<IGrabberPlugin, ReleasePlugin>;

inline constexpr std::int32_t kMaxGrabberPlugins = 50;

struct GrabberState {
  // Entries 1..50, filled from 1 without gaps; element 0 unused; an empty name ends
  // the list.
  std::array<std::string, kMaxGrabberPlugins + 1> GrabberProgIDs;
  std::array<std::string, kMaxGrabberPlugins + 1> GrabberNames;
  GrabberPluginPtr Grabber;           // the selected plug-in's object, or none
  std::string GrabberName = "None";
  std::int32_t GrabberIndex = 0;      // 1..50; -1 cleared or failed; 0 "None" at start-up
  bool GrabberCreated = false;
  bool GrabberReady = false;
};

}  // namespace orvale
