// The main window's grabber commands, the About box and the teardown of the windows it
// owns.
#include "app/AppState.h"
#include "app/GrabberSelection.h"
#include "app/frmInput.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "platform/ui/BusyCursor.h"

namespace orvale {

void frmMain::GrabberProperties() {
  GrabberState& grabber = app_.Grabber;
  if (grabber.Grabber == nullptr || !GrabberHasSetupDlg(grabber)) return;
  // A failing dialog ends the command silently; the plug-in is made afresh either way,
  // so that it runs with whatever settings it now holds.
  (void)grabber.Grabber->ShowSetupDlg();
  {
    ScopedBusyCursor busy;
    SelectGrabber(grabber, grabber.GrabberIndex);
  }
  SetMenuItems(false);
  SetToolBarItems(false);
}

void frmMain::ReleaseGrabberAtExit() noexcept { ReleaseGrabber(app_.Grabber); }

void frmMain::DestroyToolWindows() {
  auto destroy = [](auto*& window) {
    delete window;
    window = nullptr;
  };
  ToolWindows& tools = app_.Tools;
  destroy(tools.Average);
  if (app_.FormInput != nullptr) SetNumberInputService(nullptr);
  destroy(app_.FormInput);
  destroy(tools.Analyze);
  destroy(tools.ToolBox);
  destroy(tools.AnalyzeGrid);
  destroy(tools.RefZernike);
  destroy(tools.Math);
}

void frmMain::ShowAbout() {
  frmSplash about(frmSplash::Mode::About, this);
  about.exec();
}

}  // namespace orvale
