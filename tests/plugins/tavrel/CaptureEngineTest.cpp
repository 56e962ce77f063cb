// The capture engine over synthetic cameras and fake V4L2 devices: opening with the saved
// format, the exposure and its region, the bounded wait for a fresh frame, and frames
// that must not be read.
#include "plugins/tavrel/CaptureEngine.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "tests/plugins/tavrel/TavrelTestSupport.h"

namespace orvale {
namespace {

using namespace std::chrono_literals;
using testing::TavrelTestBench;

// The engine on camera 0, streaming.
std::unique_ptr<CaptureEngine> OpenEngine(TavrelTestBench& bench, std::chrono::milliseconds wait = 5s) {
  auto engine = std::make_unique<CaptureEngine>(bench.Environment(wait));
  engine->EnumerateVideoDevices();
  const std::int32_t camera = 0;
  EXPECT_EQ(engine->OpenDevice(&camera), 0);
  return engine;
}

// One exposure of the whole frame, waited for and read; the read's status.
std::int8_t Expose(CaptureEngine& engine) {
  std::int32_t width = 0, height = 0;
  engine.GetSize(width, height);
  EXPECT_EQ(engine.StartExposure(1, 0, 0, width, height, 1, 1), 0);
  if (!engine.WaitForExposure()) return 1;
  std::int16_t frames = 0;
  std::int32_t percent = 0;
  return engine.ReadImage(frames, percent);
}

TEST(CaptureEngineTest, OpeningAppliesTheSavedFormatAndFailuresLeaveNoSize) {
  TavrelTestBench bench(std::nullopt, {testing::FakeCamera{}});
  bench.SetSettingsText("[CurrentVersion]\r\nDefaultWidth=320\r\nDefaultHeight=240\r\nDefaultFrameTime=333333\r\n");
  auto engine = OpenEngine(bench);
  std::int32_t width = 0, height = 0;
  engine->GetSize(width, height);
  EXPECT_EQ(width, 320);
  EXPECT_EQ(height, 240);
  const auto calls = bench.Device().Calls();
  ASSERT_TRUE(calls.FrameTimeSet);
  EXPECT_EQ(calls.FrameTimeSet->numerator, 333333u);
  EXPECT_EQ(calls.FrameTimeSet->denominator, 10000000u);

  // Another camera index that does not exist: the open fails and the size is 0 x 0.
  const std::int32_t missing = 3;
  EXPECT_EQ(engine->OpenDevice(&missing), -4);
  engine->GetSize(width, height);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(height, 0);
  EXPECT_EQ(engine->OpenDevice(nullptr), -1);
  EXPECT_EQ(bench.Device().OpenDescriptors(), 0);
}

TEST(CaptureEngineTest, CamerasThatCannotStreamFailToOpenWithoutASize) {
  struct Case {
    const char* name;
    testing::FakeCamera camera;
  };
  testing::FakeCamera busy;
  busy.OpenError = EBUSY;
  testing::FakeCamera undecodable;
  undecodable.Formats = {V4L2_PIX_FMT_H264};
  testing::FakeCamera noStream;
  noStream.StreamOnError = EIO;
  const Case cases[] = {{"busy", busy}, {"no convertible format", undecodable}, {"no stream", noStream}};
  for (const Case& c : cases) {
    TavrelTestBench bench(std::nullopt, {c.camera});
    CaptureEngine engine(bench.Environment());
    engine.EnumerateVideoDevices();
    const std::int32_t camera = 0;
    EXPECT_EQ(engine.OpenDevice(&camera), -4) << c.name;
    std::int32_t width = -1, height = -1;
    engine.GetSize(width, height);
    EXPECT_EQ(width, 0) << c.name;
    EXPECT_EQ(height, 0) << c.name;
  }
  TavrelTestBench busySynthetic("fault=busy");
  CaptureEngine engine(busySynthetic.Environment());
  engine.EnumerateVideoDevices();
  const std::int32_t camera = 0;
  EXPECT_EQ(engine.OpenDevice(&camera), -4);
}

TEST(CaptureEngineTest, RegionsOutsideTheFrameOrWithNegativeSidesAreRefused) {
  TavrelTestBench bench("size=64x48;interval=1");
  auto engine = OpenEngine(bench);
  struct Case {
    std::int32_t x, y, w, h;
    std::int16_t binX, binY;
    std::int8_t status;
  };
  const Case cases[] = {
      {0, 0, 64, 48, 1, 1, 0},   {10, 8, 54, 40, 1, 1, 0},  {0, 0, 32, 24, 2, 2, 0},
      {1, 0, 64, 48, 1, 1, -3},  {0, 0, 33, 24, 2, 2, -3},  {-1, 0, 10, 10, 1, 1, -3},
      {0, -1, 10, 10, 1, 1, -3}, {0, 0, -5, 10, 1, 1, -3},  {0, 0, 10, -5, 1, 1, -3},
      {0, 0, 10, 10, 0, 1, -3},  {2147483647, 0, 1, 1, 1, 1, -3},
  };
  for (const Case& c : cases)
    EXPECT_EQ(engine->StartExposure(1, c.x, c.y, c.w, c.h, c.binX, c.binY), c.status)
        << c.x << "," << c.y << " " << c.w << "x" << c.h << " bin " << c.binX;
}

TEST(CaptureEngineTest, EachExposureWaitsForAFrameThatCameAfterItBegan) {
  TavrelTestBench bench("size=40x30;interval=1;pattern=ramp");
  auto engine = OpenEngine(bench);
  std::uint16_t lastNumber = 0;
  for (int grab = 0; grab < 5; ++grab) {
    std::int32_t status = 0;
    std::int16_t extra = 0;
    ASSERT_EQ(engine->StartExposure(1, 0, 0, 40, 30, 1, 1), 0);
    ASSERT_TRUE(engine->WaitForExposure());
    engine->GetStatus(status, extra);
    EXPECT_EQ(status, 7);
    std::int16_t frames = 0;
    std::int32_t percent = 0;
    ASSERT_EQ(engine->ReadImage(frames, percent), 0);
    // The red channel numbers the frames: every read is of a later one.
    engine->SelectBuffer(1);
    const std::uint16_t number = engine->GetBuffer()[0];
    EXPECT_GT(number, lastNumber);
    lastNumber = number;
  }
}

TEST(CaptureEngineTest, BuffersHoldTheRegionRowsInTheFramesBottomUpOrder) {
  TavrelTestBench bench("size=40x30;interval=1;pattern=ramp");
  auto engine = OpenEngine(bench);
  ASSERT_EQ(engine->StartExposure(1, 5, 2, 10, 4, 1, 1), 0);
  ASSERT_TRUE(engine->WaitForExposure());
  std::int16_t frames = 0;
  std::int32_t percent = 0;
  ASSERT_EQ(engine->ReadImage(frames, percent), 0);
  EXPECT_EQ(frames, 1);
  EXPECT_EQ(percent, 100);
  // Region row 0 is memory row 2, the picture's row 30 - 1 - 2 = 27 from the top.
  engine->SelectBuffer(3);
  const std::uint16_t* blue = engine->GetBuffer();
  EXPECT_EQ(blue[0], 5);       // x
  EXPECT_EQ(blue[9], 14);
  engine->SelectBuffer(2);
  const std::uint16_t* green = engine->GetBuffer();
  EXPECT_EQ(green[0], 27);     // y from the top
  EXPECT_EQ(green[3 * 10], 24);
  const std::uint16_t* grey = engine->GetBuffer();  // the choice went back to grey
  engine->SelectBuffer(1);
  const std::uint16_t red = engine->GetBuffer()[0];
  EXPECT_EQ(grey[0], (5 + 27 + red) / 3);
}

TEST(CaptureEngineTest, AnEmptyRegionReadsNothingAndTheStatusStillComesBack) {
  TavrelTestBench bench("size=40x30;interval=1");
  auto engine = OpenEngine(bench);
  ASSERT_EQ(engine->StartExposure(1, 0, 0, 0, 0, 1, 1), 0);
  ASSERT_TRUE(engine->WaitForExposure());
  std::int32_t status = 0;
  std::int16_t extra = 1;
  engine->GetStatus(status, extra);
  EXPECT_EQ(status, 7);
  EXPECT_EQ(extra, 0);
  std::int16_t frames = 0;
  std::int32_t percent = 0;
  EXPECT_EQ(engine->ReadImage(frames, percent), 0);
}

TEST(CaptureEngineTest, GreyIsTheSumOfTheColoursDividedByThreeWithTheRestDropped) {
  TavrelTestBench bench(std::nullopt, {testing::FixedSizeCamera(V4L2_PIX_FMT_BGR24, 4, 1)});
  auto engine = OpenEngine(bench);
  std::int32_t width = 0, height = 0;
  engine->GetSize(width, height);
  ASSERT_EQ(width, 4);
  ASSERT_EQ(engine->StartExposure(1, 0, 0, 4, 1, 1, 1), 0);
  bench.Device().Deliver({255, 254, 1, 3, 3, 3, 6, 6, 6, 9, 9, 9});
  ASSERT_TRUE(engine->WaitForExposure());
  std::int16_t frames = 0;
  std::int32_t percent = 0;
  ASSERT_EQ(engine->ReadImage(frames, percent), 0);
  const std::uint16_t* grey = engine->GetBuffer();
  EXPECT_EQ(grey[0], 170);
  EXPECT_EQ(grey[1], 3);
  EXPECT_EQ(grey[3], 9);
}

TEST(CaptureEngineTest, FramesThatDoNotHoldTheNegotiatedPictureAreNotRead) {
  for (const char* fault : {"size=40x30;interval=1;fault=short@0", "size=40x30;interval=1;fault=resize@0"}) {
    TavrelTestBench bench(fault);
    auto engine = OpenEngine(bench);
    EXPECT_EQ(Expose(*engine), -6) << fault;
  }
}

TEST(CaptureEngineTest, ACameraThatStallsEndsTheWaitAtItsBound) {
  TavrelTestBench bench("size=40x30;interval=1;fault=stall@0");
  auto engine = OpenEngine(bench, 20ms);
  EXPECT_EQ(engine->FrameWait(), 20ms);
  ASSERT_EQ(engine->StartExposure(1, 0, 0, 40, 30, 1, 1), 0);
  EXPECT_FALSE(engine->WaitForExposure());
  std::int32_t status = 0;
  std::int16_t extra = 0;
  engine->GetStatus(status, extra);
  EXPECT_EQ(status, 6);
  engine->AbortExposure();
  engine->GetStatus(status, extra);
  EXPECT_EQ(status, 7);
}

TEST(CaptureEngineTest, ALostCameraEndsTheWaitAtOnceHoweverLongItsBound) {
  // An hour's bound: only the loss can end this wait.
  TavrelTestBench bench("size=40x30;interval=1;fault=lost@2");
  auto engine = OpenEngine(bench, std::chrono::hours(1));
  for (;;) {
    ASSERT_EQ(engine->StartExposure(1, 0, 0, 40, 30, 1, 1), 0);
    if (!engine->WaitForExposure()) break;
  }
  engine->CloseDevice();
}

TEST(CaptureEngineTest, TheFrameWaitIsAtLeastThreeFrameTimes) {
  TavrelTestBench bench("size=40x30;interval=400");
  auto engine = OpenEngine(bench, 20ms);
  EXPECT_EQ(engine->FrameWait(), 1200ms);
}

}  // namespace
}  // namespace orvale
