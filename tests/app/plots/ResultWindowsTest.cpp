#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QPointer>
#include <QStyle>
#include <QTest>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextLayout>
#include <cmath>

#include "PlotTestSupport.h"
#include "ResultViewTestSupport.h"
#include "ResultWindowsTestSupport.h"
#include "app/document/AreaFills.h"
#include "app/document/DocumentTextFile.h"
#include "app/document/FloatingHorizon.h"
#include "app/plots/PlotPrinting.h"
#include "app/plots/ResultViewFillers.h"
#include "app/plots/frmContourPlot.h"
#include "app/plots/frmLineProfile.h"
#include "app/plots/frmSFringe.h"
#include "app/plots/frmSurfacePlot.h"
#include "app/plots/frmText.h"
#include "platform/gdi/DeviceCaps.h"
#include "platform/gdi/RecordingDeviceContext.h"
#include "platform/runtime/LineInput.h"

namespace orvale::testing {
namespace {

constexpr double kDegreesPerRadian = 57.29577951308238;
const std::vector<std::int32_t> kAllOutputViews = {3, 4, 5, 6, 7, 8, 9};

QRgb Workspace() {
  return qRgb(gdi::GetRValue(kApplicationWorkspaceColor),
              gdi::GetGValue(kApplicationWorkspaceColor),
              gdi::GetBValue(kApplicationWorkspaceColor));
}

// What a window's client shows, and a part of it.
QImage Shown(const CanvasSubWindow& window, QRect part = {}) {
  const QImage* image = window.Canvas().Image();
  if (image == nullptr) return {};
  return part.isNull() ? *image : image->copy(part);
}

bool AllPixels(const QImage& image, QRgb colour) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) != (colour & 0xFFFFFF)) return false;
  return !image.isNull();
}

// The plot drawn as the window draws it, on an image of the window's client size.
QImage Drawn(int width, int height, int plotWidth, int plotHeight,
             const std::function<void(gdi::DeviceContext&)>& draw) {
  gdi::ImageDeviceContext dc(width, height);
  FillRectWhite(dc, plotWidth, plotHeight, 0, 0);
  draw(dc);
  return dc.Image().copy(0, 0, plotWidth, plotHeight);
}

class ResultWindowTest : public ResultWindowsTest {
 protected:
  frmSurfacePlot& Surface() { return *Views().SurfacePlotView(); }
  frmContourPlot& Contour() { return *Views().ContourPlotView(); }
  frmLineProfile& Line() { return *Views().LineProfileView(); }
  frmSFringe& SFringe() { return *Views().SFringeView(); }
  frmText& Text(std::int32_t formType) { return *Views().TextView(formType); }
  int Bar() { return Surface().style()->pixelMetric(QStyle::PM_ScrollBarExtent); }

  QImage SurfaceAsDrawn() {
    const int w = Surface().Canvas().width() - Bar(), h = Surface().Canvas().height() - Bar();
    return Drawn(Surface().Canvas().width(), Surface().Canvas().height(), w, h,
                 [&](gdi::DeviceContext& dc) {
                   HorizonWidth = w;
                   Models().Surface.SurfacePlot.PlotRedraw(dc);
                 });
  }
  QImage SurfaceShown() {
    return Shown(Surface(),
                 {0, 0, Surface().Canvas().width() - Bar(), Surface().Canvas().height() - Bar()});
  }
};

// --- Painting what the models hold ---

TEST_F(ResultWindowTest, ThePlotWindowsPaintTheirPlots) {
  ShowOutputViews({3, 4, 5});
  ASSERT_TRUE(Models().Contour.PlotReady && Models().Surface.PlotReady && Models().Line.PlotReady);

  const int cw = Contour().Canvas().width(), ch = Contour().Canvas().height();
  EXPECT_EQ(Shown(Contour()), Drawn(cw, ch, cw, ch, [&](gdi::DeviceContext& dc) {
              Models().Contour.ContourPlot.PlotRedraw(dc);
            }));
  EXPECT_EQ(Models().Contour.WindowRect, (ChartWindowRect{0, 0, cw - 1, ch - 1}));

  EXPECT_EQ(SurfaceShown(), SurfaceAsDrawn());
  const int m = Models().Surface.WindowMargin;
  EXPECT_EQ(Models().Surface.WindowRect,
            (ChartWindowRect{m, m, Surface().Canvas().width() - Bar() - m - 1,
                             Surface().Canvas().height() - Bar() - m - 1}));

  const int lw = Line().Canvas().width(), lh = Line().Canvas().height() - Bar();
  EXPECT_EQ(Shown(Line(), {0, 0, lw, lh}),
            Drawn(lw, lh + Bar(), lw, lh,
                  [&](gdi::DeviceContext& dc) { Models().Line.LinePlot.PlotRedraw(dc); }));
  // The bars sit along the plot area, the surface's on two sides.
  EXPECT_EQ(Line().hsbLine->geometry(), QRect(0, lh, lw, Bar()));
  EXPECT_EQ(Surface().vsbSurface->geometry(), QRect(Surface().Canvas().width() - Bar(), 0, Bar(),
                                                    Surface().Canvas().height() - Bar()));
  // The screen shows the backing image.
  EXPECT_EQ(Contour().Canvas().grab().toImage().convertToFormat(QImage::Format_RGB32),
            Shown(Contour()).convertToFormat(QImage::Format_RGB32));
}

TEST_F(ResultWindowTest, PlotsThatAreNotReadyShowTheWorkspace) {
  ShowOutputViews({3, 4, 5}, false);
  EXPECT_TRUE(AllPixels(Shown(Contour()), Workspace()));
  // The surface's whole client, the profile's plot area above its bar.
  EXPECT_TRUE(AllPixels(Shown(Surface()), Workspace()));
  EXPECT_TRUE(
      AllPixels(Shown(Line(), {0, 0, Line().Canvas().width(), Line().Canvas().height() - Bar()}),
                Workspace()));
}

