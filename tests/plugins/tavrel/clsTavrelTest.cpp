// The plug-in object through its interface: members before and after Initialize, the
// frame it writes, and the buffers and cameras it refuses.
#include "plugins/tavrel/clsTavrel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <atomic>
#include <functional>
#include <thread>

#include "platform/capture/SyntheticCamera.h"
#include "platform/gdi/Dib.h"
#include "tests/plugins/tavrel/TavrelTestSupport.h"

namespace orvale {
namespace {

using namespace std::chrono_literals;
using testing::TavrelTestBench;

struct ReleaseTavrel {
  void operator()(clsTavrel* object) const { object->Release(); }
};
using TavrelPtr = std::unique_ptr<clsTavrel, ReleaseTavrel>;

TavrelPtr MakeTavrel(TavrelTestBench& bench, std::chrono::milliseconds wait = 5s) {
  return TavrelPtr(new clsTavrel(bench.Environment(wait)));
}

constexpr std::uint8_t kSentinel = 0xA5;

TEST(clsTavrelTest, ReadOnlyPropertiesRefuseToBeSetWithTheirOwnText) {
  TavrelTestBench bench(std::nullopt);
  auto tavrel = MakeTavrel(bench);
  const std::pair<const char*, std::function<PluginStatus()>> puts[] = {
      {"HasColor", [&] { return tavrel->put_HasColor(true); }},
      {"BufferSize", [&] { return tavrel->put_BufferSize(1); }},
      {"DIBxSize", [&] { return tavrel->put_DIBxSize(1); }},
      {"XSize", [&] { return tavrel->put_XSize(1); }},
      {"YSize", [&] { return tavrel->put_YSize(1); }},
      {"HasSetupDlg", [&] { return tavrel->put_HasSetupDlg(false); }},
  };
  for (const auto& [name, put] : puts) {
    const PluginStatus status = put();
    EXPECT_TRUE(status.Failed()) << name;
    EXPECT_EQ(status.Description, std::string(name) + " is a read-only property.");
  }
  EXPECT_FALSE(tavrel->put_ReservedProp(5).Failed());
  bool value = true;
  EXPECT_FALSE(tavrel->get_HasColor(value).Failed());
  EXPECT_FALSE(value);
  EXPECT_FALSE(tavrel->get_HasSetupDlg(value).Failed());
  EXPECT_TRUE(value);
}

TEST(clsTavrelTest, WithoutAnEngineEveryMemberThatNeedsOneFails) {
  TavrelTestBench bench(std::nullopt);
  auto tavrel = MakeTavrel(bench);
  std::int32_t value = 77;
  std::vector<std::uint8_t> frame(2000, kSentinel);
  bool ok = true;
  const std::pair<const char*, std::function<PluginStatus()>> members[] = {
      {"XSize", [&] { return tavrel->get_XSize(value); }},
      {"YSize", [&] { return tavrel->get_YSize(value); }},
      {"BufferSize", [&] { return tavrel->get_BufferSize(value); }},
      {"DIBxSize", [&] { return tavrel->get_DIBxSize(value); }},
      {"ReservedProp", [&] { return tavrel->get_ReservedProp(value); }},
      {"GrabFrame", [&] { return tavrel->GrabFrame(frame, ok); }},
      {"ShowSetupDlg", [&] { return tavrel->ShowSetupDlg(); }},
      {"Shutdown", [&] { return tavrel->Shutdown(); }},
  };
  for (const auto& [name, call] : members) {
    const PluginStatus status = call();
    EXPECT_TRUE(status.Failed()) << name;
    EXPECT_EQ(status.Description, "Tavrel has not been initialized.") << name;
  }
  EXPECT_EQ(value, 77);
  EXPECT_EQ(frame, std::vector<std::uint8_t>(2000, kSentinel));
}

TEST(clsTavrelTest, WithoutACameraItInitialisesNotReadyWithASizeOfNothing) {
  TavrelTestBench bench(std::nullopt);
  auto tavrel = MakeTavrel(bench);
  bool ready = true;
  ASSERT_FALSE(tavrel->Initialize(ready).Failed());
  EXPECT_FALSE(ready);
  std::int32_t width = -1, height = -1, size = -1;
  EXPECT_FALSE(tavrel->get_XSize(width).Failed());
  EXPECT_FALSE(tavrel->get_YSize(height).Failed());
  EXPECT_FALSE(tavrel->get_BufferSize(size).Failed());
  EXPECT_EQ(width, 0);
  EXPECT_EQ(height, 0);
  EXPECT_EQ(size, 0);
  std::int32_t reserved = 12;
  EXPECT_FALSE(tavrel->get_ReservedProp(reserved).Failed());
  EXPECT_EQ(reserved, 12);
  std::vector<std::uint8_t> frame(2000);
  bool ok = true;
  EXPECT_FALSE(tavrel->GrabFrame(frame, ok).Failed());
  EXPECT_FALSE(ok);

  EXPECT_FALSE(tavrel->Shutdown().Failed());
  EXPECT_EQ(tavrel->Shutdown().Description, "Tavrel has not been initialized.");
}

TEST(clsTavrelTest, ACameraThatFailedToOpenReportsNoSizeEvenAfterOneThatOpened) {
  TavrelTestBench bench("size=320x200;interval=1;cameras=2");
  auto tavrel = MakeTavrel(bench);
  bool ready = false;
  ASSERT_FALSE(tavrel->Initialize(ready).Failed());
  ASSERT_TRUE(ready);
  const std::int32_t missing = 5;
  EXPECT_EQ(tavrel->Engine()->OpenDevice(&missing), -4);
  std::int32_t width = -1;
  tavrel->get_XSize(width);
  EXPECT_EQ(width, 0);
}

TEST(clsTavrelTest, AFrameIsAGreyBottomUpBitmapThatLeavesThePaletteAreaAlone) {
  // A grey camera 641 pixels wide, whose pixel (x, y) is (x + 50 y) mod 256.
  TavrelTestBench bench(std::nullopt, {testing::FixedSizeCamera(V4L2_PIX_FMT_GREY, 641, 3)});
  auto tavrel = MakeTavrel(bench);
  bool ready = false;
  ASSERT_FALSE(tavrel->Initialize(ready).Failed());
  ASSERT_TRUE(ready);
  std::int32_t dibx = 0, size = 0;
  tavrel->get_DIBxSize(dibx);
  tavrel->get_BufferSize(size);
  EXPECT_EQ(dibx, 644);
  EXPECT_EQ(size, 1064 + 644 * 3);

  std::vector<std::uint8_t> picture;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 641; ++x) picture.push_back(static_cast<std::uint8_t>((x + 50 * y) % 256));
  std::vector<std::uint8_t> frame(static_cast<std::size_t>(size), kSentinel);
  bool ok = false;
  // The camera sends the picture over and over until the grab has one.
  std::atomic<bool> grabbed = false;
  std::thread sender([&] {
    while (!grabbed) {
      if (bench.Device().Pending() == 0) bench.Device().Deliver(picture);
      std::this_thread::sleep_for(1ms);
    }
  });
  const PluginStatus status = tavrel->GrabFrame(frame, ok);
  grabbed = true;
  sender.join();
  ASSERT_FALSE(status.Failed());
  ASSERT_TRUE(ok);

