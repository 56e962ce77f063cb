// Evaluation of a coefficient set: wavefront values, removed terms, primary
// aberrations, pupil statistics, the wavefront map and the profile.
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/analysis/MathConstants.h"
#include "app/analysis/PupilSamples.h"
#include "app/analysis/clsAnalysis.h"
#include "platform/runtime/Markers.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

constexpr double kDegreesPerRadian = 57.29577951308238;
constexpr double kTwoPi = 2.0 * kPi;  // 6.28318530717958
constexpr double kFourPiSquared = 39.478417604357354;

// The wavefront at the samples of one map row that fall on usable pupil: their column
// numbers in `columns` and values in `values`, in column order; returns their count.
class MapRowEvaluator {
 public:
  MapRowEvaluator(const SampleAxis& xAxis, const ZernikeVector& coefficients)
      : xAxis_(xAxis),
        coefficients_(coefficients),
        u_(xAxis.pixel.size()),
        v_(xAxis.pixel.size()),
        columns_(xAxis.pixel.size()),
        values_(xAxis.pixel.size()) {}

  std::size_t Evaluate(const std::uint8_t* maskRow, double v) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < xAxis_.pixel.size(); ++i) {
      const std::int32_t column = xAxis_.pixel[i];
      if (column < 0 || maskRow[column] != clsAnalysis::kMaskPupil) continue;
      u_[n] = xAxis_.coordinate[i];
      v_[n] = v;
      columns_[n] = i;
      ++n;
    }
    EvalZernikeBatch(u_.data(), v_.data(), static_cast<int>(n), coefficients_, values_.data());
    return n;
  }
  std::size_t Column(std::size_t k) const { return columns_[k]; }
  double Value(std::size_t k) const { return values_[k]; }

 private:
  const SampleAxis& xAxis_;
  const ZernikeVector& coefficients_;
  std::vector<double> u_, v_;
  std::vector<std::size_t> columns_;
  std::vector<double> values_;
};

}  // namespace

void RectToPolar(double x, double y, double& magnitude, double& angleDegrees) {
  if (y == 0.0) {
    magnitude = std::fabs(x);
    angleDegrees = x >= 0.0 ? 0.0 : 180.0;
  } else if (x == 0.0) {
    magnitude = std::fabs(y);
    angleDegrees = y > 0.0 ? 90.0 : -90.0;
  } else {
    magnitude = std::sqrt(x * x + y * y);
    angleDegrees = std::atan2(y, x) * kDegreesPerRadian;
  }
}

double clsAnalysis::EvalZernike(double X, double Y, const ZernikeVector& ZCoeff) const {
  return EvalZernikeAt(X, Y, ZCoeff);
}

double clsAnalysis::EvalZernikeWithTerms(const ZernikeVector& terms,
                                         const ZernikeVector& ZCoeff) const {
  return DotZernike(terms, ZCoeff);
}

void clsAnalysis::Remove(bool RemTilt, bool RemFocus, bool RemAstig, bool RemComa, bool RemSphere,
                         ZernikeVector& a) const {
  if (RemTilt) a[1] = a[2] = 0.0;
  if (RemFocus) a[3] = 0.0;
  if (RemAstig) a[4] = a[5] = 0.0;
  if (RemComa) a[6] = a[7] = 0.0;
  if (RemSphere) a[8] = 0.0;
}

void clsAnalysis::AToW(const ZernikeVector& a, AberrationVector& w) const {
  RectToPolar(a[1], a[2], w[1], w[2]);
  w[3] = 2.0 * a[3];
  RectToPolar(a[4], a[5], w[4], w[5]);
  w[4] = 2.0 * w[4];
  w[5] = 0.5 * w[5];  // astigmatism repeats every half turn
  RectToPolar(3.0 * a[6], 3.0 * a[7], w[6], w[7]);
  w[8] = 6.0 * a[8];
}

bool clsAnalysis::CanEvaluate() const { return MaskAllocated && xScale != 0.0 && yScale != 0.0; }

