#pragma once
// The image view's editing logic: the mouse and keys define the aperture, the
// obstruction and the grid by clicks, add fringe centres, and move, resize, rotate or
// delete what lies under the mouse (Shift and Ctrl choose the operation); in view mode
// the mouse pans and zooms. It also runs the view's fringe and shape commands.
//
// Plain C++: it edits the document's objects, paints through the display into the
// backing image (XOR marks while dragging, so that drawing twice restores the picture)
// and reaches its window only through ImageViewPort. Mouse positions are picture-area
// pixels; Shift is 1 for the Shift key, 2 for Ctrl, 3 for both.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "app/imageview/ImageEditFeedback.h"
#include "app/plots/ImageViewGeometry.h"
#include "app/analysis/Points.h"

namespace orvale {

namespace gdi {
class DeviceContext;
}
class clsDocument;
class FringeToolbox;
class ImageViewDisplay;
class MainFrame;

// What the controller needs of its window.
class ImageViewPort {
 public:
  virtual ~ImageViewPort() = default;
  // The backing image changed: bring it to the screen.
  virtual void ShowBacking() = 0;
  // The view's own cursor: a key of the main window's cursor list, "" the standard one.
  virtual void SetCursorKey(std::string_view key) = 0;
  // The geometry's scroll-bar states changed: move the real bars to them.
  virtual void ScrollBarsChanged() = 0;
  // The global screen position of a picture-area pixel (where the pop-up menu opens).
  virtual PointL ScreenPosition(std::int32_t x, std::int32_t y) const = 0;
};

namespace mousebutton {
inline constexpr std::int32_t kLeft = 1;
inline constexpr std::int32_t kRight = 2;
}  // namespace mousebutton

namespace modifier {
inline constexpr std::int32_t kShift = 1;
inline constexpr std::int32_t kCtrl = 2;
}  // namespace modifier

inline constexpr std::int32_t kSpaceKey = 32;

class ImageEditController {
 public:
  // `toolbox` may be null (no toolbox: order 1, nothing to enable). Everything given
  // must outlive the controller.
  ImageEditController(clsDocument& doc, ImageViewDisplay& display, MainFrame& frame,
                      FringeToolbox* toolbox, ImageViewPort& port);

  // --- Modes, set by the toolbox and the main window ---
  bool MouseEditMode = true;  // False: view mode (pan and zoom)
  std::int32_t newDrawingObject = drawing::kFringeCenters;
  std::int32_t newDrawingType = 0;  // 1 circle, 2 ellipse, 3 polygon while drawing a shape
  std::int32_t newMouseClicks = 1;  // clicks that finish the object

  // What lies under the mouse (the pop-up commands act on it) and what is dragged.
  const ImageObject& MouseObject() const { return mouseObject_; }
  const ImageObject& SelectedObject() const { return selectedObject_; }
  // The clicked points so far, image pixels, 1-based.
  std::int32_t ClickCount() const { return clickCount_; }
  PointD ClickPoint(std::int32_t i) const;
  bool Panning() const { return panning_; }

  // --- Mouse and keys ---
  // Button: the button pressed or released; for moves the buttons held (a mask).
  void MouseDown(std::int32_t Button, std::int32_t Shift, double X, double Y);
  void MouseMove(std::int32_t Button, std::int32_t Shift, double X, double Y);
  void MouseUp(std::int32_t Button, std::int32_t Shift, double X, double Y);
  void KeyDown(std::int32_t KeyCode, std::int32_t Shift);
  void KeyUp(std::int32_t KeyCode, std::int32_t Shift);

  // --- Public members ---
  // The cursor for the mode and what lies under the mouse, then the status text.
  void ChangeMouseIcon(std::int32_t Shift);
  void ChangeStatusBar(std::int32_t Shift);
  // Ends the drawing of a shape or grid: back to fringe centres, toolbox enabled.
  void StopDrawingObject();
  void ClearSelectedObject();
  void ClearMouseClickBuffer() { clickCount_ = 0; }

  // Repaints the whole picture area and shows it.
  void PaintImage();
  // The overlays of a paint: shapes, grid, fringe centres, clicked points, and last the
  // dragged object with the XOR pen.
  void DrawOverlays(gdi::DeviceContext& dc) const;

