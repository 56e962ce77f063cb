#pragma once
// The wavefront as a 3-D surface inside the box of a 3-D chart: a rectangular mesh of
// heights, projected for the chart's view point and coloured by height band, drawn
// either as filled cells back to front or as a wire mesh front to back whose hidden
// lines a floating horizon removes.
#include <cstdint>
#include <span>
#include <vector>

#include "app/analysis/Points.h"
#include "app/plots/clsChart3D.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/runtime/Markers.h"

namespace orvale {

class clsSurfacePlot {
 public:
  clsSurfacePlot();

  double ScaleLimit = kNotGivenDouble;  // smallest automatic z step; 1E+308 for none
  std::int32_t PenStyle = 0;            // pen of the wire mesh
  std::int32_t PenWidth = 1;
  bool mono = false;  // kept for the owner; the drawing follows the device's colour depth
  bool FillPolygons = true;      // filled cells, else the wire mesh
  bool DrawMeshWithFill = true;  // outline the filled cells in black
  bool ClosedSurface = false;    // draw the cells in mesh order, unsorted
  clsChart3D Chart;

  // Filled: the chart, then the cells over its back walls. Wire: the mesh with a fresh
  // horizon of HorizonWidth + 1 columns (the device's width when none is set, never
  // wider), then the chart, whose back walls show only above the mesh.
  void PlotRedraw(gdi::DeviceContext& hDC);
  // Takes XSize x YSize heights, row-major, row 0 first. UseXYData takes the x and y of
  // every point from X and Y; otherwise x runs from -1 to 1 along a row and y from 1 at
  // row 0 down to -1. Fewer than 2 columns or rows, or fewer values than points, is
  // refused with a warning and the old mesh stays.
  bool CreateMesh(std::span<const double> X, std::span<const double> Y, std::span<const double> z,
                  std::int32_t XSize, std::int32_t YSize, bool UseXYData);
  // Projects the mesh for the chart's view point and mapping, orders it for the drawing
  // mode and gives every cell its level. False without a mesh, levels, a usable view
  // point or a z range; the old polygons then stay.
  bool CreatePolygons();
  void DrawMatrix(gdi::DeviceContext& hDC);
  void SetPlotDefaults();
  std::int32_t GetNumberofContours() const { return NumLevels; }
  bool SetNumberofContours(std::int32_t n);
  // Level bounds evenly over the chart's z range.
  bool CalculateContours();
  // Automatic range and spacing of one chart axis from the mesh; True when the axis's
  // Min or Max changed.
  bool AutoScale(std::int32_t axisid);

  // What the last CreatePolygons made, by traversal position: the mesh point, its
  // device pixel and the level of the cell that starts there.
  std::span<const std::int32_t> TraversalOrder() const { return Order_; }
  std::span<const gdi::Point> ScreenPoints() const { return Screen_; }
  std::span<const std::int32_t> LevelIndex() const { return Level_; }
  std::span<const double> LevelValues() const { return LevelValues_; }
  std::int32_t MeshColumns() const { return nx_; }
  std::int32_t MeshRows() const { return ny_; }

 private:
  void ReleaseGdiObjects();
  void DrawFilledCells(gdi::DeviceContext& hDC);
  void DrawWireMesh(gdi::DeviceContext& hDC, const std::vector<gdi::Color>& colours, bool monochrome);

  std::int32_t nx_ = 0;
  std::int32_t ny_ = 0;
  std::vector<Point3D> Mesh_;
  std::vector<std::int32_t> Order_;
  std::vector<gdi::Point> Screen_;
  std::vector<std::int32_t> Level_;
  std::int32_t NumLevels = 0;
  std::vector<double> LevelValues_;
  std::vector<gdi::Pen> Pens_;
  std::vector<gdi::Brush> Brushes_;
};

}  // namespace orvale
