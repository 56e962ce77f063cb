#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "cards/melvex/ConfigRules.h"
#include "cards/melvex/DigitizerLimits.h"
#include "tests/cards/melvex/CardFixture.h"

namespace orvale::melvex {
namespace {

using testing::CardFixture;
using testing::Request;

ZlvConfig Default() { return DefaultConfig(LimitsOf(0), LimitsOf(1)); }

struct Offer {
  int gray16, gray256, color256, color16M, color32k, color64k, color32bit;
};

struct FormatCase {
  const char* name;
  int format;
  Offer offer;
  int expected;
  int color16MAfter;
};

TEST(ConfigRulesTest, OutputFormatFallsBackToTheFirstOfferedOfItsRow) {
  const Offer all{1, 1, 1, 1, 1, 1, 1};
  const FormatCase cases[] = {
      {"Format6", 6, all, 7, 1},
      {"Format0", 0, all, 7, 1},
      {"Format9", 9, all, 7, 1},
      {"OfferedStays", 3, all, 3, 1},
      {"Only16GreyFor16M", 7, {1, 0, 0, 0, 0, 0, 0}, 2, 0},
      {"Grey16To256", 2, {0, 1, 0, 0, 0, 0, 0}, 1, 0},
      {"Grey16To16M", 2, {0, 0, 1, 1, 0, 0, 0}, 7, 1},
      {"Grey256ToGrey16", 1, {1, 0, 0, 1, 0, 0, 0}, 2, 1},
      {"Colour256To64k", 3, {0, 0, 0, 0, 1, 1, 0}, 5, 0},
      {"16MTo32bit", 7, {0, 0, 1, 0, 0, 0, 1}, 8, 0},
      {"32kTo16M", 4, {0, 1, 0, 1, 0, 1, 0}, 7, 1},
      {"32kToGrey", 4, {1, 0, 0, 0, 0, 0, 0}, 2, 0},
      // The 32k row ends with 64k colours.
      {"32kTo64k", 4, {0, 0, 0, 0, 0, 1, 0}, 5, 0},
      {"64kTo32k", 5, {0, 0, 0, 0, 1, 0, 0}, 4, 0},
      {"32bitTo3", 8, {0, 0, 1, 0, 0, 0, 0}, 3, 0},
      {"NoneOffered", 5, {0, 0, 0, 0, 0, 0, 0}, 7, 1},
  };
  for (const FormatCase& c : cases) {
    ZlvConfig config = Default();
    config.outputFormat = c.format;
    config.gray16Enable = c.offer.gray16;
    config.gray256Enable = c.offer.gray256;
    config.color256Enable = c.offer.color256;
    config.color16MEnable = c.offer.color16M;
    config.color32kEnable = c.offer.color32k;
    config.color64kEnable = c.offer.color64k;
    config.color32bitEnable = c.offer.color32bit;
    ChooseOutputFormat(config);
    EXPECT_EQ(config.outputFormat, c.expected) << c.name;
    EXPECT_EQ(config.color16MEnable, c.color16MAfter) << c.name;
  }
}

TEST(ConfigRulesTest, RequestsAreClampedIntoTheirStandard) {
  struct Case {
    const char* name;
    int standard;
    ZlpSnapRequest in;
    ZlpSnapRequest out;
  };
  const Case cases[] = {
      {"OffsetPastTheLine", 0, Request(2000, 500, 500, 0, 100, 100), Request(770, 10, 500, 0, 100, 100)},
      {"TooFewPixels", 0, Request(0, 700, 1, 0, 100, 100), Request(0, 700, 51, 0, 100, 100)},
      {"Minimums", 1, Request(0, 0, 0, 0, 0, 0), Request(0, 10, 10, 0, 10, 10)},
      {"TooManyPixels", 1, Request(0, 950, 4000, 0, 610, 3000), Request(0, 950, 3200, 0, 610, 2400)},
      {"OneFieldHalvesYMax", 1, Request(0, 950, 950, 300, 610, 610, 0), Request(0, 950, 950, 295, 10, 610, 0)},
      {"OneFieldActive", 0, Request(0, 780, 780, 5, 510, 50, 0), Request(0, 780, 780, 5, 250, 50, 0)},
      // The ten-bit delay reaches 1023 - 176 on 625 lines; 525 lines stop at 770 anyway.
      {"DelayLimit625", 1, Request(900, 50, 50, 0, 610, 610), Request(847, 50, 50, 0, 610, 610)},
      {"Unchanged", 1, Request(20, 900, 640, 10, 580, 480), Request(20, 900, 640, 10, 580, 480)},
  };
  for (const Case& c : cases) {
    ZlpSnapRequest r = c.in;
    ClampRequest(r, LimitsOf(c.standard), c.standard);
    EXPECT_EQ(r.xOffset, c.out.xOffset) << c.name;
    EXPECT_EQ(r.xActive, c.out.xActive) << c.name;
    EXPECT_EQ(r.xPixels, c.out.xPixels) << c.name;
    EXPECT_EQ(r.yOffset, c.out.yOffset) << c.name;
    EXPECT_EQ(r.yActive, c.out.yActive) << c.name;
    EXPECT_EQ(r.yPixels, c.out.yPixels) << c.name;
  }
}

TEST(ConfigRulesTest, SquarePixelWidthRoundsToTheNearest) {
  EXPECT_EQ(SquarePixelWidth(Request(0, 950, 1, 0, 1, 1), 1), 793);  // 793.04
  EXPECT_EQ(SquarePixelWidth(Request(0, 780, 1, 0, 1, 1), 0), 662);  // 662.07
  EXPECT_EQ(SquarePixelWidth(Request(0, 100, 1, 0, 1, 1), 1), 83);   // 83.48
  EXPECT_EQ(SquarePixelWidth(Request(0, 1, 1, 0, 1, 1), 0), 1);      // 0.85
  EXPECT_EQ(SquarePixelWidth(Request(0, 950, 1, 0, 1, 1, 0), 1), 396);
}

class ConfigTest : public CardFixture {
 protected:
  // Register transfers other than the status register's signal test.
  std::vector<std::uint32_t> WrittenRegisters() {
    std::vector<std::uint32_t> first;
    for (const sim::RegisterWrite& w : Card().RegisterWrites()) first.push_back(w.first);
    return first;
  }
};

TEST_F(ConfigTest, DefaultConfigUsesTheLimitsOfBothStandards) {
  ZlvConfig config{};
  config.hue = 99;
  EXPECT_EQ(Lib().ZLV_defaultConfig(&config), code::kNotInitialised);
  EXPECT_EQ(config.hue, 99);  // untouched
  EXPECT_EQ(Lib().ZLV_defaultConfig(nullptr), code::kBadPointer);
  ASSERT_EQ(Lib().ZLP_init(), code::kOk);
  ASSERT_EQ(Lib().ZLV_defaultConfig(&config), code::kOk);
  EXPECT_EQ(config.hue, 0);
  EXPECT_EQ(config.gamma, 1.0f);
  EXPECT_EQ(config.outputFormat, 7);
  EXPECT_EQ(config.requestPAL.xActive, 950);
  EXPECT_EQ(config.requestPAL.yPixels, 610);
  EXPECT_EQ(config.requestNTSC.xPixels, 780);
  EXPECT_EQ(config.requestNTSC.yActive, 510);
  EXPECT_EQ(config.requestNTSC.interlaced, 1);
  EXPECT_EQ(config.requestNTSC.monochrome, 0);
  EXPECT_EQ(config.color32bitEnable, 1);
  EXPECT_EQ(config.extTrigEnable, 0);
}

TEST_F(ConfigTest, TriggerAndFlashNeedTheirOfferAndExcludeEachOther) {
  ASSERT_EQ(Lib().ZLP_init(), code::kOk);
  for (int trig = 0; trig <= 1; ++trig) {
    for (int trigEnable = 0; trigEnable <= 1; ++trigEnable) {
      for (int flash = 0; flash <= 1; ++flash) {
        for (int flashEnable = 0; flashEnable <= 1; ++flashEnable) {
          ZlvConfig config = Default();
          config.extTrig = trig;
          config.extTrigEnable = trigEnable;
          config.flash = flash;
          config.flashEnable = flashEnable;
          ASSERT_EQ(Lib().ZLV_prepare(&config, 0), code::kOk);
          const bool keepTrigger = trig && trigEnable;
          EXPECT_EQ(config.extTrig, keepTrigger ? 1 : 0);
          EXPECT_EQ(config.flash, flash && flashEnable && !keepTrigger ? 1 : 0);
        }
      }
    }
  }
}

TEST_F(ConfigTest, PreparedRequestsAreAlwaysAcceptedBySnapPreparation) {
  ASSERT_EQ(Lib().ZLP_init(), code::kOk);
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> any16(0, 4000);
  for (int i = 0; i < 300; ++i) {
    Card().Input(0).standard = i % 2;
    ZlvConfig config = Default();
    ZlpSnapRequest& r = i % 2 == 1 ? config.requestPAL : config.requestNTSC;
    r = Request(any16(random), any16(random), any16(random), any16(random), any16(random), any16(random),
                i % 3 == 0 ? 0 : 1);
    config.outputFormat = any16(random) % 10;
    ASSERT_EQ(Lib().ZLV_prepare(&config, 0), code::kOk);
    ASSERT_EQ(Lib().ZLP_prepareSnap(&RequestOf(config)), code::kOk)
        << i << ": " << r.xOffset << " " << r.xActive << " " << r.xPixels << " / " << r.yOffset << " "
        << r.yActive << " " << r.yPixels << " interlaced " << r.interlaced;
    EXPECT_EQ(r.monochrome, config.outputFormat <= 2 ? 1 : 0);
  }
}

TEST_F(ConfigTest, OnlyChangesAreWritten) {
  ASSERT_EQ(Lib().ZLP_init(), code::kOk);
  ZlvConfig config = Default();
  ASSERT_EQ(Lib().ZLV_prepare(&config, 0), code::kOk);
  EXPECT_EQ(config.standard, 1);

  Card().ClearLogs();
  ASSERT_EQ(Lib().ZLV_prepare(&config, 0), code::kOk);
  EXPECT_EQ(WrittenRegisters(), (std::vector<std::uint32_t>{0}));  // the signal test only

  config.contrast = 300;  // clamped to 127 and written
  Card().ClearLogs();
  ASSERT_EQ(Lib().ZLV_prepare(&config, 0), code::kOk);
  EXPECT_EQ(config.contrast, 127);
  EXPECT_EQ(WrittenRegisters(), (std::vector<std::uint32_t>{0, 11}));

  // Forced, everything is written again: set-up, the four adjustments (gamma is tables).
  Card().ClearLogs();
  ASSERT_EQ(Lib().ZLV_prepare(&config, 1), code::kOk);
  EXPECT_EQ(WrittenRegisters(), (std::vector<std::uint32_t>{0, 0, 11, 18, 22, 24, 10, 11, 11, 13, 15}));
}

TEST_F(ConfigTest, LostSignalOrANewSessionOrCardIsSetUpAgain) {
  ASSERT_EQ(Lib().ZLP_init(), code::kOk);
  ZLP_HANDLE first = nullptr;
  ASSERT_EQ(Lib().ZLP_getCurrentCardHandle(&first), code::kOk);
  ZlvConfig config = Default();
  ASSERT_EQ(Lib().ZLV_prepare(&config, 0), code::kOk);
  const auto setUpAgain = [&] {
    Card().ClearLogs();
    EXPECT_EQ(Lib().ZLV_prepare(&config, 0), code::kOk);
    const std::vector<std::uint32_t> written = WrittenRegisters();
    return std::count(written.begin(), written.end(), 18u) == 1;  // the set-up's output format
  };

  Card().Input(0).signal = false;
  EXPECT_TRUE(setUpAgain());
  EXPECT_EQ(config.standard, 2);
  Card().Input(0).signal = true;
  EXPECT_TRUE(setUpAgain());
  EXPECT_FALSE(setUpAgain());

  // A second session on the card starts unconfigured: the same record must set it up.
  ASSERT_EQ(Lib().ZLP_init(), code::kOk);
  EXPECT_TRUE(setUpAgain());
  EXPECT_EQ(Lib().ZLV_snap(&config), code::kOk);
  ASSERT_EQ(Lib().ZLP_setActiveCard(first), code::kOk);
  EXPECT_TRUE(setUpAgain());
  EXPECT_EQ(Lib().ZLV_snap(&config), code::kOk);

  // ZLP_init set gamma back to 1: a record with another gamma is applied again.
  config.gamma = 2.0f;
  ASSERT_EQ(Lib().ZLV_prepare(&config, 0), code::kOk);
  ASSERT_EQ(Lib().ZLP_init(), code::kOk);
  EXPECT_EQ(Lib().Tables().gammaCurve[64], 64);
  ASSERT_EQ(Lib().ZLV_prepare(&config, 0), code::kOk);
  EXPECT_GT(Lib().Tables().gammaCurve[64], 64);
}

TEST_F(ConfigTest, SnapUsesTheTriggerOrTheFlashOfTheRecord) {
  InitAndConfigure(1);
  ZlvConfig config = Default();
  config.extTrigEnable = config.flashEnable = 1;
  config.extTrig = 1;
  ASSERT_EQ(Lib().ZLV_prepare(&config, 0), code::kOk);
  const std::uint64_t before = Card().VirtualTime().ElapsedMs();
  ASSERT_EQ(Lib().ZLV_snap(&config), code::kOk);
  EXPECT_GE(Card().VirtualTime().ElapsedMs() - before, 10200u);  // no trigger came

  config.extTrig = 0;
  config.flash = 1;
  ASSERT_EQ(Lib().ZLP_enableFlash(1, nullptr, 0), code::kOk);
  Card().ClearLogs();
  ASSERT_EQ(Lib().ZLV_snap(&config), code::kOk);
  EXPECT_EQ(Card().WindowWrites().size(), 2u);

  config.flash = 0;
  Card().ClearLogs();
  ASSERT_EQ(Lib().ZLV_snap(&config), code::kOk);
  EXPECT_TRUE(Card().WindowWrites().empty());
  ASSERT_EQ(Card().Captures().size(), 1u);
  EXPECT_EQ(Card().Captures()[0].samples, 950);
}

TEST_F(ConfigTest, SnapWithoutSignalUsesThe525LineRequestAndReportsTheInnerFailure) {
  ASSERT_EQ(Lib().ZLP_init(), code::kOk);
  ZlvConfig config = Default();
  EXPECT_EQ(Lib().ZLV_snap(&config), code::kNotConfigured);
  EXPECT_STREQ(Lib().ZLP_lastErrorFunctionName(), "ZLP_prepareSnap");
  EXPECT_EQ(Lib().ZLV_snap(nullptr), code::kBadPointer);
  EXPECT_STREQ(Lib().ZLP_lastErrorFunctionName(), "ZLV_snap");

  Card().Input(0).signal = false;
  Card().Input(0).standard = 0;
  ASSERT_EQ(Lib().ZLV_prepare(&config, 0), code::kOk);
  EXPECT_EQ(config.standard, 2);
  config.requestNTSC = Request(0, 100, 100, 0, 100, 100);
  EXPECT_EQ(Lib().ZLV_snap(&config), code::kNoSignal);
  EXPECT_EQ(Card().Register(7), 100);  // the 525-line request was programmed
}

}  // namespace
}  // namespace orvale::melvex