TEST_F(ResultWindowTest, TheSyntheticFringesShowThePictureAtTheZoom) {
  ShowOutputViews({6});
  const SFringeViewModel& model = Models().SFringe;
  ASSERT_TRUE(model.ImageReady);
  ASSERT_EQ(model.XSize, 150);
  const QImage shown = Shown(SFringe());
  // 200 %: every picture byte is a square of two by two grey pixels.
  for (const auto& [x, y] : {std::pair{0, 0}, {75, 75}, {30, 100}, {149, 149}}) {
    const int grey = model.Picture[static_cast<std::size_t>(y) * 150 + x];
    EXPECT_EQ(shown.pixel(2 * x + 1, 2 * y + 1) & 0xFFFFFF, qRgb(grey, grey, grey) & 0xFFFFFF)
        << x << "," << y;
  }
  // Sized to the picture: the view is the picture, no bar is needed.
  EXPECT_EQ(SFringe().Canvas().width() - SFringe().vsbSFringe->width(), 300);
  EXPECT_EQ(SFringe().Canvas().height() - SFringe().hsbSFringe->height(), 300);
  EXPECT_TRUE(SFringe().hsbSFringe->isHidden());
  EXPECT_TRUE(SFringe().vsbSFringe->isHidden());
}

TEST_F(ResultWindowTest, RedDisplayShowsBlackToRedButPrintsGrey) {
  settings_.RedDisplay = true;
  ShowOutputViews({6});
  const SFringeViewModel& model = Models().SFringe;
  const auto at = std::find(model.Picture.begin(), model.Picture.end(), std::uint8_t{128});
  ASSERT_NE(at, model.Picture.end());
  const int i = static_cast<int>(at - model.Picture.begin());
  EXPECT_EQ(SFringe().FullBitmap()->RgbAt(i % model.XSize, i / model.XSize), qRgb(128, 0, 0) & 0xFFFFFF);
  // The print buffer's table entry 128 stays grey (blue, green, red, 0).
  EXPECT_EQ(model.PrintBuffer[40 + 4 * 128], 128);
  EXPECT_EQ(model.PrintBuffer[40 + 4 * 128 + 1], 128);
  EXPECT_EQ(model.PrintBuffer[40 + 4 * 128 + 2], 128);
}

TEST_F(ResultWindowTest, TextWindowsShowTheirReportInTheScreenFontWithItsTabStops) {
  ShowOutputViews({7, 8, 9});
  for (const std::int32_t formType : {7, 8, 9}) {
    frmText& view = Text(formType);
    const TextViewModel& model = *Models().Text(formType);
    EXPECT_EQ(view.Text(), model.Text) << formType;
    EXPECT_EQ(view.txtOutput->font().family(), "Arial");
    EXPECT_EQ(view.txtOutput->font().pointSize(), 10);
    EXPECT_TRUE(view.txtOutput->isReadOnly());
  }
  EXPECT_EQ(Text(7).HelpContextID, 25);
  EXPECT_EQ(Text(8).HelpContextID, 26);
  EXPECT_EQ(Text(9).HelpContextID, 56);
  // Zernike line 1 " 1\t 0.xxxxxx\t19\t...": the stops 16, 68 and 84 dialog units are
  // 4, 17 and 21 average character widths.
  QPlainTextEdit& box = *Text(8).txtOutput;
  const QTextBlock line = box.document()->firstBlock();
  ASSERT_NE(line.layout(), nullptr);
  ASSERT_GT(line.layout()->lineCount(), 0);
  const QString text = line.text();
  const double unit = QFontMetricsF(box.font()).averageCharWidth() / 4.0;
  int tab = -1;
  for (const double stop : {16.0, 68.0, 84.0}) {
    tab = static_cast<int>(text.indexOf('\t', tab + 1));
    ASSERT_GE(tab, 0);
    const QTextLine first = line.layout()->lineAt(0);
    EXPECT_NEAR(first.cursorToX(tab + 1) - first.cursorToX(0), stop * unit, 0.5) << stop;
  }
}

// Where the text after each tab of a line of the text box starts, in pixels.
std::vector<double> ColumnStarts(const QTextBlock& block) {
  std::vector<double> starts;
  // The box lays out only what it has shown; asking for a line's extent lays it out.
  block.document()->documentLayout()->blockBoundingRect(block);
  if (block.layout() == nullptr || block.layout()->lineCount() == 0) return starts;
  const QTextLine line = block.layout()->lineAt(0);
  const QString text = block.text();
  for (qsizetype tab = text.indexOf('\t'); tab >= 0; tab = text.indexOf('\t', tab + 1))
    starts.push_back(line.cursorToX(static_cast<int>(tab + 1)));
  return starts;
}

