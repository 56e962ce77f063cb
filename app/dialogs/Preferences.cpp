#include "app/dialogs/Preferences.h"

#include "app/dialogs/AspectRatio.h"
#include "app/dialogs/GrabberSelection.h"
#include "app/dialogs/WorkspaceLayout.h"
#include "app/document/DocumentTable.h"
#include "app/document/MainFrame.h"
#include "app/document/clsDocument.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

std::int32_t InRange(std::int32_t value, std::string_view key) {
  return WholeSettingRange(key).Clamp(value);
}

}  // namespace

std::vector<std::string> GrabberListItems(const GrabberState& grabber) {
  std::vector<std::string> items{"None"};
  for (std::int32_t i = 1; i <= kMaxGrabberPlugins && !grabber.GrabberNames[i].empty(); ++i)
    items.push_back(grabber.GrabberNames[i]);
  return items;
}

PreferencesControls ReadPreferences(const GeneralSettings& s, const GrabberState& grabber) {
  PreferencesControls c;
  const std::vector<std::string> items = GrabberListItems(grabber);
  for (std::size_t i = 1; i < items.size(); ++i)
    if (items[i] == grabber.GrabberName) c.GrabberIndex = static_cast<std::int32_t>(i);
  c.GrabIntoNewWindow = s.GrabIntoNewWindow;
  c.AspectRatioText = FormatGeneral(s.GrabAspectRatio);
  c.FringeDensity = s.AutoTraceDensity;
  c.AutoLoadAperture = s.AutoLoadAperture;
  c.AutoLoadObstruction = s.AutoLoadObstruction;
  c.CommonViews = s.HogWindows;
  c.Text.Screen = s.ScreenText;
  c.Text.Printer = s.PrinterText;
  c.Views = s.ResultWindowVisible;
  c.LimitScale = s.LimitScale;
  c.RedDisplay = s.RedDisplay;
  c.AutoStretch = s.AutoStretch;
  c.SurfaceLevels = s.SurfaceLevels;
  c.SurfaceGridSize = s.SurfaceGridSize;
  c.SurfaceTheta = s.DefaultSurfaceTheta;
  c.SurfacePhi = s.DefaultSurfacePhi;
  c.FillPolygons = s.DefaultFillPolygons;
  c.DrawBlackMesh = s.DefaultDrawMeshWithFill;
  c.LineAngle = s.DefaultLineAngle;
  c.LinePoints = s.LineSize;
  c.ImageSize = s.SFringeSize;
  return c;
}

std::optional<PreferencesOutcome> StorePreferences(const PreferencesControls& c,
                                                   GeneralSettings& s, GrabberState& grabber,
                                                   WindowHandle owner) {
  double aspectRatio = 0.0;
  if (!ReadAspectRatio(c.AspectRatioText, aspectRatio)) {
    ShowMessage(std::string(kAspectRatioWarning), mb::kOk | mb::kIconExclamation, "Warning",
                owner);
    return std::nullopt;
  }
  PreferencesOutcome outcome;
  s.GrabIntoNewWindow = c.GrabIntoNewWindow;
  s.GrabAspectRatio = aspectRatio;
  if (c.CommonViews != s.HogWindows) {
    s.HogWindows = c.CommonViews;
    outcome.WorkspaceChanged = true;
  }
  if (c.Text.ScreenChanged) s.ScreenText = c.Text.Screen;
  if (c.Text.PrinterChanged) s.PrinterText = c.Text.Printer;

  // The boxes hold the ranges already; a model filled elsewhere is held to them too.
  s.SurfaceLevels = InRange(c.SurfaceLevels, kContourLevelsKey);
  s.SurfaceGridSize = InRange(c.SurfaceGridSize, kGridSizeKey);
  s.DefaultSurfaceTheta = InRange(c.SurfaceTheta, kSurfaceThetaKey);
  s.DefaultSurfacePhi = InRange(c.SurfacePhi, kSurfacePhiKey);
  s.DefaultLineAngle = InRange(c.LineAngle, kLineAngleKey);
  s.LineSize = InRange(c.LinePoints, kLinePointsKey);
  s.SFringeSize = InRange(c.ImageSize, kImageSizeKey);
  s.ResultWindowVisible = c.Views;
  s.LimitScale = c.LimitScale;
  outcome.DisplayChanged = s.RedDisplay != c.RedDisplay || s.AutoStretch != c.AutoStretch;
  s.RedDisplay = c.RedDisplay;
  s.AutoStretch = c.AutoStretch;
  s.AutoLoadAperture = c.AutoLoadAperture;
  s.AutoLoadObstruction = c.AutoLoadObstruction;
  s.DefaultFillPolygons = c.FillPolygons;
  if (c.FillPolygons) s.DefaultDrawMeshWithFill = c.DrawBlackMesh;

  const std::vector<std::string> items = GrabberListItems(grabber);
  const std::int32_t index =
      c.GrabberIndex >= 0 && c.GrabberIndex < static_cast<std::int32_t>(items.size()) ? c.GrabberIndex : 0;
  if (items[static_cast<std::size_t>(index)] != grabber.GrabberName || !grabber.GrabberReady) {
    ReleaseGrabber(grabber);
    grabber.GrabberName = "None";
    outcome.GrabberToSelect = index;
  }
  s.AutoTraceDensity = InRange(c.FringeDensity, "Auto Trace Fringe Density");
  return outcome;
}

void CompletePreferences(const PreferencesOutcome& outcome, GrabberState& grabber,
                         DocumentTable& table, MainFrame& frame) {
  if (outcome.GrabberToSelect) {
    SelectGrabber(grabber, *outcome.GrabberToSelect);
    frame.SetMenuItems(false);
    frame.SetToolBarItems(false);
  }
  if (outcome.WorkspaceChanged) RearrangeForWorkspace(table, frame.FrameMetrics());
  if (outcome.DisplayChanged) {
    // The display choices are read when a picture is built: build the open ones again.
    for (std::int32_t slot = 1; slot <= DocumentTable::kMaxDocuments; ++slot) {
      const auto i = static_cast<std::size_t>(slot);
      if (table.DocumentInUse[i] && table.Documents[i]) table.Documents[i]->ImageView_Refresh();
    }
  }
}

}  // namespace orvale
