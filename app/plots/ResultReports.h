#pragma once
// The three text reports of a document's output views: the primary aberrations, the
// Zernike coefficients and the grid results. Each is one text, lines joined by CR LF
// and columns by tabs, with the tab stops (dialog template units) that line it up.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/analysis/ZernikeTerms.h"

namespace orvale {

class clsDocument;
class clsGrid;

// The output unit of a ScaleMode: 0 "Waves", 1 "Micrometers", 2 "Microinches"; any
// other value has no unit word.
std::string_view OutputUnitWord(std::int32_t ScaleMode);

// "Output Units", RMS, peak-valley, Strehl ratio, the five aberrations with the angles
// of tilt, astigmatism and coma, scale, wavelength and the data points, in 14 lines.
// `WNotation` is the document's aberration vector.
std::string AberrationsReport(const clsDocument& doc, const AberrationVector& WNotation);
inline const std::vector<std::int32_t> kAberrationsTabStops = {60, 96};

// The 36 coefficients in two columns of 18 lines.
std::string ZernikesReport(const ZernikeVector& Zernikes);
inline const std::vector<std::int32_t> kZernikesTabStops = {16, 68, 84};

// The limits, then with results the statistics and one line per cell.
std::string GridResultsReport(const clsGrid& grid);
// Three stops in dialog units (a quarter character each), ten characters apart: the
// first one character past the widest cell name "(x, y) ", so that every cell's RMS
// reaches the same stop as the heading " RMS" above it.
std::vector<std::int32_t> GridResultsTabStops(const clsGrid& grid);

// What the grid reports print of a cell: its RMS and P-V with kGridValuePattern and its
// status word ("N/A", "PASS", "FAIL"; empty for an unknown status).
inline constexpr std::string_view kGridValuePattern = " 0.0000;-0.0000";
inline constexpr std::string_view kGridStatisticsPattern = "###0.00";
std::string_view CellStatusWord(std::int32_t status);
// The number of characters of `n` written in decimal ("-1" has two).
std::int32_t DecimalWidth(std::int32_t n);

}  // namespace orvale
