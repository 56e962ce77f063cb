#include "app/imageview/ImageEditFeedback.h"

#include <array>

namespace orvale {

namespace {

using Choice = std::optional<std::string_view>;
constexpr Choice kUnchanged = std::nullopt;
constexpr std::string_view kStandardPointer = "";

// The status texts of one shape kind.
struct ShapeTexts {
  std::string_view Move;
  std::string_view Resize;
  std::string_view Rotate;
  std::string_view Ortho;
  std::string_view MoveVertex;
  std::string_view OrthoVertex;
};

constexpr ShapeTexts kApertureTexts{
    "Drag mouse to move aperture.",
    "Drag mouse to resize aperture.",
    "Drag mouse to rotate aperture.",
    "Drag mouse to move aperture up and down or left and right only.",
    "Drag mouse to move aperture vertex.",
    "Drag mouse to move aperture vertex up and down or left and right only.",
};

constexpr ShapeTexts kObstructionTexts{
    "Drag mouse to move obstruction.",
    "Drag mouse to resize obstruction.",
    "Drag mouse to rotate obstruction.",
    "Drag mouse to move obstruction up and down or left and right only.",
    "Drag mouse to move obstruction vertex.",
    "Drag mouse to move obstruction vertex up and down or left and right only.",
};

constexpr std::array<std::string_view, 4> kDrawingTexts = {
    "",
    "Click 4 points to define a circle.",
    "Click 3 points to define an ellipse.",
    "Click points to define a polygon. Click near first point too finish.",
};

bool IsShape(std::int32_t kind) {
  return kind == ImageObject::kAperture || kind == ImageObject::kObstruction;
}

bool DrawingShape(const EditFeedbackState& s) {
  return s.newDrawingObject == drawing::kAperture || s.newDrawingObject == drawing::kObstruction;
}

// One choice per modifier state 0..3.
Choice Pick(std::int32_t shift, Choice none, Choice withShift, Choice withCtrl, Choice both) {
  switch (shift) {
    case 0: return none;
    case 1: return withShift;
    case 2: return withCtrl;
    case 3: return both;
    default: return kUnchanged;
  }
}

}  // namespace

std::optional<std::string_view> MouseIconKey(const EditFeedbackState& s, std::int32_t shift) {
  if (!s.MouseEditMode) return Pick(shift, "curHandTool", "curZoomInMono", "curZoomOutMono", kUnchanged);
  const ImageObject& o = s.UnderMouse;
  if (o.Kind == ImageObject::kNothing) {
    const Choice key = DrawingShape(s) ? Choice("curAddShape") : Choice(kStandardPointer);
    return Pick(shift, key, key, key, key);
  }
  if (IsShape(o.Kind)) {
    // A polygon body cannot be resized, nor a circle turned; a vertex resizes the polygon.
    const Choice resize = o.Part == ImageObject::kPolygonEdge ? kUnchanged : Choice("curResizeShape");
    const Choice rotate = o.Part == 1 ? kUnchanged : Choice("curRotateShape");
    return Pick(shift, "curMoveShapeMono", resize, rotate, "curMoveShapeOrtho");
  }
  if (o.Kind == ImageObject::kGrid) {
    const Choice resize =
        o.Part == ImageObject::kGridCorner ? Choice("curResizeShape") : Choice("curMoveShapeMono");
    return Pick(shift, "curMoveShapeMono", resize, "curMoveShapeMono", "curMoveShapeOrtho");
  }
  if (o.Kind == ImageObject::kFringeCenter) {
    const Choice select = s.SelectionExists ? kUnchanged : Choice("curSelectFringe");
    const Choice clear = s.SelectionExists ? kUnchanged : Choice("curClearFringe");
    return Pick(shift, kStandardPointer, select, clear, "curMoveShapeOrtho");
  }
  return kUnchanged;
}

std::optional<std::string_view> StatusText(const EditFeedbackState& s, std::int32_t shift) {
  if (!s.MouseEditMode) {
    return Pick(shift, "Drag mouse to pan image. Use Shift and Ctrl keys to zoom in and out.",
                "Click to zoom in, centered on mouse position.",
                "Click to zoom out, centered on mouse position.", kUnchanged);
  }
  const ImageObject& o = s.UnderMouse;
  if (o.Kind == ImageObject::kNothing) {
    Choice text = kUnchanged;
    if (DrawingShape(s)) {
      if (s.newDrawingType >= 1 && s.newDrawingType <= 3)
        text = kDrawingTexts[static_cast<std::size_t>(s.newDrawingType)];
    } else if (s.newDrawingObject == drawing::kGrid) {
      text = "Click 2 points to define the grid.";
    } else if (s.newDrawingObject == drawing::kFringeCenters) {
      text = "Click to add a fringe center.";
    }
    return Pick(shift, text, text, text, text);
  }
  if (IsShape(o.Kind)) {
    const ShapeTexts& t = o.Kind == ImageObject::kAperture ? kApertureTexts : kObstructionTexts;
    if (o.Part == ImageObject::kVertex) return Pick(shift, t.MoveVertex, t.Resize, t.Rotate, t.OrthoVertex);
    const Choice resize = o.Part == ImageObject::kPolygonEdge ? kUnchanged : Choice(t.Resize);
    const Choice rotate = o.Part == 1 ? kUnchanged : Choice(t.Rotate);
    return Pick(shift, t.Move, resize, rotate, t.Ortho);
  }
  if (o.Kind == ImageObject::kGrid) {
    if (o.Part == ImageObject::kGridCorner)
      return Pick(shift, "Drag mouse to move grid.", "Drag mouse to resize grid.", kUnchanged, kUnchanged);
    return Pick(shift, "Drag mouse to move grid.", kUnchanged, kUnchanged,
                "Drag mouse to move grid up and down or left and right only.");
  }
  if (o.Kind == ImageObject::kFringeCenter) {
    const Choice select = s.SelectionExists ? kUnchanged : Choice("Click to select fringe order.");
    const Choice remove = s.SelectionExists ? kUnchanged : Choice("Click to delete fringe center.");
    return Pick(shift,
                "Drag mouse to move fringe center. Use Shift and Ctrl keys for additional commands.",
                select, remove, "Drag mouse to move fringe center up and down or left and right only.");
  }
  return kUnchanged;
}

}  // namespace orvale
