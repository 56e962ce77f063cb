#include <gtest/gtest.h>

#include <QPageLayout>
#include <QPageSize>

#include "app/report/PagePreview.h"
#include "app/report/ReportGeometry.h"
#include "app/report/ReportPaneKinds.h"
#include "platform/gdi/PagedDeviceCaps.h"
#include "tests/app/report/ReportTestSupport.h"

namespace orvale::testing {
namespace {

gdi::DeviceCaps QtLetterPage(QPageLayout::Orientation orientation) {
  return gdi::PagedDeviceCaps(QPageLayout(QPageSize(QPageSize::Letter), orientation,
                                          QMarginsF(0.25, 0.25, 0.5, 0.5), QPageLayout::Inch),
                              300);
}

TEST(ReportGeometryTest, MarginsAndTitlePlaceFollowEachPrintersPage) {
  struct Case {
    const char* name;
    gdi::DeviceCaps caps;
    ReportGeometry expected;  // offsets, margins, M, L, R, B, title centre and top
  };
  const Case cases[] = {
      // Printable to the edges: offsets of at least 0.2 in, quarter-inch margins.
      {"Letter 300 dpi", LetterCaps(), {60, 60, 75, 75, 38, 75, 2474, 3224, 1274, 60}},
      {"Letter 300 dpi landscape", PrinterPageCaps(3300, 2550),
       {60, 60, 75, 75, 38, 75, 3224, 2474, 1650, 60}},
      // Uneven hardware margins: the printable part is centred in what it leaves.
      {"600 dpi uneven", PrinterPageCaps(4800, 6360, 600, 5100, 6600, 100, 100),
       {150, 120, 150, 150, 75, 150, 4649, 6209, 2400, 120}},
      // The PDF page as Qt lays it out: paint rectangle (75, 75) 2325 x 3075.
      {"PDF Letter", QtLetterPage(QPageLayout::Portrait),
       {112, 112, 112, 112, 38, 112, 2212, 2962, 1162, 112}},
      {"PDF Letter landscape", QtLetterPage(QPageLayout::Landscape),
       {112, 112, 112, 112, 38, 112, 2962, 2212, 1537, 112}},
  };
  for (const Case& c : cases) EXPECT_EQ(ComputeReportGeometry(c.caps), c.expected) << c.name;
}

TEST(ReportGeometryTest, EachPaneCountHasItsRectanglesAndSeparators) {
  // Letter at 300 dpi with the title's bottom plus the margin at 165: Mx = 1275,
  // y13 = 1185, y25 = 1389, y12 = 1695, y35 = 2001, y23 = 2205, y710 = 2307.
  constexpr std::int32_t L = 75, T = 165, R = 2474, B = 3224;
  const auto H = [](std::int32_t y) { return PaneSeparator{{L, y}, {R, y}}; };
  const auto V = [](std::int32_t top) { return PaneSeparator{{1275, top}, {1275, B}}; };
  struct Case {
    std::int32_t n;
    std::vector<PaneRect> panes;
    std::vector<PaneSeparator> separators;
  };
  const Case cases[] = {
      {1, {{L, T, R, B}}, {}},
      {2, {{L, T, R, 2001}, {L, 2001, R, B}}, {H(2001)}},
      {3, {{L, T, R, 2001}, {L, 2001, 1275, B}, {1275, 2001, R, B}}, {V(2001), H(2001)}},
      {4, {{L, T, 1275, 1695}, {1275, T, R, 1695}, {L, 1695, 1275, B}, {1275, 1695, R, B}},
       {V(T), H(1695)}},
      {5, {{L, T, R, 1389}, {L, 1389, 1275, 2307}, {1275, 1389, R, 2307}, {L, 2307, 1275, B},
           {1275, 2307, R, B}},
       {V(1389), H(1389), H(2307)}},
      {6, {{L, T, 1275, 1185}, {1275, T, R, 1185}, {L, 1185, 1275, 2205}, {1275, 1185, R, 2205},
           {L, 2205, 1275, B}, {1275, 2205, R, B}},
       {V(T), H(1185), H(2205)}},
      {0, {}, {}},
      {7, {}, {}},
  };
  for (const Case& c : cases) {
    const PaneLayout layout = ComputePaneLayout(c.n, L, T, R, B, R - L + 1, B - T + 1);
    EXPECT_EQ(layout.Panes, c.panes) << c.n;
    EXPECT_EQ(layout.Separators, c.separators) << c.n;
  }
}

TEST(ReportGeometryTest, TheLogoIsFittedAndCentredInTheUpperHalfOfItsPane) {
  // Pane 3 of 3 on Letter at 300 dpi: half = 612, box (1313, 2039)-(2436, 2613).
  const PaneRect box{1313, 2039, 2436, 2613};
  EXPECT_EQ(PlaceLogo(box, 200, 100), (gdi::Rect{1313, 2046, 1313 + 1124, 2046 + 562}));
  EXPECT_EQ(PlaceLogo(box, 100, 200), (gdi::Rect{1731, 2039, 1731 + 288, 2039 + 575}));
  // A pane smaller than its margins, or an empty picture: no logo, never a mirrored one.
  EXPECT_EQ(PlaceLogo({1313, 2039, 1312, 2613}, 200, 100), std::nullopt);
  EXPECT_EQ(PlaceLogo({1313, 2039, 2436, 2000}, 200, 100), std::nullopt);
  EXPECT_EQ(PlaceLogo(box, 0, 0), std::nullopt);
  EXPECT_EQ(PlaceLogo(box, 200, -1), std::nullopt);
}

TEST(ReportGeometryTest, PaneKindsAreNotViewCodes) {
  struct Case {
    std::int32_t kind;
    bool needsResults;
    std::int32_t view;
  };
  const Case cases[] = {
      {-1, false, 0}, {0, false, 0},  {1, true, 7},   {2, true, 4},   {3, false, 1}, {4, true, 5},
      {5, false, 0},  {6, true, 3},   {7, true, 6},   {8, true, 8},   {9, true, 9},  {10, false, 0},
      {42, false, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PaneNeedsResults(c.kind), c.needsResults) << c.kind;
    EXPECT_EQ(PaneViewCode(c.kind), c.view) << c.kind;
  }
}

TEST(PagePreviewGeometryTest, TheSheetAndItsPanesInBoxUnits) {
  const PreviewPage portrait = ComputePreviewPage(1, 0, 0, 30000, 30000);
  EXPECT_EQ(portrait, (PreviewPage{{4200, 1050, 25800, 28950}, {4800, 1650, 25200, 28350}}));
  EXPECT_EQ(PreviewPaneLayout(portrait, 3).Panes,
            (std::vector<PaneRect>{{4800, 1650, 25200, 17670},
                                   {4800, 17670, 15000, 28350},
                                   {15000, 17670, 25200, 28350}}));
  EXPECT_EQ(PreviewPaneLayout(portrait, 4).Panes[0], (PaneRect{4800, 1650, 15000, 15000}));

  const PreviewPage landscape = ComputePreviewPage(2, 0, 0, 30000, 30000);
  EXPECT_EQ(landscape.Area, (PaneRect{1650, 4800, 28350, 25200}));
  EXPECT_EQ(PreviewPaneLayout(landscape, 3).Panes[0].Bottom, 17040);

  // Centred by the box's own sides in landscape too (a box that is not square).
  EXPECT_EQ(ComputePreviewPage(2, 100, 200, 30000, 24000).Sheet,
            (PaneRect{1150, 1400, 1150 + 27900, 1400 + 21600}));
}

TEST(PagePreviewGeometryTest, PicturesAreFittedOrShownAtTheirOwnSize) {
  const PaneRect pane1{4800, 1650, 25200, 17670};
  // A square plot picture fills the height of the pane less 300 units on each side.
  EXPECT_EQ(PlaceThumbnail(panekind::kSurfacePlot, pane1, 1000, 1000),
            (gdi::Rect{7290, 1950, 7290 + 15420, 1950 + 15420}));
  // Text pictures keep their size, centred, and are cut to the pane.
  EXPECT_EQ(PlaceThumbnail(panekind::kAberrations, pane1, 9000, 7000),
            (gdi::Rect{10500, 6160, 19500, 13160}));
  EXPECT_EQ(PlaceThumbnail(panekind::kZernikes, {0, 0, 5600, 4600}, 9000, 7000),
            (gdi::Rect{300, 300, 5300, 4300}));
  EXPECT_EQ(PlaceThumbnail(panekind::kLogo, {0, 0, 600, 4600}, 9000, 7000), std::nullopt);
  EXPECT_EQ(PlaceThumbnail(panekind::kContourPlot, pane1, 0, 10), std::nullopt);
}

}  // namespace
}  // namespace orvale::testing
