// The report printed into a PDF through the real print path, read back with the poppler
// tools: the page size and title, where the title's words lie, and, on the page
// rendered at 300 dpi, the frame, the panes and nothing else.
#include <gtest/gtest.h>

#include <QPageSize>

#include "app/report/ReportPrinting.h"
#include "tests/app/report/ReportTestSupport.h"
#include "tests/support/PdfPages.h"

namespace orvale::testing {
namespace {

// Letter with margins of a quarter inch at the top and left and half an inch at the
// right and bottom: Qt's paint rectangle is (75, 75) 2325 x 3075 at 300 dpi.
constexpr int kPaper = 75;

class ReportPdfTest : public ReportTest {
 protected:
  void SetUp() override {
    ReportTest::SetUp();
    pdf_ = Path("report.pdf");
    views_->fillGrey = true;
    settings_.ReportNumPanes = 4;
    settings_.ReportPanes = {0, 6, 2, 3, 7, 0, 0};
  }
  // Prints the report and renders its page.
  QImage PrintAndRender() {
    ReportPrintJob job;
    job.PrintToFile = true;
    job.OutputFile = pdf_.string();
    job.PageLayout = QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                 QMarginsF(0.25, 0.25, 0.5, 0.5), QPageLayout::Inch);
    job.Resolution = 300;
    job.LogoFolder = dir_;
    PrintReport(*doc_, job);
    EXPECT_TRUE(messages_.Messages().empty());
    return RenderPdfPage(pdf_, 300);
  }
  static bool Dark(const QImage& page, int x, int y) { return qGray(page.pixel(x, y)) < 64; }
  static bool Grey(const QImage& page, int x, int y) {
    const int v = qGray(page.pixel(x, y));
    return v >= 64 && v < 192;
  }

  fs::path pdf_;  // in the scratch folder, which SetUp makes
};

TEST_F(ReportPdfTest, ThePageHasItsSizeTitleFrameAndPanesWhereTheGeometrySaysOnPaper) {
  const QImage page = PrintAndRender();
  const PdfInfo info = ReadPdfInfo(pdf_);
  EXPECT_EQ(info.Pages, 1);
  EXPECT_DOUBLE_EQ(info.WidthPt, 612);
  EXPECT_DOUBLE_EQ(info.HeightPt, 792);
  EXPECT_EQ(info.Title, "Orvale - mirror.bmp");

  const std::vector<PdfWord> words = ReadPdfWords(pdf_);
  ASSERT_EQ(words.size(), 3u);
  EXPECT_EQ(words[0].Text + " " + words[1].Text + " " + words[2].Text, "Orvale Test Report");
  EXPECT_NEAR((words[0].XMin + words[2].XMax) / 2, 296.9, 2.0);
  EXPECT_NEAR(words[0].YMin, 44.9, 2.0);

  ASSERT_EQ(page.size(), QSize(2550, 3300));
  // On paper: frame at x = 187 and 2287, bottom at 3037; its top (under the title) is
  // where its left line starts.
  int top = 150;
  while (top < 600 && !Dark(page, 187, top)) ++top;
  ASSERT_LT(top, 600);
  for (int x = 187; x <= 2287; x += 7) EXPECT_TRUE(Dark(page, x, top)) << x;
  for (int y = top; y <= 3037; y += 7) {
    EXPECT_TRUE(Dark(page, 187, y)) << y;
    EXPECT_TRUE(Dark(page, 2287, y)) << y;
  }
  for (int x = 187; x <= 2287; x += 7) EXPECT_TRUE(Dark(page, x, 3037)) << x;

  // Each pane's grey block fills its rectangle inset by 38 pixels, to the pixel.
  const int T = top - kPaper;
  const PaneLayout layout = ComputePaneLayout(4, 112, T, 2212, 2962, 2101, 2962 - T + 1);
  for (const PaneRect& p : layout.Panes) {
    int left = p.Right + kPaper, right = p.Left + kPaper, upper = p.Bottom + kPaper, lower = p.Top + kPaper;
    for (int y = p.Top + kPaper; y <= p.Bottom + kPaper; ++y)
      for (int x = p.Left + kPaper; x <= p.Right + kPaper; ++x)
        if (Grey(page, x, y)) {
          left = std::min(left, x), right = std::max(right, x);
          upper = std::min(upper, y), lower = std::max(lower, y);
        }
    EXPECT_NEAR(left, p.Left + 38 + kPaper, 1);
    EXPECT_NEAR(right, p.Right - 38 + kPaper, 1);
    EXPECT_NEAR(upper, p.Top + 38 + kPaper, 1);
    EXPECT_NEAR(lower, p.Bottom - 38 + kPaper, 1);
  }

  // No ink outside the frame but the title above it.
  int stray = 0;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x)
      if (qGray(page.pixel(x, y)) < 192 && !(x >= 187 && x <= 2287 && y >= top && y <= 3037) &&
          !(y < top && y > 150))
        ++stray;
  EXPECT_EQ(stray, 0);
}

TEST_F(ReportPdfTest, ALandscapeReportTurnsThePage) {
  settings_.ReportOrientation = 2;
  const QImage page = PrintAndRender();
  const PdfInfo info = ReadPdfInfo(pdf_);
  EXPECT_DOUBLE_EQ(info.WidthPt, 792);
  EXPECT_DOUBLE_EQ(info.HeightPt, 612);
  ASSERT_EQ(page.size(), QSize(3300, 2550));
  for (int y = 600; y <= 2287; y += 50) {
    EXPECT_TRUE(Dark(page, 187, y)) << y;
    EXPECT_TRUE(Dark(page, 3037, y)) << y;
  }
  for (int x = 187; x <= 3037; x += 50) EXPECT_TRUE(Dark(page, x, 2287)) << x;
}

}  // namespace
}  // namespace orvale::testing
