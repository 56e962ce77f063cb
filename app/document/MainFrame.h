#pragma once
// What the document windows, the tool windows and the dialogs need of the main window.
// They never include the main window itself: they are given a MainFrame. The main
// window implements it; the defaults do nothing, so windows run headless in tests
// (which use a recording frame) and before the main window exists.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/document/DocumentHost.h"

class QCursor;

namespace orvale {

class clsDocument;

// The View-menu items that carry a check mark: the two bars, the six tool windows and
// the seven output views.
enum class ViewMenuItem {
  Toolbar,
  StatusBar,
  ToolBox,
  AnalyzeBox,
  GridAnalyzeBox,
  AverageBox,
  RefZernike,
  MathBox,
  SurfacePlot,
  ContourPlot,
  LineProfile,
  SFringe,
  Aberrations,
  Zernikes,
  GridResults,
};

// Status-bar panels, 1-based as the main window numbers them.
namespace statuspanel {
inline constexpr std::int32_t kStatus = 1;
inline constexpr std::int32_t kSize = 2;
inline constexpr std::int32_t kCoords = 3;
inline constexpr std::int32_t kIntensity = 4;
}  // namespace statuspanel

// How the image view wants the fringe pop-up menu shown: the captions of the two add
// items and which of the five changing items are visible. The other items always show.
struct FringePopupRequest {
  std::string AddApertureCaption;
  std::string AddObstructionCaption;
  bool DeleteCenterVisible = false;
  bool AddApertureVisible = true;
  bool ClearApertureVisible = false;
  bool AddObstructionVisible = true;
  bool ClearObstructionVisible = false;
  // Where to open it, in global screen pixels.
  std::int32_t ScreenX = 0;
  std::int32_t ScreenY = 0;
};

class MainFrame : public DocumentHost {
 public:
  // A new image view starts in edit mode when the toolbar is hidden, else exactly when
  // the toolbar's edit tool is pressed.
  bool ImageViewStartsInEditMode() const override;

  // --- Activation hub ---
  // A document window was activated: its view code, its zoom as a ratio (1.0 = 100 %),
  // and for the image view whether it is in edit mode. Recomputes menus, toolbar, zoom
  // controls and status bar.
  virtual void UpdateMainFrame(std::int32_t /*WindowType*/, double /*ScaleFactor*/,
                               bool /*EditMode*/) {}
  // Every window of `doc` calls this when activated: `doc` becomes the active document
  // and, with individual window sets, its result-window places become the layout.
  virtual void StoreWindowLayout(clsDocument& /*doc*/) {}
  // Pressed states of the toggle buttons from the View-menu check marks.
  virtual void UpdateToolBar() {}
  virtual void SetToolBarZoomItems(bool /*ForceOff*/) {}

  // --- View menu ---
  virtual bool ViewItemChecked(ViewMenuItem /*item*/) const { return false; }
  virtual void SetViewItemChecked(ViewMenuItem /*item*/, bool /*checked*/) {}
  // The Grid Results toggle, as the View menu runs it.
  virtual void mnuViewGridResults_Click() {}

  // --- Toolbar hand and edit tools (buttons 28 and 29) ---
  // Presses the edit tool (true) or the hand tool (false) and releases the other.
  virtual void SetEditToolPressed(bool /*edit*/) {}
  virtual bool EditToolPressed() const { return true; }

  // --- Zoom list (index 0 is the largest magnification) ---
  virtual std::int32_t ZoomListCount() const { return 0; }
  virtual std::int32_t ZoomListIndex() const { return -1; }
  virtual std::int32_t ZoomListItemData(std::int32_t /*index*/) const { return 0; }
  // Selects an entry; the selection applies its zoom to the active view.
  virtual void SelectZoomListIndex(std::int32_t /*index*/) {}
  // Shows the entry of `percent` (or "100%" when there is none) without zooming any
  // view: for a view whose zoom was set directly.
  virtual void ShowZoomPercent(std::int32_t /*percent*/) {}

  // --- Status bar ---
  virtual void SetStatusPanelText(std::int32_t /*panel*/, const std::string& /*text*/) {}

  // --- Pointers ---
  // The cursor picture with one of the mouse-icon keys ("curHandTool", "curZoomIn", ...);
  // the arrow for an unknown key.
  virtual QCursor MouseIcon(std::string_view key) const;
  // The pointer over the whole program: a mouse-icon key, or "" for the default.
  virtual void SetScreenPointer(std::string_view /*key*/) {}

  // --- Fringe pop-up menu ---
  // Shows the menu (the main window runs the chosen command); returns when it closes.
  virtual void ShowFringePopup(const FringePopupRequest& /*request*/) {}
  // Set by the image view while the pop-up is open; each pop-up command clears it.
  bool PopupActive = false;

  // --- Windows ---
  // Brings a document window (view code) to the front and gives it the focus.
  virtual void BringViewToFront(clsDocument& doc, std::int32_t formType);
};

// The frame used when none was given.
MainFrame& HeadlessMainFrame();

}  // namespace orvale
