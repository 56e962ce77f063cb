#pragma once
// Contouring of a regular mesh by the CONREC method: every cell is split into four
// triangles round its centre and each triangle gives at most one straight segment per
// level, found by linear interpolation along its edges. Pure computation: the segments
// come back in mesh coordinates and the caller draws them.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace orvale {

struct MeshPoint {
  double x = 0;
  double y = 0;
};

struct ContourSegment {
  MeshPoint p;
  MeshPoint q;
};

// Sign code of a corner's height above the level.
inline constexpr int kConrecBelow = 0;
inline constexpr int kConrecOn = 1;
inline constexpr int kConrecAbove = 2;

// The CONREC case (0 nothing, 1..9 which segment) of the triangle (m1, centre, m3)
// from the sign codes of its three vertices.
int ConrecCase(int s1, int s0, int s3);

// One cell: corners 1..4 are (i, j), (i + 1, j), (i + 1, j + 1), (i, j + 1) and sit at
// array indices 0..3.
struct ContourCell {
  std::array<double, 4> x{};
  std::array<double, 4> y{};
  std::array<double, 4> z{};
};

// Gives the one blank corner of a cell the value of the plane through the other three
// (its two neighbours added, minus the opposite corner). Returns the number of blank
// corners found; the cell is changed only when that number is 1.
int FillOneBlankCorner(std::array<double, 4>& z);

// The segments of one cell at one level, appended to `out` in triangle order (at most
// four). Returns how many were appended.
int ContourCellAtLevel(const ContourCell& cell, double level, ContourSegment* out);

// A mesh of xSize x ySize points stored row by row (row 0 first): the point in column i
// of row j has index xSize * j + i.
struct ContourMeshRef {
  std::span<const double> x;
  std::span<const double> y;
  std::span<const double> z;
  std::int32_t xSize = 0;
  std::int32_t ySize = 0;
};

struct LevelSegment {
  std::int32_t level = 0;  // index into the level table
  ContourSegment segment;
};

struct ContourOptions {
  // Segments of cells that had a blank corner are kept only when both ends lie inside
  // the closed unit circle (the aperture circle of the mesh).
  bool unitCircleForBlankCells = false;
};

// The segments of the cells between mesh rows `row` and `row + 1`, in drawing order
// (columns left to right, then levels upward, then triangles), appended to `out`.
// `levels` must not decrease; levels outside a cell's range are skipped by index.
// Cells with two or more blank corners, or with a corner that is not a number, give
// nothing.
void ContourMeshRow(const ContourMeshRef& mesh, std::int32_t row,
                    std::span<const double> levels, const ContourOptions& options,
                    std::vector<LevelSegment>& out);

// Every segment of the mesh in drawing order: rows of cells from the bottom of the map
// (the last row) up to row 0.
std::vector<LevelSegment> ContourMesh(const ContourMeshRef& mesh, std::span<const double> levels,
                                      const ContourOptions& options);

}  // namespace orvale
