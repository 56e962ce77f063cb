#include "app/frame/MdiArrange.h"

#include <gtest/gtest.h>

namespace orvale {
namespace {

TEST(MdiArrangeTest, TilesCoverTheAreaWithTheRemainderInTheLast) {
  const QRect area(0, 0, 100, 50);
  EXPECT_EQ(TileRowsRects(area, 3),
            (std::vector<QRect>{QRect(0, 0, 100, 16), QRect(0, 16, 100, 16), QRect(0, 32, 100, 18)}));
  EXPECT_EQ(TileColumnsRects(area, 3),
            (std::vector<QRect>{QRect(0, 0, 33, 50), QRect(33, 0, 33, 50), QRect(66, 0, 34, 50)}));
  EXPECT_EQ(TileRowsRects(area, 1), std::vector<QRect>{area});
  EXPECT_TRUE(TileColumnsRects(area, 0).empty());
}

TEST(MdiArrangeTest, IconsLineUpAlongTheBottomAndWrapUpwards) {
  const QRect area(0, 0, 250, 300);
  EXPECT_EQ(IconRowPositions(area, QSize(100, 30), 3),
            (std::vector<QPoint>{QPoint(0, 270), QPoint(100, 270), QPoint(0, 240)}));
  // Wider than the area: one a row.
  EXPECT_EQ(IconRowPositions(area, QSize(400, 30), 2),
            (std::vector<QPoint>{QPoint(0, 270), QPoint(0, 240)}));
  EXPECT_TRUE(IconRowPositions(area, QSize(0, 30), 2).empty());
}

}  // namespace
}  // namespace orvale
