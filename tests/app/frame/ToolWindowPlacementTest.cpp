// Where the tool windows open beside the main window: with fresh settings, never over its
// title bar, menu bar or toolbar, whether it is maximised or not; a stored place is kept.
#include <QApplication>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>
#include <functional>

#include "platform/registry/TypedSettings.h"
#include "platform/ui/WindowFrame.h"
#include "tests/app/frame/FrameTestSupport.h"

namespace orvale::testing {
namespace {

struct HostSituation {
  const char* Name;
  std::function<void(frmMain&)> AtStart;           // the main window's place as it starts
  std::function<void(frmMain&)> AfterToolsPlaced;  // what the user does before opening one
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
    const QRect place(window->pos(), ExpectedOuterSize(*window, FrameMarginsOf(Frame())));
    EXPECT_FALSE(place.intersects(bars)) << "at " << place.x() << "," << place.y() << ", bars at "
                                         << bars.x() << "," << bars.y() << " " << bars.width() << "x"
                                         << bars.height();
    EXPECT_TRUE(screen.intersects(place));
  }
}

INSTANTIATE_TEST_SUITE_P(
    HostSituations, ToolWindowPlacementTest,
    ::testing::Values(
        HostSituation{"normal, at its default place at the screen's top left", nullptr, nullptr},
        HostSituation{"normal, lower down the screen",
                      [](frmMain& frame) { frame.move(120, 90); }, nullptr},
        HostSituation{"maximised as it starts",
                      [](frmMain& frame) { frame.setWindowState(Qt::WindowMaximized); }, nullptr},
        HostSituation{"maximised after the tool windows were placed", nullptr,
                      [](frmMain& frame) { frame.setWindowState(Qt::WindowMaximized); }}),
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

TEST_F(FrameTest, AToolWindowsStoredPlaceIsKeptEvenOverTheMainWindowsBars) {
  SaveSettingLong("CurrentVersion", "AverageLeft", 0);
  SaveSettingLong("CurrentVersion", "AverageTop", 0);
  Frame().show();
  QApplication::processEvents();
  LoadToolWindows(app_->Tools);
  Frame().setWindowState(Qt::WindowMaximized);
  QApplication::processEvents();
  Item("mnuViewAverageBox")->trigger();
  EXPECT_EQ(app_->Tools.Average->pos(), QPoint(0, 0));
}

}  // namespace
}  // namespace orvale::testing
