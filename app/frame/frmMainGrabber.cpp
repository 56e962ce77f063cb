// The main window's grabber commands, the About box and the teardown of the windows it
// owns.
#include "app/frame/FrameContext.h"
#include "app/dialogs/GrabberSelection.h"
#include "app/frame/frmInput.h"
#include "app/frame/frmMain.h"
#include "app/frame/frmSplash.h"
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
  ToolWindows& tools = app_.Tools;
  DestroyToolWindow(tools, ToolWindowKind::Average);
  if (app_.FormInput != nullptr) SetNumberInputService(nullptr);
  delete app_.FormInput;
  app_.FormInput = nullptr;
  DestroyToolWindow(tools, ToolWindowKind::Analyze);
  DestroyToolWindow(tools, ToolWindowKind::ToolBox);
  DestroyToolWindow(tools, ToolWindowKind::AnalyzeGrid);
  DestroyToolWindow(tools, ToolWindowKind::RefZernike);
  DestroyToolWindow(tools, ToolWindowKind::Math);
}

void frmMain::ShowAbout() {
  frmSplash about(frmSplash::Mode::About, this);
  about.exec();
}

}  // namespace orvale
