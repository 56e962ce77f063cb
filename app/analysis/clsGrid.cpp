#include "app/analysis/clsGrid.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "app/analysis/LineParser.h"
#include "app/analysis/OutlineDrawing.h"
#include "app/analysis/KeywordSection.h"
#include "platform/registry/SettingsBatch.h"
#include "platform/registry/TypedSettings.h"
#include "platform/runtime/Markers.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

constexpr double kHitTolerance = 3.0;
// A quotient this close below the next whole number counts as that number: sizes that
// are whole multiples may fall a hair short in floating point (0.3 / 0.1).
constexpr double kWholeCellTolerance = 0.99999999999999;
// A rectangle dragged by a corner keeps at least this size, as one drawn by two clicks.
constexpr double kMinPixelSize = 1.0;

constexpr std::string_view kSettingsSection = "Grid";

double WholeCells(double quotient) {
  const double whole = std::floor(quotient);
  return quotient - whole >= kWholeCellTolerance ? whole + 1 : whole;
}

bool CountInRange(double count) {
  return count >= 0 && count <= clsGrid::kMaxCellsPerSide;
}

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::size_t clsGrid::CellTotal() const {
  if (CellCountX <= 0 || CellCountY <= 0 || CellCountX > kMaxCellsPerSide ||
      CellCountY > kMaxCellsPerSide)
    return 0;
  return static_cast<std::size_t>(CellCountX) * static_cast<std::size_t>(CellCountY);
}

double* clsGrid::RealFieldForKey(const std::string& key) {
  if (key == "upperleftx") return &UpperLeftX;
  if (key == "upperlefty") return &UpperLeftY;
  if (key == "pixelwidth") return &PixelSizeX;
  if (key == "pixelheight") return &PixelSizeY;
  if (key == "physicalwidth") return &GridPhysicalWidth;
  if (key == "cellwidth") return &CellPhysicalWidth;
  if (key == "cellheight") return &CellPhysicalHeight;
  if (key == "maxrms") return &MaxRMS;
  if (key == "maxpv") return &MaxPV;
  return nullptr;
}

bool clsGrid::AllValuesFinite() const {
  for (double v : {UpperLeftX, UpperLeftY, PixelSizeX, PixelSizeY, GridPhysicalWidth,
                   CellPhysicalWidth, CellPhysicalHeight, MaxRMS, MaxPV})
    if (!std::isfinite(v)) return false;
  return true;
}

bool clsGrid::IsDefined(std::int32_t DefinitionToCheck) const {
  if ((DefinitionToCheck & kPhysicalSizes) &&
      !(GridPhysicalWidth > 0 && CellPhysicalWidth > 0 && CellPhysicalHeight > 0))
    return false;
  // A rectangle without width or height has no cells to measure or draw, and a zero
  // width would divide by zero in the cell counts.
  if ((DefinitionToCheck & kPixelRectangle) && !(PixelSizeX > 0 && PixelSizeY > 0))
    return false;
  if (DefinitionToCheck & kResults) {
    const std::size_t n = CellTotal();
    if (n == 0 || status_.size() != n || rms_.size() != n || pv_.size() != n) return false;
  }
  return true;
}

void clsGrid::ClearBounds() {
  UpperLeftX = 0;
  UpperLeftY = 0;
  PixelSizeX = -1;
  PixelSizeY = -1;
}

void clsGrid::ClearResults() {
  status_.clear();
  rms_.clear();
  pv_.clear();
}

bool clsGrid::UpdateCellCounts() {
  // A rectangle whose height snapped to 0 still gets its counts (no rows), so that no
  // counts of an earlier rectangle stay behind.
  if (!IsDefined(kPhysicalSizes) || !(PixelSizeX > 0) || !(PixelSizeY >= 0)) return true;
  const double columns = WholeCells(GridPhysicalWidth / CellPhysicalWidth);
  const double pixelsPerUnit = PixelSizeX / GridPhysicalWidth;
  const double rows = WholeCells(PixelSizeY / (pixelsPerUnit * CellPhysicalHeight));
  if (!CountInRange(columns) || !CountInRange(rows)) {
    CellCountX = 0;
    CellCountY = 0;
    return false;
  }
  CellCountX = static_cast<std::int32_t>(columns);
  CellCountY = static_cast<std::int32_t>(rows);
  return true;
}

