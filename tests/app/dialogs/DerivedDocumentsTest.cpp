#include "app/dialogs/DerivedDocuments.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "AnalyzeTestSupport.h"
#include "app/dialogs/ApplyAnalysis.h"
#include "app/document/OpenFiles.h"
#include "app/document/RecentFileList.h"
#include "app/document/SaveCommands.h"

namespace orvale::testing {
namespace {

ZernikeVector Wavefront(double tilt, double defocus, double astigmatism, double coma) {
  ZernikeVector z{};
  z[1] = tilt;
  z[3] = defocus;
  z[4] = astigmatism;
  z[6] = coma;
  return z;
}

ZernikeVector ZernikesOf(const clsDocument& doc) {
  ZernikeVector z{};
  doc.GetZernikes(z);
  return z;
}

class DerivedDocumentsTest : public AnalyzeTest {
 protected:
  // A further document of the pupil's size, analysed from the fringes of `known` with
  // `controls`; it is the active document afterwards.
  clsDocument& Analysed(const Pupil& pupil, const ZernikeVector& known,
                        const AnalyzeControls& controls = {}) {
    clsDocument* doc = nullptr;
    EXPECT_TRUE(table_.NewDocument(doc));
    GiveImageAndAperture(*doc, pupil);
    EXPECT_TRUE(doc->CreateView(1));
    AddContourFringes(*doc, pupil, known);
    table_.ActiveDocIndex = doc->ovDocIndex;
    EXPECT_EQ(ApplyAnalysis(table_, controls, frame_), ApplyOutcome::Analysed);
    EXPECT_TRUE(doc->AnalysisValid);
    return *doc;
  }
  clsDocument& AnalysedFixtureDocument() {
    table_.ActiveDocIndex = doc_->ovDocIndex;
    EXPECT_EQ(ApplyAnalysis(table_, AnalyzeControls{}, frame_), ApplyOutcome::Analysed);
    return *doc_;
  }

