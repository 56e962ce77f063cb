#pragma once
// This room (app/) holds the program's start: main(), the command line, the start-up
// order and its wiring of the services, the automation server and the main window, and
// the program-wide state. It may use every room; no room includes it.
//
// The program-wide state: what the main window works on (FrameContext), the services
// installed for the run and the main window itself. main() owns the one instance;
// everything else is given a reference to it, the main window to its FrameContext.
#include <memory>

#include "app/frame/FrameContext.h"

namespace orvale {

class frmMain;
class ProgramAutomation;
class ProgramServices;

struct AppState : FrameContext {
  AppState();
  // The documents (and their windows) and the recent files go before the frame that
  // holds them, and the services go after it.
  ~AppState();
  AppState(const AppState&) = delete;
  AppState& operator=(const AppState&) = delete;

  // The services installed for the run (none when the caller installed its own).
  std::unique_ptr<ProgramServices> Services;
  std::unique_ptr<frmMain> FormMain;
  // The automation server, while it serves a bus; it goes first at the end.
  std::unique_ptr<ProgramAutomation> Automation;
};

// Creates the main window, the open-document table and the recent-file list over the
// frame's menu, the tool windows and the number input box, which becomes the number
// input service.
void CreateMainWindows(AppState& app);

}  // namespace orvale
