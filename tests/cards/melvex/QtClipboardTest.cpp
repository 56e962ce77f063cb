// A DIB copied to the clipboard of the (offscreen) window system.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "cards/melvex/ConfigRules.h"
#include "cards/melvex/DigitizerLimits.h"
#include "platform/ui/QtClipboardService.h"
#include "tests/cards/melvex/CardFixture.h"
#include "tests/cards/melvex/DibTestSupport.h"

namespace orvale::melvex {
namespace {

using testing::CardFixture;
using testing::Request;

class QtClipboardTest : public CardFixture {};

TEST_F(QtClipboardTest, TheImageLandsOnTheClipboardAndItsBlockIsFreed) {
  QtClipboardService clipboard;
  Lib().SetClipboard(&clipboard);
  InitAndConfigure(1);
  ZlvConfig config = DefaultConfig(LimitsOf(0), LimitsOf(1));
  config.standard = 1;
  config.requestPAL = Request(0, 40, 40, 0, 20, 20);
  ASSERT_EQ(Lib().ZLV_snap(&config), code::kOk);
  ZLV_HDIB dib = nullptr;
  ASSERT_EQ(Lib().ZLV_readoutDIB(&config, &dib), code::kOk);
  const std::vector<std::uint8_t> bytes = testing::BlockBytes(memory, dib);
  ASSERT_EQ(Lib().ZLV_saveDIBToClipboard(dib), code::kOk);
  EXPECT_FALSE(memory.IsLive(dib));
  const std::optional<std::vector<std::uint8_t>> pasted = clipboard.GetDib();
  ASSERT_TRUE(pasted);
  ASSERT_GE(pasted->size(), 40u);
  // The same picture: width, height and bit count of the header the DIB had.
  EXPECT_EQ(std::vector<std::uint8_t>(pasted->begin() + 4, pasted->begin() + 16),
            std::vector<std::uint8_t>(bytes.begin() + 4, bytes.begin() + 16));
}

}  // namespace
}  // namespace orvale::melvex
