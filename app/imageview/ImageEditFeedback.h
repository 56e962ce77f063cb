#pragma once
// What the image view tells the user while the mouse moves and the modifiers change:
// the cursor picture (by its key in the main window's cursor list) and the text of the
// status bar's first panel, both chosen from the mode, what lies under the mouse and
// the Shift (1) and Ctrl (2) keys.
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/runtime/Markers.h"

namespace orvale {

// An object of the image under the mouse or being dragged.
struct ImageObject {
  // Kinds.
  static constexpr std::int32_t kNothing = 0;
  static constexpr std::int32_t kAperture = 1;
  static constexpr std::int32_t kObstruction = 2;
  static constexpr std::int32_t kFringeCenter = 3;
  static constexpr std::int32_t kGrid = 4;
  // Parts: the shape's Find code (1 circle, 2 ellipse, 3 polygon edge, 4 polygon vertex)
  // or 4 for a fringe centre; the grid's edge or a corner.
  static constexpr std::int32_t kPolygonEdge = 3;
  static constexpr std::int32_t kVertex = 4;
  static constexpr std::int32_t kGridEdge = 5;
  static constexpr std::int32_t kGridCorner = 6;

  std::int32_t Kind = kNothing;
  std::int32_t Part = 0;
  std::int32_t Data = kNotGivenLong;   // shape vertex or edge number, grid corner 0..3 or 4
  std::int32_t Order = kNotGivenLong;  // fringe centre: order, point number, record
  std::int32_t Tick = kNotGivenLong;
  std::int32_t Index = kNotGivenLong;

  friend bool operator==(const ImageObject&, const ImageObject&) = default;
};

// Drawing objects of the click mode.
namespace drawing {
inline constexpr std::int32_t kAperture = 1;
inline constexpr std::int32_t kObstruction = 2;
inline constexpr std::int32_t kFringeCenters = 3;
inline constexpr std::int32_t kGrid = 4;
}  // namespace drawing

struct EditFeedbackState {
  bool MouseEditMode = true;
  std::int32_t newDrawingObject = drawing::kFringeCenters;
  std::int32_t newDrawingType = 0;
  ImageObject UnderMouse;      // MouseObject
  bool SelectionExists = false;  // a drag is in progress
};

// The cursor key for modifier state `shift` (0..3); "" is the standard pointer and
// nothing means the cursor stays as it is.
std::optional<std::string_view> MouseIconKey(const EditFeedbackState& state, std::int32_t shift);

// The status text; nothing means the panel keeps its text.
std::optional<std::string_view> StatusText(const EditFeedbackState& state, std::int32_t shift);

}  // namespace orvale