TEST_F(ResultWindowTest, TheGridResultsHeadingsStandOverTheirValues) {
  ShowOutputViews({9}, false);
  const struct {
    std::int32_t nx, ny;
  } grids[] = {{1, 1}, {4, 3}, {12, 3}, {3, 12}, {11, 11}, {25, 25}};
  for (const char* face : {"Courier New", "Arial"}) {
    doc_->SetText(true, "", 0, 10, 1, false, false, false, face);
    for (const auto& g : grids) {
      SCOPED_TRACE(std::string(face) + " " + std::to_string(g.nx) + " x " + std::to_string(g.ny));
      doc_->Grid = GridWithResults(g.nx, g.ny);
      doc_->Views().LoadDataIntoGridResults(*doc_);
      const QTextDocument& text = *Text(9).txtOutput->document();
      QTextBlock heading = text.firstBlock();
      while (heading.isValid() && heading.text() != "\t RMS\t P-V") heading = heading.next();
      ASSERT_TRUE(heading.isValid());
      const std::vector<double> columns = ColumnStarts(heading);
      ASSERT_EQ(columns.size(), 2u);
      const QTextBlock rule = heading.next();
      EXPECT_EQ(ColumnStarts(rule), columns);
      int cells = 0;
      int misaligned = 0;
      std::string first;
      for (QTextBlock cell = rule.next(); cell.isValid(); cell = cell.next(), ++cells) {
        const std::vector<double> values = ColumnStarts(cell);
        if (values.size() == 3 && values[0] == columns[0] && values[1] == columns[1]) continue;
        if (misaligned++ == 0) first = cell.text().toStdString();
      }
      EXPECT_EQ(cells, g.nx * g.ny);
      EXPECT_EQ(misaligned, 0) << "the first: " << first;
    }
  }
}

TEST_F(ResultWindowTest, TheTextColourAndStyleComeFromTheDocument) {
  FontSpec style = doc_->ScreenTextStyle();
  style.colour = gdi::RGB(200, 10, 30);
  style.Bold = style.Italic = style.Underline = true;
  style.Size = 14;
  ShowOutputViews({7}, false);
  Models().Aberrations.Font = style;
  Models().Aberrations.Text = "Output Units: Waves\r\n\r\nRMS\t 0.100";
  Text(7).UpdateTextBox();
  const QFont font = Text(7).txtOutput->font();
  EXPECT_TRUE(font.bold());
  EXPECT_TRUE(font.italic());
  EXPECT_TRUE(font.underline());
  EXPECT_EQ(font.pointSize(), 14);
  EXPECT_EQ(Text(7).txtOutput->palette().color(QPalette::Text), QColor(200, 10, 30));
  EXPECT_EQ(Text(7).txtOutput->document()->blockCount(), 3);
  EXPECT_EQ(Views().ViewText(7), "Output Units: Waves\r\n\r\nRMS\t 0.100");
}

TEST_F(ResultWindowTest, ASurfaceWhoseCellsCannotBeProjectedIsNotReadyAndLeftAsItWas) {
  ShowOutputViews({3}, false);
  const QImage before = Shown(Surface());
  Models().Surface.PlotReady = true;  // but without a mesh to project
  Models().Surface.PolygonsStale = true;
  Surface().PaintPlot();
  EXPECT_FALSE(Models().Surface.PlotReady);
  EXPECT_EQ(Shown(Surface()), before);
  EXPECT_TRUE(messages_.Messages().empty());
}

// --- Scrolling ---

TEST_F(ResultWindowTest, TheSurfaceTurnsWithItsScrollBars) {
  ShowOutputViews({3});
  const QImage before = SurfaceShown();
  EXPECT_EQ(Surface().hsbSurface->value(), 60);
  EXPECT_EQ(Surface().vsbSurface->value(), 30);
  Surface().hsbSurface->setValue(150);
  Surface().vsbSurface->setValue(45);
  EXPECT_EQ(Views().ViewTheta(), 150.0);
  EXPECT_EQ(Views().ViewPhi(), 45.0);
  double r = 0, theta = 0, phi = 0;
  Models().Surface.SurfacePlot.Chart.GetViewPoint(r, theta, phi);
  EXPECT_EQ(theta, 150.0);
  EXPECT_EQ(phi, 45.0);
  EXPECT_FALSE(Models().Surface.PolygonsStale);
  EXPECT_NE(SurfaceShown(), before);
  EXPECT_EQ(SurfaceShown(), SurfaceAsDrawn());
}

TEST_F(ResultWindowTest, DraggingTheThumbDrawsTheBoxAndTheReleaseTheSurface) {
  ShowOutputViews({3});
  QScrollBar& bar = *Surface().hsbSurface;
  bar.setSliderDown(true);
  bar.setValue(200);
  const int w = Surface().Canvas().width() - Bar(), h = Surface().Canvas().height() - Bar();
  const QImage box =
      Drawn(Surface().Canvas().width(), Surface().Canvas().height(), w, h,
            [&](gdi::DeviceContext& dc) { Models().Surface.SurfacePlot.Chart.ChartRedraw(dc); });
  EXPECT_EQ(SurfaceShown(), box);
  EXPECT_TRUE(Models().Surface.PolygonsStale);
  EXPECT_EQ(Views().ViewTheta(), 200.0);

  bar.setSliderDown(false);  // the release
  EXPECT_FALSE(Models().Surface.PolygonsStale);
  EXPECT_NE(SurfaceShown(), box);
  EXPECT_EQ(SurfaceShown(), SurfaceAsDrawn());
}

TEST_F(ResultWindowTest, AStoredAngleBeyondTheBarHoldsTheBarNotTheAngle) {
  ShowOutputViews({3, 5});
  Views().SetViewTheta(359.5);
  EXPECT_EQ(Views().ViewTheta(), 359.5);
  EXPECT_EQ(Surface().hsbSurface->value(), 359);
  double r = 0, theta = 0, phi = 0;
  Models().Surface.SurfacePlot.Chart.GetViewPoint(r, theta, phi);
  EXPECT_EQ(theta, 359.5);
  EXPECT_EQ(SurfaceShown(), SurfaceAsDrawn());
  Views().SetViewAngle(120);
  EXPECT_EQ(Line().hsbLine->value(), 120);
  EXPECT_EQ(doc_->Views().ViewAngle(), 120);
}