bool clsAnalysis::SampleHasData(double u, double v) const {
  const double column = RoundHalfEven(u / xScale + xCenter);
  const double row = RoundHalfEven(v / yScale + yCenter);
  if (!(column >= 0.0 && column < maskWidth_ && row >= 0.0 && row < maskHeight_)) return false;
  return MaskAt(static_cast<std::int32_t>(column), static_cast<std::int32_t>(row)) == kMaskPupil;
}

bool clsAnalysis::EvalAberrations(const ZernikeVector& ZCoeff, std::int32_t xpts, std::int32_t ypts,
                                  double& RMS, double& Strehl, double& PV) const {
  if (xpts < 2 || ypts < 2 || !CanEvaluate()) return false;
  const SampleAxis xAxis = MakeSampleAxis(xpts, xScale, xCenter, maskWidth_);
  const SampleAxis yAxis = MakeSampleAxis(ypts, yScale, yCenter, maskHeight_);
  MapRowEvaluator row(xAxis, ZCoeff);
  std::int64_t n = 0;
  double sum = 0.0, sumSquares = 0.0, maximum = -1E+308, minimum = 1E+308;
  for (std::int32_t j = 0; j < ypts; ++j) {
    if (yAxis.pixel[j] < 0) continue;
    const std::size_t count = row.Evaluate(MaskRow(yAxis.pixel[j]), yAxis.coordinate[j]);
    for (std::size_t k = 0; k < count; ++k) {
      const double w = row.Value(k);
      ++n;
      sum += w;
      sumSquares += w * w;
      if (w > maximum) maximum = w;
      if (w < minimum) minimum = w;
    }
  }
  if (n == 0) return false;
  // Sample standard deviation; one sample has no spread.
  double variance = n > 1 ? (sumSquares - (sum / n) * sum) / (n - 1) : 0.0;
  if (variance < 0.0) variance = 0.0;
  RMS = std::sqrt(variance);
  Strehl = std::exp(-(kFourPiSquared * RMS * RMS));
  PV = maximum - minimum;
  return true;
}

void clsAnalysis::EvalSurface(const ZernikeVector& ZCoeff, std::int32_t xpts, std::int32_t ypts,
                              std::span<double> Surface, bool CalcOrig) const {
  if (xpts < 2 || ypts < 2 || !CanEvaluate()) return;
  if (Surface.size() < static_cast<std::size_t>(xpts) * static_cast<std::size_t>(ypts)) return;
  const SampleAxis xAxis = MakeSampleAxis(xpts, xScale, xCenter, maskWidth_);
  const SampleAxis yAxis = MakeSampleAxis(ypts, yScale, yCenter, maskHeight_);
  MapRowEvaluator row(xAxis, ZCoeff);
  for (std::int32_t j = 0; j < ypts; ++j) {
    double* out = Surface.data() + static_cast<std::size_t>(j) * static_cast<std::size_t>(xpts);
    std::fill(out, out + xpts, kBlankValue);
    if (yAxis.pixel[j] < 0) continue;
    const std::size_t count = row.Evaluate(MaskRow(yAxis.pixel[j]), yAxis.coordinate[j]);
    for (std::size_t k = 0; k < count; ++k) {
      const double w = row.Value(k);
      out[row.Column(k)] = CalcOrig ? 1.0 - std::cos(kTwoPi * w) : w;
    }
  }
}

void clsAnalysis::EvalProfile(const ZernikeVector& ZCoeff, double theta, std::int32_t pts,
                              std::span<double> xData, std::span<double> yData) const {
  if (pts < 2 || !CanEvaluate()) return;
  if (xData.size() < static_cast<std::size_t>(pts) || yData.size() < static_cast<std::size_t>(pts))
    return;
  const double half = (pts - 1) / 2.0;
  const double cosTheta = std::cos(theta);
  const double sinTheta = std::sin(theta);
  for (std::int32_t k = 0; k < pts; ++k) {
    const double r = SampleCoordinate(k, half);
    const double u = r * cosTheta;
    const double v = r * sinTheta;
    xData[k] = r;
    yData[k] = SampleHasData(u, v) ? EvalZernike(u, v, ZCoeff) : kBlankValue;
  }
}

}  // namespace orvale
