#pragma once
// Printing the text views' reports into a rectangle of a device context (a report pane
// on a printer page): the aberrations with the lines the report settings choose, the
// Zernike coefficients by polynomial order, wrapped to the width, and the grid results
// in as many columns as fit.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/analysis/ZernikeTerms.h"
#include "app/plots/ResultViewModels.h"
#include "platform/gdi/DeviceContext.h"

namespace orvale {

class clsDocument;
class clsGrid;

struct PrintLine {
  std::string Text;
  bool Printed = false;  // an unprinted line takes no room either
};

// The lines of a printed report, line 1 first, and the tab stops in average character
// widths.
struct TextPrintLayout {
  std::vector<PrintLine> Lines;
  std::vector<std::int32_t> TabStops;
};

// The aberrations report's text cut at its CR LF pairs, each line printed by the report
// setting of its row, then a "Description", "Date Tested", "Operator" and "Comments"
// line for each user-data item that is not empty, printed by that item's own setting.
// Line breaks inside an item print as blanks.
TextPrintLayout AberrationsPrintLayout(std::string_view text, const clsDocument& doc);

// "Zernike Polynomials" and the coefficients grouped by order, in 19 lines.
TextPrintLayout ZernikesPrintLayout(const ZernikeVector& Zernikes);

// The grid report laid out for the rectangle in a font of `lineHeight` and
// `averageCharWidth` (both at least 1): title, limits, statistics, then one column
// header and the cells down as many columns as the width holds (at least one; what
// does not fit is clipped). No cell rows when the height holds no more than the
// header lines.
TextPrintLayout GridPrintLayout(const clsGrid& grid, std::int32_t lineHeight,
                                std::int32_t averageCharWidth, std::int32_t left,
                                std::int32_t top, std::int32_t right, std::int32_t bottom);

// Prints `txt` from (X, Y), breaking it at the last blank that fits `width` (inside a
// word that does not fit at all); a continued piece that starts with a digit gets a
// blank in front. Y grows by `dy` for every printed line, so an empty text advances
// one line. Every line uses up at least one character, so any width ends.
void WrapText(gdi::DeviceContext& dc, std::int32_t X, std::int32_t& Y, std::int32_t dy,
              std::int32_t width, std::string_view txt);

// Prints the report of a text view (FormType 7, 8 or 9) inside the rectangle (inclusive
// edges, device units) in the document's printer text style, clipped to it. Nothing is
// printed when the font gives no usable metrics; `dc` is left as it was in every case.
void PrintTextBox(const TextViewModel& view, const clsDocument& doc, gdi::DeviceContext& dc,
                  std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);

}  // namespace orvale
