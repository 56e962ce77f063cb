// The members that prepare the wrapped document (outlines, grid, aspect ratio), trace
// and analyse it, and read its results.
#include <cmath>
#include <limits>
#include <vector>

#include "app/automation/AutomationArguments.h"
#include "app/automation/AutomationCall.h"
#include "app/automation/OrvaleDoc.h"
#include "app/automation/OrvaleDocTypes.h"
#include "app/dialogs/GridAnalysisApply.h"
#include "app/document/ActivateDocument.h"
#include "app/document/MainFrame.h"
#include "app/document/clsDocument.h"

namespace orvale {

namespace {

constexpr std::int32_t kMaxGridCellsPerSide = 25;
constexpr double kMinGridCellPixels = 5.0;

// The source the grid's argument errors have always carried.
constexpr std::string_view kGridArgumentSource = "Orvaledoc";

constexpr const char* kInvalidDirection = "Invalid trace direction parameter.";
constexpr const char* kInvalidDensity = "Invalid trace density parameter passed to AutoTrace.";
constexpr const char* kInvalidPointsArray = "Invalid points array passed to SetShape().";

[[noreturn]] void RaiseGridError(const char* text) {
  RaiseOrvaleDocError(ErrorInvalidParameter, text, kGridArgumentSource);
}

// Why a laid-out grid cannot be used, or null.
const char* GridLayoutRefusal(const clsGrid& grid) {
  if (grid.CellCountX <= 0) return "Grid definitions must contain at least one full column of cells.";
  if (grid.CellCountY <= 0) return "Grid definitions must contain at least one full row of cells.";
  if (grid.CellCountX > kMaxGridCellsPerSide) return "Grids must be 25 or fewer cells wide.";
  if (grid.CellCountY > kMaxGridCellsPerSide) return "Grids must be 25 or fewer cells high.";
  if (grid.PixelSizeX / grid.CellCountX < kMinGridCellPixels)
    return "Grid cells must be at least five pixels wide.";
  if (grid.PixelSizeY / grid.CellCountY < kMinGridCellPixels)
    return "Grid cells must be at least five pixels high.";
  return nullptr;
}

// The clicked-point buffers of clsShape::Save (element 0 unused) from x1, y1, ..., xn, yn.
struct PointBuffers {
  explicit PointBuffers(const std::vector<double>& values)
      : x(values.size() / 2 + 1), y(values.size() / 2 + 1) {
    for (std::size_t i = 0; i + 1 < values.size(); i += 2) {
      x[i / 2 + 1] = values[i];
      y[i / 2 + 1] = values[i + 1];
    }
  }
  std::vector<double> x;
  std::vector<double> y;
};

}  // namespace

double OrvaleDoc::Aberration(const AutoValue& AberrationType) {
  const clsDocument& doc =
      RequireDocument("Can't read aberrations until an interferogram has been loaded.");
  const std::optional<std::int32_t> type = AberrationCode(AberrationType);
  if (!type) RaiseOrvaleDocError(ErrorInvalidAberration, "Invalid aberration type parameter.");
  switch (*type) {
    case AberrationRMS:
      return doc.RMS * doc.DisplayScale;
    case AberrationPV:
      return doc.PV * doc.DisplayScale;
    case AberrationStrehl:
      return doc.Strehl;
    case AberrationTiltAngle:
    case AberrationAstigmatismAngle:
    case AberrationComaAngle:
      return doc.Kingslake(*type + 1);  // degrees
    default:
      return doc.Kingslake(*type + 1) * doc.DisplayScale;
  }
}

bool OrvaleDoc::Analyze() {
  clsDocument* doc = &RequireDocument("Can't perform analysis until an interferogram has been loaded.");
  if (doc->Aperture.GetShapeType() == clsShape::kNone)
    RaiseOrvaleDocError(ErrorNoAperture, "Can't perform analysis until an aperture is defined.");
  if (doc->Fringes.TotalNumTicks() == 0) {
    RaiseOrvaleDocError(ErrorNoFringeCenters,
                        "Can't perform analysis until fringe centers have been traced.");
  }
  // Apply works on the active document: make this one active as a user's click on its
  // image view would.
  ActivateDocument(context_.Frame, *doc);
  context_.Frame.BringViewToFront(*doc, viewtype::kImage);
  if (context_.Documents.ActiveDocIndex != doc->ovDocIndex) {
    LogAutomation("Analyze: the document could not be made the active one.");
    return false;
  }
  const ApplyOutcome outcome = context_.Options.Apply();
  doc = Document();
  if (doc == nullptr || outcome != ApplyOutcome::Analysed || !doc->AnalysisValid) return false;
  if (doc->Grid.IsDefined(clsGrid::kPhysicalSizes | clsGrid::kPixelRectangle))
    ApplyGridAnalysis(context_.Documents, context_.Frame);
  return true;
}

bool OrvaleDoc::AutoTrace(const AutoValue& Direction, const AutoValue& TraceDensity) {
  clsDocument& doc = RequireDocument("Can't trace fringes until an interferogram has been loaded.");
  std::optional<std::int32_t> density;
  if (const std::string* text = TextValue(TraceDensity)) {
    density = ParseTraceDensity(*text);
    if (!density) RaiseOrvaleDocError(ErrorInvalidFringeDensity, kInvalidDensity);
  } else if (!IsMissing(TraceDensity)) {
    density = WholeNumberIn(TraceDensity, SuperFine, Coarse);
    if (!density) RaiseOrvaleDocError(ErrorInvalidFringeDensity, kInvalidDensity);
  }

  std::optional<double> direction;
  if (const std::string* text = TextValue(Direction)) {
    const std::optional<std::int32_t> keyword = ParseTraceDirection(*text);
    if (!keyword) RaiseOrvaleDocError(ErrorInvalidTraceDirection, kInvalidDirection);
    direction = *keyword;
  } else {
    direction = NumericValue(Direction);
    if (!direction) RaiseOrvaleDocError(ErrorInvalidTraceDirection, kInvalidDirection);
  }
  if (doc.Aperture.GetShapeType() == clsShape::kNone)
    RaiseOrvaleDocError(ErrorNoAperture, "Can't trace fringe centers until an aperture is defined.");
  if (*direction != static_cast<double>(TraceHorizontal) &&
      *direction != static_cast<double>(TraceVertical))
    RaiseOrvaleDocError(ErrorInvalidTraceDirection, kInvalidDirection);
  return doc.AutoTraceFringes(static_cast<std::int32_t>(*direction), density);
}

FringeCenterPoint OrvaleDoc::FringeCenter(const AutoValue& Order, const AutoValue& Fringe) {
  const clsDocument& doc =
      RequireDocument("Can't read fringe centers until an interferogram has been loaded.");
  // Any order the document has, wherever its fringe is stored.
  const std::optional<std::int32_t> order = WholeNumberIn(Order, std::numeric_limits<std::int32_t>::min(),
                                                          std::numeric_limits<std::int32_t>::max());
  std::int32_t index = kNoOrder;
  if (order) index = doc.Fringes.GetFringeIndex(*order);
  if (index == kNoOrder) RaiseOrvaleDocError(ErrorInvalidFringeOrder, "Invalid fringe order.");
  std::int32_t record = index;
  const std::int32_t ticks = doc.Fringes.GetNumTicks(kNoOrder, record);
  const std::optional<std::int32_t> tick = WholeNumberIn(Fringe, 1, ticks);
  if (!tick) RaiseOrvaleDocError(ErrorInvalidFringeIndex, "Invalid fringe index.");
  FringeCenterPoint point;
  doc.Fringes.GetCenter(kNoOrder, *tick, point.X, point.Y, record);
  return point;
}

GridCellResult OrvaleDoc::GridCell(const AutoValue& X, const AutoValue& Y) {
  const clsDocument& doc =
      RequireDocument("Can't read grid analysis results until an interferogram has been loaded.");
  const clsGrid& grid = doc.Grid;
  if (!grid.IsDefined(clsGrid::kResults)) {
    RaiseOrvaleDocError(ErrorNoGridAnalysisResults, "No grid analysis results available to return.");
  }
  const auto coordinate = [](const AutoValue& value, std::int32_t count, const char* notWhole,
                             const char* outside) {
    const std::optional<double> number = WholeNumberValue(value);
    if (!number) RaiseOrvaleDocError(ErrorInvalidIndex, notWhole);
    if (*number < 0 || *number >= count) RaiseOrvaleDocError(ErrorInvalidBounds, outside);
    return static_cast<std::int32_t>(*number);
  };
  const std::int32_t x = coordinate(X, grid.CellCountX,
                                    "Cell coordinate X-components must be specified using integers.",
                                    "X coordinate outside of bounds for this grid.");
  const std::int32_t y = coordinate(Y, grid.CellCountY,
                                    "Cell coordinate Y-components must be specified using integers.",
                                    "Y coordinate outside of bounds for this grid.");
  GridCellResult result;
  std::int32_t usable = 0;
  grid.GetCellMeasurements(x, y, result.RMS, result.PV, usable);
  return result;
}

bool OrvaleDoc::SetAperture(const AutoValue& ShapeType, const AutoValue& Points) {
  clsDocument& doc = RequireDocument("Can't define an aperture until an interferogram has been loaded.");
  return SetShape(doc, doc.Aperture, ShapeType, Points);
}

bool OrvaleDoc::SetObstruction(const AutoValue& ShapeType, const AutoValue& Points) {
  clsDocument& doc =
      RequireDocument("Can't define an obstruction until an interferogram has been loaded.");
  return SetShape(doc, doc.Obstruction, ShapeType, Points);
}

bool OrvaleDoc::SetShape(clsDocument& doc, clsShape& target, const AutoValue& ShapeType,
                         const AutoValue& Points) {
  const NumberList* points = ListValue(Points);
  if (points == nullptr) RaiseOrvaleDocError(ErrorInvalidType, "Control points must be specified using an array.");
  std::optional<std::int32_t> type;
  if (const std::string* text = TextValue(ShapeType)) type = ParseShapeType(*text);
  if (!type) type = WholeNumberIn(ShapeType, ShapeCircle, ShapePolygon);
  if (!type) RaiseOrvaleDocError(ErrorInvalidShape, "Invalid shape type parameter.");

  // The list is the points' x1, y1, x2, y2, ...: its length is the count of values.
  const std::size_t values = points->Values.size();
  std::int32_t drawingType = clsShape::kNone;
  std::size_t count = 0;
  switch (*type) {
    case ShapeCircle:
      if (values < 8) RaiseOrvaleDocError(ErrorInvalidPoints, "A circle is defined by four points.");
      drawingType = clsShape::kCircle;
      count = 4;
      break;
    case ShapeEllipse:
      if (values < 6) RaiseOrvaleDocError(ErrorInvalidPoints, "An ellipse is defined by three points.");
      drawingType = clsShape::kEllipse;
      count = 3;
      break;
    default:
      if (values % 2 != 0) RaiseOrvaleDocError(ErrorInvalidPoints, kInvalidPointsArray);
      count = values / 2;
      if (count < 3 || count > static_cast<std::size_t>(clsShape::kMaxVertices))
        RaiseOrvaleDocError(ErrorInvalidPoints, "A polygon is defined by 3 to 50 points.");
      drawingType = clsShape::kPolygon;
      break;
  }
  const std::vector<double> used(points->Values.begin(),
                                 points->Values.begin() + static_cast<std::ptrdiff_t>(2 * count));
  if (!points->AllNumbers) RaiseOrvaleDocError(ErrorInvalidPoints, kInvalidPointsArray);
  for (double value : used)
    if (!std::isfinite(value)) RaiseOrvaleDocError(ErrorInvalidPoints, kInvalidPointsArray);

  // Points that define no shape leave the outline there is as it was.
  clsShape made = target;
  const PointBuffers buffers(used);
  if (made.Save(drawingType, static_cast<std::int32_t>(count), buffers.x, buffers.y) !=
      ShapeSaveResult::Saved) {
    RaiseOrvaleDocError(ErrorInvalidPoints, kInvalidPointsArray);
  }
  target.Copy(made);
  doc.ImageView_Refresh();
  doc.InvalidateMask();
  return true;
}

bool OrvaleDoc::SetGrid(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2,
                        std::int32_t width, std::int32_t CellWidth, std::int32_t CellHeight) {
  clsDocument& doc = RequireDocument("Can't define the a grid until an interferogram has been loaded.");
  if (width <= 0) RaiseGridError("The physical width of a grid must be greater than zero.");
  if (CellWidth <= 0) RaiseGridError("The physical width of a cell must be greater than zero.");
  if (CellHeight <= 0) RaiseGridError("The physical height of a cell must be greater than zero.");
  if (X1 < 0 || Y1 < 0 || X2 < 0 || Y2 < 0)
    RaiseGridError("All grid coordinate components must be greater than zero.");
  if (std::abs(static_cast<double>(X1) - X2) < 1)
    RaiseGridError("The pixel width of a grid must be greater than zero.");
  if (std::abs(static_cast<double>(Y1) - Y2) < 1)
    RaiseGridError("The pixel height of a grid must be greater than zero.");

  // Laid out on a copy, so that a refused layout leaves the user's grid as it was.
  clsGrid grid = doc.Grid;
  grid.GridPhysicalWidth = width;
  grid.CellPhysicalWidth = CellWidth;
  grid.CellPhysicalHeight = CellHeight;
  grid.SetBounds(X1, Y1, X2, Y2);
  if (const char* refusal = GridLayoutRefusal(grid)) RaiseOrvaleDocError(ErrorInvalidParameter, refusal);
  // Results of an earlier layout do not describe this one.
  grid.ClearResults();
  doc.Grid = grid;
  doc.DocDirty = true;
  doc.ImageView_Refresh();
  return true;
}

bool OrvaleDoc::Stretch(const AutoValue& Ratio) {
  clsDocument& doc = RequireDocument("Can't stretch until an interferogram has been loaded.");
  const std::optional<double> ratio = NumericValue(Ratio);
  if (!ratio) RaiseOrvaleDocError(ErrorInvalidNumber, "A stretch ratio must be numeric.");
  if (*ratio <= 0) RaiseOrvaleDocError(ErrorInvalidNumber, "A stretch ratio must greater than zero.");
  return doc.StretchImage(*ratio, true);
}

double OrvaleDoc::Zernike(const AutoValue& Polynomial) {
  const clsDocument& doc =
      RequireDocument("Can't read Zernike coefficients until an interferogram has been loaded.");
  const std::optional<std::int32_t> term = WholeNumberIn(Polynomial, 1, kZernikeTermCount);
  if (!term) {
    RaiseOrvaleDocError(ErrorInvalidNumber,
                        "Zernike polynomial coefficients must be specified using the integers 1-36.");
  }
  return doc.Zernike(*term);
}

}  // namespace orvale
