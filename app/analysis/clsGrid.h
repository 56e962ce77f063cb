#pragma once
// The test grid of an interferogram: a rectangle in image pixels divided into equal
// cells of a given physical size, the pass limits for each cell's RMS and
// peak-to-valley, and the per-cell results of the last grid analysis. Pixels are taken
// as square: PixelSizeX / GridPhysicalWidth pixels per unit serve both directions.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orvale {

class clsParser;
namespace gdi {
class DeviceContext;
}
class LineSource;
class TextOutput;

class clsGrid {
 public:
  // Bits of IsDefined.
  static constexpr std::int32_t kPhysicalSizes = 1;
  static constexpr std::int32_t kPixelRectangle = 2;
  static constexpr std::int32_t kResults = 4;

  // Cell status.
  static constexpr std::int32_t kNotAnalysed = 0;
  static constexpr std::int32_t kWithinLimits = 1;
  static constexpr std::int32_t kOutsideLimits = 2;

  // Most cells a grid may have across or down. Larger counts (from a file, the
  // settings or the sizes) are refused rather than allocated and drawn.
  static constexpr std::int32_t kMaxCellsPerSide = 1000;

  double UpperLeftX = 0;
  double UpperLeftY = 0;
  double PixelSizeX = -1;  // negative: no rectangle
  double PixelSizeY = -1;
  double GridPhysicalWidth = 0;
  double CellPhysicalWidth = 0;
  double CellPhysicalHeight = 0;
  double MaxRMS = 0.09;
  double MaxPV = 1.0;
  bool UseRMS = true;
  bool UsePV = true;
  std::int32_t CellCountX = 0;
  std::int32_t CellCountY = 0;

  // Forgets the rectangle; sizes, limits and results stay.
  void ClearBounds();
  // Forgets the results of the last grid analysis; the layout stays.
  void ClearResults();

  // Hit test with a tolerance of 3 pixels: Found 2 at corner `vertex` (0 upper left,
  // 1 upper right, 2 lower right, 3 lower left), 1 on an edge (vertex 4), 0 nothing.
  void Find(double X, double Y, std::int32_t& Found, std::int32_t& vertex) const;

  // Results of cell (X, Y), column and row from 0. False, with zeros, for a cell that
  // has no results.
  bool GetCellMeasurements(std::int32_t X, std::int32_t Y, double& RMS, double& PV,
                           std::int32_t& Usable) const;

  void GetCenter(double& X, double& Y) const;

  // Share of cells analysed and within the limits, in percent, and their physical
  // area. Without cells both percentages are -1 and UsableArea is left as it was.
  void GetStatistics(double& PercentAnalyzed, double& PercentUsable,
                     double& UsableArea) const;

  // Corner 0..3 (see Find); other values leave X and Y as they were.
  void GetVertex(std::int32_t vertex, double& X, double& Y) const;

  // True when every part named by the bits holds (0 gives True).
  bool IsDefined(std::int32_t DefinitionToCheck) const;

  // Reads the section after its "Grid" line, up to "GridEnd" or the end of the file. A
  // section with a cell count outside 0..kMaxCellsPerSide or a number out of the double
  // range is refused: false, `problem` says why, and the grid is unchanged.
  bool LoadFromFile(LineSource& file, clsParser& Parser, std::string* problem = nullptr);
  // Reads the cell lines after "Cells" up to "CellsEnd" into results sized for the
  // current counts. False, with nothing read, when the counts are out of range.
  bool LoadMeasurementsFromFile(LineSource& file, clsParser& Parser);

  // The calibration (rectangle and physical sizes) in the settings section "Grid" of
  // the current settings store. The limits are not part of it.
  void RegistrySaveCalibration() const;
  // Reads it back (0 for a missing value) and recounts the cells. Refused (false,
  // `problem` set, grid unchanged) when a stored number is out of the double range or
  // the sizes would give more than kMaxCellsPerSide cells across or down.
  bool RegistryLoadCalibration(std::string* problem = nullptr);

  // Drags corner `vertex` to (X, Y); the opposite corner stays. The rectangle keeps at
  // least one pixel in each direction.
  void Resize(double X, double Y, std::int32_t vertex);

  // Writes the section "Grid" ... "GridEnd". False when the user aborted after a
  // write failure.
  bool SaveToFile(TextOutput& file) const;

  // Takes elements 0..n-1 (n = CellCountX x CellCountY) of the given arrays as the
  // results. False, with nothing changed, when an array holds fewer than n elements.
  bool SetAnalysisResults(std::span<const std::int32_t> NewUsable,
                          std::span<const double> NewRMS, std::span<const double> NewPV);

  // The rectangle from two clicked corners, its height snapped down to whole cells.
  void SetBounds(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2);

  // Draws the cell lines with the white pen, XOR or copy.
  void Draw(gdi::DeviceContext& hDC, double ScaleFactor, double offsetx, double offsety,
            bool XORPen) const;

  void SetCenter(double X, double Y);

  // Counts the whole cells that fit the physical width and the rectangle's height.
  // Needs the physical sizes and a rectangle of positive width. False, with both counts
  // 0, when either would exceed kMaxCellsPerSide.
  bool UpdateCellCounts();

 private:
  // CellCountX x CellCountY, or 0 when the counts are out of range.
  std::size_t CellTotal() const;
  bool AllValuesFinite() const;
  // The real field a section key names, nullptr for other keys.
  double* RealFieldForKey(const std::string& key);

  std::vector<std::int32_t> status_;
  std::vector<double> rms_;
  std::vector<double> pv_;
};

}  // namespace orvale
