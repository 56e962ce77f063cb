#pragma once
// PENDING ENGINE CALLS: the document's only calls into the pupil-mask builder
// (UpdateApertureMask, UpdateObstructionMask, SetScalefactors, TrimMask), the grid
// evaluation (EvalGrid) and the automatic tracer (AutoTrace) of clsAnalysis. Those
// members are still being built; until they are in, PendingEngineCalls.cpp holds a
// plain stand-in (circle and ellipse apertures, no trimming, no grid, no tracing).
// Replace the bodies there by the engine calls, nothing else changes.
#include <cstdint>
#include <span>

#include "app/analysis/ZernikeTerms.h"

namespace orvale {

class clsAnalysis;
class clsFringes;
class clsGrid;
class clsShape;

// Writes the aperture (1) and then the obstruction (2) into the cleared or new mask
// and sets the pupil scale from the aperture.
void ApplyShapesToMask(clsAnalysis& analysis, clsShape& aperture, const clsShape& obstruction,
                       bool doubleSize);
void TrimPupilMask(clsAnalysis& analysis);
void EvaluateGrid(const clsAnalysis& analysis, const ZernikeVector& coefficients, clsGrid& grid);
// Replaces the fringe store's contents with the traced fringes.
void TraceFringes(clsAnalysis& analysis, clsFringes& fringes, std::span<const std::uint8_t> image,
                  std::int32_t width, std::int32_t height, std::int32_t direction,
                  std::int32_t density);

}  // namespace orvale
