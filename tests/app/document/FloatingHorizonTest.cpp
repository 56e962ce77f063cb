#include <gtest/gtest.h>

#include "app/document/FloatingHorizon.h"
#include "platform/gdi/ImageDeviceContext.h"

namespace orvale {
namespace {

constexpr gdi::Color kWhite = 0xFFFFFF;
constexpr gdi::Color kRed = gdi::RGB(255, 0, 0);

class FloatingHorizonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HorizonDC = &dc_;
    HorizonColor = kRed;
    ResetHorizon(9);  // columns 0 .. 9
  }
  void TearDown() override {
    ResetHorizon(0);
    HorizonDC = nullptr;
  }
  gdi::ImageDeviceContext dc_{12, 12};
};

TEST_F(FloatingHorizonTest, DrawsOnlyAboveTheHorizonAndRaisesIt) {
  EXPECT_EQ(PlotHorizonPixel(3, 5), 0);
  EXPECT_EQ(dc_.GetPixel(3, 5), kRed);
  EXPECT_EQ(Horizon[3], 5);
  HorizonColor = gdi::RGB(0, 0, 255);
  PlotHorizonPixel(3, 5);  // at the horizon
  PlotHorizonPixel(3, 8);  // below it
  EXPECT_EQ(dc_.GetPixel(3, 5), kRed);
  EXPECT_EQ(dc_.GetPixel(3, 8), kWhite);
  EXPECT_EQ(Horizon[3], 5);
  PlotHorizonPixel(3, 2);
  EXPECT_EQ(dc_.GetPixel(3, 2), gdi::RGB(0, 0, 255));
  EXPECT_EQ(Horizon[3], 2);
}

TEST_F(FloatingHorizonTest, AboveHorizonPixelsNeverRaiseIt) {
  PlotAboveHorizonPixel(4, 6);  // untouched column: drawn
  EXPECT_EQ(dc_.GetPixel(4, 6), kRed);
  EXPECT_EQ(Horizon[4], kHorizonUntouched);
  PlotHorizonPixel(5, 4);
  PlotAboveHorizonPixel(5, 7);
  PlotAboveHorizonPixel(5, 1);
  EXPECT_EQ(dc_.GetPixel(5, 7), kWhite);
  EXPECT_EQ(dc_.GetPixel(5, 1), kRed);
  EXPECT_EQ(Horizon[5], 4);
}

TEST_F(FloatingHorizonTest, ColumnsOutsideTheHorizonDrawNothing) {
  for (const int x : {-1, 10, 11, 1000000, -2147483647}) {
    EXPECT_EQ(PlotHorizonPixel(x, 3), 0);
    EXPECT_EQ(PlotAboveHorizonPixel(x, 3), 0);
  }
  EXPECT_EQ(dc_.GetPixel(10, 3), kWhite);
  EXPECT_EQ(dc_.GetPixel(11, 3), kWhite);
  PlotHorizonPixel(9, 3);  // the last column belongs to the horizon
  EXPECT_EQ(dc_.GetPixel(9, 3), kRed);
}

TEST_F(FloatingHorizonTest, NoActiveHorizonOrAShortArrayDrawsNothing) {
  Horizon.resize(4);  // shorter than HorizonWidth says
  PlotHorizonPixel(6, 3);
  EXPECT_EQ(dc_.GetPixel(6, 3), kWhite);
  ResetHorizon(0);
  PlotHorizonPixel(1, 3);
  PlotAboveHorizonPixel(1, 3);
  EXPECT_EQ(dc_.GetPixel(1, 3), kWhite);
  ResetHorizon(9);
  HorizonDC = nullptr;
  PlotHorizonPixel(1, 3);
  EXPECT_EQ(Horizon[1], kHorizonUntouched);
}

}  // namespace
}  // namespace orvale
