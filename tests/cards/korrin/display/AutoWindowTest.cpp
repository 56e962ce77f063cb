// The auto-window following a tracked window, the clip mask keeping video off its
// covered parts, and auto-blit copying off-screen video into a window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <thread>

#include "KorrinTestBoard.h"
#include "cards/korrin/capture/Acquisition.h"
#include "cards/korrin/display/AutoBlit.h"
#include "cards/korrin/display/AutoWindow.h"
#include "cards/korrin/session/BoardFrame.h"
#include "cards/korrin/dma/DmaArea.h"
#include "cards/korrin/display/Masks.h"
#include "cards/korrin/session/MiscParams.h"
#include "cards/korrin/hardware/Saa7146.h"
#include "cards/korrin/capture/Surfaces.h"
#include "cards/korrin/capture/VideoGrab.h"
#include "cards/korrin/capture/VideoWindow.h"
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

TEST_F(AutoWindowTest, AttachingBehindAnotherWindowOrProgramPauses) {
  struct Row {
    const char* name;
    std::function<void(FakeWindow&)> before;
    std::uint32_t flags;
    std::uint32_t hiding;
  };
  const Row rows[] = {
      {"active", [](FakeWindow&) {}, 0, 0},
      {"another window active", [](FakeWindow& w) { w.Activate(false); }, 0, hiding::kOtherActive},
      {"another window active, kept", [](FakeWindow& w) { w.Activate(false); }, autoflag::kKeepOnDeactivate, 0},
      {"another program active", [](FakeWindow& w) { w.ActivateApp(false); }, 0,
       hiding::kOtherActive | hiding::kAppInactive},
      {"another program active, kept", [](FakeWindow& w) { w.ActivateApp(false); }, autoflag::kKeepOnAppDeactivate,
       hiding::kOtherActive},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TestBoard local;
    local.StartUp();
    FakeWindow w({100, 100, 420, 340});
    row.before(w);
    ASSERT_EQ(VideoLive(local.lib, 1, 3), 0);
    ASSERT_EQ(AutoWindowAttach(local.lib, w.Handle(), 0, 0, 0, 0, row.flags), 1);
    EXPECT_EQ(local.lib.Live().resources.autoWindow->hiding, row.hiding);
    EXPECT_EQ(TransferOn(local.lib), row.hiding == 0);
  }
}

TEST_F(AutoWindowTest, LiveVideoMovesOnToTheNextWindow) {
  ASSERT_EQ(Attach(autoflag::kMask), 1);
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  FakeWindow next({500, 300, 820, 540});
  ASSERT_EQ(AutoWindowAttach(board.lib, next.Handle(), 0, 0, 0, 0, autoflag::kMask), 1);
  EXPECT_TRUE(Live());
  EXPECT_EQ(board.lib.Settings().geometry.window, (Rect16{500, 300, 320, 240}));
  EXPECT_EQ(Tracked()->desiredLive, true);
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
  window->SetCovered(true);  // the clip watch tells; the window gets no message
  EXPECT_FALSE(Live());
  EXPECT_EQ(board.lib.Settings().liveState, 1) << "still wanted";
}

