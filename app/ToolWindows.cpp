#include "app/ToolWindows.h"

#include "app/dialogs/ToolWindow.h"

namespace orvale {

namespace {

struct ToolWindowEntry {
  ToolWindowKind Kind;
  ViewMenuItem Item;
  const char* Title;
};

constexpr std::array<ToolWindowEntry, kToolWindowCount> kEntries = {{
    {ToolWindowKind::ToolBox, ViewMenuItem::ToolBox, "Toolbox"},
    {ToolWindowKind::Analyze, ViewMenuItem::AnalyzeBox, "Analyze"},
    {ToolWindowKind::Average, ViewMenuItem::AverageBox, "Average"},
    {ToolWindowKind::AnalyzeGrid, ViewMenuItem::GridAnalyzeBox, "Analyze Grid"},
    {ToolWindowKind::RefZernike, ViewMenuItem::RefZernike, "Reference Zernikes"},
    {ToolWindowKind::Math, ViewMenuItem::MathBox, "Math"},
}};

const ToolWindowEntry& EntryOf(ToolWindowKind kind) {
  return kEntries[static_cast<std::size_t>(kind)];
}

// A tool window whose content is not built yet: an empty window of a fitting size.
QWidget* Placeholder(MainFrame& frame, ToolWindowKind kind, QWidget* owner) {
  const ToolWindowEntry& entry = EntryOf(kind);
  auto* window = new ToolWindow(frame, entry.Item, entry.Title, owner);
  window->resize(220, 160);
  return window;
}

}  // namespace

// The member of each kind, in ToolWindowKind order.
constexpr std::array<QWidget* ToolWindows::*, kToolWindowCount> kMembers = {
    &ToolWindows::ToolBox, &ToolWindows::Analyze,    &ToolWindows::Average,
    &ToolWindows::AnalyzeGrid, &ToolWindows::RefZernike, &ToolWindows::Math,
};

QWidget* ToolWindows::Of(ToolWindowKind kind) const {
  return this->*kMembers[static_cast<std::size_t>(kind)];
}

QWidget*& ToolWindows::Slot(ToolWindowKind kind) {
  return this->*kMembers[static_cast<std::size_t>(kind)];
}

ViewMenuItem ViewItemOf(ToolWindowKind kind) { return EntryOf(kind).Item; }

bool ToolWindowOfViewItem(ViewMenuItem item, ToolWindowKind& kind) {
  for (const ToolWindowEntry& entry : kEntries) {
    if (entry.Item != item) continue;
    kind = entry.Kind;
    return true;
  }
  return false;
}

ToolWindows CreateToolWindows(MainFrame& frame, QWidget* owner) {
  ToolWindows tools;
  tools.Analyze = Placeholder(frame, ToolWindowKind::Analyze, owner);
  tools.AnalyzeGrid = Placeholder(frame, ToolWindowKind::AnalyzeGrid, owner);
  tools.ToolBox = Placeholder(frame, ToolWindowKind::ToolBox, owner);
  tools.Average = Placeholder(frame, ToolWindowKind::Average, owner);
  tools.RefZernike = Placeholder(frame, ToolWindowKind::RefZernike, owner);
  tools.Math = Placeholder(frame, ToolWindowKind::Math, owner);
  return tools;
}

}  // namespace orvale
