#pragma once
// The mouse cursors the document windows look up by key ("curHandTool", "curZoomIn",
// ...), drawn by the program itself.
#include <QCursor>
#include <array>
#include <string_view>

namespace orvale {

inline constexpr std::array<std::string_view, 17> kMouseIconKeys = {
    "curHandTool",   "curMoveShapeMono", "curMoveShapeEW",  "curMoveShapeNS", "curMoveShapeOrtho",
    "curResizeShape", "curResizeShape2", "curRotateShape",  "curSelectFringe", "curZoomInMono",
    "curZoomOutMono", "curMoveShape",    "curClearFringe",  "curAddShape",    "curZoomIn",
    "curZoomOut",     "curHyperLink",
};

// The cursor with one of those keys; the arrow for an unknown key. Made once and kept.
QCursor MouseIconCursor(std::string_view key);

}  // namespace orvale