// `board` started and live in `window`, tracked with `flags`.
::testing::AssertionResult TrackLive(TestBoard& board, FakeWindow& window, std::uint32_t flags) {
  board.StartUp();
  if (AutoWindowAttach(board.lib, window.Handle(), 0, 0, 0, 0, flags) < 1) {
    return ::testing::AssertionFailure() << "not tracked";
  }
  if (VideoLive(board.lib, 1, 3) != 0) return ::testing::AssertionFailure() << "not live";
  return ::testing::AssertionSuccess();
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
    FakeWindow w({100, 100, 420, 340});
    ASSERT_TRUE(TrackLive(local, w, row.flags));
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

// Whether the clip mask that channel 2 reads hides pixel (x, y) of the video window.
bool MaskHides(TestBoard& board, int x, int y) {
  const std::uint8_t* mask = board.lib.Live().resources.session->Dma()->Base() + kHardwareMaskAt;
  const std::uint8_t* row = mask + static_cast<std::size_t>(y) * kHardwareRowBytes;
  std::uint32_t word;
  std::memcpy(&word, row + (x / 32) * 4, 4);
  return ((word >> (31 - x % 32)) & 1) != 0;
}

// How often the capture was switched off since register write `from`.
int TransferStops(TestBoard& board, std::size_t from) {
  const auto writes = board.Registers().Writes();
  return static_cast<int>(std::count_if(writes.begin() + static_cast<std::ptrdiff_t>(from), writes.end(),
                                        [](const auto& w) {
                                          return w.offset == saa::kMainControl1 && w.value == 0x00400000u;
                                        }));
}

// The FillRect calls of a window's recording, as (rectangle, colour).
std::vector<std::pair<gdi::Rect, gdi::Color>> Fills(FakeWindow& w) {
  std::vector<std::pair<gdi::Rect, gdi::Color>> fills;
  for (const auto& r : w.Recording().Records()) {
    if (r.call == "FillRect") fills.emplace_back(r.rect, r.brush.color);
  }
  return fills;
}

struct OtherWindowRow {
  const char* name;
  std::function<void(FakeWindow& tracked, FakeWindow& other)> events;
  std::uint32_t hiding;
  bool paused;  // the transfer was stopped on the way
  bool live;
};

TEST_F(AutoWindowTest, TheOtherWindowsOfItsThreadAreFollowed) {
  const OtherWindowRow rows[] = {
      {"a dialog shown over the video",
       [](FakeWindow& t, FakeWindow& o) {
         t.SetVisibleRectsQuietly({{100, 100, 260, 340}});
         o.Show(true);
       },
       0, true, true},
      {"a dialog activated", [](FakeWindow&, FakeWindow& o) { o.Activate(true); }, 0, true, true},
      {"its menu opened", [](FakeWindow&, FakeWindow& o) { o.OpenMenu(); }, hiding::kMenu, true, false},
      {"its menu closed", [](FakeWindow&, FakeWindow& o) { o.OpenMenu(), o.CloseMenu(); }, 0, true, true},
      {"moving", [](FakeWindow&, FakeWindow& o) { o.Send({WindowMessage::kPosChanging, true}); }, 0, true, false},
      {"moved", [](FakeWindow&, FakeWindow& o) { o.Move({500, 500, 600, 600}); }, 0, true, true},
      {"only changing its z-order", [](FakeWindow&, FakeWindow& o) { o.Send({WindowMessage::kPosChanging, false}); },
       0, false, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TestBoard local;
    FakeWindow tracked({100, 100, 420, 340});
    FakeWindow other({150, 150, 300, 250});
    // Without clip notifications, so that only the other window's messages show changes.
    ASSERT_TRUE(TrackLive(local, tracked, autoflag::kMask | autoflag::kNoNotification));
    const std::size_t from = local.Registers().Writes().size();
    row.events(tracked, other);
    EXPECT_EQ(local.lib.Live().resources.autoWindow->hiding, row.hiding);
    EXPECT_EQ(TransferStops(local, from) > 0, row.paused);
    EXPECT_EQ(TransferOn(local.lib), row.live);
  }
}

TEST_F(AutoWindowTest, ADialogOverTheVideoIsCutOutOfTheMask) {
  FakeWindow dialog({260, 100, 420, 340});
  ASSERT_EQ(Attach(autoflag::kMask | autoflag::kNoNotification), 1);
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  EXPECT_FALSE(MaskHides(board, 200, 10));
  window->SetVisibleRectsQuietly({{100, 100, 260, 340}});
  dialog.Show(true);
  EXPECT_FALSE(MaskHides(board, 159, 10));
  EXPECT_TRUE(MaskHides(board, 160, 10));
  EXPECT_TRUE(MaskHides(board, 319, 239));
  EXPECT_TRUE(Live());
}

TEST_F(AutoWindowTest, WindowsOfAnotherThreadAreNotFollowed) {
  std::unique_ptr<FakeWindow> elsewhere;
  std::thread([&] { elsewhere = std::make_unique<FakeWindow>(gdi::Rect{150, 150, 300, 250}); }).join();
  ASSERT_EQ(Attach(0), 1);
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  const std::size_t from = board.Registers().Writes().size();
  elsewhere->OpenMenu();
  elsewhere->Show(true);
  EXPECT_EQ(Tracked()->hiding, 0u);
  EXPECT_EQ(TransferStops(board, from), 0);
}

TEST_F(AutoWindowTest, ClipChangesArriveByNotificationUnlessItIsOff) {
  struct Row {
    const char* name;
    std::uint32_t flags;
    bool stoppedAtOnce;
    bool stoppedByAMessage;
  };
  const Row rows[] = {
      {"notified", 0, true, true},
      {"no notification", autoflag::kNoNotification, false, true},
      {"no clip list: the whole window or nothing", autoflag::kNoClipList, false, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TestBoard local;
    FakeWindow w({100, 100, 420, 340});
    ASSERT_TRUE(TrackLive(local, w, row.flags));
    w.SetCovered(true);
    EXPECT_EQ(TransferOn(local.lib), !row.stoppedAtOnce);
    w.EnterIdle();
    EXPECT_EQ(TransferOn(local.lib), !row.stoppedByAMessage);
    w.SetCovered(false);
    w.EnterIdle();
    EXPECT_TRUE(TransferOn(local.lib));
  }
}

TEST_F(AutoWindowTest, TheMaskIsLoadedAgainOnlyWhenSomethingChanged) {
  std::vector<std::uint8_t> overlay(static_cast<std::size_t>(kMaskRowBytes) * kMaskFrameRows, 0);
  ASSERT_EQ(Attach(autoflag::kMask), 1);
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  ASSERT_EQ(SetMiscParm(board.lib, 11, reinterpret_cast<std::intptr_t>(overlay.data())), 0);
  EXPECT_EQ(window->Repaints(), 1) << "a new mask overlay repaints the window";
  auto channel2Loads = [&] { return board.Registers().WritesTo(0x18).size(); };
  const std::size_t loads = channel2Loads();
  window->EnterIdle();
  ASSERT_EQ(SetMiscParm(board.lib, 27, 0), 0);
  EXPECT_EQ(channel2Loads(), loads) << "the visible parts are as they were";
  // The caller changes its overlay in place: only a forced rebuild takes it.
  overlay[10 * kMaskRowBytes + 2] = 0x01;  // pixel 16 of row 10
  EXPECT_FALSE(MaskHides(board, 16, 10));
  ASSERT_EQ(SetMiscParm(board.lib, 27, 1), 0);
  EXPECT_EQ(channel2Loads(), loads + 1);
  EXPECT_TRUE(MaskHides(board, 16, 10));
  EXPECT_FALSE(MaskHides(board, 17, 10));
  EXPECT_TRUE(Live());
  ASSERT_EQ(SetMiscParm(board.lib, 28, 1), 0);
  ASSERT_EQ(SetMiscParm(board.lib, 11, 0), 0);
  EXPECT_EQ(window->Repaints(), 1) << "misc 28: no repaint";
  EXPECT_FALSE(MaskHides(board, 16, 10));
}

TEST_F(AutoWindowTest, TheUncoveredOldAreaIsPaintedWithFlag40) {
  for (bool paint : {false, true}) {
    SCOPED_TRACE(paint);
    TestBoard local;
    local.StartUp();
    FakeWindow w({100, 100, 420, 340});
    w.SetBackgroundColour(0x123456);
    const std::uint32_t flags = autoflag::kFollowPosition | (paint ? autoflag::kPaintOld : 0);
    ASSERT_EQ(AutoWindowAttach(local.lib, w.Handle(), 0, 0, 0, 0, flags), 1);
    w.Recording().ClearRecords();
    w.Move({140, 100, 460, 340});
    const auto fills = Fills(w);
    if (!paint) {
      EXPECT_TRUE(fills.empty());
      continue;
    }
    // The old overlay (100..420) less the new one (140..460), in the window's new client
    // coordinates.
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].first, (gdi::Rect{-40, 0, 0, 240}));
    EXPECT_EQ(fills[0].second, 0x123456u);
  }
}

TEST_F(AutoWindowTest, TheMarkerIsDrawnAndCutOutOfTheMask) {
  struct Row {
    const char* name;
    std::int16_t rect[4];
    std::vector<gdi::Rect> drawn;  // client coordinates (the overlay is the client here)
    std::vector<gdi::Point> hidden;
    std::vector<gdi::Point> shown;
  };
  const Row rows[] = {
      {"box", {10, 20, 30, 16},
       {{10, 20, 40, 23}, {10, 33, 40, 36}, {10, 23, 13, 33}, {37, 23, 40, 33}},
       {{10, 20}, {39, 35}, {11, 25}},
       {{20, 28}, {9, 20}, {40, 20}}},
      {"cross", {10, 20, -30, 16}, {{10, 27, 40, 30}, {24, 20, 27, 36}}, {{10, 28}, {25, 20}, {39, 29}},
       {{10, 20}, {39, 35}}},
      {"filled", {10, 20, 30, -16}, {{10, 20, 40, 36}}, {{10, 20}, {39, 35}, {20, 28}}, {{40, 36}, {9, 19}}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TestBoard local;
    local.StartUp();
    FakeWindow w({100, 100, 420, 340});
    ASSERT_EQ(AutoWindowAttach(local.lib, w.Handle(), 0, 0, 0, 0, autoflag::kMask), 1);
    ASSERT_EQ(SetMiscParm(local.lib, 25, 3), 0);         // line width
    ASSERT_EQ(SetMiscParm(local.lib, 26, 0xFF8000), 0);  // colour key, 0x00RRGGBB
    w.Recording().ClearRecords();
    ASSERT_EQ(SetMiscParm(local.lib, 2, reinterpret_cast<std::intptr_t>(row.rect)), 0);
    std::vector<gdi::Rect> drawn;
    for (const auto& [rect, colour] : Fills(w)) {
      drawn.push_back(rect);
      EXPECT_EQ(colour, 0x0080FFu) << "drawn as 0x00BBGGRR";
    }
    EXPECT_EQ(drawn, row.drawn);
    for (const gdi::Point p : row.hidden) EXPECT_TRUE(MaskHides(local, p.x, p.y)) << p.x << "," << p.y;
    for (const gdi::Point p : row.shown) EXPECT_FALSE(MaskHides(local, p.x, p.y)) << p.x << "," << p.y;
    // An empty rectangle removes it: the mask opens and the window is painted again.
    const std::int16_t none[4] = {0, 0, 0, 0};
    ASSERT_EQ(SetMiscParm(local.lib, 2, reinterpret_cast<std::intptr_t>(none)), 0);
    for (const gdi::Point p : row.hidden) EXPECT_FALSE(MaskHides(local, p.x, p.y));
    EXPECT_EQ(w.Repaints(), 1);
  }
}

// Stopping live video in a window that keeps a last frame: the marker comes off the
// picture for two fields, the frame is copied without it, and the marker returns.
TEST_F(AutoWindowTest, TheLastFrameIsCopiedWithoutTheMarker) {
  struct Row {
    const char* name;
    std::function<void(Library&)> stop;
    bool copied;
  };
  const Row rows[] = {
      {"live off", [](Library& lib) { VideoLive(lib, 0, 3); }, true},
      {"live off, no refresh", [](Library& lib) { VideoLive(lib, 0, 0x8003); }, false},
      {"grab", [](Library& lib) { VideoGrab(lib, 2, 0, 1, 0); }, true},
      {"grab, no refresh", [](Library& lib) { VideoGrab(lib, 0x8002, 0, 1, 0); }, false},
  };
  constexpr std::uint8_t kSentinel = 0xEE;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TestBoard local;
    local.StartUp();
    local.lib.Settings().misc.acquisitionMode = 1;
    constexpr int kWidth = 96, kHeight = 64;  // small fields keep it quick
    FakeWindow w({100, 100, 100 + kWidth, 100 + kHeight});
    ASSERT_EQ(AutoWindowAttach(local.lib, w.Handle(), 0, 0, 0, 0, autoflag::kMask | autoflag::kLastFrame), 1);
    const std::int16_t filled[4] = {16, 16, 32, -16};
    ASSERT_EQ(SetMiscParm(local.lib, 2, reinterpret_cast<std::intptr_t>(filled)), 0);
    auto& frame = local.sim.FrameBuffer();
    std::fill(frame.begin(), frame.end(), kSentinel);
    ASSERT_EQ(VideoLive(local.lib, 1, 3), 0);
    local.clock.Advance(60);
    const Surface display = *DisplaySurface(local.lib);
    ASSERT_EQ(display.At(100 + 20, 100 + 20)[0], kSentinel) << "the video leaves the marker alone";
    ASSERT_NE(display.At(100 + 60, 100 + 20)[0], kSentinel);
    row.stop(local.lib);
    KR_AutoWindowInfoRecord info{};
    ASSERT_EQ(AutoWindowInfo(local.lib, &info), 0);
    EXPECT_EQ(info.desiredLive, 0);
    // The bitmap is bottom-up: window row 20 is bitmap row kHeight - 1 - 20.
    const std::uint8_t* pixel =
        info.lastFrameDib + gdi::kBitmapInfoHeaderSize + (kHeight - 1 - 20) * kWidth * 3 + 20 * 3;
    if (row.copied) {
      EXPECT_NE(pixel[0], kSentinel) << "no marker in the copied frame";
      EXPECT_NE(pixel[0], 0);
    } else {
      EXPECT_EQ(pixel[0], 0) << "nothing copied";
    }
    EXPECT_TRUE(local.lib.Settings().marker.shown) << "the marker is back";
    EXPECT_TRUE(MaskHides(local, 20, 20));
    EXPECT_TRUE(local.sim.Memory().Faults().empty());
  }
}

TEST(AutoWindowBoardsTest, EachBoardFollowsItsOwnWindowThroughOneHook) {
  sim::SimOptions two;
  two.boards = 2;
  TestBoard board(two);
  ASSERT_EQ(MultiBoard(board.lib, 0, 2), 0);
  FakeWindow first({0, 0, 80, 60});  // small fields keep it quick
  FakeWindow second({400, 0, 480, 60});
  for (int i : {0, 1}) {
    ASSERT_EQ(MultiBoard(board.lib, 2, i), 0);
    board.StartUp();
    board.lib.Settings().misc.acquisitionMode = 1;
    ASSERT_EQ(AutoWindowAttach(board.lib, (i == 0 ? first : second).Handle(), 0, 0, 0, 0, 0), 1);
    ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  }
  ASSERT_EQ(board.lib.sharedHooks.size(), 1u);
  EXPECT_EQ(board.lib.sharedHooks.begin()->second.users, 2);
  auto boardOf = [&](int i) -> BoardState& {
    return i == board.lib.CurrentBoard() ? board.lib.Live() : *board.lib.Copies()[i];
  };
  // Board 1 is live; the first window's own message reaches board 0, and board 1 sees
  // it as another window of its thread.
  first.Activate(false);
  EXPECT_EQ(boardOf(0).resources.autoWindow->hiding, hiding::kOtherActive);
  EXPECT_FALSE(boardOf(0).settings.transferOn);
  EXPECT_EQ(boardOf(1).resources.autoWindow->hiding, 0u);
  EXPECT_TRUE(boardOf(1).settings.transferOn);
  EXPECT_EQ(board.lib.CurrentBoard(), 1) << "switched back";
  // A clip change of the first window reaches board 0 only.
  first.Activate(true);
  first.SetCovered(true);
  EXPECT_FALSE(boardOf(0).settings.transferOn);
  EXPECT_TRUE(boardOf(1).settings.transferOn);
  // Board 0 lets go; board 1 still follows its window through the shared hook.
  ASSERT_EQ(MultiBoard(board.lib, 2, 0), 0);
  ASSERT_EQ(AutoWindowAttach(board.lib, nullptr, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(board.lib.sharedHooks.begin()->second.users, 1);
  second.OpenMenu();
  EXPECT_EQ(boardOf(1).resources.autoWindow->hiding, hiding::kMenu);
  ASSERT_EQ(MultiBoard(board.lib, 1, 0), 0);
  EXPECT_TRUE(board.lib.sharedHooks.empty());
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
