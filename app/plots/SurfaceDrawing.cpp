// Drawing of the surface plot: filled cells in painter's order, or the wire mesh behind
// a floating horizon, with one pen or brush per colour level.
#include <algorithm>
#include <array>

#include "app/document/ColorRamps.h"
#include "app/document/FloatingHorizon.h"
#include "app/plots/clsSurfacePlot.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

using gdi::DeviceContext;
using gdi::Point;

// Walks a mesh edge into the horizon from its lower end on the screen, so that a
// steep edge rises pixel by pixel over what it has just drawn. Returns the end the walk
// leaves out.
Point WalkUpward(Point a, Point b) {
  if (b.y > a.y) std::swap(a, b);
  PlotHorizonLine(a.x, a.y, b.x, b.y);
  return b;
}

}  // namespace

void clsSurfacePlot::PlotRedraw(DeviceContext& hDC) {
  if (FillPolygons) {
    ResetHorizon(0);
    Chart.ChartRedraw(hDC);
    DrawMatrix(hDC);
    return;
  }
  // The horizon covers the columns the window asked for, but never more than the
  // device has: a column outside it is never read or written.
  const std::int32_t deviceWidth = hDC.GetDeviceCaps(gdi::HORZRES);
  std::int32_t width = HorizonWidth > 0 ? HorizonWidth : deviceWidth;
  if (deviceWidth > 0) width = std::min(width, deviceWidth);
  ResetHorizon(width);
  HorizonDC = &hDC;
  DrawMatrix(hDC);
  Chart.ChartRedraw(hDC);
  ResetHorizon(0);
  HorizonDC = nullptr;
}

void clsSurfacePlot::DrawMatrix(DeviceContext& hDC) {
  const std::size_t n = static_cast<std::size_t>(nx_) * static_cast<std::size_t>(ny_);
  if (nx_ < 2 || ny_ < 2 || Screen_.size() != n || Level_.size() != n || NumLevels < 1) return;
  double zMin = 0, zMax = 0;
  Chart.GetAxisMinMax(kAxisZ, zMin, zMax);
  const double halfBand = NumLevels > 1 ? (LevelValues_[1] - LevelValues_[0]) / 2 : 0;
  const bool monochrome = hDC.GetDeviceCaps(gdi::BITSPIXEL) < 2;

  std::vector<gdi::Color> colours(static_cast<std::size_t>(NumLevels));
  for (std::size_t k = 0; k < colours.size(); ++k) {
    double middle = LevelValues_[k] + halfBand;
    colours[k] = monochrome ? GrayColor(middle, zMin, zMax) : RainbowColor(middle, zMin, zMax);
  }

  if (FillPolygons) {
    for (const gdi::Color c : colours) Brushes_.push_back(gdi::CreateSolidBrush(c));
    DrawFilledCells(hDC);
  } else {
    if (!monochrome) {
      for (const gdi::Color c : colours) {
        const std::optional<gdi::Pen> pen = gdi::CreatePen(PenStyle, PenWidth, c);
        if (!pen) {
          ReleaseGdiObjects();
          ShowMessage("Could not allocate enough pens", mb::kOk, "Error", kMainWindowOwner);
          return;
        }
        Pens_.push_back(*pen);
      }
    }
    DrawWireMesh(hDC, colours, monochrome);
  }
  ReleaseGdiObjects();
}

void clsSurfacePlot::DrawFilledCells(DeviceContext& hDC) {
  const int previousFill = hDC.SetPolyFillMode(gdi::WINDING);
  const gdi::Pen outline = DrawMeshWithFill ? gdi::StockPen(gdi::BLACK_PEN) : gdi::Pen{gdi::PS_NULL, 1, 0};
  const gdi::Pen previousPen = hDC.SelectPen(outline);
  const gdi::Brush previousBrush = hDC.CurrentBrush();
  std::int32_t selected = -1;
  for (std::int32_t row = 0; row + 1 < ny_; ++row) {
    for (std::int32_t column = 0; column + 1 < nx_; ++column) {
      const std::size_t t = static_cast<std::size_t>(row) * nx_ + column;
      const std::int32_t level = Level_[t];
      if (level != selected) {
        hDC.SelectBrush(Brushes_[static_cast<std::size_t>(level)]);
        selected = level;
      }
      const std::array<Point, 4> cell = {Screen_[t], Screen_[t + 1], Screen_[t + nx_ + 1], Screen_[t + nx_]};
      hDC.Polygon(cell);
    }
  }
  hDC.SelectBrush(previousBrush);
  hDC.SelectPen(previousPen);
  hDC.SetPolyFillMode(previousFill);
}

void clsSurfacePlot::DrawWireMesh(DeviceContext& hDC, const std::vector<gdi::Color>& colours,
                                  bool monochrome) {
  const gdi::Pen black = gdi::StockPen(gdi::BLACK_PEN);
  const gdi::Pen previousPen = hDC.SelectPen(black);
  const auto penOf = [&](std::size_t t) {
    return monochrome ? black : Pens_[static_cast<std::size_t>(Level_[t])];
  };
  const auto line = [&](std::size_t from, std::size_t to) {
    hDC.SelectPen(penOf(from));
    hDC.MoveTo(Screen_[from].x, Screen_[from].y);
    hDC.LineTo(Screen_[to].x, Screen_[to].y);
  };
  const std::size_t nx = static_cast<std::size_t>(nx_);
  const std::size_t ny = static_cast<std::size_t>(ny_);

  // The nearest edges stand in front of everything: plain lines.
  for (std::size_t row = 0; row + 1 < ny; ++row) line(row * nx, (row + 1) * nx);
  for (std::size_t column = 0; column + 1 < nx; ++column) line(column, column + 1);

  // Every other edge, front to back, shows only where it rises above the horizon.
  gdi::DeviceContext* const previousDC = HorizonDC;
  HorizonDC = &hDC;
  for (std::size_t row = 0; row + 1 < ny; ++row) {
    for (std::size_t t = row * nx + 1; t < row * nx + nx; ++t) {
      HorizonColor = monochrome ? 0 : colours[static_cast<std::size_t>(Level_[t - 1])];
      WalkUpward(Screen_[t], Screen_[t + nx]);
      const Point upper = WalkUpward(Screen_[t + nx], Screen_[t + nx - 1]);
      PlotHorizonPixel(upper.x, upper.y);
    }
  }
  HorizonDC = previousDC;
  hDC.SelectPen(previousPen);
}

}  // namespace orvale