  // --- Fringe and shape commands ---
  void DeleteAperture();
  void DeleteObstruction();
  // Makes room at Order (orders from it up rise by one); no repaint.
  void InsertFringe(std::int32_t Order);
  // Removes the fringe of Order (orders above it fall by one); no repaint.
  void DeleteFringe(std::int32_t Order);
  // The centre at an image point, or with (1E+308, 1E+308) the centre the pop-up menu
  // was opened on.
  void DeleteFringeCenter(double X, double Y);
  // Records the clicked points as centres of Order (fringe-centre mode only). When the
  // store refuses them the user is told and the document stays as it was.
  void SaveFringe(std::int32_t Order);
  // Renames srcOrder to destOrder, or merges it into an existing destOrder and closes
  // the gap it leaves.
  void RenumberFringe(std::int32_t destOrder, std::int32_t srcOrder);
  std::int32_t GetFringeNumTicks() const;
  void GetFringeCenterData(std::span<double> X, std::span<double> Y, std::span<double> z) const;
  // The interferogram with its overlays into a device rectangle (edges included).
  void PrintImage(gdi::DeviceContext& dc, std::int32_t left, std::int32_t top,
                  std::int32_t right, std::int32_t bottom) const;

 private:
  bool MayHandleMouse() const;
  PointD ToImage(double X, double Y) const;
  // Whether an image point lies on the picture, where a fringe centre may be: a click
  // beside the picture adds none, and a centre dragged off it goes.
  bool OnImage(const PointD& p) const;
  EditFeedbackState Feedback() const;
  std::int32_t CurrentOrder() const;
  void SetStatusPanels(const PointD& p);
  void ViewModeDown(std::int32_t Shift, const PointD& p, double X, double Y);
  void EditModeDown(std::int32_t Shift, const PointD& p);
  void ShowPopup(const PointD& p, double X, double Y);
  void ModifiersChangedWhileDragging(std::int32_t Shift);
  // The modifier state the drag may use: `Shift`, or the drag's own where not allowed.
  std::int32_t AllowedShift(std::int32_t Shift) const;
  void FinishObject();
  // Zooms one list entry in or out about an image point.
  void ZoomAbout(const PointD& p, bool ZoomIn);
  void MarkFringesChanged();

  // Hit test, first match wins: centres, aperture, obstruction, grid. Sets MouseObject
  // on a hit only.
  bool HitTest(const PointD& p);
  void SelectHitObject();
  PointD GetSelectionCenter() const;
  PointD GetSelectionHandle() const;
  void GetSelectionRadii(double& r1, double& r2) const;
  double GetSelectionAngle() const;
  // StartCenter and StartHandle, and with `shape` also the radii and the angle.
  void TakeStart(bool shape);

  void DragMove(const PointD& p, bool ortho);
  void DragResize(const PointD& p);
  void DragRotate(const PointD& p);
  // Draws the selection alone with the XOR pen into the backing image; twice restores
  // the picture.
  void XorDrawSelection();
  void DrawSelection(gdi::DeviceContext& dc) const;
  void DrawClickPoints(gdi::DeviceContext& dc) const;
  void DrawClickPoint(gdi::DeviceContext& dc, std::int32_t i) const;

  clsDocument& doc_;
  ImageViewDisplay& display_;
  MainFrame& frame_;
  FringeToolbox* toolbox_;
  ImageViewPort& port_;

  ImageObject mouseObject_;
  ImageObject selectedObject_;
  std::vector<double> clickX_ = {0.0};  // element 0 unused
  std::vector<double> clickY_ = {0.0};
  std::int32_t clickCount_ = 0;

  std::int32_t shiftState_ = 0;
  PointD downPoint_;
  PointD prevPoint_;
  PointD startCenter_;
  PointD startHandle_;
  double startRadius1_ = 0;
  double startRadius2_ = 0;
  double startAngle_ = 0;
  std::int32_t resizeAxis_ = 0;  // 0 undecided, 1 first axis, 2 second
  bool panning_ = false;
  PanStart panStart_;
  std::int32_t lastShift_ = 0;
};

}  // namespace orvale
