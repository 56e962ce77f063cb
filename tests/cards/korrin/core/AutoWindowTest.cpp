// The auto-window following a tracked window, the clip mask keeping video off its
// covered parts, and auto-blit copying off-screen video into a window.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "KorrinTestBoard.h"
#include "cards/korrin/core/Acquisition.h"
#include "cards/korrin/core/AutoBlit.h"
#include "cards/korrin/core/AutoWindow.h"
#include "cards/korrin/core/BoardFrame.h"
#include "cards/korrin/core/Surfaces.h"
#include "cards/korrin/core/VideoGrab.h"
#include "cards/korrin/core/VideoWindow.h"
#include "platform/window/FakeWindow.h"

namespace orvale::korrin {
namespace {

using test::TestBoard;

TEST(OverlayRectTest, FollowingFourThreeAlignmentAndLimits) {
  struct Row {
    const char* name;
    gdi::Rect client;
    std::uint32_t flags;
    gdi::Rect current;
    int bpp;
    gdi::Rect expected;
  };
  const Row rows[] = {
      {"margins, aligned to 4", {101, 50, 503, 350}, 0, {}, 4, {104, 50, 500, 350}},
      {"aligned to 2", {101, 50, 503, 350}, 0, {}, 2, {102, 50, 502, 350}},
      {"enlarging", {101, 50, 503, 350}, autoflag::kEnlarge, {}, 4, {100, 50, 504, 350}},
      {"no alignment", {101, 50, 503, 350}, autoflag::kNoAlign, {}, 4, {101, 50, 503, 350}},
      {"4:3 from the width", {0, 0, 400, 400}, autoflag::kFourThree, {}, 4, {0, 0, 400, 300}},
      {"4:3 from the height", {0, 0, 400, 360}, autoflag::kFourThree | autoflag::kFollowSize, {0, 0, 400, 300}, 4,
       {0, 0, 480, 360}},
      {"limited to the standard", {0, 0, 1000, 900}, 0, {}, 4, {0, 0, 640, 480}},
      {"position kept without following", {200, 200, 520, 440}, 0, {0, 0, 320, 240}, 4, {0, 0, 320, 240}},
      {"position followed", {200, 200, 520, 440}, autoflag::kFollowPosition, {0, 0, 320, 240}, 4,
       {200, 200, 520, 440}},
  };
  for (const auto& row : rows) {
    OverlayInput in;
    in.client = row.client;
    in.flags = row.flags;
    in.current = row.current;
    in.bytesPerPixel = row.bpp;
    const gdi::Rect r = ComputeOverlayRect(in);
    EXPECT_EQ((std::vector<int>{r.left, r.top, r.right, r.bottom}),
              (std::vector<int>{row.expected.left, row.expected.top, row.expected.right, row.expected.bottom}))
        << row.name;
  }
}

class AutoWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    board.StartUp();
    board.lib.Settings().misc.acquisitionMode = 1;
    ASSERT_TRUE(ApplyAcquisition(board.lib));
  }
  std::int32_t Attach(std::uint32_t flags) {
    return AutoWindowAttach(board.lib, window->Handle(), 0, 0, 0, 0, flags);
  }
  AutoWindow* Tracked() { return board.lib.Live().resources.autoWindow.get(); }
  bool Live() { return TransferOn(board.lib); }
  TestBoard board;
  std::unique_ptr<FakeWindow> window = std::make_unique<FakeWindow>(gdi::Rect{100, 100, 420, 340});
};

