#include "platform/window/HostPlacement.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvale {
namespace {

// A 1280 x 1024 screen whose panel takes the bottom 24 pixels, and a main window whose
// title bar, menu bar and toolbar take its top 80 pixels.
constexpr QRect kScreen(0, 0, 1280, 1000);
constexpr int kBars = 80;

HostGeometry Host(QRect frame, QRect screen = kScreen) {
  return {frame, QRect(frame.left() + 4, frame.top() + kBars, frame.width() - 8, frame.height() - kBars - 4), screen};
}

// A default over the bars moves beside the main window, or into its work area, and off
// the windows already showing; one that need not move stays, whatever it covers.
TEST(HostPlacementTest, ADefaultOverTheBarsMovesBesideTheMainWindowOrIntoItsWorkAreaOffTheOthers) {
  const QSize box(300, 250);
  struct Row {
    const char* Situation;
    HostGeometry Host;
    QPoint Wanted;
    std::vector<QRect> Others;
    QPoint Expected;
  };
  const QRect besideTopLeftWindow(700, 0, 200, 450);       // a toolbox right of a window at 0,0
  const QRect workAreaTopRight(1280 - 4 - 200, kBars, 200, 450);  // the same, the window maximised
  const Row rows[] = {
      {"up and left of a window at the top left: no room left, so right",
       Host({0, 0, 700, 500}), {0, 0}, {}, {700, 0}},
      {"up and left of a window lower down the screen: clear of it, kept",
       Host({400, 300, 600, 400}), {100, 50}, {}, {100, 50}},
      {"over the bars of a window with room on its left", Host({400, 60, 600, 400}), {200, 0}, {}, {100, 0}},
      {"over the bars, leaning right, with room on both sides", Host({300, 100, 500, 400}), {700, 120},
       {}, {800, 120}},
      {"leaning left with no room there: right", Host({200, 100, 700, 400}), {150, 120}, {}, {900, 120}},
      {"over the bars of a window low on the screen: beside it, kept on the screen",
       Host({0, 700, 700, 300}), {100, 760}, {}, {700, 750}},
      {"over the bars of a maximised window: its work area's top right", Host(kScreen), {980, 0},
       {}, {1280 - 4 - 300, kBars}},
      {"in the work area already: kept", Host(kScreen), {980, 200}, {}, {980, 200}},
      {"over the bars of a window as wide as a small screen",
       Host({0, 0, 640, 480}, {0, 0, 640, 480}), {0, 0}, {}, {640 - 4 - 300, kBars}},
      {"a screen too low for the box: at the work area's right, from the screen's top",
       Host({0, 0, 320, 200}, {0, 0, 320, 200}), {0, 0}, {}, {320 - 4 - 300, 0}},
      {"up and left of a window at the top left, its right side taken: right of that",
       Host({0, 0, 700, 500}), {0, 0}, {besideTopLeftWindow}, {900, 0}},
      {"the same with no room right of it: under it", Host({0, 0, 700, 500}), {0, 0},
       {besideTopLeftWindow, QRect(900, 0, 380, 300)}, {700, 450}},
      {"over the bars of a maximised window whose top right is taken: left of it", Host(kScreen), {980, 0},
       {workAreaTopRight}, {workAreaTopRight.left() - 300, kBars}},
      {"clear of the bars, on another window: the nearest free place from there",
       Host({0, 0, 700, 500}), {700, 0}, {besideTopLeftWindow}, {900, 0}},
      {"clear of the bars and of the others: kept", Host({0, 0, 700, 500}), {900, 0}, {besideTopLeftWindow},
       {900, 0}},
      {"a screen with no free place: as without the others", Host({0, 0, 640, 480}, {0, 0, 640, 480}), {0, 0},
       {QRect(0, 0, 640, 480)}, {640 - 4 - 300, kBars}},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(ClearOfHostBars(r.Wanted, box, r.Host, r.Others), r.Expected) << r.Situation;
  }
}

TEST(HostPlacementTest, TheWorkAreasTopRightStaysOnTheScreen) {
  const QSize box(300, 250);
  EXPECT_EQ(WorkAreaTopRight(Host({100, 100, 800, 600}), box), QPoint(900 - 4 - 300, 100 + kBars));
  // A window reaching past the screen's right and bottom edges.
  EXPECT_EQ(WorkAreaTopRight(Host({1100, 900, 800, 600}), box), QPoint(1280 - 300, 1000 - 250));
  EXPECT_EQ(HostBars(Host({100, 100, 800, 600})), QRect(100, 100, 800, kBars));
}

// Tool windows placed on a 1600 x 1000 screen, restored on a 1024 x 768 one: a place
// that fits is kept; one that does not is moved onto the screen by as little as it takes,
// whole where the window fits, else from the screen's left or top edge.
TEST(HostPlacementTest, APlaceIsKeptWhereTheWindowFitsTheScreenAndElseMovedOntoIt) {
  constexpr QRect kSmallScreen(0, 0, 1024, 768);
  struct Row {
    const char* Situation;
    QRect Stored;
    QPoint Expected;
  };
  const Row rows[] = {
      {"wholly on the screen", {300, 200, 400, 455}, {300, 200}},
      {"touching its bottom right corner", {824, 313, 200, 455}, {824, 313}},
      {"the analysis box below the bottom edge", {1200, 485, 330, 455}, {1024 - 330, 768 - 455}},
      {"the toolbox cut at the right", {980, 40, 190, 420}, {1024 - 190, 40}},
      {"the averaging box wholly off to the right", {1400, 600, 260, 300}, {1024 - 260, 768 - 300}},
      {"left of and above the screen (a monitor there)", {-300, -50, 250, 200}, {0, 0}},
      {"wider than the screen", {200, 100, 1100, 300}, {0, 100}},
      {"taller than the screen, low down", {40, 500, 300, 900}, {40, 0}},
  };
  for (const Row& r : rows) {
    const QPoint place = KeptOnScreen(r.Stored.topLeft(), r.Stored.size(), kSmallScreen);
    EXPECT_EQ(place, r.Expected) << r.Situation;
    const QRect restored(place, r.Stored.size());
    if (r.Stored.width() <= kSmallScreen.width() && r.Stored.height() <= kSmallScreen.height()) {
      EXPECT_TRUE(kSmallScreen.contains(restored)) << r.Situation;
    }
  }
  // A screen whose panel takes its top: the window goes below the panel.
  EXPECT_EQ(KeptOnScreen({500, 10}, {300, 200}, QRect(0, 28, 1024, 740)), QPoint(500, 28));
}

}  // namespace
}  // namespace orvale