void clsGrid::SetBounds(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2) {
  if (!IsDefined(kPhysicalSizes)) return;
  UpperLeftX = std::min(X1, X2);
  UpperLeftY = std::min(Y1, Y2);
  PixelSizeX = static_cast<double>(std::max(X1, X2)) - std::min(X1, X2);
  PixelSizeY = static_cast<double>(std::max(Y1, Y2)) - std::min(Y1, Y2);
  if (PixelSizeX < 1) PixelSizeX = 1.0;
  if (PixelSizeY < 1) PixelSizeY = 1.0;
  const double cellHeight = PixelSizeX / GridPhysicalWidth * CellPhysicalHeight;
  // Sizes so extreme that a cell's height is not a positive pixel count give no rows.
  if (std::isfinite(cellHeight) && cellHeight > 0)
    PixelSizeY = std::floor(PixelSizeY / cellHeight) * cellHeight;
  else
    PixelSizeY = 0;
  UpdateCellCounts();
}

namespace {

// Moves the start edge (left or top) or the end edge of one side of the rectangle to
// `to`; the other edge stays, and the side keeps at least kMinPixelSize.
void MoveEdge(double& origin, double& size, double to, bool movesStart) {
  if (movesStart) {
    const double start = std::min(to, origin + size - kMinPixelSize);
    size = size - (start - origin);
    origin = start;
  } else {
    size = std::max(to - origin, kMinPixelSize);
  }
}

}  // namespace

void clsGrid::Resize(double X, double Y, std::int32_t vertex) {
  if (vertex < 0 || vertex > 3 || !std::isfinite(X) || !std::isfinite(Y)) return;
  MoveEdge(UpperLeftX, PixelSizeX, X, vertex == 0 || vertex == 3);
  MoveEdge(UpperLeftY, PixelSizeY, Y, vertex == 0 || vertex == 1);
  UpdateCellCounts();
}

void clsGrid::SetCenter(double X, double Y) {
  if (!(PixelSizeX > 0 && PixelSizeY > 0)) return;
  UpperLeftX = X - PixelSizeX / 2;
  UpperLeftY = Y - PixelSizeY / 2;
}

void clsGrid::GetCenter(double& X, double& Y) const {
  X = UpperLeftX + PixelSizeX / 2;
  Y = UpperLeftY + PixelSizeY / 2;
}

void clsGrid::GetVertex(std::int32_t vertex, double& X, double& Y) const {
  switch (vertex) {
    case 0: X = UpperLeftX; Y = UpperLeftY; break;
    case 1: X = UpperLeftX + PixelSizeX; Y = UpperLeftY; break;
    case 2: X = UpperLeftX + PixelSizeX; Y = UpperLeftY + PixelSizeY; break;
    case 3: X = UpperLeftX; Y = UpperLeftY + PixelSizeY; break;
    default: break;
  }
}

void clsGrid::Find(double X, double Y, std::int32_t& Found, std::int32_t& vertex) const {
  Found = 0;
  if (!IsDefined(kPhysicalSizes | kPixelRectangle)) return;
  vertex = 4;
  const double left = UpperLeftX;
  const double right = UpperLeftX + PixelSizeX;
  const double top = UpperLeftY;
  const double bottom = UpperLeftY + PixelSizeY;
  auto near = [](double a, double b) { return std::fabs(a - b) <= kHitTolerance; };

  std::int32_t corner = -1;
  if (near(X, left)) {
    if (near(Y, top)) corner = 0;
    else if (near(Y, bottom)) corner = 3;
  } else if (near(X, right)) {
    if (near(Y, top)) corner = 1;
    else if (near(Y, bottom)) corner = 2;
  }
  if (corner >= 0) {
    Found = 2;
    vertex = corner;
    return;
  }
  const bool onSide = (near(X, left) || near(X, right)) && top <= Y && Y <= bottom;
  const bool onTopOrBottom = (near(Y, top) || near(Y, bottom)) && left <= X && X <= right;
  if (onSide || onTopOrBottom) Found = 1;
}

