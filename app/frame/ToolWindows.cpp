#include "app/frame/ToolWindows.h"

#include "platform/ui/ScreenTwips.h"

namespace orvale {

namespace {

struct ToolWindowEntry {
  ToolWindowKind Kind;
  ViewMenuItem Item;
};

constexpr std::array<ToolWindowEntry, kToolWindowCount> kEntries = {{
    {ToolWindowKind::ToolBox, ViewMenuItem::ToolBox},
    {ToolWindowKind::Analyze, ViewMenuItem::AnalyzeBox},
    {ToolWindowKind::Average, ViewMenuItem::AverageBox},
    {ToolWindowKind::AnalyzeGrid, ViewMenuItem::GridAnalyzeBox},
    {ToolWindowKind::RefZernike, ViewMenuItem::RefZernike},
    {ToolWindowKind::Math, ViewMenuItem::MathBox},
}};

const ToolWindowEntry& EntryOf(ToolWindowKind kind) {
  return kEntries[static_cast<std::size_t>(kind)];
}

}  // namespace

ToolWindow* ToolWindows::Of(ToolWindowKind kind) const {
  switch (kind) {
    case ToolWindowKind::ToolBox: return ToolBox;
    case ToolWindowKind::Analyze: return Analyze;
    case ToolWindowKind::Average: return Average;
    case ToolWindowKind::AnalyzeGrid: return AnalyzeGrid;
    case ToolWindowKind::RefZernike: return RefZernike;
    case ToolWindowKind::Math: return Math;
  }
  return nullptr;
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

ToolWindows CreateToolWindows(MainFrame& frame, DocumentTable& table, GeneralSettings& settings,
                              QWidget* owner) {
  ToolWindows tools;
  tools.Analyze = new frmAnalyze(frame, table, owner);
  tools.AnalyzeGrid = new frmAnalyzeGrid(frame, table, owner);
  tools.ToolBox = new Toolbox(table, frame, owner);
  tools.Average = new frmAverage(frame, table, owner);
  tools.RefZernike = new frmRefZernike(frame, settings, owner);
  tools.Math = new frmCombine(frame, table, owner);
  return tools;
}

void LoadToolWindows(ToolWindows& tools) {
  std::int32_t belowToolbox = 0;
  if (Toolbox* toolbox = tools.ToolBox) {
    toolbox->PlaceWindow();
    // The analysis window's default place is below the toolbox, frame included; lower
    // still where the toolbox's own default was moved off the main window's bars.
    belowToolbox = PixelsToTwips(toolbox->OuterSize().height());
    if (const QWidget* owner = toolbox->parentWidget(); owner != nullptr && toolbox->AtDefaultPlace())
      belowToolbox += PixelsToTwips(toolbox->pos().y() - owner->frameGeometry().top());
  }
  if (tools.Analyze != nullptr) tools.Analyze->Load(belowToolbox);
  if (tools.AnalyzeGrid != nullptr) tools.AnalyzeGrid->Load();
  if (tools.Average != nullptr) tools.Average->Load();
  if (tools.RefZernike != nullptr) tools.RefZernike->Load();
  if (tools.Math != nullptr) tools.Math->Load();
}

void UnloadToolWindows(ToolWindows& tools) {
  if (tools.ToolBox != nullptr) tools.ToolBox->Unload();
  if (tools.Analyze != nullptr) tools.Analyze->Unload();
  if (tools.AnalyzeGrid != nullptr) tools.AnalyzeGrid->Unload();
  if (tools.Average != nullptr) tools.Average->Unload();
  if (tools.RefZernike != nullptr) tools.RefZernike->Unload();
  if (tools.Math != nullptr) tools.Math->Unload();
}

void KeepToolWindowsOffFrameBars(const ToolWindows& tools) {
  for (const ToolWindowEntry& entry : kEntries) {
    if (ToolWindow* window = tools.Of(entry.Kind); window != nullptr && window->isVisible()) window->KeepOffOwnerBars();
  }
}

void DestroyToolWindow(ToolWindows& tools, ToolWindowKind kind) {
  auto destroy = [](auto*& window) {
    delete window;
    window = nullptr;
  };
  switch (kind) {
    case ToolWindowKind::ToolBox: destroy(tools.ToolBox); break;
    case ToolWindowKind::Analyze: destroy(tools.Analyze); break;
    case ToolWindowKind::Average: destroy(tools.Average); break;
    case ToolWindowKind::AnalyzeGrid: destroy(tools.AnalyzeGrid); break;
    case ToolWindowKind::RefZernike: destroy(tools.RefZernike); break;
    case ToolWindowKind::Math: destroy(tools.Math); break;
  }
}

}  // namespace orvale
