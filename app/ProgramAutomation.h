#pragma once
// The automation server of the running program, over its real windows: scripts change
// the options of the Analyze window the user sees, and grab through the main window's
// grab into a document.
#include <QDBusConnection>

#include "app/automation/AutomationContext.h"
#include "app/automation/AutomationServer.h"

namespace orvale {

struct AppState;
struct ToolWindows;

class ProgramAutomation {
 public:
  // `app` (with its main window) must outlive the object.
  ProgramAutomation(AppState& app, QDBusConnection connection);

  // AutomationServer::Start.
  bool Start() { return server_.Start(); }
  AutomationServer& Server() { return server_; }
  // What the server's objects work on, for objects made in process.
  AutomationContext& Context() { return context_; }

 private:
  // The options of the Analyze window; once the window is gone at the program's end,
  // a model of their own.
  class AnalyzeWindowOptions final : public AnalysisOptions {
   public:
    AnalyzeWindowOptions(ToolWindows& tools, DocumentTable& table, MainFrame& frame)
        : tools_(tools), leftOver_(table, frame) {}
    const AnalyzeControls& Controls() const override;
    void Edit(const std::function<void(AnalyzeControls&)>& edit) override;
    ApplyOutcome Apply() override;

   private:
    ToolWindows& tools_;
    ModelAnalysisOptions leftOver_;
  };

  AnalyzeWindowOptions options_;
  AutomationContext context_;
  AutomationServer server_;
};

}  // namespace orvale
