// The V4L2 backend against fake devices: negotiation of the picture format, the format
// asked for, memory-mapped streaming, dropped buffers, the driver errors, and a stop
// that wakes the streaming thread.
#include "platform/capture/V4l2Camera.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <thread>

#include "tests/platform/capture/FakeV4l2Device.h"
#include "tests/platform/capture/RecordingFrameSink.h"

namespace orvale {
namespace {

using testing::FakeCamera;
using testing::FakeV4l2Device;
using testing::RecordingFrameSink;

FakeCamera GreyCamera(std::uint32_t width = 4, std::uint32_t height = 2) {
  FakeCamera camera;
  camera.Formats = {V4L2_PIX_FMT_GREY};
  camera.Width = width;
  camera.Height = height;
  return camera;
}

std::vector<std::uint8_t> GreyPicture(std::uint8_t value, std::size_t size = 8) {
  return std::vector<std::uint8_t>(size, value);
}

std::unique_ptr<V4l2Camera> OpenCamera(FakeV4l2Device& device, const char* node = "/dev/video0") {
  std::string error;
  auto camera = V4l2Camera::Open(device, node, error);
  EXPECT_NE(camera, nullptr) << error;
  return camera;
}

struct NegotiationCase {
  const char* name;
  std::vector<std::uint32_t> offered;
  std::uint32_t current;
  std::uint32_t chosen;
};

class Negotiation : public ::testing::TestWithParam<NegotiationCase> {};

TEST_P(Negotiation, TakesTheBestFormatOfferedAndSetsItWhenTheDeviceUsesAnother) {
  const NegotiationCase& c = GetParam();
  FakeCamera spec;
  spec.Formats = c.offered;
  spec.PixelFormat = c.current;
  FakeV4l2Device device({spec});
  auto camera = OpenCamera(device);
  ASSERT_NE(camera, nullptr);
  EXPECT_EQ(camera->PixelFormat(), c.chosen);
  EXPECT_EQ(device.Calls().SizesAsked.size(), c.current == c.chosen ? 0u : 1u);
  EXPECT_EQ(camera->Format().Width, 640);
  EXPECT_EQ(camera->Format().Height, 480);
  EXPECT_EQ(camera->Format().FrameTime100ns, 333333);  // the fake's 1/30 s
}

INSTANTIATE_TEST_SUITE_P(
    Formats, Negotiation,
    ::testing::Values(
        NegotiationCase{"KeepsYuyv", {V4L2_PIX_FMT_YUYV, V4L2_PIX_FMT_MJPEG}, V4L2_PIX_FMT_YUYV, V4L2_PIX_FMT_YUYV},
        NegotiationCase{"PrefersBgrToYuyv", {V4L2_PIX_FMT_YUYV, V4L2_PIX_FMT_BGR24}, V4L2_PIX_FMT_YUYV, V4L2_PIX_FMT_BGR24},
        NegotiationCase{"SkipsH264", {V4L2_PIX_FMT_H264, V4L2_PIX_FMT_MJPEG}, V4L2_PIX_FMT_H264, V4L2_PIX_FMT_MJPEG},
        NegotiationCase{"GreyBeforeJpeg", {V4L2_PIX_FMT_MJPEG, V4L2_PIX_FMT_GREY}, V4L2_PIX_FMT_MJPEG, V4L2_PIX_FMT_GREY}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(V4l2CameraTest, DevicesThatCannotServeAreRefusedWithAReason) {
  struct Case {
    const char* name;
    FakeCamera spec;
    const char* reason;
  };
  FakeCamera busy = GreyCamera();
  busy.OpenError = EBUSY;
  FakeCamera undecodable;
  undecodable.Formats = {V4L2_PIX_FMT_H264};
  FakeCamera metadata = GreyCamera();
  metadata.DeviceCaps = V4L2_CAP_META_CAPTURE | V4L2_CAP_STREAMING;
  FakeCamera refusing;
  refusing.Formats = {V4L2_PIX_FMT_H264, V4L2_PIX_FMT_YUYV};
  refusing.SetFormatError = EINVAL;
  const Case cases[] = {
      {"busy", busy, "Device or resource busy"},
      {"no usable format", undecodable, "no picture format that can be used"},
      {"metadata node", metadata, "no streaming video capture device"},
      {"format refused", refusing, "refuses its picture format"},
  };
  for (const Case& c : cases) {
    FakeV4l2Device device({c.spec});
    std::string error;
    EXPECT_EQ(V4l2Camera::Open(device, "/dev/video0", error), nullptr) << c.name;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.name << ": " << error;
    EXPECT_EQ(device.OpenDescriptors(), 0) << c.name;
  }
}

TEST(V4l2CameraTest, OnlyVideoCaptureNodesAreListedByTheirCardName) {
  FakeCamera metadata = GreyCamera();
  metadata.Node = "/dev/video1";
  metadata.DeviceCaps = V4L2_CAP_META_CAPTURE;
  FakeCamera camera = GreyCamera();
  camera.Card = "USB Camera: Lab";
  FakeV4l2Device device({camera, metadata});
  EXPECT_EQ(ProbeV4l2Camera(device, "/dev/video0"), "USB Camera: Lab");
  EXPECT_EQ(ProbeV4l2Camera(device, "/dev/video1"), std::nullopt);
  EXPECT_EQ(ProbeV4l2Camera(device, "/dev/video7"), std::nullopt);
  EXPECT_EQ(device.OpenDescriptors(), 0);
}

TEST(V4l2CameraTest, TheFormatAskedForIsSetAndAFrameTimeOnlyWhenGiven) {
  FakeV4l2Device device({FakeCamera{}});
  auto camera = OpenCamera(device);
  ASSERT_NE(camera, nullptr);
  EXPECT_TRUE(camera->SetFormat(800, 600, 0));
  EXPECT_FALSE(device.Calls().FrameTimeSet);
  EXPECT_EQ(camera->Format().Width, 800);

  EXPECT_TRUE(camera->SetFormat(320, 240, 333333));
  const auto set = device.Calls().FrameTimeSet;
  ASSERT_TRUE(set);
  EXPECT_EQ(set->numerator, 333333u);
  EXPECT_EQ(set->denominator, 10000000u);
  EXPECT_EQ(camera->Format().Height, 240);
}

TEST(V4l2CameraTest, ARefusedFormatKeepsTheDevicesOwn) {
  FakeCamera refusing;
  refusing.SetFormatError = EINVAL;
  FakeV4l2Device refusingDevice({refusing});
  auto stubborn = OpenCamera(refusingDevice);
  ASSERT_NE(stubborn, nullptr);
  EXPECT_FALSE(stubborn->SetFormat(1024, 768, 0));
  EXPECT_EQ(stubborn->Format().Width, 640);
  EXPECT_EQ(stubborn->Format().Height, 480);
}

TEST(V4l2CameraTest, FramesCycleThroughTheMappedBuffersAndArriveConverted) {
  FakeV4l2Device device({GreyCamera()});
  auto camera = OpenCamera(device);
  ASSERT_NE(camera, nullptr);
  RecordingFrameSink sink;
  ASSERT_TRUE(camera->Start(sink));
  // More pictures than buffers: each one is queued again after it was taken.
  constexpr int kFrames = 3 * V4l2Camera::kBufferCount;
  for (int i = 0; i < kFrames; ++i) device.Deliver(GreyPicture(static_cast<std::uint8_t>(i)));
  ASSERT_TRUE(sink.WaitForFrames(kFrames));
  camera->Stop();

  const auto frames = sink.Frames();
  for (int i = 0; i < kFrames; ++i) {
    ASSERT_TRUE(frames[static_cast<std::size_t>(i)]->Complete());
    EXPECT_EQ(frames[static_cast<std::size_t>(i)]->RowFromTop(1)[3 * 3], i) << "frame " << i;
  }
  EXPECT_NE(sink.Threads()[0], std::this_thread::get_id());
  const auto calls = device.Calls();
  EXPECT_EQ(calls.Maps, static_cast<int>(V4l2Camera::kBufferCount));
  EXPECT_EQ(calls.Unmaps, calls.Maps);
  EXPECT_EQ(calls.StreamOns, 1);
  EXPECT_EQ(calls.StreamOffs, 1);
  camera.reset();
  EXPECT_EQ(device.OpenDescriptors(), 0);
}

TEST(V4l2CameraTest, DamagedAndShortBuffersAreDroppedAndTheStreamGoesOn) {
  FakeV4l2Device device({GreyCamera()});
  auto camera = OpenCamera(device);
  ASSERT_NE(camera, nullptr);
  RecordingFrameSink sink;
  ASSERT_TRUE(camera->Start(sink));
  device.Deliver(GreyPicture(1), V4L2_BUF_FLAG_ERROR);
  device.Deliver(GreyPicture(2), 0, 7u);  // one byte short of 4 x 2
  device.Deliver(GreyPicture(3));
  ASSERT_TRUE(sink.WaitForFrames(1));
  camera->Stop();
  ASSERT_EQ(sink.Frames().size(), 1u);
  EXPECT_EQ(sink.Frames()[0]->Bytes[0], 3);
  EXPECT_EQ(device.Calls().Dequeues, 3);
}

TEST(V4l2CameraTest, ADeviceLostMidStreamIsReportedOnceAndEndsTheThread) {
  struct Case {
    const char* name;
    int error;  // 0: poll reports POLLERR
  };
  for (const Case& c : {Case{"ENODEV", ENODEV}, Case{"EIO", EIO}, Case{"POLLERR", 0}}) {
    FakeV4l2Device device({GreyCamera()});
    auto camera = OpenCamera(device);
    ASSERT_NE(camera, nullptr);
    RecordingFrameSink sink;
    ASSERT_TRUE(camera->Start(sink));
    device.Deliver(GreyPicture(9));
    ASSERT_TRUE(sink.WaitForFrames(1)) << c.name;
    device.Lose(c.error);
    ASSERT_TRUE(sink.WaitForLoss()) << c.name;
    camera->Stop();  // joins the finished thread
    EXPECT_EQ(sink.Losses(), 1) << c.name;
    EXPECT_EQ(sink.Frames().size(), 1u) << c.name;
    EXPECT_EQ(device.Calls().Unmaps, device.Calls().Maps) << c.name;
  }
}

TEST(V4l2CameraTest, MemoryRunningOutOnItsThreadEndsTheStreamAsALoss) {
  FakeV4l2Device device({GreyCamera()});
  auto camera = OpenCamera(device);
  ASSERT_NE(camera, nullptr);
  RecordingFrameSink sink(/*outOfMemory=*/true);
  ASSERT_TRUE(camera->Start(sink));
  device.Deliver(GreyPicture(9));
  ASSERT_TRUE(sink.WaitForLoss());
  camera->Stop();
  EXPECT_EQ(sink.Losses(), 1);
  EXPECT_EQ(device.Calls().Unmaps, device.Calls().Maps);
}

TEST(V4l2CameraTest, StopWakesAThreadWaitingInPoll) {
  FakeV4l2Device device({GreyCamera()});
  auto camera = OpenCamera(device);
  ASSERT_NE(camera, nullptr);
  RecordingFrameSink sink;
  ASSERT_TRUE(camera->Start(sink));
  // The fake's poll never times out: only the camera's wake-up lets this return.
  camera->Stop();
  EXPECT_TRUE(sink.Frames().empty());
  EXPECT_EQ(sink.Losses(), 0);
  // A stopped camera can stream again.
  ASSERT_TRUE(camera->Start(sink));
  device.Deliver(GreyPicture(5));
  EXPECT_TRUE(sink.WaitForFrames(1));
  camera->Stop();
}

TEST(V4l2CameraTest, AStreamThatCannotStartLeavesNothingBehind) {
  struct Case {
    const char* name;
    FakeCamera spec;
  };
  FakeCamera noStream = GreyCamera();
  noStream.StreamOnError = EIO;
  FakeCamera noMap = GreyCamera();
  noMap.MmapFails = true;
  FakeCamera oneBuffer = GreyCamera();
  oneBuffer.BuffersGranted = 1;
  for (const Case& c : {Case{"STREAMON", noStream}, Case{"mmap", noMap}, Case{"one buffer", oneBuffer}}) {
    FakeV4l2Device device({c.spec});
    auto camera = OpenCamera(device);
    ASSERT_NE(camera, nullptr);
    RecordingFrameSink sink;
    EXPECT_FALSE(camera->Start(sink)) << c.name;
    EXPECT_EQ(device.Calls().Unmaps, device.Calls().Maps) << c.name;
    camera->Stop();
  }
}

TEST(V4l2CameraTest, CapabilitiesComeFromControlsFormatsInputsAndTuner) {
  struct Case {
    const char* name;
    FakeCamera spec;
    VideoCapabilities expected;
  };
  FakeCamera plain = GreyCamera();
  FakeCamera controls = GreyCamera();
  controls.Controls = true;
  FakeCamera sizes = GreyCamera();
  sizes.FrameSizes = 3;
  FakeCamera formats = GreyCamera();
  formats.Formats = {V4L2_PIX_FMT_GREY, V4L2_PIX_FMT_YUYV};
  FakeCamera inputs = GreyCamera();
  inputs.Inputs = 2;
  FakeCamera tuner = GreyCamera();
  tuner.Tuner = true;
  const Case cases[] = {
      {"plain", plain, {}},
      {"controls", controls, {true, false, false, false}},
      {"sizes", sizes, {false, true, false, false}},
      {"formats", formats, {false, true, false, false}},
      {"inputs", inputs, {false, false, true, false}},
      {"tuner", tuner, {false, false, false, true}},
  };
  for (const Case& c : cases) {
    FakeV4l2Device device({c.spec});
    auto camera = OpenCamera(device);
    ASSERT_NE(camera, nullptr);
    const VideoCapabilities caps = camera->Capabilities();
    EXPECT_EQ(caps.UserControls, c.expected.UserControls) << c.name;
    EXPECT_EQ(caps.SeveralFormats, c.expected.SeveralFormats) << c.name;
    EXPECT_EQ(caps.SeveralInputs, c.expected.SeveralInputs) << c.name;
    EXPECT_EQ(caps.Tuner, c.expected.Tuner) << c.name;
  }
}

}  // namespace
}  // namespace orvale
