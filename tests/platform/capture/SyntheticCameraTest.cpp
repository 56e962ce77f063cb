// The synthetic camera: its switch, its pictures, and the faults it can be told to show.
#include "platform/capture/SyntheticCamera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "platform/capture/SyntheticPattern.h"
#include "platform/capture/VideoSource.h"
#include "tests/platform/capture/FakeV4l2Device.h"
#include "tests/platform/capture/RecordingFrameSink.h"
#include "tests/support/ScopedEnvironmentVariable.h"

namespace orvale {
namespace {

using Fault = SyntheticCameraConfig::Fault;
using testing::RecordingFrameSink;

using Cameras = testing::ScopedEnvironmentVariable;

TEST(SyntheticCameraConfigTest, ItemsAreReadAndOutOfRangeValuesClamped) {
  struct Case {
    const char* text;
    std::int32_t cameras, width, height, interval;
    Fault fault;
    std::uint64_t goodFrames;
  };
  const Case cases[] = {
      {"", 1, 640, 480, 33, Fault::None, 0},
      {"1", 1, 640, 480, 33, Fault::None, 0},
      {"cameras=2;size=641x480;fault=stall@3", 2, 641, 480, 33, Fault::Stall, 3},
      {"size=8x100000;interval=0;cameras=99", 16, 16, 4096, 1, Fault::None, 0},
      {"fault=lost@0;interval=5", 1, 640, 480, 5, Fault::Lost, 0},
      {"fault=busy", 1, 640, 480, 33, Fault::Busy, 0},
      {"fault=short@2", 1, 640, 480, 33, Fault::Short, 2},
      {"fault=resize@1", 1, 640, 480, 33, Fault::Resize, 1},
      // Items that cannot be read are left out.
      {"size=wide;cameras=-;fault=melt@2;fault=stall@-1;junk", 1, 640, 480, 33, Fault::None, 0},
  };
  for (const Case& c : cases) {
    const SyntheticCameraConfig config = ParseSyntheticCameraConfig(c.text);
    EXPECT_EQ(config.Cameras, c.cameras) << c.text;
    EXPECT_EQ(config.Width, c.width) << c.text;
    EXPECT_EQ(config.Height, c.height) << c.text;
    EXPECT_EQ(config.IntervalMs, c.interval) << c.text;
    EXPECT_EQ(config.Failure, c.fault) << c.text;
    EXPECT_EQ(config.GoodFrames, c.goodFrames) << c.text;
  }
}

TEST(SyntheticCameraTest, TheCamerasAppearOnlyWhileSwitchedOnAfterTheRealOnes) {
  testing::FakeCamera real;
  real.Card = "Bench Camera";
  testing::FakeV4l2Device device({real});
  VideoSource source(device);
  Cameras none(kSyntheticCameraVariable, std::nullopt);
  EXPECT_EQ(source.Enumerate(), std::vector<std::string>{"Bench Camera"});
  {
    Cameras on(kSyntheticCameraVariable, "cameras=2");
    EXPECT_EQ(source.Enumerate(),
              (std::vector<std::string>{"Bench Camera", "Synthetic Camera 1", "Synthetic Camera 2"}));
  }
  Cameras off(kSyntheticCameraVariable, "0");
  EXPECT_EQ(source.Enumerate().size(), 1u);
}

std::unique_ptr<SyntheticCamera> Open(const char* text, std::int32_t index = 0) {
  std::string error;
  auto camera = SyntheticCamera::Open(ParseSyntheticCameraConfig(text), index, error);
  EXPECT_NE(camera, nullptr) << error;
  return camera;
}

TEST(SyntheticCameraTest, TheRampNumbersItsFramesInRedOverXInBlueAndYInGreen) {
  auto camera = Open("size=300x20;interval=1;pattern=ramp");
  RecordingFrameSink sink;
  ASSERT_TRUE(camera->Start(sink));
  ASSERT_TRUE(sink.WaitForFrames(3));
  camera->Stop();
  const auto frames = sink.Frames();
  for (std::size_t n = 0; n < 3; ++n) {
    const VideoFrame& frame = *frames[n];
    ASSERT_TRUE(frame.Complete());
    const std::uint8_t* pixel = frame.RowFromTop(7) + 3 * 290;
    EXPECT_EQ(pixel[0], 290 % 256);
    EXPECT_EQ(pixel[1], 7);
    EXPECT_EQ(pixel[2], n + 1);
  }
}

TEST(SyntheticCameraTest, TheFringesAreThoseOfTheKnownWavefront) {
  VideoFrame frame;
  frame.Resize(641, 480);
  DrawSyntheticFringes(frame);
  const SyntheticPupil pupil = SyntheticPupilFor(641, 480);
  EXPECT_EQ(pupil.CentreX, 320);
  EXPECT_EQ(pupil.CentreY, 240);
  EXPECT_EQ(pupil.Radius, 202);
  // At the centre only defocus counts: W = -1.5 waves, a dark fringe.
  EXPECT_EQ(frame.RowFromTop(240)[3 * 320], 28);
  // At the right rim: tilt 8, defocus 1.5, astigmatism 0.5, coma 0.3 add to 10.3 waves.
  const std::uint8_t rim = frame.RowFromTop(240)[3 * (320 + 202)];
  EXPECT_EQ(rim, std::lround(128 + 100 * std::cos(2 * M_PI * 10.3)));
  EXPECT_EQ(frame.RowFromTop(0)[0], frame.RowFromTop(0)[2]);  // grey
}

TEST(SyntheticCameraTest, OnlyTheCameraNamedBySettingsLetsTheUserSetAnything) {
  std::string error;
  for (const auto& [text, index, controls] : {std::tuple{"cameras=3;settings=2", 1, true},
                                             std::tuple{"cameras=3;settings=2", 0, false},
                                             std::tuple{"cameras=3;settings=2", 2, false},
                                             std::tuple{"cameras=3", 1, false}}) {
    const auto camera = SyntheticCamera::Open(ParseSyntheticCameraConfig(text), index, error);
    ASSERT_NE(camera, nullptr);
    const VideoCapabilities capabilities = camera->Capabilities();
    EXPECT_EQ(capabilities.UserControls, controls) << text << " camera " << index + 1;
    EXPECT_FALSE(capabilities.SeveralFormats || capabilities.SeveralInputs || capabilities.Tuner);
  }
}

TEST(SyntheticCameraTest, ItKeepsItsSizeButTakesAFrameTime) {
  auto camera = Open("size=641x480");
  EXPECT_FALSE(camera->SetFormat(640, 480, 0));
  EXPECT_TRUE(camera->SetFormat(641, 480, 20000));
  EXPECT_EQ(camera->Format().Width, 641);
  EXPECT_EQ(camera->Format().FrameTime100ns, 20000);
}

TEST(SyntheticCameraTest, OpeningCountsPerCameraAndABusyOneCannotBeOpened) {
  const std::uint64_t before = SyntheticCamera::OpenCount(1);
  Open("cameras=2", 1);
  EXPECT_EQ(SyntheticCamera::OpenCount(1), before + 1);

  std::string error;
  EXPECT_EQ(SyntheticCamera::Open(ParseSyntheticCameraConfig("fault=busy"), 0, error), nullptr);
  EXPECT_EQ(error, "Synthetic Camera 1 is busy");
  EXPECT_EQ(SyntheticCamera::Open(ParseSyntheticCameraConfig("cameras=2"), 2, error), nullptr);
}

TEST(SyntheticCameraTest, MemoryRunningOutOnItsThreadEndsTheStreamAsALoss) {
  auto camera = Open("size=64x32;interval=1");
  RecordingFrameSink sink(/*outOfMemory=*/true);
  ASSERT_TRUE(camera->Start(sink));
  ASSERT_TRUE(sink.WaitForLoss());
  camera->Stop();
  EXPECT_EQ(sink.Losses(), 1);
  EXPECT_TRUE(sink.Frames().empty());
}

TEST(SyntheticCameraTest, FaultsBeginAfterTheGoodFrames) {
  {
    auto camera = Open("interval=1;fault=lost@2");
    RecordingFrameSink sink;
    ASSERT_TRUE(camera->Start(sink));
    ASSERT_TRUE(sink.WaitForLoss());
    camera->Stop();
    EXPECT_EQ(sink.Frames().size(), 2u);
  }
  struct Case {
    const char* text;
    bool complete;
    std::int32_t width;
  };
  for (const Case& c : {Case{"size=64x32;interval=1;fault=short@1", false, 64},
                        Case{"size=64x32;interval=1;fault=resize@1", true, 32}}) {
    auto camera = Open(c.text);
    RecordingFrameSink sink;
    ASSERT_TRUE(camera->Start(sink));
    ASSERT_TRUE(sink.WaitForFrames(2));
    camera->Stop();
    EXPECT_TRUE(sink.Frames()[0]->Complete()) << c.text;
    EXPECT_EQ(sink.Frames()[1]->Complete(), c.complete) << c.text;
    EXPECT_EQ(sink.Frames()[1]->Width, c.width) << c.text;
  }
}

TEST(SyntheticCameraTest, StopWakesAStalledCamera) {
  auto camera = Open("interval=1;fault=stall@1");
  RecordingFrameSink sink;
  ASSERT_TRUE(camera->Start(sink));
  ASSERT_TRUE(sink.WaitForFrames(1));
  camera->Stop();
  EXPECT_EQ(sink.Frames().size(), 1u);
}

}  // namespace
}  // namespace orvale
