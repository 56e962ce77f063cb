// Waiting on video timing, the grab modes with their trigger sequences, the brightness
// trigger and post-processing.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "KorrinTestBoard.h"
#include "cards/korrin/capture/Acquisition.h"
#include "cards/korrin/hardware/BoardController.h"
#include "cards/korrin/session/BoardFrame.h"
#include "cards/korrin/capture/CaptureGate.h"
#include "cards/korrin/session/MiscParams.h"
#include "cards/korrin/capture/PostProcess.h"
#include "cards/korrin/hardware/Saa7146.h"
#include "cards/korrin/interrupts/SwitchState.h"
#include "cards/korrin/capture/VideoGrab.h"
#include "cards/korrin/capture/VideoWindow.h"
#include "cards/korrin/interrupts/Waits.h"

namespace orvale::korrin {
namespace {

using test::TestBoard;
using test::WithController;

std::uint64_t Elapsed(TestBoard& board, std::uint64_t since) { return board.clock.ElapsedMs() - since; }

TEST(AcquisitionTest, FieldWaitsFollowTheCamera) {
  for (int rate : {60, 50}) {
    SCOPED_TRACE(rate);
    TestBoard board;
    board.Card().Camera().fieldsPerSecond = rate;
    board.StartUp();
    for (int type : {0, 1, 2}) {
      const std::uint64_t start = board.clock.ElapsedMs();
      EXPECT_EQ(WaitFieldType(board.lib, type), 0) << type;
      EXPECT_LE(Elapsed(board, start), 2u * (1000u / rate) + 2) << type;
      if (type != 2) {
        EXPECT_EQ(GetFieldType(board.lib), type);
      }
    }
    const std::size_t reads = board.Registers().ReadCount();
    EXPECT_EQ(WaitFieldType(board.lib, 3), 0);
    EXPECT_EQ(board.Registers().ReadCount(), reads) << "type 3 returns at once";
  }
}

TEST(AcquisitionTest, WithoutASignalFieldWaitsTimeOut) {
  TestBoard board;
  board.StartUp();
  board.Card().Camera().signal = false;
  std::uint64_t start = board.clock.ElapsedMs();
  EXPECT_EQ(WaitFieldType(board.lib, 0), -1);
  EXPECT_NEAR(static_cast<double>(Elapsed(board, start)), 81, 2);
  start = board.clock.ElapsedMs();
  EXPECT_EQ(WaitVSync(board.lib, 5), -1);
  EXPECT_NEAR(static_cast<double>(Elapsed(board, start)), 81, 2) << "fails at the first field";
  const std::size_t reads = board.Registers().ReadCount();
  EXPECT_EQ(WaitVSync(board.lib, 0), 0);
  EXPECT_EQ(board.Registers().ReadCount(), reads);
}

TEST(AcquisitionTest, LineAndMillisecondWaits) {
  TestBoard board;
  board.StartUp();
  std::uint64_t start = board.clock.ElapsedMs();
  EXPECT_EQ(WaitHSync(board.lib, 100), 0);
  EXPECT_LE(Elapsed(board, start), 20u);
  board.Card().LocalBus().counterFrozen = true;
  start = board.clock.ElapsedMs();
  EXPECT_EQ(WaitHSync(board.lib, 100), -1);
  EXPECT_GE(Elapsed(board, start), 80u);
  EXPECT_LT(Elapsed(board, start), 200u);
  start = board.clock.ElapsedMs();
  EXPECT_EQ(WaitMs(board.lib, 70000), 0);
  EXPECT_EQ(Elapsed(board, start), 70000u);
  EXPECT_EQ(WaitMs(board.lib, -5), 0);
  EXPECT_EQ(Elapsed(board, start), 70000u);
}

// Writes of the trigger output on a board without controller: 1 set, 0 cleared.
std::vector<int> TriggerPulses(TestBoard& board, std::size_t from) {
  std::vector<int> pulses;
  const auto writes = board.Registers().Writes();
  for (std::size_t i = from; i < writes.size(); ++i) {
    if (writes[i].offset == saa::kGpio && (writes[i].value & 0x40000000)) {
      pulses.push_back((writes[i].value & 0x10000000) ? 1 : 0);
    }
  }
  return pulses;
}

struct GrabRow {
  const char* name;
  int mode;
  std::int32_t flags;
  std::vector<int> pulses;
  std::int32_t result;
  int triggerMode = 0;
  std::function<int(std::uint32_t)> switchLevel = nullptr;
};

TEST(AcquisitionTest, GrabModesDriveTheTriggerAndStopTheCapture) {
  const std::uint32_t later = 0;  // switch scripts are relative to the grab's start below
  (void)later;
  const GrabRow rows[] = {
      {"default", 0, 0, {}, 0},
      {"1 without controller", 1, 0, {1, 0, 0, 1}, 0},
      {"2", 2, 0, {0, 0, 0, 1, 0}, 0},
      {"3", 3, 0, {1, 0, 0, 1}, 0},
      {"4", 4, 0, {1, 0, 1, 0, 1}, 0},
      {"5 pressed and released", 5, 0x1000, {}, 0, 0, [](std::uint32_t t) { return t % 1000 < 500 ? 1 : 0; }},
      {"5 held down", 5, 0, {}, 1, 0, [](std::uint32_t) { return 1; }},
      {"6 pressed", 6, 0, {}, 0, 0, [](std::uint32_t) { return 1; }},
      {"6 never pressed", 6, 0, {}, 1, 0, nullptr},
      {"7", 7, 0, {0, 1, 0}, 0},
      {"10", 10, 0, {0, 1}, 0, 4},
      {"11", 11, 0, {1, 0}, 0, 5},
  };
  for (const auto& row : rows) {
    for (bool signal : {true, false}) {
      SCOPED_TRACE(::testing::Message() << row.name << (signal ? "" : ", no signal"));
      TestBoard board;
      board.StartUp();
      ASSERT_EQ(SetMiscParm(board.lib, 13, 300), 0);  // controller time-out
      ASSERT_EQ(SetMiscParm(board.lib, 18, row.triggerMode), 0);
      if (row.switchLevel) board.Card().switchLevel = row.switchLevel;
      board.Card().Camera().signal = signal;
      ASSERT_EQ(SetVideoWindow(board.lib, 0, 0, 64, 48, 1), 0);  // small fields keep it quick
      ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
      const std::size_t from = board.Registers().Writes().size();
      const int depth = board.priority.Depth();
      EXPECT_EQ(VideoGrab(board.lib, 2, row.mode | row.flags, 2, 10), row.result);
      EXPECT_EQ(TriggerPulses(board, from), row.pulses);
      EXPECT_EQ(board.priority.Depth(), depth) << "priority restored";
      EXPECT_GE(board.priority.Raises(), 1);
      EXPECT_EQ(board.lib.Settings().liveState, 0);
      // The capture is off: no field is written any more.
      const std::uint64_t written = board.Card().Video().FieldsWritten();
      board.clock.Advance(100);
      EXPECT_EQ(board.Card().Video().FieldsWritten(), written);
    }
  }
}

TEST(AcquisitionTest, ControllerExposureGoesThroughTheController) {
  TestBoard board(WithController(sim::ControllerKind::kController));
  board.StartUp();
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  ASSERT_EQ(VideoGrab(board.lib, 1, 1, 3, 20), 0);
  const auto& last = board.Card().Controller()->Commands().back();
  EXPECT_EQ(last.command, 9);
  EXPECT_EQ(last.data, (std::vector<std::uint8_t>{1, 1, 3, 20}));
}

TEST(AcquisitionTest, ACaptureThatFieldsKeepCountingIsStoppedByTheGrab) {
  TestBoard board;
  board.StartUp();
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  const std::uint64_t before = board.Card().Video().FieldsWritten();
  ASSERT_EQ(VideoGrab(board.lib, 2, 0, 4, 0), 0);
  EXPECT_GE(board.Card().Video().FieldsWritten() - before, 4u);
}

// An 8-bit off-screen frame whose camera shows `base` everywhere and, from a few fields
// into the grab on, `flash` on the lines in `lines`.
struct FlashBoard {
  FlashBoard(int base, int flash, std::vector<int> lines) : base(base), flash(flash), lines(std::move(lines)) {
    board.StartUp();
    board.lib.Settings().misc.acquisitionMode = 1;
    EXPECT_EQ(VideoOffscreen(board.lib, 64, 20, 8, 1), 0);
    board.Card().Camera().brightness = [base](std::uint64_t, int) { return base; };
    EXPECT_EQ(SetMiscParm(board.lib, 13, 500), 0);
    EXPECT_EQ(VideoLive(board.lib, 1, 3), 0);
    board.clock.Advance(60);  // a few fields of the base picture
  }
  std::int32_t Grab(int mode, int line, int margin) {
    SetMiscParm(board.lib, 20, (margin << 16) | (line & 0xFFFF));
    const std::uint64_t flashAt = board.Card().FieldsSeen() + 3;
    board.Card().Camera().brightness = [=, this](std::uint64_t field, int l) {
      const bool lit = field >= flashAt && std::find(lines.begin(), lines.end(), l) != lines.end();
      return lit ? flash : base;
    };
    return VideoGrab(board.lib, 2, mode, 1, 0);
  }
  int base;
  int flash;
  std::vector<int> lines;
  TestBoard board;
};

TEST(AcquisitionTest, BrightnessTriggerModes) {
  EXPECT_EQ(FlashBoard(100, 200, {5}).Grab(9, 5, 16), 0) << "mode 9: either line";
  EXPECT_EQ(FlashBoard(100, 200, {5}).Grab(8, 5, 16), 1) << "mode 8 needs both lines";
  EXPECT_EQ(FlashBoard(100, 200, {5, 6}).Grab(8, 5, 16), 0);
  EXPECT_EQ(FlashBoard(240, 251, {5, 6}).Grab(8, 5, 16), 0) << "threshold capped at 250";
  EXPECT_EQ(FlashBoard(240, 250, {5, 6}).Grab(8, 5, 16), 1);
  FlashBoard none(100, 100, {});
  const std::uint64_t start = none.board.clock.ElapsedMs();
  EXPECT_EQ(none.Grab(9, 5, 16), 1);
  EXPECT_GE(Elapsed(none.board, start), 500u);
  EXPECT_EQ(FlashBoard(100, 200, {18, 19}).Grab(9, 19, 16), 0) << "the last line is clamped to 18";
  EXPECT_EQ(FlashBoard(100, 200, {18, 19}).Grab(9, 5000, 16), 0);
}

// An 8 x 6 frame whose line y holds value 10 * (y + 1) (or the given pixels).
struct Frame {
  explicit Frame(int bits) : bits(bits), bytes(8 * 6 * ((bits + 7) / 8)) {
    const int bpp = (bits + 7) / 8;
    for (int y = 0; y < 6; ++y) std::fill_n(bytes.begin() + y * 8 * bpp, 8 * bpp, static_cast<std::uint8_t>(10 * (y + 1)));
  }
  Surface View() { return {bytes.data(), 8 * ((bits + 7) / 8), 8, 6, bits}; }
  int Line(int y) { return bytes[static_cast<std::size_t>(y) * 8 * ((bits + 7) / 8)]; }
  int bits;
  std::vector<std::uint8_t> bytes;
};

TEST(AcquisitionTest, KeepingOneFieldCopiesOrAverages) {
  Frame first(8);
  KeepOneField(first.View(), false, false);
  EXPECT_EQ((std::vector<int>{first.Line(0), first.Line(1), first.Line(2), first.Line(3), first.Line(4), first.Line(5)}),
            (std::vector<int>{10, 10, 30, 30, 50, 50}));
  Frame second(8);
  KeepOneField(second.View(), true, false);
  EXPECT_EQ((std::vector<int>{second.Line(0), second.Line(1), second.Line(2), second.Line(3), second.Line(4), second.Line(5)}),
            (std::vector<int>{20, 20, 40, 40, 60, 60}));
  Frame averaged(8);
  KeepOneField(averaged.View(), false, true);
  EXPECT_EQ((std::vector<int>{averaged.Line(1), averaged.Line(3), averaged.Line(5)}),
            (std::vector<int>{20, 40, 50})) << "the last line has one neighbour";
  Frame averagedSecond(8);
  KeepOneField(averagedSecond.View(), true, true);
  EXPECT_EQ(averagedSecond.Line(0), 20) << "line 0 has one neighbour";
  EXPECT_EQ(averagedSecond.Line(2), 30);
}

TEST(AcquisitionTest, SixteenBitAveragesPerComponent) {
  Frame frame(16);
  // Line 0: blue 31, green 0; line 2: blue 1, green 2. Per byte the mean of the low bytes
  // would mix blue and green bits.
  auto set = [&](int y, unsigned pixel) {
    for (int x = 0; x < 8; ++x) {
      frame.bytes[(y * 8 + x) * 2] = static_cast<std::uint8_t>(pixel);
      frame.bytes[(y * 8 + x) * 2 + 1] = static_cast<std::uint8_t>(pixel >> 8);
    }
  };
  set(0, 31);
  set(2, 1 | (2 << 5));
  KeepOneField(frame.View(), false, true);
  const unsigned p = frame.bytes[16] | (frame.bytes[17] << 8);
  EXPECT_EQ(p & 31, 16u);
  EXPECT_EQ((p >> 5) & 63, 1u);
  EXPECT_EQ(p >> 11, 0u);
}

TEST(AcquisitionTest, RightmostPixelRepair) {
  Frame frame(24);
  frame.bytes[7 * 3] = 99;
  frame.bytes[6 * 3] = 42;
  RepairRightmostPixel(frame.View());
  EXPECT_EQ(frame.bytes[7 * 3], 42);
  // A grab only repairs windows that are neither the standard's full nor half height.
  for (int height : {480, 240, 100}) {
    TestBoard board;
    board.StartUp();
    ASSERT_EQ(VideoOffscreen(board.lib, 64, height, 8, 1), 0);
    auto& target = board.Card().DmaBuffer();
    target[63] = 1;
    target[62] = 2;
    board.Card().Camera().signal = false;  // keep the frame as it is
    VideoGrab(board.lib, 3, 0x4000, 0, 0);
    EXPECT_EQ(target[63], height == 100 ? 2 : 1) << height;
  }
}

TEST(AcquisitionTest, CheckSwitchWaitsForItToChange) {
  TestBoard board;
  board.StartUp();
  EXPECT_EQ(CheckSwitch(board.lib, 0, 0), -1) << "one round, nothing changed";
  const std::uint64_t start = board.clock.ElapsedMs();
  EXPECT_EQ(CheckSwitch(board.lib, 0, 200), -1);
  EXPECT_GE(Elapsed(board, start), 200u);
  EXPECT_EQ(board.priority.Depth(), 0);
  const std::uint32_t pressAt = board.clock.PeekMs() + 50;
  board.Card().switchLevel = [=](std::uint32_t t) { return t >= pressAt ? 1 : 0; };
  EXPECT_EQ(CheckSwitch(board.lib, 0, 200), 0);
}

}  // namespace
}  // namespace orvale::korrin

