#pragma once
// This room (app/analysis) holds the fringe analysis engine: the pupil mask, automatic
// tracing, the fringe store, the aperture and obstruction shapes, the cell grid, the
// Zernike fit and the evaluation of the wavefront, and the line parser and numeric
// helpers they share. It is plain C++ (Qt only where it draws) and uses only the
// platform stand-ins (platform/); every room of the program above it uses it.
//
// The analysis engine of one document: the pupil mask with the scale that maps image
// pixels onto the unit pupil, the Zernike fit of the fringe centres, and the
// evaluation of a coefficient set into aberrations, maps and profiles.
//
// Pupil coordinates of an image point (X, Y): x = (X - xCenter) * xScale,
// y = (Y - yCenter) * yScale; y grows downwards with the image rows.
#include <cstdint>
#include <span>
#include <vector>

#include "app/analysis/AutoTraceParameters.h"
#include "app/analysis/ZernikeTerms.h"

namespace orvale {

class clsFringes;
class FringePointIndex;
class TraceFrame;
class clsGrid;
class clsShape;

class clsAnalysis {
 public:
  // Other objects read and write these directly.
  double xScale = 0.0;          // 1 / pupil radius in x (1/pixels)
  double yScale = 0.0;          // 1 / pupil radius in y (1/pixels)
  double xCenter = 0.0;         // pupil centre in image pixels
  double yCenter = 0.0;         // rows counted from the top
  bool MaskAllocated = false;   // CreateMask has made the mask array
  bool MaskValid = false;       // the mask matches the current shapes (kept by the document)
  bool MaskDoubleSize = false;  // the mask has twice the image's width and height
  bool MaskTrimmed = false;     // TrimMask has run on the current mask

  // Mask byte values. Every consumer treats exactly kMaskPupil as usable.
  static constexpr std::uint8_t kMaskOutside = 0;
  static constexpr std::uint8_t kMaskPupil = 1;
  static constexpr std::uint8_t kMaskObstruction = 2;

  // --- Pupil mask ---

  // Makes a zero-filled XSize x YSize mask (a single byte recorded as 0 x 0 when a
  // size is below 1) and resets the four mask flags, MaskAllocated then becoming
  // True. An allocation failure is shown in a message box titled "Error" and gives
  // False.
  bool CreateMask(std::int32_t XSize, std::int32_t YSize);
  // Zeroes the mask and clears MaskTrimmed; MaskValid is left to the document.
  void ClearMask();
  // A copy of the mask with its size; False (arguments untouched) without a mask.
  bool GetMaskPointer(std::vector<std::uint8_t>& pMask, std::int32_t& XSize,
                      std::int32_t& YSize) const;

  // Writes kMaskPupil into every mask pixel inside the aperture (boundary included).
  // The obstruction version writes kMaskObstruction inside the obstruction (boundary
  // excluded); applied after the aperture, it overwrites it. Neither clears a pixel.
  // With DoubleSize the shape is taken at twice its size (centre, radii and vertices;
  // not the angle), for a mask of twice the image's size. A polygon fills its convex
  // hull; rows and columns beyond the mask are clipped. Returns False, writing nothing,
  // when there is no mask, DoubleSize differs from MaskDoubleSize, or the shape encloses
  // no area: shape type 0, a centre that is not finite, radii that are not positive and
  // finite, or a polygon with no three vertices off one line or with a (doubled) vertex
  // beyond the coordinates the polygon fill accepts (kMaxMaskCoordinate).
  bool UpdateApertureMask(const clsShape& Shape, bool DoubleSize);
  bool UpdateObstructionMask(const clsShape& Shape, bool DoubleSize);

  // Peels round(3 % of the mean pupil radius) nonzero pixels off both ends of every row
  // and then of every column, and sets MaskTrimmed. Nothing without a mask.
  void TrimMask();

  // The pupil centre and scale from the aperture: the centre and radii of a circle; of an
  // ellipse the centre and its larger radius both ways; of a polygon, among the circles
  // through three vertices, the centre whose farthest vertex is nearest, with the
  // distance to that vertex as the radius both ways, which also becomes the polygon's
  // radii (SetRadii). Records the aperture's shape type. For a shape that encloses no
  // area (as for UpdateApertureMask) it returns False and resets the centre, both scales
  // and the recorded type to 0, so that no earlier pupil lives on.
  bool SetScalefactors(clsShape& pAperture);

