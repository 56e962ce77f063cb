#pragma once
// Apply: copies the analysis options into the active document, refuses what the
// document cannot take, makes sure its output views exist and runs its analysis. Every
// analysis of fringe centres starts here (the Analyze window, the Analyze Fringes
// command, the fringe pop-up menu and automation).
#include <functional>

#include "app/dialogs/AnalyzeControls.h"

namespace orvale {

class DocumentTable;
class MainFrame;

enum class ApplyOutcome {
  NoDocument,  // no active document with an image view: nothing was done
  Refused,     // a message said why; options written before the check stay written
  Stopped,     // the output views could not be made
  Failed,      // a run-time error was reported and ended the command
  Analysed,    // the analysis ran (its own messages may still have stopped a fit)
};

// Runs Apply on the active document of `table` with the options of `controls`; the
// custom reference, "Hog Windows" and the result-window visibility come from the
// program-wide settings the document was made with.
// `frame` is the main window; `setDialogBusy`, when given, shows and clears the busy
// pointer on the window Apply was started from. Never throws: run-time errors are
// reported through ErrorPrompt, and the busy pointers are restored on every exit.
ApplyOutcome ApplyAnalysis(DocumentTable& table, const AnalyzeControls& controls,
                           MainFrame& frame,
                           const std::function<void(bool busy)>& setDialogBusy = {});

}  // namespace orvale
