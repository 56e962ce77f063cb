// The per-cell wavefront statistics of a measurement grid.
#include <cmath>
#include <vector>

#include "app/analysis/PupilSamples.h"
#include "app/analysis/clsAnalysis.h"
#include "app/analysis/clsGrid.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

struct CellSums {
  std::int64_t count = 0;
  double sum = 0.0;
  double sumSquares = 0.0;
  double minimum = 1E+308;
  double maximum = -1E+308;
  void Take(double w) {
    ++count;
    sum += w;
    sumSquares += w * w;
    if (w < minimum) minimum = w;
    if (w > maximum) maximum = w;
  }
};

// The cell (column or row) a mask pixel falls in, -1 outside the grid's cells.
std::int32_t CellOf(std::int32_t pixel, double origin, double cellSize, std::int32_t cells) {
  const double cell = std::floor((pixel - origin) / cellSize);
  return cell >= 0.0 && cell < cells ? static_cast<std::int32_t>(cell) : -1;
}

}  // namespace

bool clsAnalysis::EvalGrid(const ZernikeVector& ZCoeff, std::int32_t xpts, std::int32_t ypts,
                           clsGrid& Grid) const {
  if (xpts < 2 || ypts < 2 || !CanEvaluate()) return false;
  if (!Grid.IsDefined(clsGrid::kPhysicalSizes | clsGrid::kPixelRectangle)) return false;
  const std::int32_t columns = Grid.CellCountX, rows = Grid.CellCountY;
  if (columns < 1 || rows < 1 || columns > clsGrid::kMaxCellsPerSide ||
      rows > clsGrid::kMaxCellsPerSide)
    return false;
  // Pixels are square: one scale serves both directions.
  const double pixelsPerUnit = Grid.PixelSizeX / Grid.GridPhysicalWidth;
  const double cellWidth = pixelsPerUnit * Grid.CellPhysicalWidth;
  const double cellHeight = pixelsPerUnit * Grid.CellPhysicalHeight;
  // A rectangle of no width makes cells of no size, which no sample can be placed in.
  if (!(std::isfinite(cellWidth) && cellWidth > 0.0 && std::isfinite(cellHeight) &&
        cellHeight > 0.0))
    return false;

  const std::size_t cellCount = static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
  std::vector<std::int32_t> status(cellCount);
  std::vector<CellSums> sums(cellCount);
  // Only cells that lie wholly inside the mask, clear of its right and bottom edges, can
  // be analysed.
  for (std::int32_t cellY = 0; cellY < rows; ++cellY)
    for (std::int32_t cellX = 0; cellX < columns; ++cellX) {
      const double left = RoundHalfEven(cellX * cellWidth + Grid.UpperLeftX);
      const double top = RoundHalfEven(cellY * cellHeight + Grid.UpperLeftY);
      const bool inside = left >= 0.0 && left + cellWidth < maskWidth_ && top >= 0.0 &&
                          top + cellHeight < maskHeight_;
      status[static_cast<std::size_t>(cellY) * columns + cellX] =
          inside ? clsGrid::kWithinLimits : clsGrid::kNotAnalysed;
    }

  const SampleAxis xAxis = MakeSampleAxis(xpts, xScale, xCenter, maskWidth_);
  const SampleAxis yAxis = MakeSampleAxis(ypts, yScale, yCenter, maskHeight_);
  std::vector<std::int32_t> cellOfColumn(static_cast<std::size_t>(xpts), -1);
  for (std::int32_t i = 0; i < xpts; ++i)
    if (xAxis.pixel[i] >= 0)
      cellOfColumn[i] = CellOf(xAxis.pixel[i], Grid.UpperLeftX, cellWidth, columns);

  // One row of samples is evaluated at a time; a sample that is not usable pupil rules
  // out its whole cell, so the cells' sums only count for cells that keep their status.
  std::vector<double> u(static_cast<std::size_t>(xpts)), v(static_cast<std::size_t>(xpts));
  std::vector<double> w(static_cast<std::size_t>(xpts));
  std::vector<std::size_t> cellOfSample(static_cast<std::size_t>(xpts));
  for (std::int32_t j = 0; j < ypts; ++j) {
    const std::int32_t maskRow = yAxis.pixel[j];
    if (maskRow < 0) continue;
    const std::int32_t cellY = CellOf(maskRow, Grid.UpperLeftY, cellHeight, rows);
    if (cellY < 0) continue;
    const std::uint8_t* mask = MaskRow(maskRow);
    int n = 0;
    for (std::int32_t i = 0; i < xpts; ++i) {
      if (cellOfColumn[i] < 0) continue;
      const std::size_t cell = static_cast<std::size_t>(cellY) * columns + cellOfColumn[i];
      if (status[cell] == clsGrid::kNotAnalysed) continue;
      if (mask[xAxis.pixel[i]] != kMaskPupil) {
        status[cell] = clsGrid::kNotAnalysed;
        continue;
      }
      u[n] = xAxis.coordinate[i];
      v[n] = yAxis.coordinate[j];
      cellOfSample[n] = cell;
      ++n;
    }
    EvalZernikeBatch(u.data(), v.data(), n, ZCoeff, w.data());
    for (int k = 0; k < n; ++k) sums[cellOfSample[k]].Take(w[k]);
  }

  std::vector<double> rms(cellCount, 0.0), pv(cellCount, 0.0);
  for (std::size_t c = 0; c < cellCount; ++c) {
    if (status[c] == clsGrid::kNotAnalysed) continue;
    const CellSums& s = sums[c];
    if (s.count == 0) {
      status[c] = clsGrid::kNotAnalysed;
      continue;
    }
    // Sample standard deviation; a single sample has no spread.
    double variance = 0.0;
    if (s.count > 1)
      variance = (s.sumSquares - s.sum / static_cast<double>(s.count) * s.sum) /
                 static_cast<double>(s.count - 1);
    if (!(variance >= 0.0)) variance = 0.0;
    rms[c] = std::sqrt(variance);
    pv[c] = s.maximum - s.minimum;
    const bool outside =
        (Grid.UseRMS && rms[c] > Grid.MaxRMS) || (Grid.UsePV && pv[c] > Grid.MaxPV);
    status[c] = outside ? clsGrid::kOutsideLimits : clsGrid::kWithinLimits;
  }
  return Grid.SetAnalysisResults(status, rms, pv);
}

}  // namespace orvale