  // The mask bytes, row-major with rows from the top (index y * MaskWidth() + x);
  // empty for a 0 x 0 mask or none. The shape rasteriser writes through this, and
  // tests fill it directly.
  std::span<std::uint8_t> MaskBytes();
  std::span<const std::uint8_t> MaskBytes() const;
  std::int32_t MaskWidth() const { return maskWidth_; }
  std::int32_t MaskHeight() const { return maskHeight_; }
  // The mask byte at column x, row y; kMaskOutside beyond the mask.
  std::uint8_t MaskAt(std::int32_t x, std::int32_t y) const;

  // The aperture's shape type as last given to SetScalefactors (3: polygon); the fit
  // caps its term count for polygons that fill their enclosing circle poorly.
  std::int32_t ApertureShapeType() const { return apertureShapeType_; }
  void SetApertureShapeType(std::int32_t shapeType) { apertureShapeType_ = shapeType; }

  // --- Zernike fit ---

  // Fits the 36-term Fringe Zernike set to the points (X[i], Y[i]) in image pixels
  // with values z[i], i = 0..NumDataPts-1 (the shortest of the three arrays limits
  // the count). Only points whose rounded pixel is usable pupil on the mask count;
  // the mask must be at image size. NumZerToFit is the number of terms wanted, 0 to
  // choose from the point count.
  // On return: ZCoeff(1..NumZerToFit) holds the fit and every other element is 0;
  // NumZerToFit is the number of terms actually solved, 0 when no fit could be made
  // (three points or fewer, no usable mask, no usable point, or data that cannot carry
  // the terms asked for); NumDataPts is the number of points used, left as it was when
  // the fit did not start for want of points or of a mask.
  void FitFringeCenters(std::int32_t& NumDataPts, std::span<const double> X,
                        std::span<const double> Y, std::span<const double> z,
                        std::int32_t& NumZerToFit, ZernikeVector& ZCoeff) const;

  // --- Wavefront evaluation ---

  // The wavefront sum of the 36 terms at the pupil point (X, Y); no piston.
  double EvalZernike(double X, double Y, const ZernikeVector& ZCoeff) const;
  // The same sum from term values already computed (ZernikeTerms).
  double EvalZernikeWithTerms(const ZernikeVector& terms, const ZernikeVector& ZCoeff) const;
  // Zeroes the coefficients of the chosen aberrations: tilt (1, 2), focus (3),
  // astigmatism (4, 5), coma (6, 7), spherical (8).
  void Remove(bool RemTilt, bool RemFocus, bool RemAstig, bool RemComa, bool RemSphere,
              ZernikeVector& a) const;
  // The primary aberrations of the coefficients a into w(1..8).
  void AToW(const ZernikeVector& a, AberrationVector& w) const;

  // RMS (sample standard deviation), Strehl ratio and peak-to-valley of the wavefront
  // over an xpts x ypts sampling of the pupil's usable mask pixels. A single usable
  // sample gives RMS 0, Strehl 1 and PV 0. Returns False and leaves the three results
  // untouched when the preconditions fail (fewer than 2 samples an axis, no mask, a
  // zero scale) or no sample falls on usable pupil.
  bool EvalAberrations(const ZernikeVector& ZCoeff, std::int32_t xpts, std::int32_t ypts,
                       double& RMS, double& Strehl, double& PV) const;

  // The wavefront map over xpts x ypts samples of the pupil into Surface[j * xpts + i],
  // kBlankValue where the sample has no usable pupil; with CalcOrig the synthetic
  // interferogram 1 - cos(2 pi W) instead. Nothing is written when the preconditions
  // fail or Surface holds fewer than xpts * ypts values.
  void EvalSurface(const ZernikeVector& ZCoeff, std::int32_t xpts, std::int32_t ypts,
                   std::span<double> Surface, bool CalcOrig) const;

