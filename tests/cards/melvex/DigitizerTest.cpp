#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "cards/melvex/DeviceRequests.h"
#include "tests/cards/melvex/CardFixture.h"

namespace orvale::melvex {
namespace {

using testing::CardFixture;
using testing::Request;
using Bytes = std::vector<std::uint8_t>;

class DigitizerTest : public CardFixture {
 protected:
  void SetUp() override { ASSERT_EQ(Lib().ZLP_init(), code::kOk); }

  // The register transfers since the last ClearLogs, as (first register, bytes).
  std::vector<std::pair<std::uint32_t, Bytes>> Transfers() {
    std::vector<std::pair<std::uint32_t, Bytes>> out;
    for (const sim::RegisterWrite& w : Card().RegisterWrites()) out.emplace_back(w.first, w.bytes);
    return out;
  }
};

TEST_F(DigitizerTest, ContrastAndSaturationComeBackUnchangedForEveryValue) {
  for (int c = -128; c <= 127; ++c) {
    const auto value = static_cast<std::int8_t>(c);
    std::int8_t contrast = 0;
    std::int8_t saturation = 0;
    ASSERT_EQ(Lib().ZLP_setContrast(value), code::kOk);
    ASSERT_EQ(Lib().ZLP_setSaturation(value), code::kOk);
    ASSERT_EQ(Lib().ZLP_getContrast(&contrast), code::kOk);
    ASSERT_EQ(Lib().ZLP_getSaturation(&saturation), code::kOk);
    EXPECT_EQ(contrast, value);
    EXPECT_EQ(saturation, value);
  }
}

TEST_F(DigitizerTest, ContrastAndSaturationRegisterBytesKeepTheOtherControlBits) {
  struct Case {
    int value;
    std::uint8_t contrast11, contrast12;
    std::uint8_t saturation11, saturationU, saturationV;
  };
  // Register 11 starts as 0xA5 each time: only bit 2 (contrast) or bits 1..0 move.
  const Case cases[] = {
      {-128, 0xA1, 0x00, 0xA4, 0x00, 0x00},
      {0, 0xA1, 0xD8, 0xA4, 0xFE, 0xB4},  // 216; 254 and 180
      {127, 0xA5, 0xFF, 0xA7, 0xFF, 0x6A},  // 511; 511 and 362
  };
  for (const Case& c : cases) {
    Card().SetRegister(11, 0xA5);
    ASSERT_EQ(Lib().ZLP_setContrast(static_cast<std::int8_t>(c.value)), code::kOk);
    EXPECT_EQ(Card().Register(11), c.contrast11) << c.value;
    EXPECT_EQ(Card().Register(12), c.contrast12) << c.value;
    Card().SetRegister(11, 0xA5);
    ASSERT_EQ(Lib().ZLP_setSaturation(static_cast<std::int8_t>(c.value)), code::kOk);
    EXPECT_EQ(Card().Register(11), c.saturation11) << c.value;
    EXPECT_EQ(Card().Register(13), c.saturationU) << c.value;
    EXPECT_EQ(Card().Register(14), c.saturationV) << c.value;
  }
}

struct VideoConfigCase {
  bool signal;
  int standard;
  int signalType;
};

class VideoConfigTest : public DigitizerTest, public ::testing::WithParamInterface<VideoConfigCase> {};

TEST_P(VideoConfigTest, ReportsTheStandardAndWritesExactlyTheSetUp) {
  const VideoConfigCase c = GetParam();
  Card().Input(0).signal = c.signal;
  Card().Input(0).standard = c.standard;
  Card().ClearLogs();
  std::int32_t reported = -1;
  ASSERT_EQ(Lib().ZLP_videoConfig(0, c.signalType, &reported), code::kOk);
  EXPECT_EQ(reported, c.signal ? c.standard : 2);

  // The delays follow the card's standard bit even without a signal.
  const bool pal = c.standard == 1;
  const std::uint8_t typeBits[] = {0x00, 0x40, 0x80};
  const std::vector<std::pair<std::uint32_t, Bytes>> expected = {
      {0, {static_cast<std::uint8_t>(pal ? 0x10 : 0x00), 0x58, 0x00}},
      {11, {static_cast<std::uint8_t>(typeBits[c.signalType] | 0x20)}},
      {18, {6}},
      {22, {0}},
      {24, {static_cast<std::uint8_t>(pal ? 0x80 : 0x68), static_cast<std::uint8_t>(pal ? 0x72 : 0x5D),
            static_cast<std::uint8_t>(c.signalType == 1 ? 0x80 : 0x82)}},
  };
  EXPECT_EQ(Transfers(), expected);
}

std::vector<VideoConfigCase> AllVideoConfigCases() {
  std::vector<VideoConfigCase> cases;
  for (bool signal : {true, false}) {
    for (int standard : {0, 1}) {
      for (int type : {0, 1, 2}) cases.push_back({signal, standard, type});
    }
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(SignalStandardAndType, VideoConfigTest, ::testing::ValuesIn(AllVideoConfigCases()));

TEST_F(DigitizerTest, VideoConfigArguments) {
  std::int32_t standard = 0;
  EXPECT_EQ(Lib().ZLP_videoConfig(2, 0, &standard), code::kOutOfRange);
  EXPECT_EQ(Lib().ZLP_videoConfig(0, -1, &standard), code::kOutOfRange);
  EXPECT_EQ(Lib().ZLP_videoConfig(0, 3, &standard), code::kOutOfRange);
  EXPECT_EQ(Lib().ZLP_videoConfig(0, 0, nullptr), code::kBadPointer);
  // The input is taken as a byte: 256 is input 0, 257 input 1.
  EXPECT_EQ(Lib().ZLP_videoConfig(256, 0, &standard), code::kOk);
  EXPECT_EQ(Card().Register(1), 0x58);
  EXPECT_EQ(Lib().ZLP_videoConfig(257, 0, &standard), code::kOk);
  EXPECT_EQ(Card().Register(1), 0x78);

  // A refused set-up has already cleared the session's flags.
  const ZlpSnapRequest request = Request(0, 100, 100, 0, 100, 100);
  ASSERT_EQ(Lib().ZLP_prepareSnap(&request), code::kOk);
  EXPECT_EQ(Lib().ZLP_videoConfig(0, 7, &standard), code::kOutOfRange);
  EXPECT_EQ(Lib().ZLP_prepareSnap(&request), code::kNotConfigured);
  EXPECT_EQ(Lib().ZLP_startSnap(), code::kSnapNotPrepared);
}

TEST_F(DigitizerTest, TestSignalChecksThePointerFirstAndClearsTheSignalBit) {
  ASSERT_EQ(Lib().ZLP_closedown(0), code::kOk);
  EXPECT_EQ(Lib().ZLP_testSignal(nullptr), code::kBadPointer);
  ASSERT_EQ(Lib().ZLP_init(), code::kOk);
  std::int32_t standard = -1;
  Card().Input(0).standard = 0;
  EXPECT_EQ(Lib().ZLP_testSignal(&standard), code::kOk);
  EXPECT_EQ(standard, 0);
  EXPECT_EQ(Card().RegisterWrites().back().bytes, Bytes{0x00});
  Card().Input(0).signal = false;
  EXPECT_EQ(Lib().ZLP_testSignal(&standard), code::kOk);
  EXPECT_EQ(standard, 2);
}

TEST_F(DigitizerTest, FlashTypeAndDelayLimitsFollowTheStandard) {
  for (int standard : {0, 1}) {
    InitAndConfigure(standard);
    for (int type : {0, 1, 3, 4}) {
      for (int delay : {16, 17, 20, 21}) {
        const bool valid = type >= 1 && type <= 3 && delay <= (standard == 1 ? 20 : 16);
        EXPECT_EQ(Lib().ZLP_enableFlash(type, nullptr, static_cast<std::uint16_t>(delay)),
                  valid ? code::kOk : code::kOutOfRange)
            << "standard " << standard << " type " << type << " delay " << delay;
      }
    }
  }
  EXPECT_EQ(Lib().ZLP_disableFlash(), code::kOk);
}

TEST_F(DigitizerTest, LimitsPerStandard) {
  ZlpLimits limits{};
  ASSERT_EQ(Lib().ZLP_getLimits(1, &limits), code::kOk);
  EXPECT_EQ(limits.xMax, 950);
  EXPECT_EQ(limits.yMax, 610);
  EXPECT_EQ(limits.xPixelsMax, 3200);
  EXPECT_EQ(limits.yPixelsMax, 2400);
  EXPECT_EQ(limits.xScaleDen, 14);
  EXPECT_EQ(limits.yScaleNum, 1);
  for (int standard : {0, 2}) {
    ASSERT_EQ(Lib().ZLP_getLimits(standard, &limits), code::kOk);
    EXPECT_EQ(limits.xMax, 780);
    EXPECT_EQ(limits.yMax, 510);
  }
  EXPECT_EQ(Lib().ZLP_getLimits(3, &limits), code::kOutOfRange);
  EXPECT_EQ(Lib().ZLP_getLimits(-1, &limits), code::kOutOfRange);
  EXPECT_EQ(Lib().ZLP_getLimits(3, nullptr), code::kOutOfRange);
  EXPECT_EQ(Lib().ZLP_getLimits(0, nullptr), code::kBadPointer);
}

TEST_F(DigitizerTest, RegisterBlockSkipsTheRegistersItMustNotWrite) {
  Bytes block(24);
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(0x40 + i);
  Card().ClearLogs();
  ASSERT_EQ(Lib().ZLP_setDigitizerRegisters(block.data()), code::kOk);
  const std::vector<std::pair<std::uint32_t, Bytes>> expected = {
      {0, Bytes(block.begin(), block.begin() + 16)},
      {18, Bytes(block.begin() + 16, block.begin() + 19)},
      {22, {block[19]}},
      {24, Bytes(block.begin() + 21, block.end())},
  };
  EXPECT_EQ(Transfers(), expected);

  // Read back into a buffer of exactly 24 bytes.
  Card().SetRegister(16, 0xEE);
  auto readBack = std::make_unique<std::uint8_t[]>(24);
  ASSERT_EQ(Lib().ZLP_getDigitizerRegisters(readBack.get()), code::kOk);
  for (int i = 1; i < 16; ++i) EXPECT_EQ(readBack[i], block[i]) << i;
  EXPECT_EQ(readBack[16], block[16]);  // register 18, not 16
  EXPECT_EQ(readBack[19], block[19]);
  EXPECT_EQ(readBack[20], 0);  // register 23 is read-only
  EXPECT_EQ(readBack[23], block[23]);
}

TEST_F(DigitizerTest, RegisterBlockStopsAtTheFirstFailedTransfer) {
  Card().ClearLogs();
  Card().AddFault(sim::RequestFault::Failing(request::kWriteRegisters, 22));
  const Bytes block(24, 1);
  EXPECT_EQ(Lib().ZLP_setDigitizerRegisters(block.data()), code::kLostContact);
  ASSERT_EQ(Card().RegisterWrites().size(), 2u);
  EXPECT_EQ(Card().RegisterWrites()[1].first, 18u);
}

TEST_F(DigitizerTest, ShortTransfersAreLostContact) {
  Card().AddFault(sim::RequestFault::ShortCount(request::kWriteRegisters, 10));
  EXPECT_EQ(Lib().ZLP_setBrightness(5), code::kLostContact);
  EXPECT_STREQ(Lib().ZLP_lastErrorFunctionName(), "ZLP_setBrightness");
  Card().AddFault(sim::RequestFault::ShortCount(request::kReadRegisters, 11));
  std::int8_t contrast = 0;
  EXPECT_EQ(Lib().ZLP_getContrast(&contrast), code::kLostContact);
  EXPECT_STREQ(Lib().ZLP_lastErrorFunctionName(), "ZLP_getContrast");
}

TEST_F(DigitizerTest, SingleRegistersTheCardLacksAreRefusedByTheDriver) {
  std::uint8_t value = 0;
  for (std::int32_t reg : {27, 100, 255, 256, -1}) {
    EXPECT_EQ(Lib().ZLP_setDigitizerRegister(reg, 1), code::kLostContact) << reg;
    EXPECT_EQ(Lib().ZLP_getDigitizerRegister(reg, &value), code::kLostContact) << reg;
  }
  EXPECT_EQ(Lib().ZLP_setDigitizerRegister(10, 0x7F), code::kOk);
  EXPECT_EQ(Lib().ZLP_getDigitizerRegister(10, &value), code::kOk);
  EXPECT_EQ(value, 0x7F);
  std::int8_t brightness = 0;
  EXPECT_EQ(Lib().ZLP_getBrightness(&brightness), code::kOk);
  EXPECT_EQ(brightness, 127);
}

TEST_F(DigitizerTest, GammaRefusesZeroAndNaNButTakesNegatives) {
  EXPECT_EQ(Lib().ZLP_setGamma(0.0f), code::kOutOfRange);
  EXPECT_EQ(Lib().ZLP_setGamma(std::numeric_limits<float>::quiet_NaN()), code::kOutOfRange);
  EXPECT_EQ(Lib().ZLP_setGamma(-2.0f), code::kOk);
  EXPECT_EQ(Lib().Tables().gammaCurve[200], 255);
  EXPECT_EQ(Lib().ZLP_setGamma(2.2f), code::kOk);
  EXPECT_GT(Lib().Tables().gammaCurve[64], 64);
  // A new session brings gamma 1 back for the whole library.
  ASSERT_EQ(Lib().ZLP_init(), code::kOk);
  EXPECT_EQ(Lib().Tables().gammaCurve[100], 100);
}

}  // namespace
}  // namespace orvale::melvex
