#pragma once
// The two export files of a document: the wavefront map as ".csv" and the Zernike
// coefficients as ".zrn".
#include <span>
#include <string>

namespace orvale {

// The map of GetSurfaceMap: 100 rows of 100 points, row j column i at j x 100 + i.
inline constexpr int kSurfaceMapSide = 100;
inline constexpr int kSurfaceMapPoints = kSurfaceMapSide * kSurfaceMapSide;

// The ".csv" text: 100 lines of 100 values joined by single commas, each line ended by
// CR LF; a blank point is written as 0, every other value in the general number form
// with "." as the decimal point. `map` holds kSurfaceMapPoints values.
std::string SurfaceMapCsvText(std::span<const double> map);

// The ".zrn" text: coefficients 1..36 of `zernikes` (element 0 unused), one per line
// in the general number form with "." as the decimal point, each line ended by CR LF.
std::string ZernikeListText(std::span<const double, 37> zernikes);

}  // namespace orvale
