#pragma once
// What the seven output views of a document show, as plain data that the fillers write
// and the windows render: the three plots with their readiness and view angles, the
// synthetic-fringe picture with its print buffer, and the three text reports with their
// font and tab stops. Nothing here needs a window, so the fillers run and are tested
// without a display.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/document/FontSpec.h"
#include "app/document/ImageWindowSize.h"
#include "app/plots/clsContourPlot.h"
#include "app/plots/clsLineProfile.h"
#include "app/plots/clsSurfacePlot.h"

namespace orvale {

// The window rectangle a chart was last laid out in for the screen: the arguments of
// its CreateChartLimits (inclusive edges), kept so that printing can put it back.
struct ChartWindowRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  friend bool operator==(const ChartWindowRect&, const ChartWindowRect&) = default;
};

struct ContourPlotViewModel {
  clsContourPlot ContourPlot;
  bool PlotReady = false;  // the plot holds data and may be drawn
  std::string Caption;
  std::optional<ChartWindowRect> WindowRect;
};

struct SurfacePlotViewModel {
  clsSurfacePlot SurfacePlot;
  bool PlotReady = false;
  std::string Caption;
  // View point: distance (0, parallel projection), azimuth and elevation in degrees.
  double ViewR = 0;
  double ViewTheta = 0;
  double ViewPhi = 0;
  std::int32_t WindowMargin = 10;  // pixels between the client edge and the chart
  bool PolygonsStale = false;      // the next paint rebuilds the projected cells
  std::optional<ChartWindowRect> WindowRect;
};

struct LineProfileViewModel {
  clsLineProfile LinePlot;
  bool PlotReady = false;
  std::string Caption;
  std::int32_t ViewAngle = 0;  // profile angle, whole degrees
  std::optional<ChartWindowRect> WindowRect;
};

struct SFringeViewModel {
  bool ImageReady = false;  // a picture is loaded and may be painted and printed
  std::int32_t ZoomFactor = 200;  // percent
  std::string Caption;
  // The picture: XSize x YSize bytes, rows from the top.
  std::vector<std::uint8_t> Picture;
  std::int32_t XSize = 0;
  std::int32_t YSize = 0;
  // The same picture as a packed 8-bit grey DIB (header, table, rows bottom-up);
  // empty when it could not be built.
  std::vector<std::uint8_t> PrintBuffer;
  std::int32_t PrintWidth = 0;
  std::int32_t PrintHeight = 0;
};

struct TextViewModel {
  std::int32_t FormType = 0;  // 7 aberrations, 8 Zernikes, 9 grid results
  std::string Caption;
  std::string Text;  // lines joined by CR LF, columns by tabs
  FontSpec Font;     // the document's screen text style; the orientation is not used
  std::vector<std::int32_t> TabStops;  // dialog template units
};

// What the fillers ask of the windows that show the models. The windows implement it;
// without windows the models are filled all the same.
class ResultViewWindows {
 public:
  virtual ~ResultViewWindows() = default;
  // A view was filled: lay it out for its client size and redraw it.
  virtual void ResizeWindow(std::int32_t /*formType*/) {}
  // The synthetic-fringe view received its first picture: the outer size that shows
  // it at the view's zoom. A minimised or maximised window ignores it.
  virtual void SizeWindowToImage(std::int32_t /*formType*/, WindowSize /*outer*/) {}
  // The view cannot show its data (it ran out of memory).
  virtual void HideWindow(std::int32_t /*formType*/) {}
  // A text view's text, font or tab stops changed.
  virtual void UpdateTextBox(std::int32_t /*formType*/) {}
};

// The seven output views of one document.
struct ResultViewModels {
  // The start angles of new views (whole degrees); the surface chart takes its view
  // point as the window does when it loads.
  ResultViewModels(std::int32_t surfaceTheta, std::int32_t surfacePhi, std::int32_t lineAngle);

  SurfacePlotViewModel Surface;
  ContourPlotViewModel Contour;
  LineProfileViewModel Line;
  SFringeViewModel SFringe;
  TextViewModel Aberrations;
  TextViewModel Zernikes;
  TextViewModel GridResults;
  ResultViewWindows* Windows = nullptr;  // not owned

  // The text model of view code 7, 8 or 9; nullptr for any other code.
  TextViewModel* Text(std::int32_t formType);
  // The windows, or a stand-in that does nothing.
  ResultViewWindows& Shown();
};

}  // namespace orvale
