#pragma once
// The program-wide preferences as plain data: what the "Preferences" dialog shows, and
// what its OK stores in the settings and does at once (the grabber plug-in, the
// workspace rule, the image display). The dialog mirrors this model.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/dialogs/ViewProperties.h"
#include "platform/com/GrabberState.h"
#include "platform/registry/GeneralSettings.h"
#include "platform/ui/MessageService.h"

namespace orvale {

class DocumentTable;
class MainFrame;

// The number boxes beside the four of the view properties, and the settings whose
// ranges they hold.
inline constexpr std::string_view kSurfaceThetaKey = "Surface Theta";
inline constexpr std::string_view kSurfacePhiKey = "Surface Phi";
inline constexpr std::string_view kLineAngleKey = "Line Angle";

// The fringe-centre spacings, item data 1..4 ("Auto Trace Fringe Density").
inline constexpr std::string_view kFringeDensityItems[] = {"SuperFine", "Fine", "Normal", "Coarse"};

struct PreferencesControls {
  // "General"
  std::int32_t GrabberIndex = 0;  // into GrabberListItems: 0 "None", i the i-th plug-in
  bool GrabIntoNewWindow = false;
  std::string AspectRatioText;
  std::int32_t FringeDensity = 3;  // 1..4
  bool AutoLoadAperture = false;
  bool AutoLoadObstruction = false;
  bool CommonViews = true;  // one set of result windows for all documents
  EditedTextStyles Text;
  // "Display"
  ResultWindowFlags Views{};
  bool LimitScale = false;
  bool RedDisplay = false;
  bool AutoStretch = false;
  std::int32_t SurfaceLevels = 0;
  std::int32_t SurfaceGridSize = 0;
  std::int32_t SurfaceTheta = 0;
  std::int32_t SurfacePhi = 0;
  bool FillPolygons = false;
  bool DrawBlackMesh = false;
  std::int32_t LineAngle = 0;
  std::int32_t LinePoints = 0;
  std::int32_t ImageSize = 0;
};

// "None", then the name of every plug-in found, in their order.
std::vector<std::string> GrabberListItems(const GrabberState& grabber);

// The settings as the dialog shows them; the selected plug-in is the one named
// `grabber.GrabberName` ("None" when it is not listed).
PreferencesControls ReadPreferences(const GeneralSettings& settings, const GrabberState& grabber);

// What OK leaves to do once the dialog has closed.
struct PreferencesOutcome {
  std::optional<std::int32_t> GrabberToSelect;  // a list index; 0 selects none
  bool WorkspaceChanged = false;
  bool DisplayChanged = false;  // "Red Display" or "Auto Stretch"
};

// OK up to closing the dialog: the aspect ratio is checked first (a refused one is
// reported, owned by `owner`, and nothing is stored: no outcome); then the settings
// take the controls, and a plug-in that changed or is not ready is shut down and
// released, its name "None" until the selection after the dialog.
std::optional<PreferencesOutcome> StorePreferences(const PreferencesControls& controls,
                                                   GeneralSettings& settings,
                                                   GrabberState& grabber,
                                                   WindowHandle owner = kMainWindowOwner);

// OK after the dialog has closed: selects the plug-in (a failure is reported and leaves
// none) and refreshes the menus and toolbar, rearranges the result windows for a new
// workspace rule, and rebuilds the image views for a new display choice.
void CompletePreferences(const PreferencesOutcome& outcome, GrabberState& grabber,
                         DocumentTable& table, MainFrame& frame);

}  // namespace orvale