  // The RMS and peak-to-valley of the wavefront in each cell of the grid, sampled at
  // xpts x ypts points of the pupil, handed to Grid.SetAnalysisResults with each cell's
  // status: 0 when the cell reaches the mask's edge, has no sample or has a sample on the
  // mask that is not usable pupil; else 2 when an applied limit (UseRMS / MaxRMS, UsePV /
  // MaxPV) is exceeded, 1 otherwise. RMS and PV of a cell with status 0 are 0. Returns
  // False, leaving the grid untouched, when fewer than 2 samples an axis are asked for,
  // there is no mask, a scale is 0, the grid lacks its sizes, its rectangle or cells, or
  // its cells are not a positive finite number of pixels wide and high.
  bool EvalGrid(const ZernikeVector& ZCoeff, std::int32_t xpts, std::int32_t ypts,
                clsGrid& Grid) const;

  // The wavefront along the pupil diameter at angle theta (radians, from +x towards
  // the image's downward y): xData[k] = r from -1 to 1, yData[k] = W or kBlankValue.
  // Nothing is written unless pts >= 2, a mask exists, both scales are nonzero and
  // both arrays hold pts values.
  void EvalProfile(const ZernikeVector& ZCoeff, double theta, std::int32_t pts,
                   std::span<double> xData, std::span<double> yData) const;

  // --- Automatic fringe tracing ---

  // Loads the tracing parameters of density level 1 (densest) to 4 (sparsest). Any
  // other value keeps the parameters loaded before; an object that has none yet takes
  // level 3, so that tracing always has a row spacing and a step.
  void SetAutoTraceParameters(std::int32_t Density);
  const AutoTraceParameters& GetAutoTraceParameters() const { return autoTrace_; }

  // Finds the dark fringes of the image DataBuffer (XSize x YSize bytes, rows from the
  // top) inside the usable mask and replaces the content of pFringe with them, one
  // fringe of centre points (image pixels) each, numbered from one side of the pupil to
  // the other, halves cut by the obstruction joined. Direction 0: the fringes run
  // horizontally, and are numbered from the top; otherwise they run vertically and are
  // numbered from the left. The mask must have the image's size, or twice its width and
  // height with MaskDoubleSize; otherwise, without a mask, or with a buffer smaller
  // than the image, nothing happens and pFringe is left alone. The mask is only read.
  // A full store ends the seeding with "Too many fringes"; running out of memory ends
  // the trace with "Out of memory" (both titled "Error"); what was traced until then
  // stays in pFringe, in image pixels.
  void AutoTrace(clsFringes& pFringe, std::span<const std::uint8_t> DataBuffer, std::int32_t XSize,
                 std::int32_t YSize, std::int32_t Direction, std::int32_t FringeDensity);

  // Gives the fringes orders 1, 2, ... by their leftmost point, and joins into one the
  // two halves of a fringe whose facing ends lie at obstruction pixels of the mask.
  void SortOrders(clsFringes& pFringe) const;

 private:
  // Seeds fringes along every RowSpacing-th row of the frame and traces each.
  void SeedFringes(clsFringes& store, FringePointIndex& points, const TraceFrame& frame) const;
  // Traces fringe number f up and down from the seed (x0, y0); false when the store is
  // full.
  bool TraceFringe(clsFringes& store, FringePointIndex& points, const TraceFrame& frame,
                   std::int32_t x0, std::int32_t y0, std::int32_t f) const;
  void SortOrders(clsFringes& store, const TraceFrame& frame) const;

  // Writes `value` into the pixels of the shape (see UpdateApertureMask).
  bool RasteriseShape(const clsShape& Shape, bool DoubleSize, std::uint8_t value);
  // The usable-pupil test of an evaluation sample at pupil (u, v).
  bool SampleHasData(double u, double v) const;
  bool CanEvaluate() const;
  // The first byte of mask row y (0 <= y < MaskHeight()).
  const std::uint8_t* MaskRow(std::int32_t y) const {
    return mask_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(maskWidth_);
  }

  std::vector<std::uint8_t> mask_;
  std::int32_t maskWidth_ = 0;
  std::int32_t maskHeight_ = 0;
  std::int32_t apertureShapeType_ = 0;
  // All zero until the first SetAutoTraceParameters.
  AutoTraceParameters autoTrace_;
};

// Polar form of (x, y): magnitude and angle in degrees in (-180, 180], exact on the axes.
void RectToPolar(double x, double y, double& magnitude, double& angleDegrees);

}  // namespace orvale