// ---------------------------------------------------------------------------------
// Drawing

namespace {

// Draws the cell lines of one direction: from `start` every `step` while not past `end`,
// then the far edge when the last line does not already stand there. Lines that fall
// on the screen coordinate of the line before are left out, so that an XOR drawing
// does not erase its own lines. Without a usable step (none, or more lines than a grid
// may have cells) only the two edges are drawn. `toScreen` gives a line's screen
// coordinate, `drawLine` draws it.
template <class ToScreen, class DrawLine>
void DrawCellLines(double start, double end, double step, ToScreen toScreen,
                   DrawLine drawLine) {
  std::optional<std::int32_t> lastScreen;
  auto lineAt = [&](double v) {
    const std::int32_t screen = toScreen(v);
    if (screen == lastScreen) return;
    drawLine(v);
    lastScreen = screen;
  };
  constexpr std::int32_t kMaxLines = clsGrid::kMaxCellsPerSide + 1;
  double last = start;
  if (step > 0 && (end - start) / step <= kMaxLines) {
    // The count bounds the loop even where adding the step no longer changes v.
    std::int32_t lines = 0;
    for (double v = start; v <= end && lines <= kMaxLines; v += step, ++lines) {
      lineAt(v);
      last = v;
    }
  } else {
    lineAt(start);
  }
  if (RoundHalfEven(last) != RoundHalfEven(end)) lineAt(end);
}

}  // namespace

void clsGrid::Draw(gdi::DeviceContext& hDC, double ScaleFactor, double offsetx,
                   double offsety, bool XORPen) const {
  if (!IsDefined(kPhysicalSizes | kPixelRectangle)) return;
  const ScreenMapping screen{ScaleFactor, offsetx, offsety};
  ScopedOutlinePen pen(hDC, XORPen);
  if (!screen.IsUsable() || !AllValuesFinite()) return;

  const double left = UpperLeftX;
  const double right = UpperLeftX + PixelSizeX;
  const double top = UpperLeftY;
  const double bottom = UpperLeftY + PixelSizeY;
  const double pixelsPerUnit = PixelSizeX / GridPhysicalWidth;
  const double cellWidth = pixelsPerUnit * CellPhysicalWidth;
  const double cellHeight = pixelsPerUnit * CellPhysicalHeight;

  const std::int32_t topY = screen.Y(top);
  const std::int32_t bottomY = screen.Y(bottom);
  DrawCellLines(left, right, cellWidth, [&](double x) { return screen.X(x); },
                [&](double x) {
                  const std::int32_t sx = screen.X(x);
                  hDC.MoveTo(sx, topY);
                  hDC.LineTo(sx, bottomY);
                });
  const std::int32_t leftX = screen.X(left);
  const std::int32_t rightX = screen.X(right);
  DrawCellLines(top, bottom, cellHeight, [&](double y) { return screen.Y(y); },
                [&](double y) {
                  const std::int32_t sy = screen.Y(y);
                  hDC.MoveTo(leftX, sy);
                  hDC.LineTo(rightX, sy);
                });
}

// ---------------------------------------------------------------------------------
// Results

bool clsGrid::SetAnalysisResults(std::span<const std::int32_t> NewUsable,
                                 std::span<const double> NewRMS,
                                 std::span<const double> NewPV) {
  const std::size_t n = CellTotal();
  if (NewUsable.size() < n || NewRMS.size() < n || NewPV.size() < n) return false;
  status_.assign(NewUsable.begin(), NewUsable.begin() + static_cast<std::ptrdiff_t>(n));
  rms_.assign(NewRMS.begin(), NewRMS.begin() + static_cast<std::ptrdiff_t>(n));
  pv_.assign(NewPV.begin(), NewPV.begin() + static_cast<std::ptrdiff_t>(n));
  return true;
}

