#pragma once
// When the main window's menu items and toolbar buttons are enabled, checked and
// pressed, as plain functions of a small record of the program's state. The main
// window gathers the record, calls these and only applies the answers to its actions,
// so the rules are tested without a window.
#include <array>
#include <cstdint>
#include <optional>

#include "app/frame/ToolBarButtons.h"
#include "platform/registry/ResultWindowLayout.h"

namespace orvale {

// The menu items whose enabled state follows the open documents or the grabber. Items
// not named here (Open, Preferences, the recent files, Exit, the bar and tool-window
// toggles, Help, the other pop-up items) are always enabled.
enum class RuledMenuItem : int {
  FileClose,
  FileSave,
  FileSaveAs,
  FileExportMap,
  FileExportZernikes,
  FilePageSetup,
  FilePrint,
  EditCopy,
  EditUserData,
  EditClearFringes,
  EditProperties,
  ViewSurfacePlot,  // the seven output-view items, in result-window order
  ViewContourPlot,
  ViewLineProfile,
  ViewSFringe,
  ViewAberrations,
  ViewZernikes,
  ViewGridResults,
  ProcessGrabImage,
  ProcessGrabberProps,
  ProcessAdjustAspectRatio,
  ProcessTraceV,
  ProcessTraceH,
  ProcessAnalyzeFringes,
  ProcessAddAverage,
  PopupAddAverage,
  WindowCascade,
  WindowTileHorizontal,
  WindowTileVertical,
  WindowArrangeIcons,
};
inline constexpr int kRuledMenuItemCount = static_cast<int>(RuledMenuItem::WindowArrangeIcons) + 1;

// The output-view item of result-window kind 0..6.
constexpr RuledMenuItem OutputViewMenuItem(int kind) {
  return static_cast<RuledMenuItem>(static_cast<int>(RuledMenuItem::ViewSurfacePlot) + kind);
}

// The six tool windows in the order of their toolbar buttons 7..12.
enum class ToolWindowKind : int { ToolBox, Analyze, Average, AnalyzeGrid, RefZernike, Math };
inline constexpr int kToolWindowCount = 6;

struct FrameStateInput {
  std::int32_t NumDocuments = 0;
  bool ForceOff = false;
  // The active document (the one in slot ActiveDocIndex when in use), if any.
  bool HasActiveDocument = false;
  bool OutputViewsExist = false;
  bool ImageViewExist = false;
  std::int32_t ActiveView = 0;
  ResultWindowFlags OutputViewFlags{};  // its seven "...ViewVisible" flags
  // The grabber: a plug-in object exists, it was created and initialised, and whether
  // it offers a setup dialog (asked only when the other three hold; an error is False).
  bool PluginExists = false;
  bool GrabberCreated = false;
  bool GrabberReady = false;
  bool HasSetupDlg = false;
};

struct FrameStates {
  std::array<bool, kRuledMenuItemCount> MenuEnabled{};
  ResultWindowFlags OutputViewChecked{};
  // Buttons 1..33 (element 0 unused); buttons without a rule are always enabled.
  std::array<bool, kToolBarButtonCount + 1> ButtonEnabled{};
  // The zoom in and out buttons and the zoom list.
  bool ZoomEnabled = false;

  bool Menu(RuledMenuItem item) const { return MenuEnabled[static_cast<std::size_t>(item)]; }
};

FrameStates ComputeFrameStates(const FrameStateInput& input);

// Whether a grabber properties command may run: a plug-in exists, created and ready.
bool GrabberMayShowSetup(const FrameStateInput& input);

// The View items the toolbar's toggle buttons mirror, as the menu shows them now.
struct ViewItemMarks {
  std::array<bool, kToolWindowCount> ToolWindowChecked{};
  ResultWindowFlags OutputViewChecked{};
  ResultWindowFlags OutputViewEnabled{};
};

// Pressed states of buttons 7..12 (the tool windows) and 14..20 (an output view is
// pressed only while its item is both checked and enabled); element 0 and the other
// buttons stay false.
std::array<bool, kToolBarButtonCount + 1> ToolBarPressed(const ViewItemMarks& marks);

// What the activation hub does for a window of type `WindowType` (its view code).
struct MainFrameUpdatePlan {
  // SetMenuItems, SetToolBarItems and UpdateToolBar; otherwise, when ZoomItemsOnly,
  // just SetToolBarZoomItems.
  bool RefreshMenusAndToolBar = false;
  bool ZoomItemsOnly = false;
  // The hand and edit tools: for the image view the edit tool pressed (true) or the
  // hand tool (false), both enabled; for result views both released and disabled;
  // untouched for other codes.
  std::optional<bool> EditToolPressed;
  bool ToolsReleasedAndDisabled = false;
  // The zoom list entry to select (percent) without zooming the view.
  std::optional<std::int32_t> ZoomPercent;
  // The status bar is refreshed for every code.
};

MainFrameUpdatePlan PlanMainFrameUpdate(std::int32_t WindowType, double ScaleFactor,
                                        bool EditMode, bool HogWindows);

}  // namespace orvale