namespace orvale::korrin {
namespace {

TEST(CameraTimingTest, MeasuredSwitchPeriodDrivesTheTimer) {
  TestBoard board;
  board.StartUp();
  ASSERT_EQ(SetMiscParm(board.lib, 18, 1), 0);
  ASSERT_EQ(SetMiscParm(board.lib, 13, 1000), 0);
  // The exposure switch closes for 50 ms every 200 ms.
  board.Card().switchLevel = [](std::uint32_t t) { return t % 200 < 50 ? 1 : 0; };
  ASSERT_EQ(SetMiscParm(board.lib, 17, 500), 0);
  std::intptr_t period = 0;
  ASSERT_EQ(GetMiscParm(board.lib, 17, &period), 0);
  EXPECT_NEAR(static_cast<double>(period), 200, 2);
  ASSERT_EQ(board.timers.ActiveCount(), 1u);
  EXPECT_NEAR(static_cast<double>(board.timers.IntervalMs(board.lib.Live().resources.cameraTimer)), 132, 2);
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  for (std::uint64_t tick = 1; tick <= 3; ++tick) {
    board.clock.Advance(140);
    board.timers.ProcessDue();
    EXPECT_EQ(board.lib.Settings().cameraTiming.ticks, tick);
  }
  // Period 0: the timer goes and the capture stops.
  ASSERT_EQ(SetMiscParm(board.lib, 17, 0), 0);
  EXPECT_EQ(board.timers.ActiveCount(), 0u);
  EXPECT_EQ(board.lib.Settings().liveState, 0);
}

TEST(CameraTimingTest, ASilentSwitchCannotBeMeasured) {
  TestBoard board;
  board.StartUp();
  ASSERT_EQ(SetMiscParm(board.lib, 18, 2), 0);
  ASSERT_EQ(SetMiscParm(board.lib, 13, 300), 0);
  EXPECT_EQ(SetMiscParm(board.lib, 17, 500), -1);
  EXPECT_EQ(board.timers.ActiveCount(), 0u);
  std::intptr_t period = -1;
  ASSERT_EQ(GetMiscParm(board.lib, 17, &period), 0);
  EXPECT_EQ(period, 0) << "timing is off";
}

// The camera-timing timer of board 0 fires while board 1 is live: it works on board 0
// and leaves board 1 live.
TEST(CameraTimingTest, TheTimerStaysWithItsBoard) {
  sim::SimOptions two;
  two.boards = 2;
  TestBoard board(two);
  board.StartUp();
  ASSERT_EQ(SetMiscParm(board.lib, 18, 0x4010), 0);  // timed exposure of one field
  ASSERT_EQ(SetMiscParm(board.lib, 17, 100), 0);
  ASSERT_EQ(SetVideoWindow(board.lib, 0, 0, 64, 48, 1), 0);  // small fields keep it quick
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  ASSERT_EQ(MultiBoard(board.lib, 0, 2), 0);
  ASSERT_EQ(MultiBoard(board.lib, 2, 1), 0);
  board.StartUp();
  ASSERT_EQ(SetVideoWindow(board.lib, 0, 0, 64, 48, 1), 0);
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  std::intptr_t period = -1;
  ASSERT_EQ(GetMiscParm(board.lib, 17, &period), 0);
  EXPECT_EQ(period, 0) << "the copy has no timing of its own";
  board.Registers(0).ClearLog();
  board.Registers(1).ClearLog();
  for (int tick = 0; tick < 2; ++tick) {
    board.clock.Advance(110);
    board.timers.ProcessDue();
  }
  EXPECT_FALSE(board.Registers(0).WritesTo(saa::kGpio).empty()) << "board 0 gated its capture";
  EXPECT_TRUE(board.Registers(1).WritesTo(saa::kGpio).empty());
  EXPECT_EQ(board.lib.CurrentBoard(), 1);
  EXPECT_EQ(board.lib.Settings().cameraTiming.ticks, 0u);
  EXPECT_EQ(board.lib.Copies()[0]->settings.cameraTiming.ticks, 2u);
  EXPECT_EQ(board.timers.ActiveCount(), 1u);
  ASSERT_EQ(MultiBoard(board.lib, 1, 0), 0);
  ASSERT_EQ(Cleanup(board.lib), 0);
  EXPECT_EQ(board.timers.ActiveCount(), 0u);
}

TEST(CameraTimingTest, ANewControllerTimesTheExposureItself) {
  TestBoard board(WithController(sim::ControllerKind::kController));
  board.Card().Controller()->status = 19;
  board.StartUp();
  ASSERT_EQ(SetMiscParm(board.lib, 18, 3), 0);  // 0x4020: timed, two fields
  ASSERT_EQ(SetMiscParm(board.lib, 17, 300), 0);
  EXPECT_EQ(board.timers.ActiveCount(), 0u);
  const auto& last = board.Card().Controller()->Commands().back();
  EXPECT_EQ(last.command, 10);
}

}  // namespace
}  // namespace orvale::korrin