TEST_F(ResultWindowTest, AViewPointTheChartRefusesKeepsTheOldView) {
  ShowOutputViews({3});
  Views().SetViewPhi(91);  // beyond the chart's range
  double r = 0, theta = 0, phi = 0;
  Models().Surface.SurfacePlot.Chart.GetViewPoint(r, theta, phi);
  EXPECT_EQ(phi, 30.0);
  const QImage before = SurfaceShown();
  Surface().vsbSurface->setValue(80);
  Models().Surface.SurfacePlot.Chart.GetViewPoint(r, theta, phi);
  EXPECT_EQ(phi, 80.0);
  EXPECT_NE(SurfaceShown(), before);
}

TEST_F(ResultWindowTest, TheProfileTurnsWithItsScrollBar) {
  ShowOutputViews({5});
  doc_->DocDirty = false;
  Line().hsbLine->setValue(45);
  EXPECT_EQ(Views().ViewAngle(), 45);
  EXPECT_EQ(Models().Line.LinePlot.Chart.Axis(kAxisBottom).TitleFont.Caption,
            "Profile along 45 degs");
  EXPECT_TRUE(doc_->DocDirty);
  std::vector<double> x(doc_->ProfileSize), y(doc_->ProfileSize);
  ZernikeVector filtered{};
  for (int i = 1; i <= kZernikeTermCount; ++i) filtered[i] = doc_->ZernikeFiltered(i);
  doc_->ZAnalysis.EvalProfile(filtered, 45 / kDegreesPerRadian, doc_->ProfileSize, x, y);
  const auto shown = Models().Line.LinePlot.YValues();
  ASSERT_EQ(shown.size(), y.size());
  for (std::size_t i = 0; i < y.size(); i += 10) EXPECT_DOUBLE_EQ(shown[i], y[i]) << i;
  const int lw = Line().Canvas().width(), lh = Line().Canvas().height() - Bar();
  EXPECT_EQ(Shown(Line(), {0, 0, lw, lh}),
            Drawn(lw, lh + Bar(), lw, lh,
                  [&](gdi::DeviceContext& dc) { Models().Line.LinePlot.PlotRedraw(dc); }));
  // The profile follows the angle at the next analysis too.
  doc_->UpdateAnalysis(false, false);
  EXPECT_EQ(Models().Line.LinePlot.Chart.Axis(kAxisBottom).TitleFont.Caption,
            "Profile along 45 degs");
}

TEST_F(ResultWindowTest, ScrollingAPlotThatIsNotReadyDoesNothing) {
  ShowOutputViews({3, 5}, false);
  doc_->DocDirty = false;
  Line().hsbLine->setValue(45);
  Surface().hsbSurface->setValue(10);
  EXPECT_FALSE(doc_->DocDirty);
  EXPECT_EQ(Views().ViewAngle(), 0);
  EXPECT_EQ(Views().ViewTheta(), 60.0);
}

// --- Sizes ---

