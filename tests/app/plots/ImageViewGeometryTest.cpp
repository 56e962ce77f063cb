#include "app/plots/ImageViewGeometry.h"

#include <gtest/gtest.h>

namespace orvale {
namespace {

TEST(ImageViewGeometry, ZoomIsAReducedFractionOf300) {
  struct Case {
    std::int32_t percent, num, den;
  };
  for (const Case c : {Case{100, 1, 1}, Case{300, 3, 1}, Case{25, 1, 4}, Case{150, 3, 2},
                       Case{75, 3, 4}, Case{1600, 16, 1}, Case{50, 1, 2}}) {
    const ZoomFraction f = ZoomFractionOf(c.percent);
    EXPECT_EQ(f.ZoomNum, c.num) << c.percent;
    EXPECT_EQ(f.ZoomDen, c.den) << c.percent;
    EXPECT_DOUBLE_EQ(f.ScaleFactor, static_cast<double>(c.num) / c.den);
    EXPECT_DOUBLE_EQ(f.InvScale, static_cast<double>(c.den) / c.num);
  }
  EXPECT_EQ(ZoomFractionOf(0).ScaleFactor, 0.0);
  EXPECT_EQ(ZoomFractionOf(0).InvScale, 0.0);
}

TEST(ImageViewGeometry, ImageSmallerThanTheAreaDisablesBothBars) {
  ImageViewGeometry g;
  g.ImageWidth = 8;
  g.ImageHeight = 6;
  g.Horizontal = {5, 10, true};  // left over from a larger image
  g.Layout(100, 80);
  EXPECT_FALSE(g.Horizontal.Enabled);
  EXPECT_FALSE(g.Vertical.Enabled);
  EXPECT_EQ(g.Horizontal.Value, 0);
  EXPECT_EQ(g.OriginX, 0.0);
  EXPECT_EQ(g.DrawnWidth, 8);
  EXPECT_EQ(g.DrawnHeight, 6);
  EXPECT_EQ(g.SourceWidth, 100);
}

TEST(ImageViewGeometry, BarsReachTheImageEdgeAtEveryZoom) {
  struct Case {
    std::int32_t zoom, hMax, vMax, sourceWidth, drawnWidth;
  };
  // 640 x 480 in a 100 x 80 area: maximum = round(image - area / scale).
  for (const Case c : {Case{100, 540, 400, 100, 640}, Case{300, 607, 453, 33, 1920},
                       Case{50, 440, 320, 200, 320}, Case{25, 240, 160, 400, 160}}) {
    ImageViewGeometry g;
    g.ImageWidth = 640;
    g.ImageHeight = 480;
    g.ZoomFactor = c.zoom;
    g.Layout(100, 80);
    EXPECT_TRUE(g.Horizontal.Enabled) << c.zoom;
    EXPECT_EQ(g.Horizontal.Maximum, c.hMax) << c.zoom;
    EXPECT_EQ(g.Vertical.Maximum, c.vMax) << c.zoom;
    EXPECT_EQ(g.SourceWidth, c.sourceWidth) << c.zoom;
    EXPECT_EQ(g.DrawnWidth, c.drawnWidth) << c.zoom;
  }
}

TEST(ImageViewGeometry, LargerAreaPullsTheValueBackToTheNewMaximum) {
  ImageViewGeometry g;
  g.ImageWidth = 640;
  g.ImageHeight = 480;
  g.Layout(100, 80);
  g.Horizontal.Value = 500;
  g.Layout(400, 80);
  EXPECT_EQ(g.Horizontal.Maximum, 240);
  EXPECT_EQ(g.Horizontal.Value, 240);
  EXPECT_EQ(g.OriginX, 240.0);
  // An empty area leaves the bars as they are.
  g.Layout(0, 0);
  EXPECT_EQ(g.Horizontal.Maximum, 240);
}

TEST(ImageViewGeometry, ZoomCentreIsAtLeastOneAndCappedAtTheMaximum) {
  ImageViewGeometry g;
  g.ImageWidth = 640;
  g.ImageHeight = 480;
  g.Layout(100, 80);
  // Near the top left the values would be negative: 1, as the rule says.
  g.CenterForZoom(5, 5, 200);
  EXPECT_EQ(g.Horizontal.Value, 1);
  EXPECT_EQ(g.Vertical.Value, 1);
  // Near the bottom right: capped at image - round(area x 100 / zoom).
  g.CenterForZoom(635, 475, 200);
  EXPECT_EQ(g.Horizontal.Maximum, 590);
  EXPECT_EQ(g.Horizontal.Value, 590);
  EXPECT_EQ(g.Vertical.Value, 440);
  // In the middle: the clicked point becomes the centre.
  g.CenterForZoom(320, 240, 200);
  EXPECT_EQ(g.Horizontal.Value, 295);
  EXPECT_EQ(g.Vertical.Value, 220);
  g.Layout(100, 80);  // the zoom is applied later; this lays out at 100 %
  EXPECT_EQ(g.Horizontal.Value, 295);
}

TEST(ImageViewGeometry, PanFollowsTheMouseInImagePixelsWithinTheBars) {
  ImageViewGeometry g;
  g.ImageWidth = 640;
  g.ImageHeight = 30;  // fits: no vertical bar
  g.ZoomFactor = 200;
  g.Layout(100, 80);
  g.Horizontal.Value = 100;
  const PanStart start{100, 0, 50, 50};
  EXPECT_TRUE(g.Pan(start, 30, 10));  // 20 screen pixels left = 10 image pixels on
  EXPECT_EQ(g.Horizontal.Value, 110);
  EXPECT_EQ(g.Vertical.Value, 0);
  EXPECT_TRUE(g.Pan(start, 2000, 50));
  EXPECT_EQ(g.Horizontal.Value, 0);
  EXPECT_TRUE(g.Pan(start, -5000, 50));
  EXPECT_EQ(g.Horizontal.Value, g.Horizontal.Maximum);
  EXPECT_FALSE(g.Pan(start, -5000, 50));  // nothing moves further
}

}  // namespace
}  // namespace orvale
