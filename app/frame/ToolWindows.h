#pragma once
// The six long-lived tool windows, kept in one place: created once at start-up, owned
// by the main window, shown and hidden by their View items.
#include <QWidget>
#include <array>

#include "app/frame/FrameStateRules.h"
#include "app/imageview/Toolbox.h"
#include "app/dialogs/ToolWindow.h"
#include "app/dialogs/frmAnalyze.h"
#include "app/dialogs/frmAnalyzeGrid.h"
#include "app/dialogs/frmAverage.h"
#include "app/dialogs/frmCombine.h"
#include "app/dialogs/frmRefZernike.h"
#include "app/document/MainFrame.h"

namespace orvale {

class DocumentTable;
struct GeneralSettings;

struct ToolWindows {
  Toolbox* ToolBox = nullptr;
  frmAnalyze* Analyze = nullptr;
  frmAnalyzeGrid* AnalyzeGrid = nullptr;
  frmAverage* Average = nullptr;
  frmRefZernike* RefZernike = nullptr;
  frmCombine* Math = nullptr;

  // The window of a kind, or null once it is gone.
  ToolWindow* Of(ToolWindowKind kind) const;
};

// The View item that shows a tool window.
ViewMenuItem ViewItemOf(ToolWindowKind kind);
// The tool window a View item shows; false for the bars and the output views.
bool ToolWindowOfViewItem(ViewMenuItem item, ToolWindowKind& kind);

// Creates the six windows in the start-up order (analysis options, grid analysis,
// toolbox, averaging, reference Zernikes, math), owned by `owner`. They work on the
// active document of `table` and the program-wide `settings`.
ToolWindows CreateToolWindows(MainFrame& frame, DocumentTable& table, GeneralSettings& settings,
                              QWidget* owner);

// Reads the windows' own settings and places them; once, when the frame has been shown
// and placed.
void LoadToolWindows(ToolWindows& tools);
// Writes the windows' own settings back; once, when the program ends.
void UnloadToolWindows(ToolWindows& tools);
// Moves each tool window showing that covers the main window's bars off them (and off
// the others), the toolbox first.
void KeepToolWindowsOffFrameBars(const ToolWindows& tools);
// Destroys one window and clears its member.
void DestroyToolWindow(ToolWindows& tools, ToolWindowKind kind);

}  // namespace orvale
