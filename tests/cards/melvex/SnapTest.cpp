#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "cards/melvex/DeviceRequests.h"
#include "tests/cards/melvex/CardFixture.h"

namespace orvale::melvex {
namespace {

using testing::CardFixture;
using testing::Request;
using Bytes = std::vector<std::uint8_t>;

constexpr std::int64_t kMs = 1'000'000;

class SnapTest : public CardFixture {
 protected:
  Bytes CropRegisters() {
    Bytes regs;
    for (std::uint32_t r = 3; r <= 9; ++r) regs.push_back(Card().Register(r));
    return regs;
  }
  Bytes ScaleRegisters() { return {Card().Register(19), Card().Register(20)}; }
};

struct PrepareCase {
  const char* name;
  ZlpSnapRequest request;
  std::int32_t expected;
};

class PrepareSnapTest : public SnapTest, public ::testing::WithParamInterface<PrepareCase> {};

TEST_P(PrepareSnapTest, ChecksSizesAtTheirExactLimits) {
  InitAndConfigure(1);  // 950 x 610
  EXPECT_EQ(Lib().ZLP_prepareSnap(&GetParam().request), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, PrepareSnapTest,
    ::testing::Values(
        PrepareCase{"WholeArea", Request(0, 950, 950, 0, 610, 610), code::kOk},
        PrepareCase{"CropEndsAtXMax", Request(10, 940, 940, 0, 610, 610), code::kOk},
        PrepareCase{"CropPastXMax", Request(11, 940, 940, 0, 610, 610), code::kWidthOutOfRange},
        PrepareCase{"WidestOutput", Request(0, 950, 3200, 0, 610, 610), code::kOk},
        PrepareCase{"TooWideOutput", Request(0, 950, 3201, 0, 610, 610), code::kWidthOutOfRange},
        PrepareCase{"SmallestWidth", Request(0, 700, 50, 0, 610, 610), code::kOk},
        PrepareCase{"BelowSmallestWidth", Request(0, 700, 49, 0, 610, 610), code::kWidthOutOfRange},
        PrepareCase{"ZeroActiveWidth", Request(0, 0, 10, 0, 610, 610), code::kWidthOutOfRange},
        PrepareCase{"ZeroOutputWidth", Request(0, 100, 0, 0, 610, 610), code::kWidthOutOfRange},
        PrepareCase{"CropEndsAtYMax", Request(0, 950, 950, 10, 600, 600), code::kOk},
        PrepareCase{"CropPastYMax", Request(0, 950, 950, 11, 600, 600), code::kHeightOutOfRange},
        PrepareCase{"FieldCropEndsAtHalf", Request(0, 950, 950, 5, 300, 300, 0), code::kOk},
        PrepareCase{"FieldCropPastHalf", Request(0, 950, 950, 6, 300, 300, 0), code::kHeightOutOfRange},
        PrepareCase{"InterlacedTwoCountsAsSet", Request(0, 950, 950, 10, 600, 600, 2), code::kOk},
        PrepareCase{"TallestOutput", Request(0, 950, 950, 0, 610, 2400), code::kOk},
        PrepareCase{"TooTallOutput", Request(0, 950, 950, 0, 610, 2401), code::kHeightOutOfRange},
        PrepareCase{"SmallestHeight", Request(0, 950, 950, 0, 280, 20), code::kOk},
        PrepareCase{"BelowSmallestHeight", Request(0, 950, 950, 0, 280, 19), code::kHeightOutOfRange},
        PrepareCase{"ZeroActiveHeight", Request(0, 950, 950, 0, 0, 10), code::kHeightOutOfRange},
        PrepareCase{"ZeroOutputHeight", Request(0, 950, 950, 0, 100, 0), code::kHeightOutOfRange},
        // The horizontal delay has ten bits: 100 x (176 + 847) / 100 = 1023 fits, 900 does not.
        PrepareCase{"LargestDelay", Request(847, 100, 100, 0, 610, 610), code::kOk},
        PrepareCase{"DelayPastTenBits", Request(900, 50, 50, 0, 610, 610), code::kWidthOutOfRange}),
    [](const ::testing::TestParamInfo<PrepareCase>& info) { return std::string(info.param.name); });

TEST_F(SnapTest, PrepareSnapChecksSessionConfigurationAndPointerInOrder) {
  const ZlpSnapRequest request = Request(0, 100, 100, 0, 100, 100);
  EXPECT_EQ(Lib().ZLP_prepareSnap(nullptr), code::kNotInitialised);
  ASSERT_EQ(Lib().ZLP_init(), code::kOk);
  EXPECT_EQ(Lib().ZLP_prepareSnap(nullptr), code::kNotConfigured);
  EXPECT_EQ(Lib().ZLP_prepareSnap(&request), code::kNotConfigured);
  InitAndConfigure(1);
  EXPECT_EQ(Lib().ZLP_prepareSnap(nullptr), code::kBadPointer);
}

struct RegisterCase {
  const char* name;
  int standard;
  ZlpSnapRequest request;
  Bytes crop;   // registers 3..9
  Bytes scale;  // registers 19, 20
  bool wideLine;
};

class SnapRegistersTest : public SnapTest, public ::testing::WithParamInterface<RegisterCase> {};

TEST_P(SnapRegistersTest, ProgramsCropAndScale) {
  const RegisterCase& c = GetParam();
  InitAndConfigure(c.standard);
  Card().SetRegister(11, c.wideLine ? 0x00 : 0x20);  // bit 5 must move either way
  ASSERT_EQ(Lib().ZLP_prepareSnap(&c.request), code::kOk);
  EXPECT_EQ(CropRegisters(), c.crop);
  EXPECT_EQ(ScaleRegisters(), c.scale);
  EXPECT_EQ((Card().Register(11) & 0x20) != 0, c.wideLine);
}

INSTANTIATE_TEST_SUITE_P(
    HandWorked, SnapRegistersTest,
    ::testing::Values(
        // h 350, hscale 4096, t 68, v 13 -> 12 with one line skipped, m 481, vscale -512.
        RegisterCase{"HalfSize525", 0, Request(10, 700, 350, 11, 480, 240),
                     {0x11, 0x0C, 0xE1, 0x44, 0x5E, 0x10, 0x00}, {0x7E, 0x00}, true},
        RegisterCase{"Whole625", 1, Request(0, 950, 950, 0, 610, 610),
                     {0x23, 0x02, 0x62, 0xB0, 0xB6, 0x00, 0x00}, {0xA0, 0x00}, true},
        // t = 137 is odd: the lines start with Cr.
        RegisterCase{"OddStart525", 0, Request(11, 700, 700, 10, 480, 480),
                     {0x12, 0x0C, 0xE0, 0x89, 0xBC, 0x00, 0x00}, {0x60, 0x00}, true},
        // One field: delay and active lines doubled.
        RegisterCase{"Field625", 1, Request(0, 950, 475, 0, 300, 150, 0),
                     {0x21, 0x04, 0x58, 0x58, 0xDC, 0x10, 0x00}, {0x5E, 0x00}, true},
        // 2 x 340 < 700: the wide-line bit is cleared.
        RegisterCase{"NarrowOutput525", 0, Request(10, 700, 340, 10, 480, 480),
                     {0x11, 0x0C, 0xE0, 0x42, 0x54, 0x10, 0xF0}, {0x60, 0x00}, false}),
    [](const ::testing::TestParamInfo<RegisterCase>& info) { return std::string(info.param.name); });

TEST_F(SnapTest, NarrowCardCapsTheLineAt510Samples) {
  Card().SetAttachFlags(kAttachNarrowOutput);
  InitAndConfigure(1);
  const ZlpSnapRequest request = Request(0, 950, 950, 0, 610, 610);
  ASSERT_EQ(Lib().ZLP_prepareSnap(&request), code::kOk);
  EXPECT_EQ(Card().Register(7) | ((Card().Register(3) & 3) << 8), 510);
}

// One call in the snap sequence and the code it must give at that point.
struct Step {
  const char* call;
  std::int32_t expected;
};

TEST_F(SnapTest, StateMachineRefusesCallsOutOfOrder) {
  InitAndConfigure(1);
  const ZlpSnapRequest request = Request(0, 100, 100, 0, 100, 100);
  std::uint8_t line[400];
  std::int32_t standard = 0;
  const std::map<std::string, std::function<std::int32_t()>> calls = {
      {"prepare", [&] { return Lib().ZLP_prepareSnap(&request); }},
      {"start", [&] { return Lib().ZLP_startSnap(); }},
      {"finish", [&] { return Lib().ZLP_finishSnap(); }},
      {"readout", [&] { return Lib().ZLP_startReadout(7, nullptr); }},
      {"read", [&] { return Lib().ZLP_readLine(line, 0, 100); }},
      {"skip", [&] { return Lib().ZLP_skipLines(1); }},
      {"config", [&] { return Lib().ZLP_videoConfig(0, 0, &standard); }},
  };
  const Step steps[] = {
      {"start", code::kSnapNotPrepared}, {"finish", code::kSnapNotStarted},
      {"readout", code::kSnapNotFinished}, {"read", code::kReadoutNotStarted},
      {"skip", code::kReadoutNotStarted},
      {"prepare", code::kOk}, {"finish", code::kSnapNotStarted}, {"start", code::kOk},
      {"readout", code::kSnapNotFinished}, {"finish", code::kOk}, {"read", code::kReadoutNotStarted},
      {"readout", code::kOk}, {"read", code::kOk}, {"skip", code::kOk},
      // A finish without a start clears the finished snap too.
      {"finish", code::kSnapNotStarted}, {"readout", code::kSnapNotFinished},
      // Prepared survives the snap; a new snap clears finished and the readout.
      {"start", code::kOk}, {"finish", code::kOk}, {"readout", code::kOk}, {"start", code::kOk},
      {"read", code::kReadoutNotStarted}, {"readout", code::kSnapNotFinished}, {"finish", code::kOk},
      {"readout", code::kOk},
      // A new set-up clears everything.
      {"config", code::kOk}, {"read", code::kReadoutNotStarted}, {"readout", code::kSnapNotFinished},
      {"start", code::kSnapNotPrepared},
  };
  int index = 0;
  for (const Step& step : steps) {
    EXPECT_EQ(calls.at(step.call)(), step.expected) << "step " << index << ": " << step.call;
    ++index;
  }
}

TEST_F(SnapTest, WaitsOnADeadCardEndBoundedInVirtualTime) {
  struct Case {
    const char* name;
    std::function<void(sim::SimulatedCard&)> arrange;
  };
  const Case cases[] = {
      {"NoSignal", [](sim::SimulatedCard& c) { c.Input(0).signal = false; }},
      {"TickNeverComes", [](sim::SimulatedCard& c) { c.Input(0).signal = false; c.SetTickDead(true); }},
      {"StatusUnreadable",
       [](sim::SimulatedCard& c) {
         c.AddFault(sim::RequestFault::Failing(request::kReadRegisters, kControlStatusRegister, 1, -1));
       }},
  };
  for (const Case& c : cases) {
    library.reset();
    card = std::make_unique<sim::SimulatedCard>();
    library = std::make_unique<ZelvoLibrary>(*card, memory);
    InitAndConfigure(0);
    const ZlpSnapRequest request = Request(0, 100, 100, 0, 100, 100);
    ASSERT_EQ(Lib().ZLP_prepareSnap(&request), code::kOk);
    c.arrange(Card());
    ASSERT_EQ(Lib().ZLP_startSnap(), code::kOk);
    const std::int64_t before = Card().NowNs();
    EXPECT_EQ(Lib().ZLP_finishSnap(), code::kNoSignal) << c.name;
    EXPECT_STREQ(Lib().ZLP_lastErrorFunctionName(), "ZLP_finishSnap");
    EXPECT_LT(Card().NowNs() - before, 1000 * kMs) << c.name;
  }
}

TEST_F(SnapTest, NoSignalWaitsAboutOneHundredUnits) {
  InitAndConfigure(0);
  const ZlpSnapRequest request = Request(0, 100, 100, 0, 100, 100);
  ASSERT_EQ(Lib().ZLP_prepareSnap(&request), code::kOk);
  ASSERT_EQ(Lib().ZLP_startSnap(), code::kOk);
  Card().Input(0).signal = false;
  ASSERT_EQ(Lib().ZLP_startSnap(), code::kOk);
  const std::int64_t before = Card().NowNs();
  EXPECT_EQ(Lib().ZLP_finishSnap(), code::kNoSignal);
  const std::int64_t waited = Card().NowNs() - before;
  EXPECT_GT(waited, 90 * kMs);
  EXPECT_LT(waited, 140 * kMs);
}

TEST_F(SnapTest, CaptureStartsAtTheNextFrameAndFinishesAFrameLater) {
  InitAndConfigure(1);
  const ZlpSnapRequest request = Request(0, 100, 100, 0, 100, 100);
  ASSERT_EQ(Lib().ZLP_prepareSnap(&request), code::kOk);
  ASSERT_EQ(Lib().ZLP_startSnap(), code::kOk);
  ASSERT_EQ(Lib().ZLP_finishSnap(), code::kOk);
  ASSERT_EQ(Card().Captures().size(), 1u);
  const sim::CapturedFrame& capture = Card().Captures()[0];
  EXPECT_EQ(capture.exposureNs % (40 * kMs), 0);
  EXPECT_GE(Card().NowNs(), capture.exposureNs + 40 * kMs);
}

class TriggerSnapTest : public SnapTest {
 protected:
  void SetUp() override {
    InitAndConfigure(1);
    const ZlpSnapRequest request = Request(0, 100, 100, 0, 100, 100);
    ASSERT_EQ(Lib().ZLP_prepareSnap(&request), code::kOk);
  }
  std::int64_t StartMs() { return static_cast<std::int64_t>(Card().VirtualTime().ElapsedMs()); }
};

TEST_F(TriggerSnapTest, CapturesAfterTheTrigger) {
  const std::int64_t start = StartMs();
  Card().SetTrigger(static_cast<std::uint64_t>(start + 5));
  ASSERT_EQ(Lib().ZLP_extTrigSnap(1000), code::kOk);
  ASSERT_EQ(Card().Captures().size(), 1u);
  EXPECT_GE(Card().Captures()[0].requestedNs, (start + 5) * kMs);
  EXPECT_LT(Card().Captures()[0].requestedNs, (start + 100) * kMs);
}

TEST_F(TriggerSnapTest, WithoutATriggerCapturesOnceTheTimeOutHasPassed) {
  for (std::uint16_t timeout : {0, 10200}) {
    const std::int64_t start = StartMs();
    ASSERT_EQ(Lib().ZLP_extTrigSnap(timeout), code::kOk) << timeout;
    const sim::CapturedFrame& capture = Card().Captures().back();
    EXPECT_GE(capture.requestedNs, (start + timeout) * kMs);
    EXPECT_LT(capture.requestedNs, (start + timeout + 100) * kMs);
    std::uint8_t line[300];
    ASSERT_EQ(Lib().ZLP_startReadout(7, nullptr), code::kOk);
    EXPECT_EQ(Lib().ZLP_readLine(line, 0, 100), code::kOk);
  }
}

struct FlashCase {
  int type;
  bool before;  // a flash at the start of a field, before the capture
  bool after;   // a flash once the exposure has begun
};

class FlashSnapTest : public SnapTest, public ::testing::WithParamInterface<FlashCase> {};

TEST_P(FlashSnapTest, BuiltInFlashFiresRelativeToFieldAndExposure) {
  const FlashCase c = GetParam();
  constexpr int kDelay = 6;
  InitAndConfigure(1);
  const ZlpSnapRequest request = Request(0, 100, 100, 0, 100, 100);
  ASSERT_EQ(Lib().ZLP_prepareSnap(&request), code::kOk);
  ASSERT_EQ(Lib().ZLP_enableFlash(c.type, nullptr, kDelay), code::kOk);
  Card().ClearLogs();
  ASSERT_EQ(Lib().ZLP_flashSnap(), code::kOk);
  ASSERT_EQ(Card().Captures().size(), 1u);
  const sim::CapturedFrame& capture = Card().Captures()[0];

  std::vector<sim::WindowWrite> flashes = Card().WindowWrites();
  ASSERT_EQ(flashes.size(), 2u * (c.before + c.after));
  std::size_t next = 0;
  const std::int64_t period = 40 * kMs;
  if (c.before) {
    const sim::WindowWrite& on = flashes[next++];
    EXPECT_EQ(on.value, 1);
    // The delay counts from the rise of the field flag at a frame start.
    const std::int64_t sinceField = on.timeNs % period;
    EXPECT_GE(sinceField, kDelay * kMs);
    EXPECT_LT(sinceField, 2 * kDelay * kMs);
    EXPECT_LT(on.timeNs, capture.requestedNs);
    const sim::WindowWrite& off = flashes[next++];
    EXPECT_EQ(off.value, 0);
    EXPECT_GE(off.timeNs - on.timeNs, 1 * kMs);
    EXPECT_LT(off.timeNs - on.timeNs, 2 * kMs);
  }
  if (c.after) {
    const sim::WindowWrite& on = flashes[next++];
    EXPECT_EQ(on.value, 3);
    EXPECT_GE(on.timeNs - capture.exposureNs, kDelay * kMs);
    EXPECT_LT(on.timeNs, capture.exposureNs + period);
    EXPECT_EQ(flashes[next++].value, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Types, FlashSnapTest,
                         ::testing::Values(FlashCase{1, true, false}, FlashCase{2, false, true},
                                           FlashCase{3, true, true}));

std::vector<std::pair<int, std::int64_t>> gFlashCalls;
sim::SimulatedCard* gFlashCard = nullptr;
void RecordFlash(std::int32_t phase) { gFlashCalls.emplace_back(phase, gFlashCard->NowNs()); }

TEST_F(SnapTest, CallersFlashRoutineGetsBothPhases) {
  InitAndConfigure(0);
  const ZlpSnapRequest request = Request(0, 100, 100, 0, 100, 100);
  ASSERT_EQ(Lib().ZLP_prepareSnap(&request), code::kOk);
  gFlashCalls.clear();
  gFlashCard = &Card();
  ASSERT_EQ(Lib().ZLP_enableFlash(3, RecordFlash, 0), code::kOk);
  ASSERT_EQ(Lib().ZLP_flashSnap(), code::kOk);
  ASSERT_EQ(gFlashCalls.size(), 2u);
  EXPECT_EQ(gFlashCalls[0].first, 1);
  EXPECT_EQ(gFlashCalls[1].first, 2);
  EXPECT_LT(gFlashCalls[0].second, Card().Captures()[0].requestedNs);
  EXPECT_GE(gFlashCalls[1].second, Card().Captures()[0].exposureNs);
  EXPECT_TRUE(Card().WindowWrites().empty());

  // Disabled, the snap runs without a flash.
  ASSERT_EQ(Lib().ZLP_disableFlash(), code::kOk);
  gFlashCalls.clear();
  ASSERT_EQ(Lib().ZLP_flashSnap(), code::kOk);
  EXPECT_TRUE(gFlashCalls.empty());
}

TEST_F(SnapTest, FlashSnapWithAStuckFlagEndsWithNoSignal) {
  InitAndConfigure(1);
  const ZlpSnapRequest request = Request(0, 100, 100, 0, 100, 100);
  ASSERT_EQ(Lib().ZLP_prepareSnap(&request), code::kOk);
  ASSERT_EQ(Lib().ZLP_enableFlash(1, nullptr, 0), code::kOk);
  Card().SetFieldFlagStuck(true);
  EXPECT_EQ(Lib().ZLP_flashSnap(), code::kNoSignal);
  Card().SetFieldFlagStuck(std::nullopt);
  Card().SetExposureFlagStuck(false);
  EXPECT_EQ(Lib().ZLP_flashSnap(), code::kNoSignal);
}

TEST_F(SnapTest, FailedControlWritesAreLostContact) {
  InitAndConfigure(1);
  const ZlpSnapRequest request = Request(0, 100, 100, 0, 100, 100);
  ASSERT_EQ(Lib().ZLP_prepareSnap(&request), code::kOk);
  Card().AddFault(sim::RequestFault::Failing(request::kWriteRegisters, kControlStatusRegister, 3));
  EXPECT_EQ(Lib().ZLP_startSnap(), code::kLostContact);
  EXPECT_STREQ(Lib().ZLP_lastErrorFunctionName(), "ZLP_startSnap");
  ASSERT_EQ(Lib().ZLP_startSnap(), code::kOk);
  // Once the capture is over, finishSnap's only write is its pointer reset.
  Card().VirtualTime().Advance(200);
  Card().AddFault(sim::RequestFault::Failing(request::kWriteRegisters, kControlStatusRegister));
  EXPECT_EQ(Lib().ZLP_finishSnap(), code::kLostContact);
}

}  // namespace
}  // namespace orvale::melvex
