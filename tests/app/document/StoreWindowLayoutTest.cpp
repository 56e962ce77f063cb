#include "app/document/StoreWindowLayout.h"

#include <gtest/gtest.h>

#include "DocumentModelTestSupport.h"
#include "app/document/DocumentTable.h"
#include "app/document/clsDocument.h"

namespace orvale::testing {
namespace {

// Result windows at known places; the contour plot is minimised.
class PlacedViews : public DocumentViews {
 public:
  WindowShowState ViewShowState(std::int32_t formType) const override {
    return formType == viewtype::kContourPlot ? WindowShowState::Minimized
                                              : WindowShowState::Normal;
  }
};

WindowPlacement PlaceOf(std::int32_t formType) {
  return {10 * formType, 20 * formType, 100 + formType, 200 + formType};
}

struct LayoutCase {
  bool hogWindows;
  bool outputViewsExist;
  bool layoutTaken;
};

class StoreWindowLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(StoreWindowLayoutTest, TakesNormalWindowsOnlyForIndividualSets) {
  const LayoutCase c = GetParam();
  GeneralSettings settings = DefaultDocumentSettings();
  settings.HogWindows = c.hogWindows;
  RecordingHost host;
  DocumentTable table(settings, &host);
  clsDocument* first = nullptr;
  clsDocument* doc = nullptr;
  ASSERT_TRUE(table.NewDocument(first));
  ASSERT_TRUE(table.NewDocument(doc));
  table.ActiveDocIndex = first->ovDocIndex;
  doc->SetViews(std::make_unique<PlacedViews>());
  for (std::int32_t formType = viewtype::kSurfacePlot; formType <= viewtype::kGridResults; ++formType)
    doc->Views().SetViewPlacement(formType, PlaceOf(formType));
  doc->OutputViewsExist = c.outputViewsExist;
  const WindowPlacement before{1, 2, 3, 4};
  settings.ResultWindowLayout.fill(before);

  StoreWindowLayout(table, *doc);

  EXPECT_EQ(table.ActiveDocIndex, doc->ovDocIndex);
  EXPECT_EQ(host.gridDataRefreshes, 1);
  for (int kind = 0; kind < kResultWindowCount; ++kind) {
    const std::int32_t formType = viewtype::kSurfacePlot + kind;
    const bool taken = c.layoutTaken && formType != viewtype::kContourPlot;
    EXPECT_EQ(settings.ResultWindowLayout[static_cast<std::size_t>(kind)],
              taken ? PlaceOf(formType) : before)
        << "kind " << kind;
  }
}

INSTANTIATE_TEST_SUITE_P(HogWindowsAndOutputViews, StoreWindowLayoutTest,
                         ::testing::Values(LayoutCase{true, true, false},
                                           LayoutCase{true, false, false},
                                           LayoutCase{false, true, true},
                                           LayoutCase{false, false, false}));

}  // namespace
}  // namespace orvale::testing
