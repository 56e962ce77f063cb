#pragma once
// What the main window works on: the settings read at start-up, the open documents, the
// recent files, the grabber, the counter that names grabbed images, the screen metrics,
// and the tool windows and number input box that the window owns. The program's state
// (app/AppState.h) is this context with the services installed for the run and the main
// window itself.
#include <cstdint>
#include <memory>

#include "app/document/DocumentTable.h"
#include "app/document/RecentFileList.h"
#include "app/frame/ToolWindows.h"
#include "platform/com/GrabberState.h"
#include "platform/registry/GeneralSettings.h"

namespace orvale {

class frmInput;

struct FrameContext {
  GeneralSettings Settings;
  GrabberState Grabber;
  std::int32_t ImageCounter = 0;  // numbers the images grabbed into new documents
  std::int32_t ScrollBarWidth = 0;
  std::int32_t ScrollBarHeight = 0;
  ScreenGeometry Screen;

  ToolWindows Tools;              // owned by the main window
  frmInput* FormInput = nullptr;  // the number input box, owned by the main window
  std::unique_ptr<DocumentTable> Documents;
  std::unique_ptr<RecentFileList> RecentFiles;
};

}  // namespace orvale
