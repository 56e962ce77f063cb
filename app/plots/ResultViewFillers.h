#pragma once
// Filling a document's seven output views after an analysis run: captions, ranges,
// titles, unit words and scale limits of the plots, the maps and the profile, the
// synthetic-fringe picture and the three text reports. Every filler does nothing
// while the document has no output views (OutputViewsExist False); the analysis
// results stay in the document all the same.
#include <cstdint>
#include <span>

#include "app/document/DocumentViews.h"
#include "app/plots/ResultViewModels.h"

namespace orvale {

class clsDocument;

// The smallest automatic z step of the plots: 0.5 with LimitDisplayScale, else 0.05;
// outside waves (ScaleMode not 0) times DisplayScale, cut to one significant digit.
double PlotScaleLimit(const clsDocument& doc);

// All seven views from one run, in the order Zernikes, aberrations, grid results,
// synthetic fringes, contour, surface, line profile; then the document's zmin and zmax
// become the contour plot's z range when that plot is ready.
void OutputViews_LoadData(ResultViewModels& views, clsDocument& doc, const AnalysisViewData& data);

// Maps are xpts x ypts values, row-major, kBlankValue where there is no data; the
// surface map and the profile values are in output units already.
void LoadDataIntoSurfacePlot(ResultViewModels& views, const clsDocument& doc, std::int32_t xpts,
                             std::int32_t ypts, std::span<const double> SurfaceData);
void LoadDataIntoContourPlot(ResultViewModels& views, const clsDocument& doc, std::int32_t xpts,
                             std::int32_t ypts, std::span<const double> SurfaceData);
// Keeps the new trace's id in the document's ProfileTraceid.
void LoadDataIntoLineProfile(ResultViewModels& views, clsDocument& doc, std::int32_t pts,
                             std::span<const double> LineXData, std::span<const double> LineYData);
// The unscaled synthetic-interferogram map as an 8-bit picture; nothing at all (not
// even the caption) unless both sizes are above 0.
void LoadDataIntoSFringe(ResultViewModels& views, const clsDocument& doc, std::int32_t xpts,
                         std::int32_t ypts, std::span<const double> SurfaceData);
void LoadDataIntoAberrations(ResultViewModels& views, const clsDocument& doc);
void LoadDataIntoZernikes(ResultViewModels& views, const clsDocument& doc);
void LoadDataIntoGridResults(ResultViewModels& views, const clsDocument& doc);

// The profile re-evaluated at the line view's angle (ProfileSize positions and values,
// in output units) into the existing trace, with the range and title that go with it.
// Redrawing is left to the caller.
void RefreshLineProfile(ResultViewModels& views, const clsDocument& doc,
                        std::span<const double> positions, std::span<const double> values);

}  // namespace orvale
