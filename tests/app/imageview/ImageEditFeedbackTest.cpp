#include "app/imageview/ImageEditFeedback.h"

#include <gtest/gtest.h>

#include <string>

namespace orvale {
namespace {

constexpr const char* kSame = "<unchanged>";

std::string Shown(const std::optional<std::string_view>& choice) {
  return choice ? std::string(*choice) : kSame;
}

struct Row {
  const char* what;
  EditFeedbackState state;
  const char* cursors[4];
  const char* texts[4];
};

ImageObject Under(std::int32_t kind, std::int32_t part) {
  ImageObject o;
  o.Kind = kind;
  o.Part = part;
  return o;
}

EditFeedbackState Edit(ImageObject under, std::int32_t drawingObject = drawing::kFringeCenters,
                       std::int32_t drawingType = 0, bool selection = false) {
  return {true, drawingObject, drawingType, under, selection};
}

TEST(ImageEditFeedback, CursorKeysAndStatusTextsFollowModeObjectAndModifiers) {
  const ImageObject none;
  const char* const kPan = "Drag mouse to pan image. Use Shift and Ctrl keys to zoom in and out.";
  const char* const kCenter =
      "Drag mouse to move fringe center. Use Shift and Ctrl keys for additional commands.";
  const char* const kCenterOrtho =
      "Drag mouse to move fringe center up and down or left and right only.";
  const Row rows[] = {
      {"view mode", {false, drawing::kFringeCenters, 0, none, false},
       {"curHandTool", "curZoomInMono", "curZoomOutMono", kSame},
       {kPan, "Click to zoom in, centered on mouse position.",
        "Click to zoom out, centered on mouse position.", kSame}},
      {"drawing a circle aperture", Edit(none, drawing::kAperture, 1),
       {"curAddShape", "curAddShape", "curAddShape", "curAddShape"},
       {"Click 4 points to define a circle.", "Click 4 points to define a circle.",
        "Click 4 points to define a circle.", "Click 4 points to define a circle."}},
      {"drawing an ellipse obstruction", Edit(none, drawing::kObstruction, 2),
       {"curAddShape", "curAddShape", "curAddShape", "curAddShape"},
       {"Click 3 points to define an ellipse.", "Click 3 points to define an ellipse.",
        "Click 3 points to define an ellipse.", "Click 3 points to define an ellipse."}},
      {"drawing a polygon", Edit(none, drawing::kAperture, 3),
       {"curAddShape", "curAddShape", "curAddShape", "curAddShape"},
       {"Click points to define a polygon. Click near first point too finish.",
        "Click points to define a polygon. Click near first point too finish.",
        "Click points to define a polygon. Click near first point too finish.",
        "Click points to define a polygon. Click near first point too finish."}},
      {"drawing the grid", Edit(none, drawing::kGrid, 3),
       {"", "", "", ""},
       {"Click 2 points to define the grid.", "Click 2 points to define the grid.",
        "Click 2 points to define the grid.", "Click 2 points to define the grid."}},
      {"adding centres", Edit(none),
       {"", "", "", ""},
       {"Click to add a fringe center.", "Click to add a fringe center.",
        "Click to add a fringe center.", "Click to add a fringe center."}},
      {"aperture circle", Edit(Under(ImageObject::kAperture, 1)),
       {"curMoveShapeMono", "curResizeShape", kSame, "curMoveShapeOrtho"},
       {"Drag mouse to move aperture.", "Drag mouse to resize aperture.", kSame,
        "Drag mouse to move aperture up and down or left and right only."}},
      {"obstruction ellipse", Edit(Under(ImageObject::kObstruction, 2)),
       {"curMoveShapeMono", "curResizeShape", "curRotateShape", "curMoveShapeOrtho"},
       {"Drag mouse to move obstruction.", "Drag mouse to resize obstruction.",
        "Drag mouse to rotate obstruction.",
        "Drag mouse to move obstruction up and down or left and right only."}},
      {"aperture polygon body", Edit(Under(ImageObject::kAperture, 3)),
       {"curMoveShapeMono", kSame, "curRotateShape", "curMoveShapeOrtho"},
       {"Drag mouse to move aperture.", kSame, "Drag mouse to rotate aperture.",
        "Drag mouse to move aperture up and down or left and right only."}},
      {"aperture vertex", Edit(Under(ImageObject::kAperture, 4)),
       {"curMoveShapeMono", "curResizeShape", "curRotateShape", "curMoveShapeOrtho"},
       {"Drag mouse to move aperture vertex.", "Drag mouse to resize aperture.",
        "Drag mouse to rotate aperture.",
        "Drag mouse to move aperture vertex up and down or left and right only."}},
      {"obstruction vertex", Edit(Under(ImageObject::kObstruction, 4)),
       {"curMoveShapeMono", "curResizeShape", "curRotateShape", "curMoveShapeOrtho"},
       {"Drag mouse to move obstruction vertex.", "Drag mouse to resize obstruction.",
        "Drag mouse to rotate obstruction.",
        "Drag mouse to move obstruction vertex up and down or left and right only."}},
      {"grid corner", Edit(Under(ImageObject::kGrid, 6)),
       {"curMoveShapeMono", "curResizeShape", "curMoveShapeMono", "curMoveShapeOrtho"},
       {"Drag mouse to move grid.", "Drag mouse to resize grid.", kSame, kSame}},
      {"grid edge", Edit(Under(ImageObject::kGrid, 5)),
       {"curMoveShapeMono", "curMoveShapeMono", "curMoveShapeMono", "curMoveShapeOrtho"},
       {"Drag mouse to move grid.", kSame, kSame,
        "Drag mouse to move grid up and down or left and right only."}},
      {"fringe centre", Edit(Under(ImageObject::kFringeCenter, 4)),
       {"", "curSelectFringe", "curClearFringe", "curMoveShapeOrtho"},
       {kCenter, "Click to select fringe order.", "Click to delete fringe center.", kCenterOrtho}},
      {"fringe centre while dragging", Edit(Under(ImageObject::kFringeCenter, 4), 3, 0, true),
       {"", kSame, kSame, "curMoveShapeOrtho"},
       {kCenter, kSame, kSame, kCenterOrtho}},
  };
  for (const Row& row : rows) {
    for (std::int32_t shift = 0; shift < 4; ++shift) {
      EXPECT_EQ(Shown(MouseIconKey(row.state, shift)), row.cursors[shift])
          << row.what << ", shift " << shift;
      EXPECT_EQ(Shown(StatusText(row.state, shift)), row.texts[shift])
          << row.what << ", shift " << shift;
    }
  }
}

}  // namespace
}  // namespace orvale
