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

}  // namespace
}  // namespace orvale
