// A DIB copied to the clipboard of the (offscreen) window system.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include <memory>
#include <vector>

#include "cards/melvex/ConfigRules.h"
#include "cards/melvex/DigitizerLimits.h"
#include "platform/runtime/ByteFields.h"
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

TEST_F(QtClipboardTest, ADibStoredFromTheTopIsPastedTheRightWayUp) {
  QtClipboardService clipboard;
  Lib().SetClipboard(&clipboard);
  // Two 24-bit rows of one pixel, the first the top: red over blue.
  const MemoryHandle dib = memory.Alloc(40 + 2 * 4, true);
  auto* p = static_cast<std::uint8_t*>(memory.Lock(dib));
  WriteLE32(p, 40);
  WriteLE32(p + 4, 1);
  WriteLE32(p + 8, static_cast<std::uint32_t>(-2));
  WriteLE16(p + 12, 1);
  WriteLE16(p + 14, 24);
  p[40 + 2] = 0xFF;  // red
  p[44] = 0xFF;      // blue
  memory.Unlock(dib);
  ASSERT_EQ(Lib().ZLV_saveDIBToClipboard(dib), code::kOk);
  const QImage pasted = QGuiApplication::clipboard()->image();
  ASSERT_EQ(pasted.size(), QSize(1, 2));
  EXPECT_EQ(pasted.pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(pasted.pixel(0, 1), qRgb(0, 0, 255));
}

}  // namespace
}  // namespace orvale::melvex
