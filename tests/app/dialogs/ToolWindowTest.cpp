#include "app/dialogs/ToolWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>

#include "platform/registry/MemorySettingsStore.h"
#include "platform/registry/TypedSettings.h"
#include "platform/ui/ScreenTwips.h"
#include "tests/support/QuitRequest.h"
#include "tests/support/RecordingMainFrame.h"

namespace orvale {
namespace {

TEST(ToolWindowTest, CloseRequestHidesUnchecksAndUpdatesTheToolbar) {
  testing::RecordingMainFrame frame;
  ToolWindow window(frame, ViewMenuItem::AnalyzeBox, "Analyze", nullptr);
  window.show();
  frame.ClearLog();

  EXPECT_FALSE(window.close());  // refused: the window lives on, hidden

  EXPECT_FALSE(window.isVisible());
  EXPECT_FALSE(frame.ViewItemChecked(ViewMenuItem::AnalyzeBox));
  ASSERT_EQ(frame.calls.size(), 2u);
  EXPECT_EQ(frame.calls[1], "UpdateToolBar");
  window.show();
  EXPECT_TRUE(window.isVisible());
}

// A window that refuses to close, as the main window does when the user cancels a save.
class RefusingWindow : public QWidget {
 protected:
  void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

TEST(ToolWindowTest, TheProgramsEndClosesItAndKeepsItsViewItemChecked) {
  testing::RecordingMainFrame frame;
  ToolWindow window(frame, ViewMenuItem::MathBox, "Math", nullptr);
  frame.SetViewItemChecked(ViewMenuItem::MathBox, true);
  window.show();
  frame.ClearLog();

  EXPECT_TRUE(testing::RequestQuit());

  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(frame.ViewItemChecked(ViewMenuItem::MathBox));  // shown again at the next start
  EXPECT_TRUE(frame.calls.empty());
  // Afterwards a close is the user's again.
  window.show();
  EXPECT_FALSE(window.close());
  EXPECT_FALSE(frame.ViewItemChecked(ViewMenuItem::MathBox));
}

// A tool window after whose close the refusing window turns up, so that the quit
// certainly reaches the tool window before it is refused.
class FirstToClose : public ToolWindow {
 public:
  FirstToClose(MainFrame& frame, QWidget& next)
      : ToolWindow(frame, ViewMenuItem::AverageBox, "Average", nullptr), next_(next) {}

 protected:
  void closeEvent(QCloseEvent* event) override {
    ToolWindow::closeEvent(event);
    next_.show();
  }