  gdi::BitmapInfoHeader header;
  std::memcpy(&header, frame.data(), sizeof header);
  gdi::BitmapInfoHeader expected;
  expected.biWidth = 641;
  expected.biHeight = 3;
  expected.biBitCount = 8;
  EXPECT_EQ(header, expected);
  for (std::size_t i = 40; i < 1064; ++i) ASSERT_EQ(frame[i], kSentinel) << "palette byte " << i;
  for (int stored = 0; stored < 3; ++stored) {
    const std::uint8_t* row = frame.data() + 1064 + 644 * stored;
    const int y = 2 - stored;  // the bottom row first
    EXPECT_EQ(row[0], 50 * y);
    EXPECT_EQ(row[640], (640 + 50 * y) % 256);
    EXPECT_EQ(row[641], 0);  // padding
    EXPECT_EQ(row[643], 0);
  }
}

TEST(clsTavrelTest, ABufferOneByteShortIsLeftUntouched) {
  TavrelTestBench bench("size=64x48;interval=1");
  auto tavrel = MakeTavrel(bench);
  bool ready = false;
  ASSERT_FALSE(tavrel->Initialize(ready).Failed());
  std::int32_t size = 0;
  tavrel->get_BufferSize(size);
  std::vector<std::uint8_t> frame(static_cast<std::size_t>(size), kSentinel);
  bool ok = true;
  EXPECT_FALSE(tavrel->GrabFrame(std::span(frame).first(frame.size() - 1), ok).Failed());
  EXPECT_FALSE(ok);
  EXPECT_EQ(frame, std::vector<std::uint8_t>(static_cast<std::size_t>(size), kSentinel));
}

TEST(clsTavrelTest, CamerasThatStopSendingOrGoAwayFailTheGrabWithoutHanging) {
  struct Case {
    const char* synthetic;
    std::chrono::milliseconds wait;
  };
  // A stall runs into the (short) bound; a loss ends even an hour's wait.
  for (const Case& c : {Case{"size=64x48;interval=1;fault=stall@1", 20ms},
                        Case{"size=64x48;interval=1;fault=lost@1", std::chrono::hours(1)},
                        Case{"size=64x48;interval=1;fault=resize@1", std::chrono::hours(1)}}) {
    TavrelTestBench bench(c.synthetic);
    auto tavrel = MakeTavrel(bench, c.wait);
    bool ready = false;
    ASSERT_FALSE(tavrel->Initialize(ready).Failed());
    ASSERT_TRUE(ready);
    std::vector<std::uint8_t> frame(1064 + 64 * 48);
    bool ok = false;
    // The first frame is good; one of the next grabs meets the fault.
    bool failed = false;
    for (int grab = 0; grab < 3 && !failed; ++grab) {
      EXPECT_FALSE(tavrel->GrabFrame(frame, ok).Failed());
      failed = !ok;
    }
    EXPECT_TRUE(failed) << c.synthetic;
    EXPECT_FALSE(tavrel->Shutdown().Failed());
  }
}

TEST(clsTavrelTest, InitialisingAgainClosesTheCameraOpenedBefore) {
  testing::FakeCamera camera;
  TavrelTestBench bench(std::nullopt, {camera});
  auto tavrel = MakeTavrel(bench);
  bool ready = false;
  ASSERT_FALSE(tavrel->Initialize(ready).Failed());
  ASSERT_TRUE(ready);
  ASSERT_FALSE(tavrel->Initialize(ready).Failed());
  EXPECT_TRUE(ready);
  EXPECT_EQ(bench.Device().OpenDescriptors(), 1);
  EXPECT_EQ(bench.Device().Calls().StreamOns, 2);
  EXPECT_EQ(bench.Device().Calls().StreamOffs, 1);
}

TEST(clsTavrelTest, TheSavedCameraIsOpenedAndAPositionBeyondTheListMeansTheFirst) {
  TavrelTestBench bench("cameras=3;interval=1");
  const std::uint64_t second = SyntheticCamera::OpenCount(1);
  const std::uint64_t first = SyntheticCamera::OpenCount(0);
  bench.SetSettingsText("[CurrentVersion]\r\nSelectedDevice=1\r\n");
  auto tavrel = MakeTavrel(bench);
  bool ready = false;
  ASSERT_FALSE(tavrel->Initialize(ready).Failed());
  EXPECT_TRUE(ready);
  EXPECT_EQ(SyntheticCamera::OpenCount(1), second + 1);
  EXPECT_EQ(tavrel->Engine()->CameraIndex(), 1);

  bench.SetSettingsText("[CurrentVersion]\r\nSelectedDevice=20\r\n");
  ASSERT_FALSE(tavrel->Initialize(ready).Failed());
  EXPECT_EQ(tavrel->Engine()->CameraIndex(), 0);
  EXPECT_EQ(SyntheticCamera::OpenCount(0), first + 1);
}

}  // namespace
}  // namespace orvale
