#include "app/imageview/ImageEditController.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "app/imageview/FringeToolbox.h"
#include "app/plots/ImageViewDisplay.h"
#include "app/analysis/Angles.h"
#include "app/analysis/MathBasics.h"
#include "app/analysis/MathConstants.h"
#include "app/analysis/OutlineDrawing.h"
#include "app/document/DocumentTable.h"
#include "app/document/LineWidth.h"
#include "app/document/MainFrame.h"
#include "app/document/clsDocument.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "platform/gdi/RasterOps.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

constexpr double kQuarterPi = 0.7853981633974475;
// A polygon closes when the last click lies this close to the first, in image pixels.
constexpr double kCloseDistance = 3.0;

// Selects the hollow brush (shapes are outlines) and the previous one back.
class HollowBrushScope {
 public:
  explicit HollowBrushScope(gdi::DeviceContext& dc)
      : dc_(dc), previous_(dc.SelectBrush(gdi::StockBrush(gdi::HOLLOW_BRUSH))) {}
  ~HollowBrushScope() { dc_.SelectBrush(previous_); }
  HollowBrushScope(const HollowBrushScope&) = delete;
  HollowBrushScope& operator=(const HollowBrushScope&) = delete;

 private:
  gdi::DeviceContext& dc_;
  gdi::Brush previous_;
};

// |a| folded into 0..pi/2, as the ellipse rules measure angles from an axis.
double FoldedFromAxis(double a) {
  a = std::fabs(a);
  return a > kHalfPi ? kPi - a : a;
}

bool Defined(double value) { return value != kNotGivenDouble; }

// Format(n, "(###0 ") and Format(n, "###0)"): the sign goes in front of the pattern.
std::string Signed(std::int64_t n, std::string_view before, std::string_view after) {
  std::string text = n < 0 ? "-" : "";
  text += before;
  text += FormatLong(n < 0 ? -n : n);
  text += after;
  return text;
}

}  // namespace

ImageEditController::ImageEditController(clsDocument& doc, ImageViewDisplay& display,
                                         MainFrame& frame, FringeToolbox* toolbox,
                                         ImageViewPort& port)
    : doc_(doc), display_(display), frame_(frame), toolbox_(toolbox), port_(port) {}

PointD ImageEditController::ClickPoint(std::int32_t i) const {
  if (i < 1 || i > clickCount_) return {kNotGivenDouble, kNotGivenDouble};
  return {clickX_[static_cast<std::size_t>(i)], clickY_[static_cast<std::size_t>(i)]};
}

std::int32_t ImageEditController::CurrentOrder() const {
  return toolbox_ != nullptr ? toolbox_->CurrentOrder() : 1;
}

bool ImageEditController::MayHandleMouse() const {
  if (!display_.ImageReady || doc_.ActiveView != viewtype::kImage) return false;
  const DocumentTable* table = doc_.Table();
  return table == nullptr || table->ActiveDocument() == &doc_;
}

PointD ImageEditController::ToImage(double X, double Y) const {
  return display_.Geometry.ScreenToImage(X, Y);
}

EditFeedbackState ImageEditController::Feedback() const {
  return {MouseEditMode, newDrawingObject, newDrawingType, mouseObject_,
          selectedObject_.Kind != ImageObject::kNothing};
}

// --- Cursor and status ---

void ImageEditController::ChangeMouseIcon(std::int32_t Shift) {
  if (const auto key = MouseIconKey(Feedback(), Shift)) port_.SetCursorKey(*key);
  ChangeStatusBar(Shift);
}

void ImageEditController::ChangeStatusBar(std::int32_t Shift) {
  if (const auto text = StatusText(Feedback(), Shift))
    frame_.SetStatusPanelText(statuspanel::kStatus, std::string(*text));
}

