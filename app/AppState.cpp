#include "app/AppState.h"

#include "app/ProgramAutomation.h"
#include "app/Startup.h"
#include "app/frame/frmInput.h"
#include "app/frame/frmMain.h"

namespace orvale {

AppState::AppState() = default;
AppState::~AppState() {
  Automation.reset();
  RecentFiles.reset();
  Documents.reset();
  // The input box goes with the frame; nobody may ask it afterwards.
  if (FormInput != nullptr) SetNumberInputService(nullptr);
  FormMain.reset();
}

void CreateMainWindows(AppState& app) {
  app.FormMain = std::make_unique<frmMain>(app);
  frmMain& frame = *app.FormMain;
  app.Documents = std::make_unique<DocumentTable>(app.Settings, &frame);
  app.RecentFiles = std::make_unique<RecentFileList>(frame);
  app.Tools = CreateToolWindows(frame, *app.Documents, app.Settings, &frame);
  frame.SetFringeToolbox(app.Tools.ToolBox);
  app.FormInput = new frmInput(&frame);
  SetNumberInputService(app.FormInput);
}

}  // namespace orvale
