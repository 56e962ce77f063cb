#pragma once
// The order in which the program starts: the long-lived windows, the splash, the
// grabber plug-ins, the settings, the main window, the grabber chosen last time, the
// file named on the command line and, last, the automation server. Later steps rely on
// it: the settings are in place before the main window loads, the splash has gone
// before a plug-in may show a message, the menus know the grabber before a file opens,
// and automation clients reach a program that is ready.
#include <string>

#include "app/CommandLine.h"

namespace orvale {

// The steps of a start, as the program (and a test) performs them.
class StartupSteps {
 public:
  virtual ~StartupSteps() = default;
  // The main window and the tool windows; a failure here ends the start.
  virtual void CreateWindows() = 0;
  // The splash, painted before the long steps.
  virtual void ShowSplash() = 0;
  virtual void FindGrabbers() = 0;
  virtual void ReadSettings() = 0;
  // The main window's own settings; it is not shown yet.
  virtual void LoadFrame() = 0;
  // The main window, then the tool windows whose View items are checked.
  virtual void ShowFrame() = 0;
  virtual void CloseSplash() = 0;
  virtual void SelectGrabber() = 0;
  // Menus and toolbar in the no-document state.
  virtual void ResetFrameStates() = 0;
  virtual void OpenFile(const std::string& path) = 0;
  // Where the automation server registers itself; `embedding` tells whether the
  // program was started for it.
  virtual void StartAutomation(bool /*embedding*/) {}
};

// Runs the steps in order. When the windows cannot be created, the failure's
// description is shown ("Error", stop icon, task-modal) and the result is false:
// nothing else runs and nothing is written. A failure in a later step propagates.
bool RunStartupSequence(StartupSteps& steps, const CommandLine& commandLine);

}  // namespace orvale
