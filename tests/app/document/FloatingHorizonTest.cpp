#include <gtest/gtest.h>

#include <QImage>

#include "app/document/FloatingHorizon.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "platform/gdi/LineWalk.h"
#include "platform/gdi/RecordingDeviceContext.h"

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

// A whole line shows exactly the points the pixel callbacks would show, in one call.
TEST(FloatingHorizonLine, ShowsWhatThePointByPointWalkShowsInOneCall) {
  struct Line {
    int x1, y1, x2, y2;
  };
  const Line lines[] = {{0, 9, 9, 2}, {2, 1, 8, 11}, {9, 4, -3, 4}, {5, 11, 5, 0}, {-6, 3, 14, 5}};
  for (const bool raise : {true, false}) {
    gdi::ImageDeviceContext byPixel(12, 12);
    gdi::RecordingDeviceContext byLine(gdi::DisplayCaps(12, 12), true);
    std::vector<std::int32_t> horizons[2];
    for (int pass = 0; pass < 2; ++pass) {
      HorizonDC = pass == 0 ? static_cast<gdi::DeviceContext*>(&byPixel) : &byLine;
      ResetHorizon(9);
      Horizon[4] = 6;  // a column with something drawn already
      for (const Line& l : lines) {
        HorizonColor = gdi::RGB(static_cast<std::uint8_t>(20 * l.x1 + 120), 0, 0);
        if (pass == 1)
          (raise ? PlotHorizonLine : PlotAboveHorizonLine)(l.x1, l.y1, l.x2, l.y2);
        else
          gdi::LineDDA(l.x1, l.y1, l.x2, l.y2, [raise](int x, int y) {
            raise ? PlotHorizonPixel(x, y) : PlotAboveHorizonPixel(x, y);
          });
      }
      horizons[pass] = Horizon;
    }
    ResetHorizon(0);
    HorizonDC = nullptr;
    EXPECT_EQ(horizons[0], horizons[1]);
    EXPECT_EQ(byPixel.Image(), *byLine.Image()) << (raise ? "raising" : "not raising");
    EXPECT_LE(byLine.Records().size(), std::size(lines));
    for (const gdi::DrawRecord& r : byLine.Records()) EXPECT_EQ(r.call, "SetPixels");
  }
}

}  // namespace
}  // namespace orvale
