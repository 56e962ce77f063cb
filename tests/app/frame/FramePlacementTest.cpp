#include "app/frame/FramePlacement.h"

#include <gtest/gtest.h>

namespace orvale {
namespace {

const QRect kScreen(0, 0, 1024, 768);
const QRect kDefaults(0, 0, 567, 433);  // 8500 x 6500 twips at 15 twips a pixel

TEST(FramePlacementTest, AStoredPlaceIsKeptOnlyWhileTheFrameIsUsable) {
  struct Row {
    StoredFramePlace stored;
    QRect expected;
  };
  const Row rows[] = {
      {{1500, 3000, 9000, 7500}, QRect(100, 200, 600, 500)},
      {{15360, 0, 9000, 7500}, kDefaults},        // left at the screen's right edge
      {{0, 0, 0, 0}, kDefaults},                   // an empty or unreadable store value
      {{0, 0, 15360, 1500}, kDefaults},            // 100 pixels high
      {{14880, 11040, 9000, 7500}, QRect(992, 736, 600, 500)},  // 32 x 32 still showing
      {{14895, 11040, 9000, 7500}, kDefaults},     // 31 pixels showing
  };
  for (const Row& r : rows)
    EXPECT_EQ(FrameOuterGeometry(r.stored, kScreen, 15.0, 0, {}), r.expected) << r.stored.Left;
}

// The default place opens wide enough for the whole toolbar inside the frame's borders,
// as far as the screen allows; a place the user chose stays as it is.
TEST(FramePlacementTest, TheDefaultPlaceHoldsTheWholeToolbar) {
  const QMargins frame(1, 20, 1, 5);
  struct Row {
    const char* what;
    StoredFramePlace stored;
    int toolbarWidth;
    QMargins margins;
    QRect screen;
    QRect expected;
  };
  const Row rows[] = {
      {"toolbar wider than the default", kDefaultFramePlace, 700, frame, kScreen, QRect(0, 0, 702, 433)},
      {"the frame not drawn yet", kDefaultFramePlace, 700, {}, kScreen, QRect(0, 0, 700, 433)},
      {"toolbar narrower", kDefaultFramePlace, 400, frame, kScreen, kDefaults},
      {"a lost place comes back wide", {15360, 0, 9000, 7500}, 700, frame, kScreen, QRect(0, 0, 702, 433)},
      {"no wider than the screen", kDefaultFramePlace, 900, frame, QRect(0, 0, 800, 600), QRect(0, 0, 800, 433)},
      {"a narrow stored place stays", {1500, 3000, 6000, 7500}, 700, frame, kScreen, QRect(100, 200, 400, 500)},
  };
  for (const Row& r : rows)
    EXPECT_EQ(FrameOuterGeometry(r.stored, r.screen, 15.0, r.toolbarWidth, r.margins), r.expected) << r.what;
}

TEST(FramePlacementTest, TheClientLiesInsideTheFrameMargins) {
  const QRect outer(0, 0, 600, 500);
  struct Row {
    QMargins margins;
    QRect expected;
  };
  const Row rows[] = {
      {{}, outer},                                       // not framed (yet)
      {{1, 20, 1, 5}, QRect(1, 20, 598, 475)},           // title bar and thin borders
      {{4, 30, 4, 4}, QRect(4, 30, 592, 466)},
      {{300, 300, 300, 300}, QRect(300, 300, 1, 1)},     // a frame larger than the place
  };
  for (const Row& r : rows) EXPECT_EQ(ClientGeometry(outer, r.margins), r.expected) << r.margins.top();
}

}  // namespace
}  // namespace orvale
