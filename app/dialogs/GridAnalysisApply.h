#pragma once
// The grid analysis's Apply: the checks that a grid can be analysed, then the cell by
// cell evaluation of the active document's fitted wavefront, shown in its Grid Results
// view. The Analyze Grid window's Apply button and automation both run it.
#include <functional>

namespace orvale {

class DocumentTable;
class MainFrame;

enum class GridApplyOutcome {
  NoDocument,  // no active document with an image view: nothing was done
  Refused,     // a Warning said why; nothing changed
  Analysed,    // every cell was evaluated and the Grid Results view refreshed
};

// Runs the grid analysis on the active document of `table`. The refusals, in order: no
// current fit, no full column, no full row, more than 25 cells wide or high, cells
// narrower or lower than 5 pixels. `setDialogBusy`, when given, shows and clears the
// busy pointer on the window Apply was started from, as `frame` does on the main window.
GridApplyOutcome ApplyGridAnalysis(DocumentTable& table, MainFrame& frame,
                                   const std::function<void(bool busy)>& setDialogBusy = {});

}  // namespace orvale
