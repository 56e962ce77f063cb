#pragma once
// Outlines shared by the toolbar pictures and the mouse cursors, on a 16 x 16 grid.
#include <QPainterPath>
#include <initializer_list>

namespace orvale {

// The closed outline through `corners`.
QPainterPath Outline(std::initializer_list<QPointF> corners);

// An open hand, fingers up.
QPainterPath OpenHandShape();
// The arrow pointer, tip at (3, 1).
QPainterPath ArrowPointerShape();
// A hand pointing up with its index finger, tip at about (6, 0.5).
QPainterPath PointingHandShape();

}  // namespace orvale