  std::int32_t counter_ = 0;
};

TEST_F(DerivedDocumentsTest, AveragingThreeAnalysedDocumentsMakesTheirMeanAsANewDocument) {
  // The first document has its own size, an obstruction and options of its own.
  const Pupil large{240, 220, 120.0, 110.0, 90.0};
  AnalyzeControls options;
  options.Remove = {true, false, false, true, false};
  options.ScaleFactorOption = scaleoption::kOne;
  options.OutputWL = "550";
  options.DisplayUnits = displayunits::kMicrometers;
  options.TrimEdges = false;
  options.LimitOrderIndex = 2;
  clsDocument* first = nullptr;
  ASSERT_TRUE(table_.NewDocument(first));
  GiveImageAndAperture(*first, large);
  first->Obstruction.SetShapeType(clsShape::kCircle);
  first->Obstruction.SetCenter(120.0, 110.0);
  first->Obstruction.SetRadii(12.0, 12.0);
  ASSERT_TRUE(first->CreateView(1));
  AddContourFringes(*first, large, Wavefront(1.0, 2.0, 0.5, 0.0));
  table_.ActiveDocIndex = first->ovDocIndex;
  ASSERT_EQ(ApplyAnalysis(table_, options, frame_), ApplyOutcome::Analysed);
  const clsDocument& second = AnalysedFixtureDocument();
  const clsDocument& third = Analysed(pupil_, Wavefront(-0.5, 1.0, 0.0, 0.4));

  const std::vector<std::int32_t> documentSlots = {first->ovDocIndex, second.ovDocIndex, third.ovDocIndex};
  clsDocument* average = AverageDocuments(table_, frame_, documentSlots, counter_);

  ASSERT_NE(average, nullptr);
  EXPECT_EQ(average->ImageFileName, "Average1");
  EXPECT_EQ(counter_, 1);
  const ZernikeVector a = ZernikesOf(*first), b = ZernikesOf(second), c = ZernikesOf(third);
  const ZernikeVector mean = ZernikesOf(*average);
  for (std::size_t k = 1; k <= kZernikeTermCount; ++k)
    EXPECT_NEAR(mean[k], (a[k] + b[k] + c[k]) / 3.0, 1e-12) << k;
  EXPECT_NEAR(mean[3], (2.0 + 1.5 + 1.0) / 3.0, 1e-3);  // the fits found the wavefronts

  const auto expectShapedLikeTheFirst = [&](const clsDocument& doc) {
    std::int32_t width = 0, height = 0;
    doc.GetBufferSize(width, height);
    EXPECT_EQ(width, 240);
    EXPECT_EQ(height, 220);
    EXPECT_TRUE(doc.BlankImage);
    double x = 0, y = 0, r1 = 0, r2 = 0;
    doc.Aperture.GetCenter(x, y);
    doc.Aperture.GetRadii(r1, r2);
    EXPECT_EQ(std::vector<double>({x, y, r1}), std::vector<double>({120.0, 110.0, 90.0}));
    doc.Obstruction.GetRadii(r1, r2);
    EXPECT_EQ(r1, 12.0);
    EXPECT_EQ(doc.zscale, first->zscale);
    EXPECT_EQ(doc.ScaleMode, displayunits::kMicrometers);
    EXPECT_DOUBLE_EQ(doc.DisplayScale, first->DisplayScale);
    EXPECT_EQ(doc.OutWL, 550.0);
    EXPECT_EQ(doc.TrimEdges, false);
    EXPECT_EQ(doc.NumZernikeToFit, 15);
    EXPECT_TRUE(doc.noTilt && !doc.noFocus && !doc.noAstig && doc.noComa && !doc.noSphere);
    EXPECT_TRUE(doc.Averaged);
    EXPECT_FALSE(doc.Combined);
    EXPECT_EQ(doc.nDataPts, 3);
    EXPECT_TRUE(doc.AnalysisValid);
    EXPECT_TRUE(doc.OutputViewsExist);
  };
  expectShapedLikeTheFirst(*average);
  EXPECT_TRUE(average->DocDirty);
  EXPECT_FALSE(average->BMPDirty);
  EXPECT_EQ(average->Views().DataLoads(), 1);  // the result windows show the mean
  EXPECT_EQ(frame_.Count("SetMenuItems 0"), 4);  // three Apply runs and the average

  // Saved as a document and opened again, it is the same average.
  const std::string path = (dir_ / "average.ovd").string();
  ASSERT_TRUE(SaveFile(path, *average));
  std::int16_t cancel = 0;
  table_.CloseDocument(average, true, cancel);
  MemoryRecentFileMenu menu;
  RecentFileList recent(menu);
  OpenFiles(table_, recent, std::vector<std::string>{path}, false);
  EXPECT_TRUE(messages_.Messages().empty());
  const clsDocument* reopened = nullptr;
  for (const auto& slot : table_.Documents)
    if (slot && slot->DocumentFileName == "average.ovd") reopened = slot.get();
  ASSERT_NE(reopened, nullptr);
  expectShapedLikeTheFirst(*reopened);
  const ZernikeVector back = ZernikesOf(*reopened);
  for (std::size_t k = 1; k <= kZernikeTermCount; ++k) EXPECT_NEAR(back[k], mean[k], 1e-12) << k;

  // The next average of the run is the second.
  clsDocument* next = AverageDocuments(table_, frame_, documentSlots, counter_);
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->ImageFileName, "Average2");
}

TEST_F(DerivedDocumentsTest, FewerThanTwoOpenDocumentsMakeNoAverage) {
  const clsDocument& doc = AnalysedFixtureDocument();
  clsDocument* other = &Analysed(pupil_, Wavefront(-0.5, 1.0, 0.0, 0.4));
  const std::int32_t closedSlot = other->ovDocIndex;
  std::int16_t cancel = 0;
  table_.CloseDocument(other, true, cancel);
  const std::int32_t before = table_.NumDocuments;
  for (const std::vector<std::int32_t>& documentSlots :
       {std::vector<std::int32_t>{}, {doc.ovDocIndex}, {doc.ovDocIndex, closedSlot},
        {closedSlot, 0, 101, -3}}) {
    EXPECT_EQ(AverageDocuments(table_, frame_, documentSlots, counter_), nullptr);
  }
  EXPECT_EQ(table_.NumDocuments, before);
  EXPECT_EQ(counter_, 0);
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(DerivedDocumentsTest, MathAddsAndSubtractsTheFitsExactly) {
  clsDocument& a = AnalysedFixtureDocument();
  a.ImageFileName = "A";
  clsDocument& b = Analysed(pupil_, Wavefront(0.3, -1.2, 0.25, 0.1));
  b.ImageFileName = "B";
  const ZernikeVector za = ZernikesOf(a), zb = ZernikesOf(b);

  struct Case {
    clsDocument* first;
    clsDocument* second;
    std::int32_t operation;
    double sign;  // of the second document's coefficients; 0 for "nothing made"
  };
  const Case cases[] = {
      {&a, &b, combine::kAdd, 1.0},
      {&a, &b, combine::kSubtract, -1.0},
      {&a, &a, combine::kSubtract, 0.0},
  };
  for (const Case& c : cases) {
    clsDocument* result =
        CombineDocuments(table_, frame_, c.first->ovDocIndex, c.second->ovDocIndex, c.operation);
    ASSERT_NE(result, nullptr);
    const ZernikeVector first = ZernikesOf(*c.first), second = ZernikesOf(*c.second);
    const ZernikeVector z = ZernikesOf(*result);
    for (std::size_t k = 1; k <= kZernikeTermCount; ++k) {
      const double expected = c.operation == combine::kAdd ? first[k] + second[k] : first[k] - second[k];
      EXPECT_EQ(z[k], expected) << k;
      if (c.first == c.second) {
        EXPECT_EQ(z[k], 0.0) << k;
      }
    }
    EXPECT_EQ(result->ImageFileName,
              "Combination of " + c.first->ImageFileName + " and " + c.second->ImageFileName);
    EXPECT_TRUE(result->Combined);
    EXPECT_FALSE(result->Averaged);
    EXPECT_EQ(result->nDataPts, 1);
  }
  EXPECT_NE(za[3], zb[3]);

  // "None" in either list, or a closed document: nothing.
  const std::int32_t before = table_.NumDocuments;
  EXPECT_EQ(CombineDocuments(table_, frame_, 0, b.ovDocIndex, combine::kAdd), nullptr);
  EXPECT_EQ(CombineDocuments(table_, frame_, a.ovDocIndex, 0, combine::kAdd), nullptr);
  EXPECT_EQ(table_.NumDocuments, before);
}

TEST_F(DerivedDocumentsTest, AnalyzeRefusesACombinedDocument) {
  clsDocument& a = AnalysedFixtureDocument();
  clsDocument* result = CombineDocuments(table_, frame_, a.ovDocIndex, a.ovDocIndex, combine::kAdd);
  ASSERT_NE(result, nullptr);
  const ZernikeVector before = ZernikesOf(*result);
  table_.ActiveDocIndex = result->ovDocIndex;
  messages_.Clear();
  EXPECT_EQ(ApplyAnalysis(table_, AnalyzeControls{}, frame_), ApplyOutcome::Refused);
  ASSERT_EQ(Texts(), std::vector<std::string>{"Cannot analyze a document created by mathematical operations."});
  EXPECT_EQ(ZernikesOf(*result), before);
}

// A main window whose documents get views that fail as told.
class FailingViewsFrame : public RecordingMainFrame {
 public:
  std::unique_ptr<DocumentViews> CreateDocumentViews(clsDocument&) override {
    if (plainViews) return std::make_unique<DocumentViews>();
    auto views = std::make_unique<LoggingViews>();
    views->createFails = createFails;
    if (refreshThrows) views->onRefresh = [] { throw std::runtime_error("no memory for the plots"); };
    last = views.get();
    return views;
  }
  bool createFails = false;
  bool refreshThrows = false;
  bool plainViews = false;  // the headless views, whose windows log what they are asked
  LoggingViews* last = nullptr;
};

TEST(ResultDocumentTest, BuildsInTheResultWindowOrderAndLeavesNothingHalfMade) {
  GeneralSettings settings = DefaultDocumentSettings();
  settings.HogWindows = false;
  settings.ResultWindowVisible = {true, false, false, false, true, false, true};
  FailingViewsFrame frame;
  DocumentTable table(settings, &frame);
  clsDocument* source = nullptr;
  ASSERT_TRUE(table.NewDocument(source));
  GiveImageAndAperture(*source, Pupil{});
  ZernikeVector z{};
  z[3] = 0.5;
  source->SetZernikes(z);

  frame.ClearLog();
  clsDocument* made = MakeResultDocument(table, frame, *source, z, "Average1",
                                         DerivedKind::Averaged, 2);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(frame.last->calls,
            (std::vector<std::string>{"CreateOutputViews", "OutputViews_Load 1",
                                      "OutputViews_UpdateVisibility 1", "OutputViews_Refresh"}));
  EXPECT_TRUE(made->SurfacePlotViewVisible && made->AberrationsViewVisible &&
              made->GridResultsViewVisible);
  EXPECT_FALSE(made->ContourPlotViewVisible || made->LineProfileViewVisible ||
               made->SFringeViewVisible || made->ZernikesViewVisible);
  std::erase_if(frame.calls, [](const std::string& call) { return call.starts_with("SetBusyPointer"); });
  EXPECT_EQ(frame.calls, (std::vector<std::string>{"SetMenuItems 0", "SetToolBarItems 0",
                                                   "UpdateToolBar"}));
  EXPECT_EQ(table.NumDocuments, 2);

  frame.createFails = true;
  EXPECT_EQ(MakeResultDocument(table, frame, *source, z, "Average2", DerivedKind::Averaged, 2),
            nullptr);
  EXPECT_EQ(table.NumDocuments, 2);

  frame.createFails = false;
  frame.refreshThrows = true;
  EXPECT_THROW(MakeResultDocument(table, frame, *source, z, "Average2", DerivedKind::Averaged, 2),
               std::runtime_error);
  EXPECT_EQ(table.NumDocuments, 2);
  EXPECT_FALSE(table.DocumentInUse[3]);
}

TEST(ResultDocumentTest, WithSharedResultWindowsTheActiveDocumentsAreHidden) {
  GeneralSettings settings = DefaultDocumentSettings();
  settings.HogWindows = true;
  FailingViewsFrame frame;
  DocumentTable table(settings, &frame);
  frame.plainViews = true;
  clsDocument* active = nullptr;
  ASSERT_TRUE(table.NewDocument(active));
  frame.plainViews = false;
  GiveImageAndAperture(*active, Pupil{});
  ASSERT_TRUE(active->CreateView(1) && active->CreateView(2));
  active->OutputViews_Load(false);
  active->ZernikesViewVisible = true;
  table.ActiveDocIndex = active->ovDocIndex;
  ZernikeVector z{};
  ASSERT_NE(MakeResultDocument(table, frame, *active, z, "Combination of a and a",
                               DerivedKind::Combined, 1),
            nullptr);
  EXPECT_EQ(frame.last->calls.at(1), "OutputViews_Load 0");
  EXPECT_EQ(active->Views().WindowCalls().Count("Hide"), 1);
}

}  // namespace
}  // namespace orvale::testing
