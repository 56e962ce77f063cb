#include "app/frame/FramePlacement.h"

#include <gtest/gtest.h>

namespace orvale {
namespace {

TEST(FramePlacementTest, AStoredPlaceIsKeptOnlyWhileTheFrameIsUsable) {
  const QRect screen(0, 0, 1024, 768);
  const QRect defaults(0, 0, 567, 433);  // 8500 x 6500 twips at 15 twips a pixel
  struct Row {
    StoredFramePlace stored;
    QRect expected;
  };
  const Row rows[] = {
      {{1500, 3000, 9000, 7500}, QRect(100, 200, 600, 500)},
      {{15360, 0, 9000, 7500}, defaults},        // left at the screen's right edge
      {{0, 0, 0, 0}, defaults},                   // an empty or unreadable store value
      {{0, 0, 15360, 1500}, defaults},            // 100 pixels high
      {{14880, 11040, 9000, 7500}, QRect(992, 736, 600, 500)},  // 32 x 32 still showing
      {{14895, 11040, 9000, 7500}, defaults},     // 31 pixels showing
  };
  for (const Row& r : rows) EXPECT_EQ(FrameGeometry(r.stored, screen, 15.0), r.expected) << r.stored.Left;
}

}  // namespace
}  // namespace orvale
