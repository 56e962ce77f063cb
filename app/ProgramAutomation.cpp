#include "app/ProgramAutomation.h"

#include "app/AppState.h"
#include "app/frame/frmMain.h"

namespace orvale {

const AnalyzeControls& ProgramAutomation::AnalyzeWindowOptions::Controls() const {
  return tools_.Analyze != nullptr ? tools_.Analyze->Controls() : leftOver_.Controls();
}

void ProgramAutomation::AnalyzeWindowOptions::Edit(const std::function<void(AnalyzeControls&)>& edit) {
  if (tools_.Analyze != nullptr) {
    tools_.Analyze->EditControls(edit);
  } else {
    leftOver_.Edit(edit);
  }
}

ApplyOutcome ProgramAutomation::AnalyzeWindowOptions::Apply() {
  return tools_.Analyze != nullptr ? tools_.Analyze->ApplyAnalysis() : leftOver_.Apply();
}

ProgramAutomation::ProgramAutomation(AppState& app, QDBusConnection connection)
    : options_(app.Tools, *app.Documents, *app.FormMain),
      context_{*app.Documents, *app.FormMain, app.Grabber, app.ImageCounter,
               [&frame = *app.FormMain](clsDocument& doc) {
                 const DocumentGrab& grab = frame.GetDocumentGrab();
                 return grab && grab(doc);
               },
               options_},
      server_(context_, std::move(connection)) {}

}  // namespace orvale
