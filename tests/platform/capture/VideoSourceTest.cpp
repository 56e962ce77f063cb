// The cameras of this machine: the real enumeration, opening by position, and a camera
// on the developer's desk when ORVALE_TEST_CAMERA names its node.
#include "platform/capture/VideoSource.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>

#include "platform/capture/V4l2Camera.h"
#include "tests/platform/capture/FakeV4l2Device.h"
#include "tests/platform/capture/RecordingFrameSink.h"
#include "tests/support/ScopedEnvironmentVariable.h"

namespace orvale {
namespace {

TEST(VideoSourceTest, TheRealEnumerationListsNoMoreCamerasThanVideoNodes) {
  testing::ScopedEnvironmentVariable off(kSyntheticCameraVariable, std::nullopt);
  VideoSource source;
  const auto names = source.Enumerate();
  const auto nodes = SystemV4l2Io().VideoNodes();
  EXPECT_LE(names.size(), nodes.size());
  for (const std::string& node : nodes) EXPECT_EQ(node.rfind("/dev/video", 0), 0u) << node;
  if (nodes.empty()) {
    std::string error;
    EXPECT_FALSE(source.Open(0, error));
    EXPECT_EQ(error, "There is no camera at position 0");
    EXPECT_EQ(source.Format().Width, 0);
    EXPECT_EQ(source.Format().Height, 0);
  }
}

TEST(VideoSourceTest, CamerasAreOpenedByTheirPositionInTheList) {
  testing::FakeCamera first;
  first.Card = "First";
  first.Width = 320;
  first.Height = 240;
  testing::FakeCamera second;
  second.Node = "/dev/video2";
  second.Card = "Second";
  testing::FakeV4l2Device device({first, second});
  VideoSource source(device);
  ASSERT_EQ(source.Enumerate().size(), 2u);
  std::string error;
  ASSERT_TRUE(source.Open(1, error)) << error;
  EXPECT_EQ(source.Format().Width, 640);
  ASSERT_TRUE(source.Open(0, error)) << error;
  EXPECT_EQ(source.Format().Width, 320);
  EXPECT_EQ(device.OpenDescriptors(), 1);  // the second was closed first
  source.Close();
  EXPECT_EQ(device.OpenDescriptors(), 0);
  EXPECT_FALSE(source.SetFormat(640, 480, 0));
}

// For developers with a webcam: ORVALE_TEST_CAMERA=/dev/video0.
TEST(VideoSourceTest, ACameraOnTheDesk) {
  const char* node = std::getenv("ORVALE_TEST_CAMERA");
  if (node == nullptr) GTEST_SKIP() << "ORVALE_TEST_CAMERA names no camera";
  testing::ScopedEnvironmentVariable off(kSyntheticCameraVariable, std::nullopt);
  VideoSource source;
  const auto nodes = SystemV4l2Io().VideoNodes();
  const auto names = source.Enumerate();
  std::size_t index = 0;
  for (const std::string& candidate : nodes) {
    if (candidate == node) break;
    if (ProbeV4l2Camera(SystemV4l2Io(), candidate)) ++index;
  }
  ASSERT_LT(index, names.size()) << node << " is no capture device";
  std::string error;
  ASSERT_TRUE(source.Open(index, error)) << error;
  source.SetFormat(640, 480, 0);
  testing::RecordingFrameSink sink;
  ASSERT_TRUE(source.Start(sink));
  EXPECT_TRUE(sink.WaitForFrames(3));
  source.Stop();
  ASSERT_FALSE(sink.Frames().empty());
  EXPECT_EQ(sink.Frames()[0]->Width, source.Format().Width);
  EXPECT_TRUE(sink.Frames()[0]->Complete());
}

}  // namespace
}  // namespace orvale
