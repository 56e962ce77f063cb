// Where the tool windows open beside the main window: never over its title bar, menu bar
// or toolbar, whether it is maximised as they open, before or after; a stored place clear
// of them is kept. With fresh settings, no tool window opens on another.
#include <QApplication>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>
#include <functional>

#include "platform/registry/TypedSettings.h"
#include "platform/ui/ScreenTwips.h"
#include "platform/ui/WindowFrame.h"
#include "tests/app/frame/FrameTestSupport.h"

namespace orvale::testing {
namespace {

struct HostSituation {
  const char* Name;
  std::function<void(frmMain&)> AtStart;           // the main window's place as it starts
  std::function<void(frmMain&)> AfterToolsPlaced;  // what the user does before opening one
  std::function<void(frmMain&)> AfterToolsShown;   // what the user does with some open
};

void PrintTo(const HostSituation& situation, std::ostream* out) { *out << situation.Name; }

class ToolWindowPlacementTest : public FrameTest, public ::testing::WithParamInterface<HostSituation> {
 protected:
  // The main window shown as the situation has it, with its tool windows loaded and
  // those checked by default (toolbox and analysis options) shown.
  void StartUp(const HostSituation& situation) {
    Frame().show();
    QApplication::processEvents();
    if (situation.AtStart) situation.AtStart(Frame());
    QApplication::processEvents();
    LoadToolWindows(app_->Tools);
    if (situation.AfterToolsPlaced) situation.AfterToolsPlaced(Frame());
    QApplication::processEvents();
    Frame().ShowToolWindowsByChecks();
    if (situation.AfterToolsShown) situation.AfterToolsShown(Frame());
    QApplication::processEvents();
  }
  QRect Place(ToolWindowKind kind) const {
    const ToolWindow& window = *app_->Tools.Of(kind);
    return {window.pos(), ExpectedOuterSize(window, FrameMarginsOf(Frame()))};
  }
  // Title bar, menu bar and toolbar: the frame's band down to its work area.
  QRect Bars() const {
    const QRect frame = Frame().frameGeometry();
    const QWidget* work = Frame().centralWidget();
    return QRect(frame.topLeft(), QPoint(frame.right(), work->mapToGlobal(QPoint(0, 0)).y() - 1));
  }
};

constexpr std::pair<const char*, ToolWindowKind> kToolWindows[] = {
    {"mnuViewToolBox", ToolWindowKind::ToolBox},     {"mnuViewAnalyzeBox", ToolWindowKind::Analyze},
    {"mnuViewGridAnalyzeBox", ToolWindowKind::AnalyzeGrid}, {"mnuViewAverageBox", ToolWindowKind::Average},
    {"mnuViewRefZernike", ToolWindowKind::RefZernike}, {"mnuViewMathBox", ToolWindowKind::Math},
};

TEST_P(ToolWindowPlacementTest, NoToolWindowOpensOverTheMainWindowsBars) {
  StartUp(GetParam());
  const QRect bars = Bars();
  ASSERT_GT(bars.height(), Frame().menuBar()->height());  // the toolbar is in it too
  ASSERT_TRUE(bars.contains(QRect(Frame().ToolBar()->mapToGlobal(QPoint(0, 0)), Frame().ToolBar()->size())));
  const QRect screen = Frame().screen()->availableGeometry();
  for (const auto& [item, kind] : kToolWindows) {
    SCOPED_TRACE(item);
    QWidget* window = app_->Tools.Of(kind);
    if (!window->isVisible()) Item(item)->trigger();
    ASSERT_TRUE(window->isVisible());
    const QRect place = Place(kind);
    EXPECT_FALSE(place.intersects(bars)) << "at " << place.x() << "," << place.y() << ", bars at "
                                         << bars.x() << "," << bars.y() << " " << bars.width() << "x"
                                         << bars.height();
    EXPECT_TRUE(screen.intersects(place));
  }
}

// The averaging box, whose default lies up and left of the main window, opens beside the
// toolbox, not on it.
TEST_P(ToolWindowPlacementTest, TheAveragingBoxOpensOffTheToolbox) {
  StartUp(GetParam());
  Item("mnuViewAverageBox")->trigger();
  ASSERT_TRUE(app_->Tools.Average->isVisible());
  ASSERT_TRUE(app_->Tools.ToolBox->isVisible());
  EXPECT_FALSE(Place(ToolWindowKind::Average).intersects(Place(ToolWindowKind::ToolBox)));
}

void Maximise(frmMain& frame) { frame.setWindowState(Qt::WindowMaximized); }

// Where the toolbox and the averaging box were stored by a run whose main window was
// maximised over them.
void StoreToolPlacesAtTheScreensTop(frmMain& frame) {
  const std::int32_t besideTheFrame = PixelsToTwips(frame.frameGeometry().right() + 1);
  SaveSettingLong("Toolbox", "Left", besideTheFrame);
  SaveSettingLong("Toolbox", "Top", 0);
  SaveSettingLong("CurrentVersion", "AverageLeft", besideTheFrame);
  SaveSettingLong("CurrentVersion", "AverageTop", 0);
  Maximise(frame);
}

INSTANTIATE_TEST_SUITE_P(
    HostSituations, ToolWindowPlacementTest,
    ::testing::Values(
        HostSituation{"normal, at its default place at the screen's top left", nullptr, nullptr, nullptr},
        HostSituation{"normal, lower down the screen",
                      [](frmMain& frame) { frame.move(120, 90); }, nullptr, nullptr},
        HostSituation{"maximised as it starts", Maximise, nullptr, nullptr},
        HostSituation{"maximised after the tool windows were placed", nullptr, Maximise, nullptr},
        HostSituation{"narrow at the top left, the toolbox and analysis window open beside it, then maximised",
                      [](frmMain& frame) { frame.resize(frame.width() / 2, frame.height()); }, nullptr, Maximise},
        HostSituation{"maximised as it starts with places stored over its bars", StoreToolPlacesAtTheScreensTop,
                      nullptr, nullptr}),
    [](const ::testing::TestParamInfo<HostSituation>& info) { return "Situation" + std::to_string(info.index); });

// The toolbox moves down off a maximised main window's bars; the analysis window, whose
// default place is under it, moves down with it.
TEST_F(FrameTest, UnderAMaximisedMainWindowTheAnalysisWindowStaysBelowTheToolbox) {
  Frame().setWindowState(Qt::WindowMaximized);
  Frame().show();
  QApplication::processEvents();
  LoadToolWindows(app_->Tools);
  Frame().ShowToolWindowsByChecks();
  const ToolWindow& toolbox = *app_->Tools.ToolBox;
  const QRect toolboxPlace(toolbox.pos(), ExpectedOuterSize(toolbox, FrameMarginsOf(Frame())));
  EXPECT_GE(toolboxPlace.top(), Frame().centralWidget()->mapToGlobal(QPoint(0, 0)).y());
  EXPECT_EQ(app_->Tools.Analyze->pos().y(), toolboxPlace.bottom() + 1);
}

// A stored place is kept where it covers none of the bars, even on another tool window;
// one over the bars moves off them as the window shows.
TEST_F(FrameTest, AToolWindowsStoredPlaceIsKeptUnlessItCoversTheMainWindowsBars) {
  Frame().setWindowState(Qt::WindowMaximized);
  Frame().show();
  QApplication::processEvents();
  const int workTop = Frame().centralWidget()->mapToGlobal(QPoint(0, 0)).y();
  const QPoint clear(40, workTop + 10);
  SaveSettingLong("Toolbox", "Left", PixelsToTwips(clear.x()));
  SaveSettingLong("Toolbox", "Top", PixelsToTwips(clear.y()));
  SaveSettingLong("CurrentVersion", "AverageLeft", PixelsToTwips(clear.x()));
  SaveSettingLong("CurrentVersion", "AverageTop", PixelsToTwips(clear.y()));
  SaveSettingLong("CurrentVersion", "CombineLeft", 0);
  SaveSettingLong("CurrentVersion", "CombineTop", 0);
  LoadToolWindows(app_->Tools);
  Frame().ShowToolWindowsByChecks();
  Item("mnuViewAverageBox")->trigger();
  Item("mnuViewMathBox")->trigger();
  EXPECT_EQ(app_->Tools.ToolBox->pos(), clear);
  EXPECT_EQ(app_->Tools.Average->pos(), clear);
  EXPECT_GE(app_->Tools.Math->pos().y(), workTop);
}

}  // namespace
}  // namespace orvale::testing