TEST_F(ResultWindowTest, AClientSmallerThanTheScrollBarsIsLeftAlone) {
  ShowOutputViews({3, 5, 6});
  for (CanvasSubWindow* window :
       std::initializer_list<CanvasSubWindow*>{&Surface(), &Line(), &SFringe()}) {
    const auto bars = window->Canvas().findChildren<QScrollBar*>();
    std::vector<QRect> places;
    for (const QScrollBar* bar : bars) places.push_back(bar->geometry());
    const std::optional<ChartWindowRect> surfaceRect = Models().Surface.WindowRect;
    const std::optional<ChartWindowRect> lineRect = Models().Line.WindowRect;
    const QImage before = Shown(*window);
    window->Canvas().resize(Bar() / 2, Bar() / 2);
    for (int i = 0; i < bars.size(); ++i)
      EXPECT_EQ(bars[i]->geometry(), places[static_cast<std::size_t>(i)]);
    EXPECT_EQ(Models().Surface.WindowRect, surfaceRect);
    EXPECT_EQ(Models().Line.WindowRect, lineRect);
    EXPECT_EQ(Shown(*window), before);
  }
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(ResultWindowTest, AMinimisedWindowIsNotLaidOut) {
  ShowOutputViews({3, 4});
  Surface().showMinimized();
  ASSERT_EQ(Views().ViewShowState(3), WindowShowState::Minimized);
  const std::optional<ChartWindowRect> before = Models().Surface.WindowRect;
  Surface().Canvas().resize(200, 150);
  EXPECT_EQ(Models().Surface.WindowRect, before);
  Surface().showNormal();
  const int m = Models().Surface.WindowMargin;
  EXPECT_EQ(Models().Surface.WindowRect->right, Surface().Canvas().width() - Bar() - m - 1);
  EXPECT_EQ(SurfaceShown(), SurfaceAsDrawn());
}

// --- The synthetic fringes: zoom, pan, tools ---

// A picture of w x h points rising to the right and down from black at the top left.
std::vector<double> Ramp(std::int32_t w, std::int32_t h) {
  std::vector<double> map(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  for (std::int32_t y = 0; y < h; ++y)
    for (std::int32_t x = 0; x < w; ++x) map[static_cast<std::size_t>(y) * w + x] = x + y;
  return map;
}

class SFringeWindowTest : public ResultWindowTest {
 protected:
  void SetUp() override {
    ResultWindowTest::SetUp();
    ShowOutputViews({6}, false);
  }
  void Show(std::int32_t w, std::int32_t h, std::int32_t zoom) {
    Models().SFringe.ZoomFactor = zoom;
    LoadDataIntoSFringe(Models(), *doc_, w, h, Ramp(w, h));
    SetViewSize(kViewWidth, kViewHeight);
  }
  // The window resized so that its view (the client less the bars) has this size.
  void SetViewSize(int w, int h) {
    const QMargins frame = SFringe().contentsMargins();
    SFringe().resize(w + Bar() + frame.left() + frame.right(),
                     h + Bar() + frame.top() + frame.bottom());
  }
  void Click(QPoint at, Qt::KeyboardModifiers modifiers) {
    QTest::mouseClick(&SFringe().Canvas(), Qt::LeftButton, modifiers, at);
  }
  void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, SFringe().Canvas().mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(&SFringe().Canvas(), &event);
  }
  // As the window system sends them: the modifiers held before the key changed them.
  void Key(QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers before) {
    QKeyEvent event(type, key, before);
    QApplication::sendEvent(&SFringe().Canvas(), &event);
  }
  Qt::CursorShape Cursor() { return SFringe().Canvas().cursor().shape(); }
  bool Black(int x, int y) { return (Shown(SFringe()).pixel(x, y) & 0xFFFFFF) == 0; }
  QScrollBar& H() { return *SFringe().hsbSFringe; }
  QScrollBar& V() { return *SFringe().vsbSFringe; }

  static constexpr int kViewWidth = 200;
  static constexpr int kViewHeight = 160;
};

TEST_F(SFringeWindowTest, TheFirstPictureSizesTheWindowToIt) {
  const QSize before = SFringe().size();
  Models().SFringe.ZoomFactor = 150;
  LoadDataIntoSFringe(Models(), *doc_, 81, 40, Ramp(81, 40));
  // 81 x 1.5 = 121.5 rounds to the even 122.
  EXPECT_EQ(SFringe().Canvas().width() - Bar(), 122);
  EXPECT_EQ(SFringe().Canvas().height() - Bar(), 60);
  EXPECT_NE(SFringe().size(), before);
  EXPECT_TRUE(H().isHidden());
  EXPECT_FALSE(Black(120, 59));
}

TEST_F(SFringeWindowTest, ZoomTable) {
  const struct { std::int32_t w, h; } pictures[] = {{60, 40}, {300, 250}};
  for (const auto& picture : pictures) {
    for (const std::int32_t zoom : {25, 50, 100, 200, 1600}) {
      Show(picture.w, picture.h, zoom);
      const std::string which = std::to_string(picture.w) + " at " + std::to_string(zoom);
      const double scale = 100.0 / zoom;
      const int zoomedW = static_cast<int>(std::nearbyint(picture.w * zoom / 100.0));
      const int zoomedH = static_cast<int>(std::nearbyint(picture.h * zoom / 100.0));
      const int hMax = static_cast<int>(std::nearbyint(picture.w - kViewWidth * scale));
      const int vMax = static_cast<int>(std::nearbyint(picture.h - kViewHeight * scale));
      EXPECT_EQ(H().isHidden(), hMax < 1) << which;
      EXPECT_EQ(V().isHidden(), vMax < 1) << which;
      EXPECT_EQ(H().isHidden() ? H().value() : H().maximum(), hMax < 1 ? 0 : hMax) << which;
      EXPECT_EQ(V().isHidden() ? V().value() : V().maximum(), vMax < 1 ? 0 : vMax) << which;
      // Black strips right of and below a smaller picture, from just past its last pixel.
      if (zoomedW < kViewWidth) {
        EXPECT_FALSE(Black(zoomedW - 1, 0)) << which;
        EXPECT_TRUE(Black(zoomedW, 0)) << which;
        EXPECT_TRUE(Black(kViewWidth - 1, kViewHeight - 1)) << which;
      }
      if (zoomedH < kViewHeight) {
        EXPECT_FALSE(Black(0, zoomedH - 1)) << which;
        EXPECT_TRUE(Black(0, zoomedH)) << which;
      }
      if (zoomedW >= kViewWidth && zoomedH >= kViewHeight) {
        EXPECT_FALSE(Black(kViewWidth - 1, kViewHeight - 1)) << which;
      }
      // A reduced copy below 100 % only, the size of the picture at the zoom.
      ASSERT_EQ(SFringe().SmallBitmap() != nullptr, zoom < 100) << which;
      if (zoom < 100) {
        EXPECT_EQ(SFringe().SmallBitmap()->Image().size(), QSize(zoomedW, zoomedH)) << which;
      }
    }
  }
}

TEST_F(SFringeWindowTest, TheReducedCopyIsMadeOncePerZoom) {
  Show(300, 250, 50);
  ASSERT_NE(SFringe().SmallBitmap(), nullptr);
  const qint64 made = SFringe().SmallBitmap()->Image().cacheKey();
  SFringe().PaintImage();
  H().setValue(20);
  SetViewSize(150, 100);
  EXPECT_EQ(SFringe().SmallBitmap()->Image().cacheKey(), made);
  Views().SetViewZoom(6, 25);
  ASSERT_NE(SFringe().SmallBitmap(), nullptr);
  EXPECT_NE(SFringe().SmallBitmap()->Image().cacheKey(), made);
  EXPECT_EQ(SFringe().SmallBitmap()->Image().size(), QSize(75, 62));  // 62.5 rounds to even
  Views().SetViewZoom(6, 100);
  EXPECT_EQ(SFringe().SmallBitmap(), nullptr);
}

TEST_F(SFringeWindowTest, ZoomClicksCentreTheClickedPointAtTheNextZoom) {
  Show(300, 250, 100);
  host_.zoomIndex = 6;  // 100 %
  host_.ClearLog();
  // Shift: in to 150 %, about a point near the top left: values of at least 1.
  Click({5, 5}, Qt::ShiftModifier);
  EXPECT_EQ(host_.calls, std::vector<std::string>{"SelectZoomListIndex 5"});
  EXPECT_EQ(H().value(), 1);
  EXPECT_EQ(V().value(), 1);
  EXPECT_EQ(H().maximum(), 300 - 133);
  // Ctrl: out to 75 %, near the far corner: capped at the new maxima.
  host_.zoomIndex = 6;
  host_.ClearLog();
  Click({195, 155}, Qt::ControlModifier);
  EXPECT_EQ(host_.calls, std::vector<std::string>{"SelectZoomListIndex 7"});
  EXPECT_EQ(H().value(), 300 - 267);
  EXPECT_EQ(V().value(), 250 - 213);
  // No step beyond either end of the list.
  host_.ClearLog();
  host_.zoomIndex = 0;
  Click({50, 50}, Qt::ShiftModifier);
  host_.zoomIndex = 9;
  Click({50, 50}, Qt::ControlModifier);
  EXPECT_TRUE(host_.calls.empty());
  EXPECT_EQ(H().value(), 300 - 267);
}

TEST_F(SFringeWindowTest, PanningStopsAtBothEnds) {
  Show(300, 250, 100);
  ASSERT_EQ(H().maximum(), 100);
  ASSERT_EQ(V().maximum(), 90);
  Mouse(QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton);
  Mouse(QEvent::MouseMove, {70, 80}, Qt::LeftButton);
  EXPECT_EQ(H().value(), 30);
  EXPECT_EQ(V().value(), 20);
  // The picture follows the bars.
  EXPECT_EQ(Shown(SFringe()).pixel(0, 0) & 0xFFFFFF, SFringe().FullBitmap()->RgbAt(30, 20));
  Mouse(QEvent::MouseMove, {-100, -100}, Qt::LeftButton);
  EXPECT_EQ(H().value(), 100);
  EXPECT_EQ(V().value(), 90);
  Mouse(QEvent::MouseMove, {300, 300}, Qt::LeftButton);
  EXPECT_EQ(H().value(), 0);
  EXPECT_EQ(V().value(), 0);
  Mouse(QEvent::MouseButtonRelease, {300, 300}, Qt::NoButton);
  Mouse(QEvent::MouseMove, {100, 100}, Qt::LeftButton);
  EXPECT_EQ(H().value(), 0);
}

TEST_F(SFringeWindowTest, ShiftAndCtrlShowTheZoomCursors) {
  Show(60, 40, 200);
  EXPECT_EQ(Cursor(), Qt::OpenHandCursor);
  Key(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier);
  EXPECT_EQ(Cursor(), Qt::CrossCursor);
  Key(QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier);
  EXPECT_EQ(Cursor(), Qt::OpenHandCursor);
  Key(QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier);
  EXPECT_EQ(Cursor(), Qt::ForbiddenCursor);
  // Shift and Ctrl together keep the cursor.
  Key(QEvent::KeyPress, Qt::Key_Shift, Qt::ControlModifier);
  EXPECT_EQ(Cursor(), Qt::ForbiddenCursor);
  // Either tool of the main window gives the view its hand.
  Views().SetMouseTool(6, true);
  EXPECT_EQ(Cursor(), Qt::OpenHandCursor);
}

TEST_F(SFringeWindowTest, ActivationReportsTheZoomAsARatio) {
  Show(60, 40, 200);
  doc_->OutputViews_Select(6);
  EXPECT_EQ(doc_->ActiveView, 6);
  EXPECT_EQ(host_.calls.back(), "UpdateMainFrame 6 " + std::to_string(2.0) + " 0");
  Views().SetViewZoom(6, 50);
  EXPECT_EQ(Models().SFringe.ZoomFactor, 50);
  EXPECT_TRUE(Black(30, 0));  // 60 at 50 % ends at 30
  EXPECT_FALSE(Black(29, 0));
}

// --- Text views ---

TEST_F(ResultWindowTest, TheTextBoxPassesOnlyTheKeysThatMoveAndCopy) {
  ShowOutputViews({8});
  QPlainTextEdit& box = *Text(8).txtOutput;
  const std::string text = Text(8).Text();
  box.setFocus();
  QTest::keyClick(&box, Qt::Key_Down, Qt::ShiftModifier);  // selects the first line
  QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
  QTest::keyClick(&box, Qt::Key_Delete);
  QTest::keyClick(&box, Qt::Key_X);
  QTest::keyClick(&box, Qt::Key_Backspace);
  QTest::keyClick(&box, Qt::Key_Return);
  EXPECT_EQ(Text(8).Text(), text);
  const std::string firstLine = text.substr(0, text.find('\r')) + "\r\n";
  EXPECT_EQ(Views().ViewSelectedText(8), firstLine);
  QApplication::clipboard()->clear();
  QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
            text.substr(0, text.find('\r')) + "\n");
  QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(box.textCursor().position(), box.document()->characterCount() - 1);
  EXPECT_FALSE(box.acceptDrops());
  // The whole text when nothing is selected, the CR LF line ends kept.
  EXPECT_EQ(Views().ViewSelectedText(8), "");
  EXPECT_EQ(Views().ViewText(8), Models().Zernikes.Text);
  EXPECT_EQ(Views().ViewText(3), "");
}

