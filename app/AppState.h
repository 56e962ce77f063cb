#pragma once
// The program-wide state: the settings read at start-up, the open documents, the
// recent files, the grabber, the counter that names grabbed images, the screen metrics
// and the long-lived windows. main() owns the one instance; everything else is given
// a reference to it.
#include <cstdint>
#include <memory>

#include "app/ToolWindows.h"
#include "app/document/DocumentTable.h"
#include "app/document/RecentFileList.h"
#include "platform/com/GrabberState.h"
#include "platform/registry/GeneralSettings.h"

namespace orvale {

class frmMain;
class frmInput;
class ProgramServices;

struct AppState {
  AppState();
  ~AppState();
  AppState(const AppState&) = delete;
  AppState& operator=(const AppState&) = delete;

  // The services installed for the run (none when the caller installed its own); gone last.
  std::unique_ptr<ProgramServices> Services;

  GeneralSettings Settings;
  GrabberState Grabber;
  std::int32_t ImageCounter = 0;  // numbers the images grabbed into new documents
  std::int32_t ScrollBarWidth = 0;
  std::int32_t ScrollBarHeight = 0;
  ScreenGeometry Screen;

  // Destroyed in reverse order: the documents (and their windows) before the frame.
  std::unique_ptr<frmMain> FormMain;
  ToolWindows Tools;  // owned by FormMain
  frmInput* FormInput = nullptr;  // the number input box, owned by FormMain
  std::unique_ptr<DocumentTable> Documents;
  std::unique_ptr<RecentFileList> RecentFiles;
};

// Creates the main window, the open-document table and the recent-file list over the
// frame's menu, the tool windows and the number input box, which becomes the number
// input service.
void CreateMainWindows(AppState& app);

}  // namespace orvale
