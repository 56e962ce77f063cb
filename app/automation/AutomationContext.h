#pragma once
// What an automation object reaches of the program: the open documents, the main
// window, the selected grabber with the counter that names grabbed images, the grab
// into a document, and the analysis options with their Apply. The program fills it
// over its real windows; tests fill it over a headless table and a plain options model.
#include <cstdint>
#include <functional>

#include "app/dialogs/AnalyzeControls.h"
#include "app/dialogs/ApplyAnalysis.h"
#include "app/document/GrabCommand.h"

namespace orvale {

class DocumentTable;
class MainFrame;
struct GrabberState;

// The analysis options as the Analyze window holds them: read, changed (the window
// shows every change at once) and applied to the active document.
class AnalysisOptions {
 public:
  virtual ~AnalysisOptions() = default;
  virtual const AnalyzeControls& Controls() const = 0;
  virtual void Edit(const std::function<void(AnalyzeControls&)>& edit) = 0;
  virtual ApplyOutcome Apply() = 0;
};

// The options in a model of their own, applied with the free Apply (no window).
class ModelAnalysisOptions final : public AnalysisOptions {
 public:
  ModelAnalysisOptions(DocumentTable& table, MainFrame& frame) : table_(table), frame_(frame) {}
  const AnalyzeControls& Controls() const override { return model_; }
  void Edit(const std::function<void(AnalyzeControls&)>& edit) override { edit(model_); }
  ApplyOutcome Apply() override { return ApplyAnalysis(table_, model_, frame_); }

 private:
  DocumentTable& table_;
  MainFrame& frame_;
  AnalyzeControls model_;
};

struct AutomationContext {
  DocumentTable& Documents;
  MainFrame& Frame;
  GrabberState& Grabber;
  std::int32_t& ImageCounter;  // numbers the images grabbed into new documents
  DocumentGrab Grab;           // must leave the document as it was when it fails
  AnalysisOptions& Options;
};

}  // namespace orvale