 private:
  QWidget& next_;
};

TEST(ToolWindowTest, AQuitAnotherWindowRefusesLeavesItShown) {
  testing::RecordingMainFrame frame;
  RefusingWindow main;
  FirstToClose window(frame, main);
  frame.SetViewItemChecked(ViewMenuItem::AverageBox, true);
  window.show();

  EXPECT_FALSE(testing::RequestQuit());

  EXPECT_TRUE(main.isVisible());
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(frame.ViewItemChecked(ViewMenuItem::AverageBox));
}

TEST(ToolWindowTest, PositionRoundTripsInTwipsAndFallsBackWhenOffScreen) {
  MemorySettingsStore store;
  ScopedSettingsStore scope(store);
  testing::RecordingMainFrame frame;
  ToolWindow window(frame, ViewMenuItem::ToolBox, "ToolBox", nullptr);
  window.resize(200, 150);
  const StoredPosition left{"Left", 0, 100000, 1500};
  const StoredPosition top{"Top", 0, 100000, 3000};

  window.RestorePosition("Toolbox", left, top);  // the first read makes the section
  SaveSettingLong("Toolbox", "Left", PixelsToTwips(120));
  SaveSettingLong("Toolbox", "Top", PixelsToTwips(80));
  window.RestorePosition("Toolbox", left, top);
  EXPECT_EQ(window.pos(), QPoint(120, 80));
  window.move(140, 90);
  window.SavePosition("Toolbox", "Left", "Top");
  EXPECT_EQ(GetSettingLong("Toolbox", "Left", 0, 100000, 0), PixelsToTwips(140));

  // Far beyond the screen: the defaults are used instead.
  SaveSettingLong("Toolbox", "Left", 99000);
  window.RestorePosition("Toolbox", left, top);
  EXPECT_EQ(window.pos(), QPoint(TwipsToPixels(1500), TwipsToPixels(3000)));
}

// Places stored on a larger screen than this one: a window that fits where it was
// stored stays there; one partly off the available screen comes back wholly onto it.
TEST(ToolWindowTest, AStoredPlacePartlyOffTheScreenComesBackWhollyOnIt) {
  MemorySettingsStore store;
  ScopedSettingsStore scope(store);
  testing::RecordingMainFrame frame;
  ToolWindow window(frame, ViewMenuItem::AnalyzeBox, "Analyze", nullptr);
  const QSize size(330, 455);
  window.resize(size);
  const QRect screen = AvailableScreenPixels();
  ASSERT_TRUE(screen.width() > size.width() && screen.height() > size.height());
  window.RestorePositionOnScreen("Analyze", "Left", "Top", 0, 0);  // the first read makes the section
  const int fitsLeft = screen.right() + 1 - size.width();
  const int fitsTop = screen.bottom() + 1 - size.height();
  struct Row {
    const char* Situation;
    QPoint Stored;
    QPoint Expected;
  };
  const Row rows[] = {
      {"on the screen", screen.topLeft() + QPoint(50, 40), screen.topLeft() + QPoint(50, 40)},
      {"at its bottom right corner", {fitsLeft, fitsTop}, {fitsLeft, fitsTop}},
      {"cut at the right", {screen.right() - 100, screen.top() + 40}, {fitsLeft, screen.top() + 40}},
      {"below the bottom edge", {screen.left() + 50, screen.bottom() - 100}, {screen.left() + 50, fitsTop}},
      {"off both", {screen.right() - 60, screen.bottom() - 60}, {fitsLeft, fitsTop}},
  };
  for (const Row& r : rows) {
    SaveSettingLong("Analyze", "Left", PixelsToTwips(r.Stored.x()));
    SaveSettingLong("Analyze", "Top", PixelsToTwips(r.Stored.y()));
    window.RestorePositionOnScreen("Analyze", "Left", "Top", 0, 0);
    EXPECT_EQ(window.pos(), r.Expected) << r.Situation;
    EXPECT_TRUE(screen.contains(QRect(window.pos(), window.OuterSize()))) << r.Situation;
    EXPECT_FALSE(window.AtDefaultPlace()) << r.Situation;
  }
}

// Beside the main window's right edge by default, but never off the screen: a
// maximised main window reaches the screen's right edge.
TEST(ToolWindowTest, TheDefaultPlaceBesideTheMainWindowStaysOnTheScreen) {
  testing::RecordingMainFrame frame;
  QWidget owner;
  ToolWindow window(frame, ViewMenuItem::ToolBox, "ToolBox", &owner);
  const QRect screen = AvailableScreenPixels();
  const QSize size(200, 150);
  window.resize(size);  // unframed, as is its owner
  struct Row {
    QRect main;
    int expectedLeft;
  };
  const Row rows[] = {
      {QRect(screen.left() + 10, screen.top() + 20, 400, 300), screen.left() + 410},
      {screen, screen.right() + 1 - size.width()},
  };
  for (const Row& r : rows) {
    owner.setGeometry(r.main);
    EXPECT_EQ(window.DefaultPlaceBesideOwner(PixelsToTwips(50)),
              QPoint(PixelsToTwips(r.expectedLeft), PixelsToTwips(r.main.top()) + PixelsToTwips(50)))
        << r.main.width();
  }
}

}  // namespace
}  // namespace orvale