// --- The frame: close box, activation, focus, lifetime ---

class ResultCloseBoxTest : public ResultWindowTest,
                           public ::testing::WithParamInterface<std::int32_t> {};

// The frame's part of a close (flag, menu check, toolbar) is the document windows' own.
TEST_P(ResultCloseBoxTest, AClosedWindowKeepsWhatItShowsUntilItsDocumentCloses) {
  const std::int32_t formType = GetParam();
  ShowOutputViews(kAllOutputViews);
  const QPointer<DocumentSubWindow> window = Views().SubWindow(formType);
  const QImage shown = window->widget()->grab().toImage();

  EXPECT_FALSE(window->close());
  RunDeferredDeletes();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isHidden());
  EXPECT_FALSE(doc_->*FindOutputViewKind(formType)->Visible);
  doc_->*FindOutputViewKind(formType)->Visible = true;
  doc_->OutputViews_UpdateVisibility(false);
  ASSERT_FALSE(window->isHidden());
  EXPECT_EQ(window->widget()->grab().toImage(), shown);

  std::int16_t cancel = 0;
  table_->CloseDocument(doc_, true, cancel);
  RunDeferredDeletes();
  EXPECT_EQ(window, nullptr);
}

INSTANTIATE_TEST_SUITE_P(EveryOutputView, ResultCloseBoxTest, ::testing::ValuesIn(kAllOutputViews));