void ImageEditController::SetStatusPanels(const PointD& p) {
  const double fx = std::floor(p.x);
  const double fy = std::floor(p.y);
  const auto x = static_cast<std::int64_t>(std::clamp(fx, -2147483648.0, 2147483647.0));
  const auto y = static_cast<std::int64_t>(std::clamp(fy, -2147483648.0, 2147483647.0));
  frame_.SetStatusPanelText(statuspanel::kCoords, Signed(x, "(", " ") + "," + Signed(y, "", ")"));
  const std::int32_t intensity =
      doc_.GetIntensity(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
  frame_.SetStatusPanelText(statuspanel::kIntensity,
                            intensity < 0 ? "i:" : "i: " + FormatLong(intensity));
}

// --- Mouse ---

void ImageEditController::MouseDown(std::int32_t Button, std::int32_t Shift, double X, double Y) {
  if (!MayHandleMouse()) return;
  if (frame_.PopupActive) {
    frame_.PopupActive = false;
    return;
  }
  const PointD p = ToImage(X, Y);
  if (Button == mousebutton::kRight) {
    ShowPopup(p, X, Y);
  } else if (Button == mousebutton::kLeft) {
    if (MouseEditMode)
      EditModeDown(Shift, p);
    else
      ViewModeDown(Shift, p, X, Y);
  }
}

void ImageEditController::ShowPopup(const PointD& p, double X, double Y) {
  // A miss forgets what was under the mouse before: the pop-up's commands must not act
  // on an object the menu was not opened on.
  if (!HitTest(p)) mouseObject_ = ImageObject{};
  static constexpr std::array<const char*, 3> kApertureCaptions = {
      "Add Circular Aperture", "Add Elliptical Aperture", "Add Polygonal Aperture"};
  static constexpr std::array<const char*, 3> kObstructionCaptions = {
      "Add Circular Obstruction", "Add Elliptical Obstruction", "Add Polygonal Obstruction"};
  const auto caption = [](const std::array<const char*, 3>& captions, std::int32_t index) {
    return std::string(captions[static_cast<std::size_t>(std::clamp(index, 0, 2))]);
  };
  FringePopupRequest request;
  request.AddApertureCaption =
      caption(kApertureCaptions, toolbox_ != nullptr ? toolbox_->ApertureTypeIndex() : 0);
  request.AddObstructionCaption =
      caption(kObstructionCaptions, toolbox_ != nullptr ? toolbox_->ObstructionTypeIndex() : 0);
  switch (mouseObject_.Kind) {
    case ImageObject::kFringeCenter: request.DeleteCenterVisible = true; break;
    case ImageObject::kAperture:
      request.AddApertureVisible = false;
      request.ClearApertureVisible = true;
      break;
    case ImageObject::kObstruction:
      request.AddObstructionVisible = false;
      request.ClearObstructionVisible = true;
      break;
    default: break;
  }
  const PointL screen = port_.ScreenPosition(RoundToInt32(X), RoundToInt32(Y));
  request.ScreenX = screen.x;
  request.ScreenY = screen.y;
  // The menu is modal: the flag lives exactly as long as it is open.
  frame_.PopupActive = true;
  frame_.ShowFringePopup(request);
  frame_.PopupActive = false;
}

void ImageEditController::EditModeDown(std::int32_t Shift, const PointD& p) {
  const bool found = HitTest(p);
  downPoint_ = prevPoint_ = p;
  shiftState_ = Shift;
  const std::int32_t part = mouseObject_.Part;
  const bool onCenter = found && mouseObject_.Kind == ImageObject::kFringeCenter;
  switch (Shift) {
    case 0:
      if (found) {
        SelectHitObject();
        TakeStart(false);
      } else if (newMouseClicks > 0 && (newDrawingObject != drawing::kFringeCenters || OnImage(p))) {
        ++clickCount_;
        clickX_.resize(static_cast<std::size_t>(clickCount_) + 1);
        clickY_.resize(static_cast<std::size_t>(clickCount_) + 1);
        clickX_[static_cast<std::size_t>(clickCount_)] = p.x;
        clickY_[static_cast<std::size_t>(clickCount_)] = p.y;
        if (gdi::ImageDeviceContext* dc = display_.Backing()) {
          DrawClickPoint(*dc, clickCount_);
          port_.ShowBacking();
        }
      }
      break;
    case modifier::kShift:
      if (onCenter) {
        if (toolbox_ != nullptr) toolbox_->SelectOrder(mouseObject_.Order);
      } else if (found) {
        SelectHitObject();
        resizeAxis_ = 0;
        const bool resizable = part != ImageObject::kPolygonEdge && part != ImageObject::kGridEdge;
        TakeStart(resizable);
        if (!resizable) shiftState_ = 0;
      }
      break;
    case modifier::kCtrl:
      if (onCenter && newDrawingObject == drawing::kFringeCenters) {
        std::int32_t index = mouseObject_.Index;
        doc_.Fringes.DeleteCenter(mouseObject_.Order, mouseObject_.Tick, index);
        mouseObject_ = ImageObject{};
        MarkFringesChanged();
        PaintImage();
      } else if (found) {
        SelectHitObject();
        const bool turnable =
            part != 1 && part != ImageObject::kGridEdge && part != ImageObject::kGridCorner;
        if (turnable) resizeAxis_ = 0;
        TakeStart(turnable);
        if (!turnable) shiftState_ = 0;
      }
      break;
    case modifier::kShift | modifier::kCtrl:
      if (found) {
        SelectHitObject();
        TakeStart(false);
      }
      break;
    default: break;
  }
}

bool ImageEditController::OnImage(const PointD& p) const {
  const ImageViewGeometry& g = display_.Geometry;
  return p.x >= 0 && p.x <= g.ImageWidth - 1 && p.y >= 0 && p.y <= g.ImageHeight - 1;
}

void ImageEditController::ViewModeDown(std::int32_t Shift, const PointD& p, double X, double Y) {
  const ImageViewGeometry& g = display_.Geometry;
  if (Shift == 0) {
    panning_ = true;
    panStart_ = {g.Horizontal.Value, g.Vertical.Value, RoundToInt32(X), RoundToInt32(Y)};
  } else if (Shift == modifier::kShift) {
    ZoomAbout(p, true);
  } else if (Shift == modifier::kCtrl) {
    ZoomAbout(p, false);
  }
}

void ImageEditController::ZoomAbout(const PointD& p, bool ZoomIn) {
  const std::int32_t index = frame_.ZoomListIndex();
  if (index < 0 || index >= frame_.ZoomListCount()) return;
  const std::int32_t next = ZoomIn ? index - 1 : index + 1;
  if (next < 0 || next >= frame_.ZoomListCount()) return;
  // No paint at the old zoom with the new bar values.
  display_.ImageReady = false;
  display_.Geometry.CenterForZoom(p.x, p.y, frame_.ZoomListItemData(next));
  port_.ScrollBarsChanged();
  display_.ImageReady = true;
  frame_.SelectZoomListIndex(next);
}

void ImageEditController::MouseMove(std::int32_t Button, std::int32_t Shift, double X, double Y) {
  if (!MayHandleMouse() || frame_.PopupActive) return;
  const PointD p = ToImage(X, Y);
  SetStatusPanels(p);
  const bool leftHeld = (Button & mousebutton::kLeft) != 0;
  if (MouseEditMode) {
    if (selectedObject_.Kind == ImageObject::kNothing) {
      if (HitTest(p)) {
        ChangeMouseIcon(Shift);
      } else if (mouseObject_.Kind != ImageObject::kNothing) {
        mouseObject_ = ImageObject{};
        ChangeMouseIcon(Shift);
      }
    }
    if (leftHeld && Shift != shiftState_) ModifiersChangedWhileDragging(Shift);
    if (leftHeld && selectedObject_.Kind != ImageObject::kNothing) {
      switch (AllowedShift(shiftState_)) {
        case 0: DragMove(p, false); break;
        case modifier::kShift: DragResize(p); break;
        case modifier::kCtrl: DragRotate(p); break;
        default: DragMove(p, true); break;
      }
      prevPoint_ = p;
    }
  } else if (panning_) {
    if (display_.Geometry.Pan(panStart_, RoundToInt32(X), RoundToInt32(Y))) {
      port_.ScrollBarsChanged();
      if (display_.Geometry.SyncOrigin()) PaintImage();
    }
  }
}

std::int32_t ImageEditController::AllowedShift(std::int32_t Shift) const {
  const std::int32_t part = selectedObject_.Part;
  if (Shift == modifier::kShift || Shift == modifier::kCtrl) {
    if (selectedObject_.Kind == ImageObject::kFringeCenter) return shiftState_;
    const bool refused =
        Shift == modifier::kCtrl
            ? part == 1 || part == ImageObject::kGridEdge || part == ImageObject::kGridCorner
            : part == ImageObject::kPolygonEdge || part == ImageObject::kGridEdge;
    if (refused) return shiftState_;
  }
  return Shift;
}

void ImageEditController::ModifiersChangedWhileDragging(std::int32_t Shift) {
  const bool selection = selectedObject_.Kind != ImageObject::kNothing;
  if (Shift == 0 || Shift == (modifier::kShift | modifier::kCtrl)) {
    if (selection) TakeStart(false);
  } else {
    // A change the selection does not allow keeps the drag as it was.
    if (AllowedShift(Shift) != Shift) return;
    resizeAxis_ = 0;
    TakeStart(true);
  }
  shiftState_ = Shift;
  // The new operation starts where the mouse is now, without a jump.
  downPoint_ = prevPoint_;
}

void ImageEditController::MouseUp(std::int32_t Button, std::int32_t Shift, double /*X*/,
                                  double /*Y*/) {
  if (Button != mousebutton::kLeft) return;
  if (frame_.PopupActive) {
    frame_.PopupActive = false;
    return;
  }
  if (!MouseEditMode) {
    panning_ = false;
    return;
  }
  if (selectedObject_.Kind != ImageObject::kNothing) {
    ClearSelectedObject();
    PaintImage();
    return;
  }
  if (Shift != 0 || newMouseClicks <= 0 || clickCount_ < 1) return;
  if (newDrawingType == clsShape::kPolygon && clickCount_ > 3) {
    const auto last = static_cast<std::size_t>(clickCount_);
    if (std::fabs(clickX_[last] - clickX_[1]) <= kCloseDistance &&
        std::fabs(clickY_[last] - clickY_[1]) <= kCloseDistance) {
      --clickCount_;  // the closing click is not a vertex
      newMouseClicks = clickCount_;
    }
  }
  // At least as many clicks finish it, so a buffer that grew past the count never
  // strands the drawing.
  if (clickCount_ >= newMouseClicks) FinishObject();
}

void ImageEditController::FinishObject() {
  switch (newDrawingObject) {
    case drawing::kAperture:
    case drawing::kObstruction: {
      clsShape& shape = newDrawingObject == drawing::kAperture ? doc_.Aperture : doc_.Obstruction;
      shape.Save(newDrawingType, clickCount_, clickX_, clickY_);
      doc_.InvalidateMask();
      frame_.SetScreenPointer("");
      break;
    }
    case drawing::kFringeCenters:
      SaveFringe(CurrentOrder());
      clickCount_ = 0;
      break;
    case drawing::kGrid: {
      const clsGrid before = doc_.Grid;
      if (clickCount_ >= 2) {
        doc_.Grid.SetBounds(RoundToInt32(clickX_[1]), RoundToInt32(clickY_[1]),
                            RoundToInt32(clickX_[2]), RoundToInt32(clickY_[2]));
      }
      // The grid is saved with the document.
      if (doc_.Grid.UpperLeftX != before.UpperLeftX || doc_.Grid.UpperLeftY != before.UpperLeftY ||
          doc_.Grid.PixelSizeX != before.PixelSizeX || doc_.Grid.PixelSizeY != before.PixelSizeY) {
        doc_.DocDirty = true;
      }
      doc_.Host().ShowCurrentGridData();
      frame_.SetScreenPointer("");
      break;
    }
    default: break;
  }
  StopDrawingObject();
}

void ImageEditController::KeyDown(std::int32_t /*KeyCode*/, std::int32_t Shift) {
  if (Shift != lastShift_) {
    lastShift_ = Shift;
    ChangeMouseIcon(Shift);
  }
}

void ImageEditController::KeyUp(std::int32_t KeyCode, std::int32_t Shift) {
  KeyDown(KeyCode, Shift);
  if (KeyCode != kSpaceKey || toolbox_ == nullptr) return;
  if (Shift == 0)
    toolbox_->SelectOrder(toolbox_->CurrentOrder() + 1);
  else if (Shift == modifier::kShift)
    toolbox_->SelectOrder(toolbox_->CurrentOrder() - 1);
}

// --- Modes ---

void ImageEditController::StopDrawingObject() {
  if (newDrawingObject == drawing::kFringeCenters) return;
  if (toolbox_ != nullptr) toolbox_->SetControls(true, true, true);
  newMouseClicks = 1;
  newDrawingType = 0;
  newDrawingObject = drawing::kFringeCenters;
  clickCount_ = 0;
  frame_.SetScreenPointer("");
  PaintImage();
}

void ImageEditController::ClearSelectedObject() { selectedObject_ = ImageObject{}; }

// --- Hit test and selection ---

bool ImageEditController::HitTest(const PointD& p) {
  std::int32_t order = kNoOrder;
  std::int32_t tick = kNoOrder;
  std::int32_t index = kNoOrder;
  doc_.Fringes.Find(p.x, p.y, order, tick, index);
  if (order != kNoOrder && tick != kNoOrder) {
    mouseObject_ = {ImageObject::kFringeCenter, ImageObject::kVertex, kNotGivenLong, order, tick, index};
    return true;
  }
  const std::array<std::pair<const clsShape*, std::int32_t>, 2> shapes = {
      std::pair{&doc_.Aperture, ImageObject::kAperture},
      std::pair{&doc_.Obstruction, ImageObject::kObstruction}};
  for (const auto& [shape, kind] : shapes) {
    std::int32_t part = 0;
    std::int32_t data = kNotGivenLong;
    shape->Find(p.x, p.y, part, data);
    if (part != 0) {
      mouseObject_ = {kind, part, data, kNotGivenLong, kNotGivenLong, kNotGivenLong};
      return true;
    }
  }
  std::int32_t found = 0;
  std::int32_t vertex = 4;
  doc_.Grid.Find(p.x, p.y, found, vertex);
  if (found != 0) {
    mouseObject_ = {ImageObject::kGrid,
                    found == 2 ? ImageObject::kGridCorner : ImageObject::kGridEdge, vertex,
                    kNotGivenLong, kNotGivenLong, kNotGivenLong};
    return true;
  }
  return false;
}

void ImageEditController::SelectHitObject() {
  selectedObject_ = mouseObject_;
  PaintImage();
}

PointD ImageEditController::GetSelectionCenter() const {
  PointD c{kNotGivenDouble, kNotGivenDouble};
  const ImageObject& s = selectedObject_;
  switch (s.Kind) {
    case ImageObject::kAperture: doc_.Aperture.GetCenter(c.x, c.y); break;
    case ImageObject::kObstruction: doc_.Obstruction.GetCenter(c.x, c.y); break;
    case ImageObject::kFringeCenter: {
      std::int32_t index = s.Index;
      doc_.Fringes.GetCenter(s.Order, s.Tick, c.x, c.y, index);
      break;
    }
    case ImageObject::kGrid: doc_.Grid.GetCenter(c.x, c.y); break;
    default: break;
  }
  return c;
}

PointD ImageEditController::GetSelectionHandle() const {
  PointD h{kNotGivenDouble, kNotGivenDouble};
  const ImageObject& s = selectedObject_;
  switch (s.Kind) {
    case ImageObject::kAperture: doc_.Aperture.GetVertex(h.x, h.y, s.Data); break;
    case ImageObject::kObstruction: doc_.Obstruction.GetVertex(h.x, h.y, s.Data); break;
    case ImageObject::kFringeCenter: return GetSelectionCenter();
    case ImageObject::kGrid: doc_.Grid.GetVertex((s.Data + 2) % 4, h.x, h.y); break;
    default: break;
  }
  return h;
}

void ImageEditController::GetSelectionRadii(double& r1, double& r2) const {
  r1 = r2 = kNotGivenDouble;
  const ImageObject& s = selectedObject_;
  if ((s.Kind == ImageObject::kAperture || s.Kind == ImageObject::kObstruction) &&
      (s.Part == clsShape::kCircle || s.Part == clsShape::kEllipse)) {
    (s.Kind == ImageObject::kAperture ? doc_.Aperture : doc_.Obstruction).GetRadii(r1, r2);
  }
}

double ImageEditController::GetSelectionAngle() const {
  const ImageObject& s = selectedObject_;
  if (s.Kind != ImageObject::kAperture && s.Kind != ImageObject::kObstruction)
    return kNotGivenDouble;
  if (s.Part == clsShape::kCircle) return 0.0;
  if (s.Part == clsShape::kEllipse)
    return (s.Kind == ImageObject::kAperture ? doc_.Aperture : doc_.Obstruction).GetAngle();
  return kNotGivenDouble;
}

void ImageEditController::TakeStart(bool shape) {
  startCenter_ = GetSelectionCenter();
  startHandle_ = GetSelectionHandle();
  if (!shape) return;
  GetSelectionRadii(startRadius1_, startRadius2_);
  startAngle_ = GetSelectionAngle();
}

// --- Drags ---

void ImageEditController::DragMove(const PointD& p, bool ortho) {
  const ImageObject s = selectedObject_;
  const PointD r = s.Part == ImageObject::kVertex ? startHandle_ : startCenter_;
  if (!Defined(r.x) || !Defined(r.y)) return;
  double dx = p.x - downPoint_.x;
  double dy = p.y - downPoint_.y;
  if (ortho) {
    if (std::fabs(dy) <= std::fabs(dx))
      dy = 0;
    else
      dx = 0;
  }
  const PointD to{r.x + dx, r.y + dy};
  XorDrawSelection();
  switch (s.Kind) {
    case ImageObject::kAperture:
    case ImageObject::kObstruction: {
      clsShape& shape = s.Kind == ImageObject::kAperture ? doc_.Aperture : doc_.Obstruction;
      if (s.Part == ImageObject::kVertex)
        shape.SetVertex(to.x, to.y, s.Data);
      else
        shape.SetCenter(to.x, to.y);
      doc_.InvalidateMask();
      break;
    }
    case ImageObject::kFringeCenter: {
      std::int32_t index = s.Index;
      if (OnImage(to)) {
        doc_.Fringes.SetCenter(s.Order, s.Tick, to.x, to.y, index);
      } else {
        // Dragged off the image: the centre goes.
        doc_.Fringes.DeleteCenter(s.Order, s.Tick, index);
        ClearSelectedObject();
      }
      MarkFringesChanged();
      break;
    }
    case ImageObject::kGrid:
      doc_.Grid.SetCenter(to.x, to.y);
      doc_.DocDirty = true;  // the grid is saved with the document
      break;
    default: break;
  }
  XorDrawSelection();
  port_.ShowBacking();
}

void ImageEditController::DragResize(const PointD& p) {
  const ImageObject s = selectedObject_;
  if (s.Kind == ImageObject::kGrid) {
    if (s.Part == ImageObject::kGridEdge || !Defined(startHandle_.x)) return;
    XorDrawSelection();
    doc_.Grid.SetBounds(RoundToInt32(p.x), RoundToInt32(p.y), RoundToInt32(startHandle_.x),
                        RoundToInt32(startHandle_.y));
    doc_.DocDirty = true;
    XorDrawSelection();
    port_.ShowBacking();
    return;
  }
  if (s.Kind != ImageObject::kAperture && s.Kind != ImageObject::kObstruction) return;
  clsShape& shape = s.Kind == ImageObject::kAperture ? doc_.Aperture : doc_.Obstruction;
  double r1 = kNotGivenDouble;
  double r2 = kNotGivenDouble;
  PointD center = startCenter_;
  if (s.Part == clsShape::kCircle) {
    if (resizeAxis_ == 0)
      resizeAxis_ = std::fabs(LineAngle(downPoint_, startCenter_)) >= kQuarterPi ? 2 : 1;
    if (resizeAxis_ == 1) {
      const double d = (p.x - downPoint_.x) / 2;
      r1 = std::fabs(downPoint_.x >= startCenter_.x ? startRadius1_ + d : startRadius1_ - d);
      center.x += d;
    } else {
      const double d = (p.y - downPoint_.y) / 2;
      r2 = std::fabs(downPoint_.y >= startCenter_.y ? startRadius2_ + d : startRadius2_ - d);
      center.y += d;
    }
  } else if (s.Part == clsShape::kEllipse) {
    const double theta = startAngle_;
    const double a = FoldedFromAxis(LineAngle(downPoint_, startCenter_) - theta);
    if (resizeAxis_ == 0) resizeAxis_ = a < kQuarterPi ? 1 : 2;
    const double dx = p.x - downPoint_.x;
    const double dy = p.y - downPoint_.y;
    const double length = Distance(p, downPoint_);
    double m = 0;
    if (length > 0) {
      const double b = FoldedFromAxis(LineAngle(p, downPoint_) - theta);
      m = (resizeAxis_ == 1 ? std::fabs(std::cos(b)) : std::fabs(std::sin(b))) * length / 2;
    }
    double c = std::fabs(std::cos(theta));
    double sn = std::fabs(std::sin(theta));
    if (resizeAxis_ == 2) std::swap(c, sn);
    const double phi = LineAngleQuadrant(downPoint_, startCenter_);
    const int q = phi >= 0 ? (phi <= kHalfPi ? 1 : 2) : (phi >= -kHalfPi ? 4 : 3);
    // The test value and the signs of (radius, centre x, centre y) by quadrant.
    struct Rule {
      double cx, cy;       // t = cx * C dx + cy * S dy
      int grow[3];         // signs when t >= 0
    };
    static constexpr std::array<Rule, 5> kRules = {{
        {0, 0, {0, 0, 0}},
        {1, -1, {1, 1, -1}},
        {-1, -1, {1, -1, -1}},
        {-1, 1, {1, -1, 1}},
        {1, 1, {1, 1, 1}},
    }};
    const Rule& rule = kRules[static_cast<std::size_t>(q)];
    const double t = rule.cx * c * dx + rule.cy * sn * dy;
    const int sign = t >= 0 ? 1 : -1;
    const double s1 = sign * rule.grow[0];
    const double s2 = sign * rule.grow[1];
    const double s3 = sign * rule.grow[2];
    if (resizeAxis_ == 1)
      r1 = startRadius1_ + s1 * m;
    else
      r2 = startRadius2_ + s1 * m;
    center = {startCenter_.x + c * m * s2, startCenter_.y + sn * m * s3};
  } else if (s.Part == ImageObject::kVertex) {
    if (!Defined(startCenter_.x)) return;
    r1 = Distance(p, startCenter_);
  } else {
    return;  // a polygon's body has nothing to grab
  }
  XorDrawSelection();
  shape.Resize(r1, r2, s.Data);
  if (s.Part == clsShape::kCircle || s.Part == clsShape::kEllipse) shape.SetCenter(center.x, center.y);
  doc_.InvalidateMask();
  XorDrawSelection();
  port_.ShowBacking();
}

void ImageEditController::DragRotate(const PointD& p) {
  const ImageObject s = selectedObject_;
  if (s.Kind != ImageObject::kAperture && s.Kind != ImageObject::kObstruction) return;
  const double now = VertexAngle(p, downPoint_, startCenter_);
  const double before = VertexAngle(prevPoint_, downPoint_, startCenter_);
  if (!Defined(now) || !Defined(before)) return;
  XorDrawSelection();
  (s.Kind == ImageObject::kAperture ? doc_.Aperture : doc_.Obstruction).Rotate(now - before);
  XorDrawSelection();
  doc_.InvalidateMask();
  port_.ShowBacking();
}

// --- Drawing ---

void ImageEditController::PaintImage() {
  display_.Paint([this](gdi::DeviceContext& dc) { DrawOverlays(dc); });
  port_.ShowBacking();
}

void ImageEditController::DrawOverlays(gdi::DeviceContext& dc) const {
  const ImageViewGeometry& g = display_.Geometry;
  const double s = g.ScaleFactor;
  const ImageObject& sel = selectedObject_;
  HollowBrushScope brush(dc);
  if (sel.Kind != ImageObject::kAperture) doc_.Aperture.Draw(dc, s, g.OriginX, g.OriginY, false);
  if (sel.Kind != ImageObject::kObstruction)
    doc_.Obstruction.Draw(dc, s, g.OriginX, g.OriginY, false);
  if (sel.Kind != ImageObject::kGrid) doc_.Grid.Draw(dc, s, g.OriginX, g.OriginY, false);
  const FringeMarkStyle style{CurrentOrder(), LineWidth};
  if (sel.Kind == ImageObject::kFringeCenter)
    doc_.Fringes.DrawAllExceptOne(dc, s, g.OriginX, g.OriginY, sel.Index, sel.Tick, false, style);
  else
    doc_.Fringes.DrawAll(dc, s, g.OriginX, g.OriginY, false, 1, style);
  DrawClickPoints(dc);
  // The dragged object goes on top of everything, so that drawing it again with the
  // XOR pen restores exactly what lies under it.
  DrawSelection(dc);
}

void ImageEditController::XorDrawSelection() {
  if (gdi::ImageDeviceContext* dc = display_.Backing()) DrawSelection(*dc);
}

void ImageEditController::DrawSelection(gdi::DeviceContext& dc) const {
  const ImageViewGeometry& g = display_.Geometry;
  const double s = g.ScaleFactor;
  const ImageObject& sel = selectedObject_;
  HollowBrushScope brush(dc);
  switch (sel.Kind) {
    case ImageObject::kAperture: doc_.Aperture.Draw(dc, s, g.OriginX, g.OriginY, true); break;
    case ImageObject::kObstruction: doc_.Obstruction.Draw(dc, s, g.OriginX, g.OriginY, true); break;
    case ImageObject::kFringeCenter: {
      std::int32_t index = sel.Index;
      doc_.Fringes.DrawCenter(dc, sel.Order, sel.Tick, s, g.OriginX, g.OriginY, index, true,
                              FringeMarkStyle{CurrentOrder(), LineWidth});
      break;
    }
    case ImageObject::kGrid: doc_.Grid.Draw(dc, s, g.OriginX, g.OriginY, true); break;
    default: break;
  }
}

void ImageEditController::DrawClickPoints(gdi::DeviceContext& dc) const {
  for (std::int32_t i = 1; i <= clickCount_; ++i) DrawClickPoint(dc, i);
}

void ImageEditController::DrawClickPoint(gdi::DeviceContext& dc, std::int32_t i) const {
  const ImageViewGeometry& g = display_.Geometry;
  const ScreenMapping screen{g.ScaleFactor, g.OriginX, g.OriginY};
  const gdi::Point c =
      screen.Map(clickX_[static_cast<std::size_t>(i)], clickY_[static_cast<std::size_t>(i)]);
  const gdi::Pen previousPen = dc.SelectPen(gdi::StockPen(gdi::WHITE_PEN));
  const int previousMode = dc.SetROP2(gdi::R2_COPYPEN);
  // The same cross as a fringe centre's, so a recorded click looks the same.
  dc.MoveTo(c.x - LineWidth, c.y);
  dc.LineTo(c.x + LineWidth + 1, c.y);
  dc.MoveTo(c.x, c.y - LineWidth);
  dc.LineTo(c.x, c.y + LineWidth + 1);
  if (previousMode != 0) dc.SetROP2(previousMode);
  dc.SelectPen(previousPen);
}

}  // namespace orvale
