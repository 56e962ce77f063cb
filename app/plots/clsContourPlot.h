#pragma once
// The wavefront map as a contour map: coloured iso-lines of a regular mesh drawn into
// the plot rectangle of a 2-D chart frame, clipped to the aperture outline with the
// obstruction cut out. It draws through whatever DeviceContext its caller hands it.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "app/analysis/clsShape.h"
#include "app/plots/ChartAxis.h"
#include "app/plots/Conrec.h"
#include "app/plots/clsChart2D.h"
#include "platform/gdi/DeviceContext.h"

namespace orvale {

// The mapping of image pixels onto the unit pupil (the analysis object's public scale).
struct PupilScale {
  double xCenter = 0;
  double yCenter = 0;
  double xScale = 0;
  double yScale = 0;
};

// A clip outline in mesh coordinates: the shape type and up to 50 points.
struct ClipOutline {
  static constexpr std::int32_t kMaxPoints = 50;
  std::int32_t ShapeType = 0;
  std::int32_t Count = 0;
  std::array<MeshPoint, kMaxPoints> Points{};
};

class clsContourPlot {
 public:
  clsContourPlot();

  // Bounding boxes of a circle aperture and a circle obstruction in mesh coordinates.
  double apclipminx = 0;
  double apclipmaxx = 0;
  double apclipminy = 0;
  double apclipmaxy = 0;
  double obclipminx = 0;
  double obclipmaxx = 0;
  double obclipminy = 0;
  double obclipmaxy = 0;
  double ScaleLimit = 1E+308;  // smallest step for RoundAxisLimits when z is scaled
  std::int32_t PenStyle = 0;   // GDI pen style of the contour pens
  std::int32_t PenWidth = 0;   // 0 = one pixel
  clsChart2D Chart;

  void GetZAxisMinMax(double& Min, double& Max) const;
  // Stores the z range; the levels are not recomputed.
  void SetZAxisMinMax(double Min, double Max);

  // Outlines from the shapes, in mesh coordinates (the unit circle is the pupil). A
  // polygon's outline is its convex hull, the area the pupil mask fills.
  void SetApertureClippingRegion(const clsShape& pShape, const PupilScale& pAnalysis);
  void SetObstructionClippingRegion(const clsShape& pShape, const PupilScale& pAnalysis);
  // The same with the analysis object itself (anything with the public pupil scale).
  template <class Analysis>
    requires requires(const Analysis& a) { a.xCenter; a.yCenter; a.xScale; a.yScale; }
  void SetApertureClippingRegion(const clsShape& pShape, const Analysis& pAnalysis) {
    SetApertureClippingRegion(pShape, PupilScale{pAnalysis.xCenter, pAnalysis.yCenter,
                                                 pAnalysis.xScale, pAnalysis.yScale});
  }
  template <class Analysis>
    requires requires(const Analysis& a) { a.xCenter; a.yCenter; a.xScale; a.yScale; }
  void SetObstructionClippingRegion(const clsShape& pShape, const Analysis& pAnalysis) {
    SetObstructionClippingRegion(pShape, PupilScale{pAnalysis.xCenter, pAnalysis.yCenter,
                                                    pAnalysis.xScale, pAnalysis.yScale});
  }

  // Copies the mesh (row 0 is the top row of the map). Without UseXandYData the x and y
  // coordinates run from -1 to 1 over the mesh, y upward. False, with a message, when
  // the mesh is smaller than 2 x 2, the arrays hold fewer values than it needs, or it
  // cannot be stored; the previous mesh then stays.
  bool CreateMesh(std::span<const double> X, std::span<const double> Y, std::span<const double> z,
                  std::int32_t XSize, std::int32_t YSize, bool UseXandYData);
  // The chart frame, then the contours.
  void PlotRedraw(gdi::DeviceContext& hDC);
  void DrawContour(gdi::DeviceContext& hDC);
  std::int32_t GetNumberofContours() const { return static_cast<std::int32_t>(Levels.size()); }
  // Sizes the level table (levels cleared); False for n < 1.
  bool SetNumberofContours(std::int32_t n);
  // Spreads the levels evenly from ZMin up to (not including) ZMax.
  bool CalculateContours();
  // Scales axis 0 (x), 1 (y) or 2 (z) to the mesh; True when its Min or Max changed.
  bool AutoScale(std::int32_t axisid);

  const ChartAxis& ZAxis() const { return ZAxis_; }
  std::span<const double> ContourLevels() const { return Levels; }
  const ClipOutline& ApertureOutline() const { return Aperture; }
  const ClipOutline& ObstructionOutline() const { return Obstruction; }
  std::int32_t MeshXSize() const { return XSize_; }
  std::int32_t MeshYSize() const { return YSize_; }

 private:
  void SetOutline(ClipOutline& outline, const clsShape& shape, const PupilScale& scale);

  std::int32_t XSize_ = 0;
  std::int32_t YSize_ = 0;
  bool UseXandYData_ = false;
  std::vector<double> X_;
  std::vector<double> Y_;
  std::vector<double> Z_;
  ChartAxis ZAxis_;
  ClipOutline Aperture;
  ClipOutline Obstruction;
  std::vector<double> Levels;
};

}  // namespace orvale