namespace orvale::korrin {
namespace {

// Gated capture: live video starts and stops at the board's gate, whichever state a
// grab or camera timing left it in; ending gated capture leaves the gate open.
TEST(GatedCaptureTest, LiveVideoStartsAndStopsAtTheGate) {
  struct Row {
    const char* name;
    sim::ControllerKind kind;
    std::uint32_t configId;
  };
  const Row rows[] = {
      {"general-purpose port", sim::ControllerKind::kNone, 0x319},
      {"controller", sim::ControllerKind::kControllerGate, 0x20},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TestBoard board(WithController(row.kind));
    board.StartUpWithConfig(row.configId);
    ASSERT_EQ(SetVideoWindow(board.lib, 0, 0, 64, 48, 1), 0);
    sim::SimCard& card = board.Card();
    ASSERT_EQ(SetMiscParm(board.lib, 16, 1), 0);
    GateCapture(board.lib, false);
    ASSERT_FALSE(card.CaptureGateOpen());
    ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
    EXPECT_TRUE(card.CaptureGateOpen());
    std::uint64_t written = card.Video().FieldsWritten();
    board.clock.Advance(60);
    EXPECT_GT(card.Video().FieldsWritten(), written);
    const std::size_t from = board.Registers().Writes().size();
    ASSERT_EQ(VideoLive(board.lib, 0, 0), 0);
    EXPECT_FALSE(card.CaptureGateOpen());
    if (row.kind == sim::ControllerKind::kNone) {
      // The gate closes before the DMA: it holds fields back at once.
      const auto writes = board.Registers().Writes();
      std::vector<std::uint32_t> order;
      for (std::size_t i = from; i < writes.size(); ++i) order.push_back(writes[i].offset);
      const auto gate = std::find(order.begin(), order.end(), saa::kGpio);
      const auto dma = std::find(order.begin(), order.end(), saa::kMainControl1);
      EXPECT_LT(gate - order.begin(), dma - order.begin());
    }
    ASSERT_EQ(SetMiscParm(board.lib, 16, 0), 0);
    EXPECT_TRUE(card.CaptureGateOpen());
    ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
    written = card.Video().FieldsWritten();
    board.clock.Advance(60);
    EXPECT_GT(card.Video().FieldsWritten(), written);
  }
}

// The gate command that fails is reported, and the earlier choice stays.
TEST(GatedCaptureTest, AControllerThatDoesNotAnswerFailsTheSwitch) {
  TestBoard board(WithController(sim::ControllerKind::kControllerGate));
  board.StartUpWithConfig(0x20);
  ASSERT_EQ(SetVideoWindow(board.lib, 0, 0, 64, 48, 1), 0);
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  sim::SimController& controller = *board.Card().Controller();
  controller.stuckBusy = true;
  EXPECT_EQ(SetMiscParm(board.lib, 16, 1), -1) << "switched on while live";
  EXPECT_EQ(board.lib.Settings().misc.gatedCapture, 0);
  controller.stuckBusy = false;
  ASSERT_EQ(SetMiscParm(board.lib, 16, 1), 0);
  controller.stuckBusy = true;
  EXPECT_EQ(SetMiscParm(board.lib, 16, 0), -1) << "switched off";
  EXPECT_EQ(board.lib.Settings().misc.gatedCapture, 1);
  controller.stuckBusy = false;
  EXPECT_EQ(SetMiscParm(board.lib, 16, 0), 0);
}

TEST(GatedCaptureTest, SwitchingItOnWhileLiveRestartsAtTheGate) {
  TestBoard board;
  board.StartUp();
  ASSERT_EQ(SetVideoWindow(board.lib, 0, 0, 64, 48, 1), 0);
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  GateCapture(board.lib, false);  // left closed by earlier camera timing
  const std::uint64_t held = board.Card().Video().FieldsWritten();
  board.clock.Advance(60);
  ASSERT_EQ(board.Card().Video().FieldsWritten(), held);
  ASSERT_EQ(SetMiscParm(board.lib, 16, 1), 0);
  board.clock.Advance(60);
  EXPECT_GT(board.Card().Video().FieldsWritten(), held);
  EXPECT_TRUE(TransferOn(board.lib));
}

}  // namespace
}  // namespace orvale::korrin
