#include "app/dialogs/ToolWindow.h"

#include <gtest/gtest.h>

#include <QApplication>

#include "platform/registry/MemorySettingsStore.h"
#include "platform/registry/TypedSettings.h"
#include "platform/ui/ScreenTwips.h"
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

// Beside the main window's right edge by default, but never off the screen: a
// maximised main window reaches the screen's right edge.
TEST(ToolWindowTest, TheDefaultPlaceBesideTheMainWindowStaysOnTheScreen) {
  testing::RecordingMainFrame frame;
  QWidget owner;
  ToolWindow window(frame, ViewMenuItem::ToolBox, "ToolBox", &owner);
  const QRect screen = AvailableScreenPixels();
  const QSize size(200, 150);
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
    EXPECT_EQ(window.DefaultPlaceBesideOwner(PixelsToTwips(50), size),
              QPoint(PixelsToTwips(r.expectedLeft), PixelsToTwips(r.main.top()) + PixelsToTwips(50)))
        << r.main.width();
  }
}

}  // namespace
}  // namespace orvale