TEST_F(ResultWindowTest, ActivatingAResultWindowMakesItTheDocumentsActiveView) {
  ShowOutputViews({3, 5, 7});
  for (const std::int32_t formType : {5, 7, 3}) {
    host_.ClearLog();
    Views().FocusView(formType);
    EXPECT_EQ(doc_->ActiveView, formType);
    EXPECT_EQ(host_.calls,
              (std::vector<std::string>{"StoreWindowLayout " + std::to_string(doc_->ovDocIndex),
                                        "UpdateMainFrame " + std::to_string(formType) + " " +
                                            std::to_string(1E+308) + " 0"}));
    // The keys go to the window's contents.
    QWidget* contents = Views().SubWindow(formType)->widget();
    EXPECT_EQ(contents->window()->focusWidget(), contents) << formType;
  }
}

TEST_F(ResultWindowTest, TheLineProfileKeepsItsPlaceWhenLeftWithSharedPlaces) {
  ShowOutputViews({3, 5});
  const WindowPlacement before = settings_.ResultWindowLayout[2];
  Views().FocusView(5);
  Line().setGeometry(33, 44, 300, 250);
  Views().FocusView(3);
  EXPECT_EQ(settings_.ResultWindowLayout[2], (WindowPlacement{33, 44, 300, 250}));

  // Each document's own places: the layout is not touched.
  settings_.HogWindows = false;
  settings_.ResultWindowLayout[2] = before;
  Views().FocusView(5);
  Line().setGeometry(55, 66, 300, 250);
  Views().FocusView(3);
  EXPECT_EQ(settings_.ResultWindowLayout[2], before);

  // Nor when it is minimised (a maximised window hands its state on to the next).
  settings_.HogWindows = true;
  Views().FocusView(5);
  Line().showMinimized();
  Views().FocusView(3);
  EXPECT_EQ(settings_.ResultWindowLayout[2], before);
}

// --- Printing ---

gdi::DeviceCaps PrinterCaps() {
  gdi::DeviceCaps printer = gdi::ScreenDeviceCaps();
  printer.technology = gdi::DT_RASPRINTER;
  printer.horzRes = printer.physicalWidth = printer.horzRes * 4;
  printer.vertRes = printer.physicalHeight = printer.vertRes * 4;
  printer.logPixelsX = printer.logPixelsY = 600;
  return printer;
}

TEST_F(ResultWindowTest, EveryWindowPrintsIntoARectangleAndKeepsItsScreenLayout) {
  ShowOutputViews(kAllOutputViews);
  std::int32_t left = 0, top = 0, width = 0, height = 0;
  Models().Contour.ContourPlot.Chart.GetPlotLimits(left, top, width, height);
  const std::optional<ChartWindowRect> lineRect = Models().Line.WindowRect;
  const QImage surface = SurfaceShown();

  const auto prints = [](const std::function<void(gdi::DeviceContext&)>& print) {
    gdi::RecordingDeviceContext printer(PrinterCaps());
    print(printer);
    return printer.Records().size();
  };
  EXPECT_GT(prints([&](gdi::DeviceContext& dc) { Contour().PrintPlot(dc, 100, 100, 2100, 2100); }),
            50u);
  EXPECT_GT(prints([&](gdi::DeviceContext& dc) { Surface().PrintPlot(dc, 100, 100, 3100, 2100); }),
            50u);
  EXPECT_GT(prints([&](gdi::DeviceContext& dc) { Line().PrintPlot(dc, 100, 100, 3100, 2100); }),
            50u);
  gdi::RecordingDeviceContext picture(PrinterCaps());
  SFringe().PrintImage(picture, 100, 100, 2100, 2100);
  EXPECT_EQ(test::CallsNamed(picture, "StretchDIBits").size(), 1u);
  for (const std::int32_t formType : {7, 8, 9})
    EXPECT_GT(prints([&](gdi::DeviceContext& dc) {
                Text(formType).PrintTextBox(dc, 100, 100, 3100, 4100);
              }),
              3u)
        << formType;

  // The screen layout is back: the next paint matches the window.
  std::int32_t l = 0, t = 0, w = 0, h = 0;
  Models().Contour.ContourPlot.Chart.GetPlotLimits(l, t, w, h);
  EXPECT_EQ((std::array{l, t, w, h}), (std::array{left, top, width, height}));
  EXPECT_EQ(Models().Contour.ContourPlot.Chart.TICKMAJORLENGTH, 7);
  EXPECT_EQ(Models().Line.WindowRect, lineRect);
  Surface().PaintPlot();
  EXPECT_EQ(SurfaceShown(), surface);
}

