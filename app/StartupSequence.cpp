#include "app/StartupSequence.h"

#include <exception>

#include "platform/ui/MessageService.h"

namespace orvale {

bool RunStartupSequence(StartupSteps& steps, const CommandLine& commandLine) {
  try {
    steps.CreateWindows();
  } catch (const std::exception& e) {
    ShowMessage(e.what(), mb::kTaskModal | mb::kIconStop, "Error", 0);
    return false;
  } catch (...) {
    ShowMessage("Unknown error", mb::kTaskModal | mb::kIconStop, "Error", 0);
    return false;
  }
  steps.ShowSplash();
  steps.FindGrabbers();
  steps.ReadSettings();
  steps.LoadFrame();
  steps.ShowFrame();
  steps.CloseSplash();
  steps.SelectGrabber();
  steps.ResetFrameStates();
  if (!commandLine.Embedding && !commandLine.Path.empty()) steps.OpenFile(commandLine.Path);
  // Last: a client that D-Bus activation started calls a program that is ready.
  steps.StartAutomation(commandLine.Embedding);
  return true;
}

}  // namespace orvale
