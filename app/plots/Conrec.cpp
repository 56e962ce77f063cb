#include "app/plots/Conrec.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/Markers.h"

namespace orvale {

namespace {

// kCaseTable[s1][s0][s3]
constexpr int kCaseTable[3][3][3] = {
    {{0, 0, 8}, {0, 2, 5}, {7, 6, 9}},
    {{0, 3, 4}, {1, 3, 1}, {4, 3, 0}},
    {{9, 6, 7}, {5, 2, 0}, {8, 0, 0}},
};

// Column and row offsets of the corners 1..4 of a cell.
constexpr std::array<std::int32_t, 4> kCornerColumn = {0, 1, 1, 0};
constexpr std::array<std::int32_t, 4> kCornerRow = {0, 0, 1, 1};

int SignCode(double h) {
  if (h > 0) return kConrecAbove;
  if (h == 0) return kConrecOn;
  return kConrecBelow;
}

// The triangle vertices of a cell at one level: index 0 the centre, 1..4 the corners.
struct Vertices {
  double h[5];
  double x[5];
  double y[5];
  int s[5];
};

MeshPoint Cross(const Vertices& v, int p, int q) {
  const double d = v.h[q] - v.h[p];
  return {(v.h[q] * v.x[p] - v.h[p] * v.x[q]) / d, (v.h[q] * v.y[p] - v.h[p] * v.y[q]) / d};
}

MeshPoint At(const Vertices& v, int m) { return {v.x[m], v.y[m]}; }

bool InsideUnitCircle(const MeshPoint& p) { return p.x * p.x + p.y * p.y <= 1; }

}  // namespace

int ConrecCase(int s1, int s0, int s3) {
  if (s1 < 0 || s1 > 2 || s0 < 0 || s0 > 2 || s3 < 0 || s3 > 2) return 0;
  return kCaseTable[s1][s0][s3];
}

int FillOneBlankCorner(std::array<double, 4>& z) {
  int blanks = 0;
  int which = -1;
  for (int m = 0; m < 4; ++m) {
    if (z[m] == kBlankValue) {
      ++blanks;
      which = m;
    }
  }
  if (blanks != 1) return blanks;
  switch (which) {
    case 0: z[0] = z[1] + z[3] - z[2]; break;
    case 1: z[1] = z[0] + z[2] - z[3]; break;
    case 2: z[2] = z[1] + z[3] - z[0]; break;
    default: z[3] = z[0] + z[2] - z[1]; break;
  }
  return 1;
}

int ContourCellAtLevel(const ContourCell& cell, double level, ContourSegment* out) {
  Vertices v;
  double hsum = 0;
  for (int m = 1; m <= 4; ++m) {
    v.h[m] = cell.z[m - 1] - level;
    v.x[m] = cell.x[m - 1];
    v.y[m] = cell.y[m - 1];
    hsum += v.h[m];
  }
  v.h[0] = 0.25 * hsum;
  v.x[0] = 0.5 * (v.x[1] + v.x[2]);
  v.y[0] = 0.5 * (v.y[1] + v.y[4]);
  for (int m = 0; m <= 4; ++m) v.s[m] = SignCode(v.h[m]);

  int count = 0;
  for (int m = 1; m <= 4; ++m) {
    const int m1 = m;
    const int m3 = m == 4 ? 1 : m + 1;
    ContourSegment seg;
    switch (ConrecCase(v.s[m1], v.s[0], v.s[m3])) {
      case 1: seg = {At(v, m1), At(v, 0)}; break;
      case 2: seg = {At(v, 0), At(v, m3)}; break;
      case 3: seg = {At(v, m3), At(v, m1)}; break;
      case 4: seg = {At(v, m1), Cross(v, 0, m3)}; break;
      case 5: seg = {At(v, 0), Cross(v, m3, m1)}; break;
      case 6: seg = {At(v, m3), Cross(v, m1, 0)}; break;
      case 7: seg = {Cross(v, m1, 0), Cross(v, 0, m3)}; break;
      case 8: seg = {Cross(v, 0, m3), Cross(v, m3, m1)}; break;
      case 9: seg = {Cross(v, m3, m1), Cross(v, m1, 0)}; break;
      default: continue;
    }
    out[count++] = seg;
  }
  return count;
}

void ContourMeshRow(const ContourMeshRef& mesh, std::int32_t row, std::span<const double> levels,
                    const ContourOptions& options, std::vector<LevelSegment>& out) {
  if (levels.empty() || mesh.xSize < 2 || mesh.ySize < 2 || row < 0 || row > mesh.ySize - 2)
    return;
  const std::size_t need = static_cast<std::size_t>(mesh.xSize) * static_cast<std::size_t>(mesh.ySize);
  if (mesh.x.size() < need || mesh.y.size() < need || mesh.z.size() < need) return;

  ContourCell cell;
  ContourSegment segs[4];
  for (std::int32_t i = 0; i <= mesh.xSize - 2; ++i) {
    bool usable = true;
    for (int m = 0; m < 4; ++m) {
      const std::size_t index = static_cast<std::size_t>(mesh.xSize) * (row + kCornerRow[m]) +
                                static_cast<std::size_t>(i + kCornerColumn[m]);
      cell.z[m] = mesh.z[index];
      cell.x[m] = mesh.x[index];
      cell.y[m] = mesh.y[index];
      if (std::isnan(cell.z[m])) usable = false;
    }
    if (!usable) continue;

    // A filled-in corner takes part in the cell's range like the others.
    const int blanks = FillOneBlankCorner(cell.z);
    if (blanks >= 2) continue;
    // Cheap range test against the first and last level before any level is looked at.
    const double dmin = std::min(std::min(cell.z[0], cell.z[1]), std::min(cell.z[2], cell.z[3]));
    const double dmax = std::max(std::max(cell.z[0], cell.z[1]), std::max(cell.z[2], cell.z[3]));
    if (dmax < levels.front() || dmin > levels.back()) continue;

    const auto first = std::lower_bound(levels.begin(), levels.end(), dmin);
    const auto last = std::upper_bound(first, levels.end(), dmax);
    const bool circleTest = blanks == 1 && options.unitCircleForBlankCells;
    for (auto it = first; it != last; ++it) {
      const int n = ContourCellAtLevel(cell, *it, segs);
      const auto k = static_cast<std::int32_t>(it - levels.begin());
      for (int s = 0; s < n; ++s) {
        if (circleTest && !(InsideUnitCircle(segs[s].p) && InsideUnitCircle(segs[s].q))) continue;
        out.push_back({k, segs[s]});
      }
    }
  }
}

std::vector<LevelSegment> ContourMesh(const ContourMeshRef& mesh, std::span<const double> levels,
                                      const ContourOptions& options) {
  std::vector<LevelSegment> out;
  for (std::int32_t row = mesh.ySize - 2; row >= 0; --row)
    ContourMeshRow(mesh, row, levels, options, out);
  return out;
}

}  // namespace orvale