bool clsGrid::GetCellMeasurements(std::int32_t X, std::int32_t Y, double& RMS, double& PV,
                                  std::int32_t& Usable) const {
  if (X >= 0 && Y >= 0 && X < CellCountX && Y < CellCountY) {
    const auto index = static_cast<std::size_t>(Y) * static_cast<std::size_t>(CellCountX) +
                       static_cast<std::size_t>(X);
    if (index < status_.size() && index < rms_.size() && index < pv_.size()) {
      RMS = rms_[index];
      PV = pv_[index];
      Usable = status_[index];
      return true;
    }
  }
  RMS = 0;
  PV = 0;
  Usable = kNotAnalysed;
  return false;
}

void clsGrid::GetStatistics(double& PercentAnalyzed, double& PercentUsable,
                            double& UsableArea) const {
  const std::size_t n = CellTotal();
  if (n == 0) {
    PercentAnalyzed = -1;
    PercentUsable = -1;
    return;
  }
  // Cells without results (the counts changed since the analysis) count as not analysed.
  std::size_t analysed = 0;
  std::size_t usable = 0;
  for (std::size_t i = 0; i < n && i < status_.size(); ++i) {
    if (status_[i] != kNotAnalysed) ++analysed;
    if (status_[i] == kWithinLimits) ++usable;
  }
  UsableArea = static_cast<double>(usable) * CellPhysicalWidth * CellPhysicalHeight;
  PercentAnalyzed = static_cast<double>(analysed) / static_cast<double>(n) * 100;
  PercentUsable =
      analysed == 0 ? 0 : static_cast<double>(usable) / static_cast<double>(analysed) * 100;
}

// ---------------------------------------------------------------------------------
// Keyword section

bool clsGrid::SaveToFile(TextOutput& file) const {
  SectionWriter out(file);
  out.Line("Grid");
  out.Line("UpperLeftX," + FormatDecimalField(UpperLeftX));
  out.Line("UpperLeftY," + FormatDecimalField(UpperLeftY));
  out.Line("PixelWidth," + FormatDecimalField(PixelSizeX));
  out.Line("PixelHeight," + FormatDecimalField(PixelSizeY));
  out.Line("CellCountX," + FormatWholeField(CellCountX));
  out.Line("CellCountY," + FormatWholeField(CellCountY));
  out.Line("PhysicalWidth," + FormatDecimalField(GridPhysicalWidth));
  out.Line("CellWidth," + FormatDecimalField(CellPhysicalWidth));
  out.Line("CellHeight," + FormatDecimalField(CellPhysicalHeight));
  out.Line("MaxRMS," + FormatDecimalField(MaxRMS));
  out.Line("MaxPV," + FormatDecimalField(MaxPV));
  out.Line(std::string("UseRMS,") + (UseRMS ? "True" : "False"));
  out.Line(std::string("UsePV,") + (UsePV ? "True" : "False"));
  if (IsDefined(kResults)) {
    out.Line("Cells");
    for (std::size_t i = 0; i < status_.size(); ++i)
      out.Line("Cell," + FormatLong(status_[i]) + "," + FormatDecimalField(rms_[i]) + "," +
               FormatDecimalField(pv_[i]));
    out.Line("CellsEnd");
  }
  out.Line("GridEnd");
  return !out.Aborted();
}