TEST_F(AutoWindowTest, AttachResults) {
  EXPECT_EQ(Attach(0), 1);
  EXPECT_EQ(board.lib.Settings().geometry.window, (Rect16{100, 100, 320, 240}));
  EXPECT_EQ(Attach(autoflag::kNoClipList), 2);
  EXPECT_EQ(AutoWindowAttach(board.lib, nullptr, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(Tracked(), nullptr);
  EXPECT_EQ(AutoWindowAttach(board.lib, reinterpret_cast<KR_Window>(0x1234), 0, 0, 0, 0, 0), -1);
  board.lib.allocationFails = true;
  EXPECT_EQ(Attach(autoflag::kMask), -1);
  EXPECT_EQ(Tracked(), nullptr);
  board.lib.allocationFails = false;
  EXPECT_EQ(Attach(autoflag::kTopmost), 1);
  EXPECT_TRUE(window->Topmost());
  KR_AutoWindowInfoRecord info{};
  ASSERT_EQ(AutoWindowInfo(board.lib, &info), 0);
  EXPECT_EQ(info.window, window.get());
  EXPECT_EQ(info.maskBytesPerRow, 95);
  EXPECT_EQ(AutoWindowInfo(board.lib, nullptr), -1);
}

TEST_F(AutoWindowTest, ADestroyedWindowDetaches) {
  ASSERT_EQ(Attach(autoflag::kMask), 1);
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  window.reset();
  EXPECT_EQ(Tracked(), nullptr);
  EXPECT_FALSE(Live()) << "nothing left to show video in";
  board.clock.Advance(100);
}

TEST_F(AutoWindowTest, CoveredPartsOfTheWindowGetNoVideo) {
  window->SetVisibleRects({{100, 100, 260, 340}});  // the right half is covered
  ASSERT_EQ(Attach(autoflag::kMask | autoflag::kFollowPosition), 1);
  auto& frame = board.sim.FrameBuffer();
  std::fill(frame.begin(), frame.end(), 0xEE);
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  board.clock.Advance(60);
  EXPECT_TRUE(board.sim.Memory().Faults().empty());
  const Surface display = *DisplaySurface(board.lib);
  for (int y : {100, 200, 339}) {
    EXPECT_NE(display.At(150, y)[0], 0xEE) << y;
    EXPECT_NE(display.At(259, y)[0], 0xEE) << y;
    EXPECT_EQ(display.At(260, y)[0], 0xEE) << y;
    EXPECT_EQ(display.At(419, y)[0], 0xEE) << y;
  }
  EXPECT_GT(board.Card().Video().PixelsMasked(), 0u);
  // Dragged partly off the screen: paused.
  window->Move({900, 100, 1220, 340});
  EXPECT_EQ(Tracked()->hiding & hiding::kOffScreen, hiding::kOffScreen);
  EXPECT_FALSE(Live());
  // Back, and then fully covered: no transfer.
  window->Move({100, 100, 420, 340});
  EXPECT_TRUE(Live());
  window->SetCovered(true);
  window->EnterIdle();
  EXPECT_FALSE(Live());
  EXPECT_EQ(board.lib.Settings().liveState, 1) << "still wanted";
}

struct SequenceRow {
  const char* name;
  std::uint32_t flags;
  std::function<void(FakeWindow&)> events;
  std::uint32_t hiding;
  bool live;
  bool lastFrameShown;
};

TEST_F(AutoWindowTest, MessageSequences) {
  const SequenceRow rows[] = {
      {"deactivated", 0, [](FakeWindow& w) { w.Activate(false); }, hiding::kOtherActive, false, false},
      {"deactivated and back", 0, [](FakeWindow& w) { w.Activate(false), w.Activate(true); }, 0, true, false},
      {"deactivated, kept", autoflag::kKeepOnDeactivate, [](FakeWindow& w) { w.Activate(false); }, 0, true, false},
      {"other application", autoflag::kLastFrame, [](FakeWindow& w) { w.ActivateApp(false); },
       hiding::kAppInactive, false, true},
      {"other application, kept", autoflag::kKeepOnAppDeactivate, [](FakeWindow& w) { w.ActivateApp(false); }, 0,
       true, false},
      {"other application, topmost", autoflag::kLastFrame | autoflag::kTopmost,
       [](FakeWindow& w) { w.ActivateApp(false); }, hiding::kAppInactive, false, false},
      {"application back", 0, [](FakeWindow& w) { w.ActivateApp(false), w.ActivateApp(true); }, 0, true, false},
      {"menu open", 0, [](FakeWindow& w) { w.OpenMenu(); }, hiding::kMenu, false, false},
      {"menu closed", 0, [](FakeWindow& w) { w.OpenMenu(), w.CloseMenu(); }, 0, true, false},
      {"hidden", 0, [](FakeWindow& w) { w.Show(false); }, hiding::kHidden, false, false},
      {"shown again", 0, [](FakeWindow& w) { w.Show(false), w.Show(true); }, 0, true, false},
      {"minimised", 0, [](FakeWindow& w) { w.Minimize(true); }, hiding::kEmpty, false, false},
      {"sized and moved", autoflag::kFollowPosition | autoflag::kFollowSize,
       [](FakeWindow& w) { w.SizeMove({200, 120, 520, 360}); }, 0, true, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TestBoard local;
    local.StartUp();
    FakeWindow w({100, 100, 420, 340});
    ASSERT_EQ(AutoWindowAttach(local.lib, w.Handle(), 0, 0, 0, 0, row.flags), 1);
    ASSERT_EQ(VideoLive(local.lib, 1, 3), 0);
    ASSERT_TRUE(TransferOn(local.lib));
    w.Recording().ClearRecords();
    row.events(w);
    EXPECT_EQ(local.lib.Live().resources.autoWindow->hiding, row.hiding);
    EXPECT_EQ(TransferOn(local.lib), row.live);
    EXPECT_EQ(w.Recording().Log().find("StretchDIBits") != std::string::npos, row.lastFrameShown);
    EXPECT_EQ(local.lib.Settings().liveState, 1);
  }
}

TEST_F(AutoWindowTest, DelayedTrackingRebuildsFromItsTimer) {
  ASSERT_EQ(Attach(autoflag::kDelayed | autoflag::kFollowPosition), 1);
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  window->Move({140, 100, 460, 340});
  EXPECT_FALSE(Live()) << "paused until the timer";
  EXPECT_EQ(board.timers.ActiveCount(), 1u);
  board.clock.Advance(1000);
  board.timers.ProcessDue();
  EXPECT_TRUE(Live());
  EXPECT_EQ(board.timers.ActiveCount(), 0u);
}

class AutoBlitTest : public ::testing::Test {
 protected:
  void SetUp() override { board.StartUp(); }
  std::int32_t Blit(std::int32_t period, std::int32_t flags, int margin = 0) {
    return AutoBlitSet(board.lib, window.Handle(), period, margin, margin, margin, margin, flags);
  }
  AutoBlit* State() { return board.lib.Live().resources.autoBlit.get(); }
  void Tick() {
    board.clock.Advance(40);
    board.timers.ProcessDue();
  }
  TestBoard board;
  FakeWindow window{{0, 0, 320, 240}};
};

TEST_F(AutoBlitTest, TheTimerDrawsTheOffscreenFrame) {
  ASSERT_EQ(Blit(40, 0), 0);
  EXPECT_TRUE(board.lib.Settings().geometry.offscreen);
  EXPECT_EQ(board.lib.Settings().geometry.window.width, 320);
  EXPECT_EQ(State()->dib.size(), kColourBlitDib);
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  Tick();
  EXPECT_NE(window.Recording().Log().find("StretchDIBits"), std::string::npos);
  EXPECT_TRUE(board.sim.Memory().Faults().empty());
}

TEST_F(AutoBlitTest, AGrabSuspendsAndResumesIt) {
  ASSERT_EQ(Blit(40, 0), 0);
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  ASSERT_EQ(VideoGrab(board.lib, 2, 0, 1, 0), 0);
  EXPECT_TRUE(State()->running);
  window.Recording().ClearRecords();
  Tick();
  EXPECT_NE(window.Recording().Log().find("StretchDIBits"), std::string::npos) << "still ticking";
  // Resume only restarts what suspend stopped.
  ASSERT_EQ(Blit(-2, 0), 0);
  EXPECT_FALSE(State()->running);
  ASSERT_EQ(Blit(-3, 0), 0);
  EXPECT_TRUE(State()->running);
  ASSERT_EQ(Blit(-3, 0), 0);
  EXPECT_TRUE(State()->running);
}

TEST_F(AutoBlitTest, SizesAndBitmaps) {
  ASSERT_EQ(Blit(40, 0, 200), 0) << "margins larger than the client";
  EXPECT_EQ(board.lib.Settings().geometry.window.width, 4);
  EXPECT_EQ(board.lib.Settings().geometry.window.height, 4);
  ASSERT_EQ(Blit(40, blitflag::kGrey), 0);
  EXPECT_EQ(State()->dib.size(), kGreyBlitDib);
  ASSERT_EQ(Blit(40, 0), 0);
  EXPECT_EQ(State()->dib.size(), kColourBlitDib);
  ASSERT_EQ(AutoBlitSet(board.lib, nullptr, 0, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(State(), nullptr);
  EXPECT_EQ(board.timers.ActiveCount(), 0u);
}

TEST(AutoBlitBoardsTest, AFifthBoardIsRefused) {
  sim::SimOptions five;
  five.boards = 5;
  TestBoard board(five);
  FakeWindow window({0, 0, 160, 120});
  ASSERT_EQ(MultiBoard(board.lib, 0, 5), 0);
  for (int i = 0; i < 5; ++i) {
    ASSERT_EQ(MultiBoard(board.lib, 2, i), 0);
    board.StartUp();
    const std::int32_t result = AutoBlitSet(board.lib, window.Handle(), 40, 0, 0, 0, 0, 0);
    EXPECT_EQ(result, i < 4 ? 0 : -1) << i;
  }
  EXPECT_EQ(board.timers.ActiveCount(), 1u) << "one shared timer";
  ASSERT_EQ(MultiBoard(board.lib, 1, 0), 0);
}

}  // namespace
}  // namespace orvale::korrin
