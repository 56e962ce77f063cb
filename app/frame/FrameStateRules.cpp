#include "app/frame/FrameStateRules.h"

#include "app/document/DocumentViews.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

using M = RuledMenuItem;

constexpr M kDocumentItems[] = {
    M::FileClose,     M::FileSave,         M::FileSaveAs,          M::FilePrint,
    M::FilePageSetup, M::EditClearFringes, M::EditUserData,        M::ProcessAdjustAspectRatio,
    M::ProcessTraceV, M::ProcessTraceH,    M::ProcessAnalyzeFringes, M::WindowCascade,
    M::WindowTileHorizontal, M::WindowTileVertical, M::WindowArrangeIcons,
};

constexpr M kAnalysedItems[] = {
    M::EditCopy,           M::EditProperties,      M::FileExportMap,
    M::FileExportZernikes, M::ProcessAddAverage,   M::PopupAddAverage,
};

// Buttons enabled with an open document: Save, Print, Page Setup, Adjust Aspect, the
// two traces and the hand and edit tools.
constexpr int kDocumentButtons[] = {
    toolbutton::kSave,   toolbutton::kPrint,  toolbutton::kPageSetup, toolbutton::kAdjustAspect,
    toolbutton::kTraceH, toolbutton::kTraceV, toolbutton::kHandTool,  toolbutton::kEditTool,
};

}  // namespace

bool GrabberMayShowSetup(const FrameStateInput& input) {
  return input.PluginExists && input.GrabberCreated && input.GrabberReady;
}

FrameStates ComputeFrameStates(const FrameStateInput& input) {
  FrameStates s;
  const bool E = input.NumDocuments >= 1 && !input.ForceOff;
  const bool grab = input.GrabberCreated && input.GrabberReady;
  const bool setup = GrabberMayShowSetup(input) && input.HasSetupDlg;

  auto menu = [&s](M item) -> bool& { return s.MenuEnabled[static_cast<std::size_t>(item)]; };
  for (M item : kDocumentItems) menu(item) = E;
  const bool analysed = input.HasActiveDocument && input.OutputViewsExist && E;
  for (M item : kAnalysedItems) menu(item) = analysed;
  for (int kind = 0; kind < kResultWindowCount; ++kind) {
    menu(OutputViewMenuItem(kind)) = analysed;
    s.OutputViewChecked[static_cast<std::size_t>(kind)] =
        input.HasActiveDocument && input.OutputViewFlags[static_cast<std::size_t>(kind)];
  }
  menu(M::ProcessGrabImage) = grab;
  menu(M::ProcessGrabberProps) = setup;

  s.ButtonEnabled.fill(true);
  s.ButtonEnabled[0] = false;
  for (int button : kDocumentButtons) s.ButtonEnabled[static_cast<std::size_t>(button)] = E;
  const bool views = input.HasActiveDocument && input.ImageViewExist && input.OutputViewsExist && E;
  for (int kind = 0; kind < kResultWindowCount; ++kind)
    s.ButtonEnabled[static_cast<std::size_t>(toolbutton::kFirstOutputView + kind)] = views;
  s.ButtonEnabled[toolbutton::kGrab] = grab;
  s.ButtonEnabled[toolbutton::kGrabberProps] = setup;

  s.ZoomEnabled = E && input.HasActiveDocument &&
                  (input.ActiveView == viewtype::kImage || input.ActiveView == viewtype::kSFringe);
  return s;
}

std::array<bool, kToolBarButtonCount + 1> ToolBarPressed(const ViewItemMarks& marks) {
  std::array<bool, kToolBarButtonCount + 1> pressed{};
  for (int k = 0; k < kToolWindowCount; ++k)
    pressed[static_cast<std::size_t>(toolbutton::kFirstToolWindow + k)] =
        marks.ToolWindowChecked[static_cast<std::size_t>(k)];
  for (int kind = 0; kind < kResultWindowCount; ++kind) {
    const auto i = static_cast<std::size_t>(kind);
    pressed[static_cast<std::size_t>(toolbutton::kFirstOutputView + kind)] =
        marks.OutputViewChecked[i] && marks.OutputViewEnabled[i];
  }
  return pressed;
}

MainFrameUpdatePlan PlanMainFrameUpdate(std::int32_t WindowType, double ScaleFactor,
                                        bool EditMode, bool HogWindows) {
  MainFrameUpdatePlan plan;
  switch (WindowType) {
    case viewtype::kImage:
      plan.RefreshMenusAndToolBar = true;
      plan.EditToolPressed = EditMode;
      break;
    case viewtype::kSurfacePlot:
    case viewtype::kContourPlot:
    case viewtype::kLineProfile:
    case viewtype::kSFringe:
    case viewtype::kAberrations:
    case viewtype::kZernikes:
    case viewtype::kGridResults:
      plan.RefreshMenusAndToolBar = !HogWindows;
      plan.ZoomItemsOnly = HogWindows;
      plan.ToolsReleasedAndDisabled = true;
      break;
    default:
      return plan;
  }
  if (WindowType == viewtype::kImage || WindowType == viewtype::kSFringe)
    plan.ZoomPercent = RoundToInt32(ScaleFactor * 100.0);
  return plan;
}

}  // namespace orvale
