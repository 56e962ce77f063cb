#include <gtest/gtest.h>

#include "app/document/ImageWindowSize.h"
#include "platform/runtime/Markers.h"

namespace orvale {
namespace {

TEST(ImageWindowSizeTest, AddsScrollBarFramesAndCaption) {
  const WindowFrameMetrics metrics{17, 16, 4, 5, 20};
  const WindowSize size = InitialImageWindowSize(640, 480, metrics);
  EXPECT_EQ(size.Width, 640 + 17 + 8);
  EXPECT_EQ(size.Height, 480 + 16 + 20 + 10);
  EXPECT_EQ(InitialImageWindowSize(kNotGivenLong, kNotGivenLong, metrics).Width, kNotGivenLong);
}

}  // namespace
}  // namespace orvale