TEST_F(ResultWindowTest, ThePrintHookPrintsEachResultWindowThroughItsOwnMember) {
  ShowOutputViews(kAllOutputViews);
  const auto printed = [](const std::function<void(gdi::DeviceContext&)>& print) {
    gdi::RecordingDeviceContext printer(PrinterCaps());
    print(printer);
    return printer.Log();
  };
  const auto hook = [&](std::int32_t formType) {
    return printed([&](gdi::DeviceContext& dc) { Views().PrintView(formType, dc, 100, 100, 2100, 2600); });
  };
  EXPECT_EQ(hook(3), printed([&](gdi::DeviceContext& dc) { Surface().PrintPlot(dc, 100, 100, 2100, 2600); }));
  EXPECT_EQ(hook(4), printed([&](gdi::DeviceContext& dc) { Contour().PrintPlot(dc, 100, 100, 2100, 2600); }));
  EXPECT_EQ(hook(5), printed([&](gdi::DeviceContext& dc) { Line().PrintPlot(dc, 100, 100, 2100, 2600); }));
  EXPECT_EQ(hook(6), printed([&](gdi::DeviceContext& dc) { SFringe().PrintImage(dc, 100, 100, 2100, 2600); }));
  for (const std::int32_t formType : {7, 8, 9}) {
    EXPECT_EQ(hook(formType), printed([&](gdi::DeviceContext& dc) {
                Text(formType).PrintTextBox(dc, 100, 100, 2100, 2600);
              }))
        << formType;
  }
  for (const std::int32_t formType : {3, 6, 7}) EXPECT_FALSE(hook(formType).empty()) << formType;
  // No image view here, no view code 2; and nothing once the windows are gone.
  EXPECT_EQ(hook(1), "");
  EXPECT_EQ(hook(2), "");
  Views().UnloadOutputViews();
  for (const std::int32_t formType : {3, 4, 5, 6, 7, 8, 9}) EXPECT_EQ(hook(formType), "") << formType;
}

// --- The whole road: an analysed document fills its windows ---

TEST_F(ResultWindowTest, AnAnalysedDocumentFillsItsSevenWindowsWhereTheLayoutPutsThem) {
  ShowOutputViews({3, 4, 6, 7});
  for (const auto& kind : kOutputViewKinds) {
    DocumentSubWindow* window = Views().SubWindow(kind.FormType);
    ASSERT_NE(window, nullptr) << kind.FormType;
    EXPECT_EQ(window->mdiArea(), &host_.Area());
    EXPECT_EQ(window->isHidden(), !(doc_->*kind.Visible)) << kind.FormType;
    EXPECT_EQ(window->windowTitle().toStdString(), std::string(kind.CaptionPrefix) + "mirror.bmp");
    const WindowPlacement place = settings_.ResultWindowLayout[kind.LayoutIndex];
    // The synthetic fringes took the size of their first picture at 200 %.
    if (kind.FormType == 6) {
      EXPECT_EQ(window->pos(), QPoint(place.Left, place.Top));
      EXPECT_EQ(SFringe().Canvas().size(), QSize(300 + Bar(), 300 + Bar()));
    } else {
      EXPECT_EQ(window->geometry(), QRect(place.Left, place.Top, place.Width, place.Height));
    }
  }
  EXPECT_TRUE(Models().Surface.PlotReady);
  EXPECT_TRUE(Models().Contour.PlotReady);
  EXPECT_TRUE(Models().Line.PlotReady);
  EXPECT_TRUE(Models().SFringe.ImageReady);
  EXPECT_EQ(host_.Area().activeSubWindow(), &Surface());
  // Every window shows its own data, hidden ones too.
  EXPECT_EQ(SurfaceShown(), SurfaceAsDrawn());
  const int lw = Line().Canvas().width(), lh = Line().Canvas().height() - Bar();
  EXPECT_EQ(Shown(Line(), {0, 0, lw, lh}),
            Drawn(lw, lh + Bar(), lw, lh,
                  [&](gdi::DeviceContext& dc) { Models().Line.LinePlot.PlotRedraw(dc); }));
  EXPECT_EQ(Text(7).Text().substr(0, 19), "Output Units: Waves");
  EXPECT_EQ(Text(8).Text(), Models().Zernikes.Text);
  EXPECT_NE(Text(9).Text().find("Maximum Acceptable RMS:"), std::string::npos);
  double lo = 0, hi = 0;
  Models().Contour.ContourPlot.GetZAxisMinMax(lo, hi);
  EXPECT_EQ(doc_->zmin, lo);
  EXPECT_EQ(doc_->zmax, hi);
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(ResultWindowTest, TheViewAnglesGoIntoTheDocumentFileAndComeBackToTheBars) {
  ShowOutputViews({3, 5});
  Surface().hsbSurface->setValue(100);
  Surface().vsbSurface->setValue(20);
  Line().hsbLine->setValue(45);
  const std::string text = DocumentText(*doc_);

  clsDocument* copy = nullptr;
  ASSERT_TRUE(table_->NewDocument(copy));
  StringLineSource file(text);
  ASSERT_EQ(ReadDocumentText(*copy, file), DocumentReadStatus::Complete);
  auto& views = dynamic_cast<ResultDocumentViews&>(copy->Views());
  EXPECT_EQ(views.ViewTheta(), 100.0);
  EXPECT_EQ(views.ViewPhi(), 20.0);
  EXPECT_EQ(views.ViewAngle(), 45);
  EXPECT_EQ(views.SurfacePlotView()->hsbSurface->value(), 100);
  EXPECT_EQ(views.SurfacePlotView()->vsbSurface->value(), 20);
  EXPECT_EQ(views.LineProfileView()->hsbLine->value(), 45);
  double r = 0, theta = 0, phi = 0;
  views.Models().Surface.SurfacePlot.Chart.GetViewPoint(r, theta, phi);
  EXPECT_EQ(theta, 100.0);
  EXPECT_EQ(phi, 20.0);
}

}  // namespace
}  // namespace orvale::testing