bool clsGrid::LoadFromFile(LineSource& file, clsParser& Parser, std::string* problem) {
  // Read into a copy so that a refused section leaves this grid as it was. A refused
  // section is still read to its end, so that its lines are not taken for others.
  clsGrid read = *this;
  std::string why;
  auto refuse = [&](const std::string& text) {
    if (why.empty()) why = text;
  };
  bool ended = false;
  while (!ended && Parser.Readline(file)) {
    // Keys follow one another on a line until an unknown key or the end of the line.
    for (std::string key = LowerKey(Parser.GetToken()); !key.empty();
         key = LowerKey(Parser.GetToken())) {
      if (double* field = read.RealFieldForKey(key)) {
        *field = TokenAsReal(Parser.GetToken());
      } else if (key == "cellcountx" || key == "cellcounty") {
        // Read as a real first: a count beyond the 32-bit range must not pass as the
        // clamped 2147483647.
        const double count = std::nearbyint(TokenAsReal(Parser.GetToken()));
        if (!CountInRange(count))
          refuse("The grid's cell count " + FormatGeneral(count) + " is out of range (0 to " +
                 FormatLong(kMaxCellsPerSide) + ").");
        else
          (key == "cellcountx" ? read.CellCountX : read.CellCountY) =
              static_cast<std::int32_t>(count);
      } else if (key == "userms" || key == "usepv") {
        const bool flag = LowerKey(Trim(Parser.GetToken())) == "true";
        (key == "userms" ? read.UseRMS : read.UsePV) = flag;
      } else if (key == "cells") {
        // The block of a refused section is read past, not kept.
        clsGrid skipped;
        (why.empty() ? read : skipped).LoadMeasurementsFromFile(file, Parser);
        break;
      } else {
        ended = key == "gridend";
        break;
      }
    }
  }
  if (why.empty() && !read.AllValuesFinite()) why = "A number in the grid section is out of range.";
  if (!why.empty()) {
    if (problem) *problem = why;
    return false;
  }
  *this = std::move(read);
  return true;
}

bool clsGrid::LoadMeasurementsFromFile(LineSource& file, clsParser& Parser) {
  const bool countsInRange = CountInRange(CellCountX) && CountInRange(CellCountY);
  const std::size_t n = countsInRange ? static_cast<std::size_t>(CellCountX) *
                                            static_cast<std::size_t>(CellCountY)
                                      : 0;
  std::vector<std::int32_t> status(n, 0);
  std::vector<double> rms(n, 0.0);
  std::vector<double> pv(n, 0.0);
  std::size_t index = 0;
  while (Parser.Readline(file)) {
    std::string key = LowerKey(Parser.GetToken());
    while (key == "cell") {
      if (index < n) {
        status[index] = TokenAsWhole(Parser.GetToken());
        rms[index] = TokenAsReal(Parser.GetToken());
        pv[index] = TokenAsReal(Parser.GetToken());
        ++index;
      }
      key = LowerKey(Parser.GetToken());
    }
    if (key == "cellsend") break;
  }
  if (!countsInRange) return false;
  status_ = std::move(status);
  rms_ = std::move(rms);
  pv_ = std::move(pv);
  return true;
}

// ---------------------------------------------------------------------------------
// Calibration in the settings

namespace {

struct CalibrationKey {
  std::string_view Key;
  double clsGrid::*Field;
};

constexpr CalibrationKey kCalibrationKeys[] = {
    {"UpperLeftX", &clsGrid::UpperLeftX},
    {"UpperLeftY", &clsGrid::UpperLeftY},
    {"PixelSizeX", &clsGrid::PixelSizeX},
    {"PixelSizeY", &clsGrid::PixelSizeY},
    {"PhysicalWidth", &clsGrid::GridPhysicalWidth},
    {"CellWidth", &clsGrid::CellPhysicalWidth},
    {"CellHeight", &clsGrid::CellPhysicalHeight},
};

}  // namespace

void clsGrid::RegistrySaveCalibration() const {
  ScopedSettingsBatch batch;  // one update of the settings file for all seven values
  for (const CalibrationKey& entry : kCalibrationKeys)
    SaveSettingDouble(kSettingsSection, entry.Key, this->*entry.Field);
}

bool clsGrid::RegistryLoadCalibration(std::string* problem) {
  clsGrid read = *this;
  // The marker as default and limits: the stored number as it is, 0 when missing.
  for (const CalibrationKey& entry : kCalibrationKeys)
    read.*entry.Field = GetSettingDouble(kSettingsSection, entry.Key, kNotGivenDouble,
                                         kNotGivenDouble, kNotGivenDouble);
  std::string why;
  if (!read.AllValuesFinite())
    why = "A stored grid calibration value is out of range.";
  else if (!read.UpdateCellCounts())
    why = "The stored grid calibration gives more than " + FormatLong(kMaxCellsPerSide) +
          " cells across or down.";
  if (!why.empty()) {
    if (problem) *problem = why;
    return false;
  }
  *this = std::move(read);
  return true;
}

}  // namespace orvale
