#pragma once
// The six long-lived tool windows, kept in one place: created once at start-up, owned
// by the main window, shown and hidden by their View items. Until a window's own
// content exists, a placeholder stands in for it; putting the real window in is a
// change of its line in CreateToolWindows.
#include <QWidget>
#include <array>

#include "app/FrameStateRules.h"
#include "app/document/MainFrame.h"

namespace orvale {

struct ToolWindows {
  QWidget* ToolBox = nullptr;
  QWidget* Analyze = nullptr;
  QWidget* AnalyzeGrid = nullptr;
  QWidget* Average = nullptr;
  QWidget* RefZernike = nullptr;
  QWidget* Math = nullptr;

  // The window of a kind, or null once it is gone.
  QWidget* Of(ToolWindowKind kind) const;
  QWidget*& Slot(ToolWindowKind kind);
};

// The View item that shows a tool window.
ViewMenuItem ViewItemOf(ToolWindowKind kind);
// The tool window a View item shows; false for the bars and the output views.
bool ToolWindowOfViewItem(ViewMenuItem item, ToolWindowKind& kind);

// Creates the six windows in the start-up order (analysis options, grid analysis,
// toolbox, averaging, reference Zernikes, math), owned by `owner`.
ToolWindows CreateToolWindows(MainFrame& frame, QWidget* owner);

}  // namespace orvale
