// Outlines, grid, tracing, analysis and results through an automation object.
#include <gtest/gtest.h>

#include <limits>

#include "AutomationTestSupport.h"
#include "app/automation/OrvaleDocTypes.h"
#include "app/dialogs/AnalyzeControls.h"
#include "tests/app/analysis/TraceTestSupport.h"

namespace orvale::testing {
namespace {

using Strings = std::vector<std::string>;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

using OrvaleDocAnalysisTest = AutomationTest;

// A script's whole road on a synthetic interferogram: its results are the document's
// own, in the units the options chose.
TEST_F(OrvaleDocAnalysisTest, AScriptReadsTheDocumentsOwnResultsInTheChosenUnits) {
  options_.Edit([](AnalyzeControls& c) { c.DisplayUnits = displayunits::kMicrometers; });
  ASSERT_TRUE(object_.Load(InterferogramFile("fringes.bmp", analysis_test::TracedWavefront(4.0))));
  const double centre = (256 - 1) / 2.0;
  ASSERT_TRUE(object_.SetAperture(Text("Circle"), CircleThrough(centre, centre, 0.47 * 256)));
  ASSERT_TRUE(object_.AutoTrace(Text("v"), Missing()));
  ASSERT_TRUE(object_.Analyze());

  const clsDocument& doc = Doc();
  ASSERT_TRUE(doc.AnalysisValid);
  ASSERT_NE(doc.DisplayScale, 1.0);  // micrometres
  for (std::int32_t type : {0, 2, 3, 5, 7})
    EXPECT_EQ(object_.Aberration(Whole(type)), doc.Kingslake(type + 1) * doc.DisplayScale) << type;
  for (std::int32_t type : {1, 4, 6}) EXPECT_EQ(object_.Aberration(Whole(type)), doc.Kingslake(type + 1));
  EXPECT_EQ(object_.Aberration(Whole(8)), doc.RMS * doc.DisplayScale);
  EXPECT_EQ(object_.Aberration(Whole(9)), doc.PV * doc.DisplayScale);
  EXPECT_EQ(object_.Aberration(Whole(10)), doc.Strehl);
  for (std::int32_t term = 1; term <= 36; ++term) EXPECT_EQ(object_.Zernike(Whole(term)), doc.Zernike(term));
  EXPECT_NE(object_.Zernike(Whole(3)), 0.0);
}

TEST_F(OrvaleDocAnalysisTest, AberrationAndZernikeArgumentsAreCheckedBeforeAnyValueIsRead) {
  AnalysableDocument();
  ASSERT_TRUE(object_.Analyze());
  EXPECT_EQ(object_.Aberration(Text("peak valley")), object_.Aberration(Whole(9)));
  EXPECT_EQ(object_.Aberration(Text("S.A.")), object_.Aberration(Whole(7)));
  EXPECT_EQ(object_.Aberration(Text("Strehl Ratio")), object_.Aberration(Whole(10)));
  EXPECT_EQ(object_.Aberration(Text("2")), object_.Aberration(Whole(2)));
  for (const AutoValue& bad : {Real(2.5), Text("foo"), Flag(true), Whole(11), Numbers({1})}) {
    const RaisedError raised = ErrorOf([&] { object_.Aberration(bad); });
    EXPECT_EQ(raised.code, ErrorInvalidAberration);
    EXPECT_EQ(raised.text, "Invalid aberration type parameter.");
  }

  EXPECT_EQ(object_.Zernike(Text("5")), Doc().Zernike(5));
  EXPECT_EQ(object_.Zernike(Real(36)), Doc().Zernike(36));
  for (const AutoValue& bad : {Whole(0), Whole(37), Real(1.5), Text("x"), Real(1e20), Real(kNaN)}) {
    const RaisedError raised = ErrorOf([&] { object_.Zernike(bad); });
    EXPECT_EQ(raised.code, ErrorInvalidNumber);
    EXPECT_EQ(raised.text, "Zernike polynomial coefficients must be specified using the integers 1-36.");
  }
}

TEST_F(OrvaleDocAnalysisTest, AutoTraceChecksDensityThenDirectionThenTheAperture) {
  ASSERT_TRUE(object_.Load(InterferogramFile("fringes.bmp", analysis_test::TracedWavefront(4.0))));
  struct Case {
    AutoValue direction;
    AutoValue density;
    std::uint32_t code;
  };
  const Case cases[] = {
      {Whole(0), Whole(5), ErrorInvalidFringeDensity},
      {Whole(0), Text("medium"), ErrorInvalidFringeDensity},
      {Whole(0), Real(2.5), ErrorInvalidFringeDensity},
      {Text("x"), Whole(3), ErrorInvalidTraceDirection},
      {Text("1"), Whole(3), ErrorInvalidTraceDirection},
      {Flag(true), Whole(3), ErrorInvalidTraceDirection},
      {Text("v"), Missing(), ErrorNoAperture},
      {Whole(2), Whole(3), ErrorNoAperture},  // the range is looked at after the aperture
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(ErrorOf([&] { object_.AutoTrace(cases[i].direction, cases[i].density); }).code,
              cases[i].code)
        << "case " << i;
  EXPECT_EQ(ErrorOf([&] { object_.AutoTrace(Text("v"), Missing()); }).text,
            "Can't trace fringe centers until an aperture is defined.");

  const double centre = (256 - 1) / 2.0;
  ASSERT_TRUE(object_.SetAperture(Text("circle"), CircleThrough(centre, centre, 0.47 * 256)));
  EXPECT_EQ(ErrorOf([&] { object_.AutoTrace(Whole(2), Text("fine")); }).code, ErrorInvalidTraceDirection);
  // "v" without a density is the document's own vertical trace at the set density.
  ASSERT_TRUE(object_.AutoTrace(Text("v"), Missing()));
  const auto traced = analysis_test::AllFringes(Doc().Fringes);
  ASSERT_TRUE(Doc().AutoTraceFringes(TraceVertical, settings_.AutoTraceDensity));
  EXPECT_EQ(traced, analysis_test::AllFringes(Doc().Fringes));
  EXPECT_TRUE(object_.AutoTrace(Text("Horizontal"), Text("Coarse")));

  // Nothing traced is no success.
  Doc().LoadBlankImage(kNotGivenLong, kNotGivenLong);
  EXPECT_FALSE(object_.AutoTrace(Whole(1), Missing()));
}

TEST_F(OrvaleDocAnalysisTest, ShapesAreTakenOnlyWhenTheirPointsDefineThem) {
  ASSERT_TRUE(object_.Load(Bitmap("pupil.bmp", 200, 200)));
  const std::vector<double> circle = {20, 100, 180, 100, 100, 20, 100, 180};
  const std::vector<double> square = {10, 10, 50, 10, 50, 50, 10, 50};
  struct Case {
    const char* what;
    AutoValue type;
    AutoValue points;
    std::uint32_t code;  // 0: taken
    const char* text;
  };
  const std::vector<double> polygon102(102, 5.0);
  const Case cases[] = {
      {"circle of 8", Text("CIRCLE"), Numbers(circle), 0, ""},
      {"circle of 7", Whole(0), Numbers({20, 100, 180, 100, 100, 20, 100}), ErrorInvalidPoints,
       "A circle is defined by four points."},
      {"ellipse of 6", Text("ellipse"), Numbers({20, 100, 180, 100, 100, 60}), 0, ""},
      {"ellipse of 5", Whole(1), Numbers({20, 100, 180, 100, 100}), ErrorInvalidPoints,
       "An ellipse is defined by three points."},
      {"polygon of 8", Text("Polygon"), Numbers(square), 0, ""},
      {"polygon of 7", Whole(2), Numbers({10, 10, 50, 10, 50, 50, 10}), ErrorInvalidPoints,
       "Invalid points array passed to SetShape()."},
      {"polygon of 0", Whole(2), Numbers({}), ErrorInvalidPoints, "A polygon is defined by 3 to 50 points."},
      {"polygon of 4", Whole(2), Numbers({10, 10, 50, 10}), ErrorInvalidPoints,
       "A polygon is defined by 3 to 50 points."},
      {"polygon of 102", Whole(2), Numbers(polygon102), ErrorInvalidPoints,
       "A polygon is defined by 3 to 50 points."},
      {"no list, bad type", Text("square"), Whole(4), ErrorInvalidType,
       "Control points must be specified using an array."},
      {"bad type", Text("square"), Numbers(circle), ErrorInvalidShape, "Invalid shape type parameter."},
      {"type 3", Whole(3), Numbers(circle), ErrorInvalidShape, "Invalid shape type parameter."},
      {"type 1.5", Real(1.5), Numbers(circle), ErrorInvalidShape, "Invalid shape type parameter."},
      {"Boolean type", Flag(false), Numbers(circle), ErrorInvalidShape, "Invalid shape type parameter."},
      {"same point 4 times", Whole(0), Numbers({50, 50, 50, 50, 50, 50, 50, 50}), ErrorInvalidPoints,
       "Invalid points array passed to SetShape()."},
      {"NaN coordinate", Whole(0), Numbers({20, 100, 180, kNaN, 100, 20, 100, 180}), ErrorInvalidPoints,
       "Invalid points array passed to SetShape()."},
      {"list of texts", Whole(0), Numbers(circle, false), ErrorInvalidPoints,
       "Invalid points array passed to SetShape()."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // A refusal leaves the circle taken first as it was.
    const double before = Doc().Aperture.GetShapeType();
    bool taken = false;
    const RaisedError raised = ErrorOf([&] { taken = object_.SetAperture(c.type, c.points); });
    EXPECT_EQ(raised.code, c.code);
    EXPECT_EQ(raised.text, c.code == 0 ? "" : c.text);
    EXPECT_EQ(taken, c.code == 0);
    if (c.code != 0) {
      EXPECT_EQ(Doc().Aperture.GetShapeType(), before);
    }
  }
  EXPECT_TRUE(object_.SetAperture(Whole(0), Numbers(circle)));
  double x = 0, y = 0;
  Doc().Aperture.GetCenter(x, y);
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 100);
  Doc().AnalysisValid = true;
  EXPECT_TRUE(object_.SetObstruction(Text("circle"), CircleThrough(100, 100, 20)));
  EXPECT_EQ(Doc().Obstruction.GetShapeType(), clsShape::kCircle);
  EXPECT_FALSE(Doc().AnalysisValid);  // the mask is rebuilt for the next analysis
  EXPECT_FALSE(Doc().ZAnalysis.MaskValid);
}

TEST_F(OrvaleDocAnalysisTest, ARefusedGridLeavesTheGridThereWas) {
  clsDocument& doc = AnalysableDocument();
  ASSERT_TRUE(object_.SetGrid(20, 20, 180, 180, 8, 2, 2));  // 4 x 4 cells of 40 pixels
  const clsGrid before = doc.Grid;
  struct Case {
    std::array<std::int32_t, 7> args;
    const char* source;
    const char* text;
  };
  const Case cases[] = {
      {{0, 0, 100, 100, 0, 1, 1}, "Orvaledoc", "The physical width of a grid must be greater than zero."},
      {{0, 0, 100, 100, 5, -1, 1}, "Orvaledoc", "The physical width of a cell must be greater than zero."},
      {{0, 0, 100, 100, 5, 1, 0}, "Orvaledoc", "The physical height of a cell must be greater than zero."},
      {{0, -1, 100, 100, 5, 1, 1}, "Orvaledoc", "All grid coordinate components must be greater than zero."},
      {{7, 0, 7, 100, 5, 1, 1}, "Orvaledoc", "The pixel width of a grid must be greater than zero."},
      {{0, 9, 100, 9, 5, 1, 1}, "Orvaledoc", "The pixel height of a grid must be greater than zero."},
      {{0, 0, 190, 190, 26, 1, 1}, "OrvaleDoc", "Grids must be 25 or fewer cells wide."},
      {{0, 0, 100, 100, 21, 1, 1}, "OrvaleDoc", "Grid cells must be at least five pixels wide."},
      {{0, 0, 100, 100, 2, 3, 1}, "OrvaleDoc", "Grid definitions must contain at least one full column of cells."},
      {{0, 0, 100, 10, 2, 1, 1}, "OrvaleDoc", "Grid definitions must contain at least one full row of cells."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto& a = c.args;
    const RaisedError raised = ErrorOf([&] { object_.SetGrid(a[0], a[1], a[2], a[3], a[4], a[5], a[6]); });
    EXPECT_EQ(raised.code, ErrorInvalidParameter);
    EXPECT_EQ(raised.source, c.source);
    EXPECT_EQ(raised.text, c.text);
    EXPECT_EQ(doc.Grid.UpperLeftX, before.UpperLeftX);
    EXPECT_EQ(doc.Grid.PixelSizeX, before.PixelSizeX);
    EXPECT_EQ(doc.Grid.GridPhysicalWidth, before.GridPhysicalWidth);
    EXPECT_EQ(doc.Grid.CellCountX, before.CellCountX);
  }
}

TEST_F(OrvaleDocAnalysisTest, GridCellsAreReadOnlyFromTheAnalysisOfTheCurrentLayout) {
  clsDocument& doc = AnalysableDocument();
  ASSERT_TRUE(object_.SetGrid(20, 20, 180, 180, 8, 2, 2));
  const auto noResults = [&] { return ErrorOf([&] { object_.GridCell(Whole(0), Whole(0)); }); };
  EXPECT_EQ(noResults().code, ErrorNoGridAnalysisResults);
  EXPECT_EQ(noResults().text, "No grid analysis results available to return.");

  ASSERT_TRUE(object_.Analyze());  // analyses the grid that is laid out, too
  ASSERT_TRUE(doc.Grid.IsDefined(clsGrid::kResults));
  const GridCellResult first = object_.GridCell(Whole(0), Text("0"));
  double rms = 0, pv = 0;
  std::int32_t usable = 0;
  ASSERT_TRUE(doc.Grid.GetCellMeasurements(0, 0, rms, pv, usable));
  EXPECT_EQ(first.RMS, rms);
  EXPECT_EQ(first.PV, pv);
  const GridCellResult last = object_.GridCell(Whole(3), Whole(3));
  ASSERT_TRUE(doc.Grid.GetCellMeasurements(3, 3, rms, pv, usable));
  EXPECT_EQ(last.RMS, rms);

  struct Case {
    AutoValue x;
    AutoValue y;
    std::uint32_t code;
    const char* text;
  };
  const Case cases[] = {
      {Whole(4), Whole(0), ErrorInvalidBounds, "X coordinate outside of bounds for this grid."},
      {Whole(-1), Whole(0), ErrorInvalidBounds, "X coordinate outside of bounds for this grid."},
      {Real(1.5), Whole(0), ErrorInvalidIndex, "Cell coordinate X-components must be specified using integers."},
      {Text("x"), Whole(0), ErrorInvalidIndex, "Cell coordinate X-components must be specified using integers."},
      {Whole(0), Whole(4), ErrorInvalidBounds, "Y coordinate outside of bounds for this grid."},
      {Whole(0), Flag(true), ErrorInvalidIndex, "Cell coordinate Y-components must be specified using integers."},
  };
  for (const Case& c : cases) {
    const RaisedError raised = ErrorOf([&] { object_.GridCell(c.x, c.y); });
    EXPECT_EQ(raised.code, c.code) << c.text;
    EXPECT_EQ(raised.text, c.text);
  }

  // A new layout drops the results of the old one, even with the same cell counts.
  ASSERT_TRUE(object_.SetGrid(30, 30, 190, 190, 8, 2, 2));
  EXPECT_EQ(doc.Grid.CellCountX, 4);
  EXPECT_EQ(noResults().code, ErrorNoGridAnalysisResults);
}

TEST_F(OrvaleDocAnalysisTest, FringeCentersAreFoundByAnyOrderTheDocumentHas) {
  ASSERT_TRUE(object_.Load(Bitmap("pupil.bmp", 200, 200)));
  clsFringes& fringes = Doc().Fringes;
  fringes.InsertOrder(2, 2, std::vector<double>{0, 10, 11}, std::vector<double>{0, 20, 21});
  fringes.InsertOrder(7, 1, std::vector<double>{0, 30}, std::vector<double>{0, 40});
  ASSERT_EQ(fringes.NumFringes(), 2);

  const FringeCenterPoint beyondTheCount = object_.FringeCenter(Whole(7), Whole(1));
  EXPECT_EQ(beyondTheCount.X, 30);
  EXPECT_EQ(beyondTheCount.Y, 40);
  const FringeCenterPoint second = object_.FringeCenter(Text("2"), Real(2));
  EXPECT_EQ(second.X, 11);
  EXPECT_EQ(second.Y, 21);

  for (const AutoValue& order : {Whole(1), Whole(3), Real(2.5), Text("two"), Real(1e20)}) {
    const RaisedError raised = ErrorOf([&] { object_.FringeCenter(order, Whole(1)); });
    EXPECT_EQ(raised.code, ErrorInvalidFringeOrder);
    EXPECT_EQ(raised.text, "Invalid fringe order.");
  }
  for (const AutoValue& index : {Whole(0), Whole(3), Real(1.5), Flag(true)}) {
    const RaisedError raised = ErrorOf([&] { object_.FringeCenter(Whole(2), index); });
    EXPECT_EQ(raised.code, ErrorInvalidFringeIndex);
    EXPECT_EQ(raised.text, "Invalid fringe index.");
  }
}

TEST_F(OrvaleDocAnalysisTest, StretchAnswersWhetherTheImageWasResampled) {
  ASSERT_TRUE(object_.Load(Bitmap("wide.bmp", 40, 30)));
  EXPECT_EQ(ErrorOf([&] { object_.Stretch(Text("wide")); }).text, "A stretch ratio must be numeric.");
  EXPECT_EQ(ErrorOf([&] { object_.Stretch(Real(kNaN)); }).text, "A stretch ratio must be numeric.");
  EXPECT_EQ(ErrorOf([&] { object_.Stretch(Whole(0)); }).text, "A stretch ratio must greater than zero.");
  EXPECT_EQ(ErrorOf([&] { object_.Stretch(Real(-2)); }).code, ErrorInvalidNumber);
  EXPECT_TRUE(object_.Stretch(Whole(1)));
  EXPECT_FALSE(Doc().BMPDirty);
  EXPECT_TRUE(object_.Stretch(Text("2")));
  std::int32_t width = 0, height = 0;
  Doc().GetImageSize(width, height);
  EXPECT_EQ(width, 80);
  EXPECT_FALSE(object_.Stretch(Real(1e9)));  // beyond what can be resampled
  Doc().GetImageSize(width, height);
  EXPECT_EQ(width, 80);
  Doc().LoadBlankImage(kNotGivenLong, kNotGivenLong);
  EXPECT_FALSE(object_.Stretch(Real(2)));
}

TEST_F(OrvaleDocAnalysisTest, AnalyzeMakesTheWrappedDocumentActiveAndAnalysesIt) {
  settings_.HogWindows = true;
  clsDocument& doc = AnalysableDocument();
  ASSERT_TRUE(doc.CreateView(2));
  OrvaleDoc other(context_);
  ASSERT_TRUE(other.Load(Bitmap("other.bmp")));
  clsDocument& active = *other.Document();
  ASSERT_TRUE(active.CreateView(2));
  active.SurfacePlotViewVisible = true;
  doc.SurfacePlotViewVisible = true;
  table_.ActiveDocIndex = active.ovDocIndex;
  active.OutputViews_ShowNoActivate(false);
  frame_.ClearLog();

  ASSERT_TRUE(object_.Analyze());
  EXPECT_TRUE(doc.AnalysisValid);
  EXPECT_FALSE(active.AnalysisValid);
  EXPECT_EQ(table_.ActiveDocIndex, doc.ovDocIndex);
  EXPECT_EQ(frame_.Count("BringViewToFront " + std::to_string(doc.ovDocIndex) + " 1"), 1);
  // As on a user's activation, the shared result windows now show this document's.
  EXPECT_FALSE(active.Views().Window(viewtype::kSurfacePlot)->IsShown());
  EXPECT_TRUE(doc.Views().Window(viewtype::kSurfacePlot)->IsShown());
}

TEST_F(OrvaleDocAnalysisTest, AnalyzeAnswersFalseWhenApplyRefusedOrTheDocumentStayedInactive) {
  clsDocument& doc = AnalysableDocument();
  object_.SetInputWavelength(Whole(0));
  EXPECT_FALSE(object_.Analyze());
  ASSERT_EQ(Texts().size(), 1u);
  EXPECT_EQ(Texts()[0].rfind("Invalid Input Wavelength", 0), 0u);
  EXPECT_FALSE(doc.AnalysisValid);

  object_.SetInputWavelength(Real(632.8));
  frame_.refuses = true;
  table_.ActiveDocIndex = 0;
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(object_.Analyze());
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("could not be made the active one"),
            std::string::npos);
  EXPECT_FALSE(doc.AnalysisValid);

  frame_.refuses = false;
  doc.Fringes.DeleteAll();
  EXPECT_EQ(ErrorOf([&] { object_.Analyze(); }).text,
            "Can't perform analysis until fringe centers have been traced.");
  doc.Aperture.Delete();
  const RaisedError noAperture = ErrorOf([&] { object_.Analyze(); });
  EXPECT_EQ(noAperture.code, ErrorNoAperture);
  EXPECT_EQ(noAperture.text, "Can't perform analysis until an aperture is defined.");
}

}  // namespace
}  // namespace orvale::testing
