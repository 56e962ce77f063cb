#pragma once
// Finding the grabber plug-ins beside the program and selecting one. The plug-in files
// are named "OVVGPlug<Name>.so"; the object of <Name> is created by the ProgID
// "OVVGPlug<Name>.cls<Name>" through the class registry. At most one plug-in object
// exists at a time.
#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/com/GrabberState.h"

namespace orvale {

// Fills the ProgID and name lists (entries 1..50) from the plug-in files in
// `programFolder`, in the order the folder lists them.
void FindGrabberPlugins(GrabberState& state, const std::filesystem::path& programFolder);

// Shuts down and releases the current plug-in, then selects entry `index`: creates its
// object and initialises it. An index outside 1..50 clears the selection. A plug-in
// that cannot be created or fails to initialise is reported ("Error Loading Frame
// Grabber") and the selection is cleared.
void SelectGrabber(GrabberState& state, std::int32_t index);

// The selection at start-up from the stored "Frame Grabber" name: empty or "None"
// selects nothing; a name that is not among the plug-ins found clears the selection
// without a message.
void SelectStartupGrabber(GrabberState& state, const std::string& storedName);

// Calls Shutdown when the plug-in was created and is ready (a failing Shutdown does not
// stop the teardown), then releases the object. The selected name stays.
void ReleaseGrabber(GrabberState& state) noexcept;

// Whether the selected plug-in offers a setup dialog; false without one or when the
// plug-in fails to answer.
bool GrabberHasSetupDlg(const GrabberState& state);

}  // namespace orvale
