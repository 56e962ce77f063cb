#pragma once
// Helpers of the shape, grid and mask tests: shapes made as the user makes them, a
// sample grid, writing and reading sections, and the lines of a written text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/analysis/LineParser.h"
#include "app/analysis/Points.h"
#include "app/analysis/clsGrid.h"
#include "app/analysis/clsShape.h"
#include "platform/runtime/LineInput.h"
#include "FailingTextOutput.h"
#include "platform/ui/MessageService.h"

namespace orvale {

inline clsShape CircleShape(double cx, double cy, double r) {
  clsShape shape;
  shape.Init(clsShape::kAperture);
  shape.SetShapeType(clsShape::kCircle);
  shape.SetCenter(cx, cy);
  shape.SetRadii(r, r);
  return shape;
}

// r1 along the angle (radians, counter-clockwise on the screen), r2 across it.
inline clsShape EllipseShape(double cx, double cy, double r1, double r2, double angle) {
  clsShape shape;
  shape.Init(clsShape::kAperture);
  shape.SetShapeType(clsShape::kEllipse);
  shape.SetCenter(cx, cy);
  shape.SetRadii(r1, r2);
  shape.SetAngle(angle);
  return shape;
}

// A shape saved from clicked points, as the drawing tools save it.
inline clsShape SavedShape(std::int32_t type, const std::vector<PointD>& points) {
  std::vector<double> xs{0}, ys{0};  // element 0 unused
  for (const PointD& p : points) {
    xs.push_back(p.x);
    ys.push_back(p.y);
  }
  clsShape shape;
  shape.Init(clsShape::kAperture);
  EXPECT_EQ(shape.Save(type, static_cast<std::int32_t>(points.size()), xs, ys),
            ShapeSaveResult::Saved);
  return shape;
}

inline clsShape PolygonShape(const std::vector<PointD>& vertices) {
  return SavedShape(clsShape::kPolygon, vertices);
}

// 100 units wide in cells of 10 x 10, over a 200 x 60 pixel rectangle at (10, 20):
// 10 columns and 3 rows of 20-pixel cells.
inline clsGrid TenByThreeGrid() {
  clsGrid grid;
  grid.GridPhysicalWidth = 100;
  grid.CellPhysicalWidth = 10;
  grid.CellPhysicalHeight = 10;
  grid.UpperLeftX = 10;
  grid.UpperLeftY = 20;
  grid.PixelSizeX = 200;
  grid.PixelSizeY = 60;
  EXPECT_TRUE(grid.UpdateCellCounts());
  return grid;
}

// The section a shape or grid writes.
template <class Section>
std::string Written(const Section& section) {
  StringTextOutput out;
  EXPECT_TRUE(section.SaveToFile(out));
  return out.Text();
}

// Reads `text` as the lines after the section's keyword line.
template <class Section>
bool ReadSection(Section& section, const std::string& text, std::string* problem = nullptr) {
  StringLineSource file(text);
  clsParser parser;
  return section.LoadFromFile(file, parser, problem);
}

// A written section without its keyword line, as the document reader hands it over.
inline std::string Body(const std::string& section) {
  return section.substr(section.find('\n') + 1);
}

// The lines of `text`, each with its CR LF.
inline std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    const std::size_t next = end == std::string::npos ? text.size() : end + 2;
    lines.push_back(text.substr(start, next - start));
    start = next;
  }
  return lines;
}

}  // namespace orvale
