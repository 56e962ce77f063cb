#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <set>
#include <vector>

#include "cards/melvex/ConfigRules.h"
#include "cards/melvex/DibLayout.h"
#include "cards/melvex/DigitizerLimits.h"
#include "platform/gdi/Color.h"
#include "platform/gdi/RecordingDeviceContext.h"
#include "platform/ui/ClipboardService.h"
#include "platform/ui/MessageService.h"
#include "tests/cards/melvex/CardFixture.h"
#include "tests/cards/melvex/DibTestSupport.h"
#include "tests/support/BoundedChild.h"

namespace orvale::melvex {
namespace {

using testing::BlockBytes;
using testing::CardFixture;
using testing::Request;
using Bytes = std::vector<std::uint8_t>;

constexpr int kWidth = 20;
constexpr int kHeight = 10;

gdi::DeviceCaps Display(int bits) { return testing::DisplayOfBits(bits); }

class DrawTest : public CardFixture {
 protected:
  void SetUp() override {
    InitAndConfigure(1);
    config = DefaultConfig(LimitsOf(0), LimitsOf(1));
    config.standard = 1;
    config.requestPAL = Request(0, kWidth, kWidth, 0, kHeight, kHeight);
    ASSERT_EQ(Lib().ZLV_snap(&config), code::kOk);
  }
  void TearDown() override { Lib().ZLV_releasePalette(); }

  // The colour of picture pixel (x, y) as a format-7 readout has it.
  gdi::Color Expected(int x, int y) {
    ZlvConfig c = config;
    c.outputFormat = 7;
    ZLV_HDIB dib = nullptr;
    EXPECT_EQ(Lib().ZLV_readoutDIB(&c, &dib), code::kOk);
    const Bytes bytes = BlockBytes(memory, dib);
    Lib().ZLV_freeDIB(dib);
    const std::uint8_t* p = bytes.data() + 40 + (kHeight - 1 - y) * 60 + 3 * x;
    return gdi::RGB(p[2], p[1], p[0]);
  }
  static std::vector<std::string> Calls(const gdi::RecordingDeviceContext& dc) {
    std::vector<std::string> calls;
    for (const gdi::DrawRecord& r : dc.Records()) calls.push_back(r.call);
    return calls;
  }

  ZlvConfig config{};
  ScriptedMessageService messages;
  ScopedMessageService scopedMessages{messages};
};

TEST_F(DrawTest, TrueColourDisplaysGetTheColourPictureOneToOne) {
  for (int format : {7, 6, 0, 9}) {
    gdi::RecordingDeviceContext dc(Display(32), true);
    config.outputFormat = format;
    ASSERT_EQ(Lib().ZLV_draw(&dc, &config, 2, 3, 0, 0), code::kOk) << format;
    EXPECT_EQ(Calls(dc), std::vector<std::string>{"SetDIBitsToDevice"}) << format;
    EXPECT_EQ(dc.Records()[0].rect, (gdi::Rect{2, 3, 2 + kWidth, 3 + kHeight}));
    for (int y : {0, kHeight - 1}) {
      for (int x : {0, 7, kWidth - 1}) EXPECT_EQ(dc.GetPixel(2 + x, 3 + y), Expected(x, y)) << format;
    }
    EXPECT_EQ(config.outputFormat, format);  // the caller's record is left alone
  }
}

TEST_F(DrawTest, PaletteDisplaysGetThreeThreeTwoThroughTheLibraryPalette) {
  gdi::RecordingDeviceContext dc(Display(8), true);
  ASSERT_EQ(Lib().ZLV_defaultPalette(&dc, 0), code::kOk);
  config.outputFormat = 7;
  ASSERT_EQ(Lib().ZLV_draw(&dc, &config, 0, 0, 0, 0), code::kOk);
  EXPECT_EQ(Calls(dc), (std::vector<std::string>{"SelectPalette", "RealizePalette", "SetDIBitsToDevice"}));
  EXPECT_EQ(dc.State().palette, Lib().Palette());
  std::set<gdi::Color> palette;
  for (int i = 0; i < 256; ++i) {
    const Rgb c = Palette332(i);
    palette.insert(gdi::RGB(c.red, c.green, c.blue));
  }
  std::set<gdi::Color> drawn;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) drawn.insert(dc.GetPixel(x, y));
  }
  EXPECT_GT(drawn.size(), 4u);
  for (gdi::Color c : drawn) EXPECT_TRUE(palette.count(c)) << std::hex << c;
}

TEST_F(DrawTest, WidthOrHeightStretchesTheOtherFromTheDib) {
  ZLV_HDIB dib = nullptr;
  config.outputFormat = 7;
  ASSERT_EQ(Lib().ZLV_readoutDIB(&config, &dib), code::kOk);
  struct Case {
    int width, height;
    const char* call;
    gdi::Rect rect;
  };
  const Case cases[] = {
      {0, 0, "SetDIBitsToDevice", {1, 1, 1 + kWidth, 1 + kHeight}},
      {kWidth, kHeight, "SetDIBitsToDevice", {1, 1, 1 + kWidth, 1 + kHeight}},
      {40, 0, "StretchDIBits", {1, 1, 41, 1 + kHeight}},
      {0, 25, "StretchDIBits", {1, 1, 1 + kWidth, 26}},
      {kWidth, 5, "StretchDIBits", {1, 1, 1 + kWidth, 6}},
  };
  for (const Case& c : cases) {
    gdi::RecordingDeviceContext dc(Display(32));
    ASSERT_EQ(Lib().ZLV_drawDIB(&dc, dib, 1, 1, c.width, c.height), code::kOk);
    ASSERT_EQ(dc.Records().size(), 1u);
    EXPECT_EQ(dc.Records()[0].call, c.call) << c.width << "x" << c.height;
    EXPECT_EQ(dc.Records()[0].rect, c.rect) << c.width << "x" << c.height;
    if (std::string(c.call) == "StretchDIBits") {
      EXPECT_EQ(dc.Records()[0].state.stretchMode, gdi::COLORONCOLOR);
    }
  }
  Lib().ZLV_freeDIB(dib);
}

// Any size of the 32-bit range, mirrored ones included, is drawn at once: only what lands
// on the display is worked out.
TEST_F(DrawTest, SizesOfAnyExtentDrawWhatLandsOnTheDisplayAtOnce) {
  ZLV_HDIB dib = nullptr;
  config.outputFormat = 7;
  ASSERT_EQ(Lib().ZLV_readoutDIB(&config, &dib), code::kOk);
  constexpr int kDisplay = 16;
  struct Case {
    int width, height;
    bool (*covers)(int x, int y);  // otherwise the display stays white
    int pictureX, pictureY;        // the picture pixel it shows there, -1: the display row
  };
  const Case cases[] = {
      {INT_MAX, INT_MAX, [](int, int) { return true; }, 0, 0},
      {INT_MIN, INT_MIN, [](int x, int y) { return x == 0 && y == 0; }, 0, 0},
      {INT_MAX, 0, [](int, int y) { return y < kHeight; }, 0, -1},
      // One column wide, mirrored: it samples the middle of the picture's mirror image.
      {-1, INT_MIN, [](int x, int y) { return x == 0 && y == 0; }, kWidth / 2 - 1, 0},
  };
  const auto draw = [&](gdi::DeviceContext& dc, const Case& c) {
    return Lib().ZLV_drawDIB(&dc, dib, 0, 0, c.width, c.height);
  };
  // First in a child that has little memory to spare: work that grows with the size fails
  // there at once.
  ASSERT_TRUE(orvale::testing::RunsWithinBounds([&] {
    for (const Case& c : cases) {
      gdi::RecordingDeviceContext dc(testing::DisplayOfBits(32, kDisplay, kDisplay), true);
      draw(dc, c);
    }
  }));
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
    gdi::RecordingDeviceContext dc(testing::DisplayOfBits(32, kDisplay, kDisplay), true);
    ASSERT_EQ(draw(dc, c), code::kOk);
    for (int y = 0; y < kDisplay; ++y) {
      for (int x = 0; x < kDisplay; ++x) {
        const gdi::Color expected =
            c.covers(x, y) ? Expected(c.pictureX, c.pictureY < 0 ? y : c.pictureY) : gdi::Color{0xFFFFFF};
        EXPECT_EQ(dc.GetPixel(x, y), expected) << x << ", " << y;
      }
    }
  }
  Lib().ZLV_freeDIB(dib);
}

TEST_F(DrawTest, SixteenAndThirtyTwoBitDibsDrawTheSameColours) {
  // 5-bit channels lose up to a step of 8 against the 8-bit picture.
  for (const auto& [format, tolerance] : {std::pair{4, 9}, std::pair{5, 9}, std::pair{8, 0}}) {
    config.outputFormat = format;
    gdi::RecordingDeviceContext dc(Display(32), true);
    ASSERT_EQ(Lib().ZLV_draw(&dc, &config, 0, 0, 0, 0), code::kOk) << format;
    for (int y = 0; y < kHeight; y += 3) {
      for (int x = 0; x < kWidth; x += 4) {
        const gdi::Color drawn = dc.GetPixel(x, y);
        const gdi::Color expected = Expected(x, y);
        EXPECT_NEAR(gdi::GetRValue(drawn), gdi::GetRValue(expected), tolerance) << format;
        EXPECT_NEAR(gdi::GetGValue(drawn), gdi::GetGValue(expected), tolerance) << format;
        EXPECT_NEAR(gdi::GetBValue(drawn), gdi::GetBValue(expected), tolerance) << format;
      }
    }
  }
}

TEST_F(DrawTest, FailureLeavesTheRecordAsItWas) {
  ASSERT_EQ(Lib().ZLP_startSnap(), code::kOk);  // the finished snap is gone
  config.outputFormat = 6;
  ZlvConfig before = config;
  gdi::RecordingDeviceContext dc(Display(8));
  EXPECT_EQ(Lib().ZLV_draw(&dc, &config, 0, 0, 0, 0), code::kSnapNotFinished);
  EXPECT_EQ(std::memcmp(&before, &config, sizeof(config)), 0);
  EXPECT_EQ(memory.LiveBlocks(), 0u);
}

TEST_F(DrawTest, MissingDeviceContextsAreBadPointers) {
  ZLV_HDIB dib = nullptr;
  ASSERT_EQ(Lib().ZLV_readoutDIB(&config, &dib), code::kOk);
  EXPECT_EQ(Lib().ZLV_draw(nullptr, &config, 0, 0, 0, 0), code::kBadPointer);
  EXPECT_EQ(Lib().ZLV_drawDIB(nullptr, dib, 0, 0, 0, 0), code::kBadPointer);
  EXPECT_EQ(Lib().ZLV_defaultPalette(nullptr, 1), code::kBadPointer);
  gdi::RecordingDeviceContext dc(Display(32));
  EXPECT_EQ(Lib().ZLV_drawDIB(&dc, nullptr, 0, 0, 0, 0), code::kBadPointer);
  EXPECT_EQ(Lib().ZLV_drawDIB(&dc, reinterpret_cast<ZLV_HDIB>(0x77), 0, 0, 0, 0), code::kNoMemory);
  Lib().ZLV_freeDIB(dib);
}

TEST_F(DrawTest, OneAndFourBitCallerDibsAreDrawn) {
  for (const int bits : {1, 4}) {
    const MemoryHandle dib = testing::MakeDib(memory, {.width = 8, .height = 2, .bits = bits, .coloursUsed = 0},
                                              [](int, int) { return std::uint8_t{0xA5}; });
    for (const auto& [width, height] : {std::pair{0, 0}, std::pair{16, 4}}) {
      gdi::RecordingDeviceContext dc(Display(32), true);
      EXPECT_EQ(Lib().ZLV_drawDIB(&dc, dib, 0, 0, width, height), code::kOk) << bits << " " << width;
      EXPECT_EQ(Calls(dc).size(), 1u) << bits << " " << width;
      EXPECT_EQ(dc.GetPixel(0, 0), 0x000000u) << bits << " " << width;  // the table is all black
    }
    Lib().ZLV_freeDIB(dib);
  }
}

TEST_F(DrawTest, DefaultPaletteOnlyOnAn8BitDisplay) {
  gdi::RecordingDeviceContext trueColour(Display(32));
  EXPECT_EQ(Lib().ZLV_defaultPalette(&trueColour, 1), code::kOk);
  EXPECT_EQ(Lib().Palette(), gdi::PaletteHandle::None);
  gdi::RecordingDeviceContext sixteenColours(Display(4));
  EXPECT_EQ(Lib().ZLV_defaultPalette(&sixteenColours, 1), code::kBadPointer);

  gdi::RecordingDeviceContext display(Display(8));
  ASSERT_EQ(Lib().ZLV_defaultPalette(&display, 1), code::kOk);
  const auto grey = gdi::PaletteEntries(Lib().Palette());
  ASSERT_TRUE(grey);
  ASSERT_EQ(grey->size(), 256u);
  EXPECT_EQ((*grey)[0], (gdi::PaletteEntry{0, 0, 0, gdi::PC_NOCOLLAPSE}));
  EXPECT_EQ((*grey)[128], (gdi::PaletteEntry{128, 128, 128, gdi::PC_NOCOLLAPSE}));
  const gdi::PaletteHandle greyHandle = Lib().Palette();

  ASSERT_EQ(Lib().ZLV_defaultPalette(&display, 0), code::kOk);
  EXPECT_FALSE(gdi::IsPalette(greyHandle));  // replaced, not leaked
  const auto colour = gdi::PaletteEntries(Lib().Palette());
  EXPECT_EQ((*colour)[0xAE], (gdi::PaletteEntry{182, 109, 170, gdi::PC_NOCOLLAPSE}));
  EXPECT_EQ((*colour)[0xFF], (gdi::PaletteEntry{255, 255, 255, gdi::PC_NOCOLLAPSE}));

  EXPECT_EQ(Lib().ZLV_releasePalette(), code::kOk);
  EXPECT_EQ(Lib().ZLV_releasePalette(), code::kOk);
  EXPECT_EQ(Lib().Palette(), gdi::PaletteHandle::None);
}

TEST_F(DrawTest, TheClipboardTakesTheDibAndThePalette) {
  MemoryClipboard clipboard;
  Lib().SetClipboard(&clipboard);
  gdi::RecordingDeviceContext display(Display(8));
  ASSERT_EQ(Lib().ZLV_defaultPalette(&display, 1), code::kOk);
  config.outputFormat = 1;
  ZLV_HDIB dib = nullptr;
  ASSERT_EQ(Lib().ZLV_readoutDIB(&config, &dib), code::kOk);
  const Bytes bytes = BlockBytes(memory, dib);
  ASSERT_EQ(Lib().ZLV_saveDIBToClipboard(dib), code::kOk);
  EXPECT_FALSE(memory.IsLive(dib));  // the clipboard has it now
  EXPECT_EQ(clipboard.GetDib(), bytes);
  ASSERT_EQ(clipboard.GetPalette().size(), 256u);
  EXPECT_EQ(clipboard.GetPalette()[7].peGreen, 7);

  ASSERT_EQ(Lib().ZLV_readoutDIBToClipboard(&config), code::kOk);
  EXPECT_EQ(memory.LiveBlocks(), 0u);
}

TEST_F(DrawTest, AClipboardThatCannotBeHadLeavesTheDibWithItsOwner) {
  MemoryClipboard clipboard;
  clipboard.SetAvailable(false);
  Lib().SetClipboard(&clipboard);
  ZLV_HDIB dib = nullptr;
  ASSERT_EQ(Lib().ZLV_readoutDIB(&config, &dib), code::kOk);
  EXPECT_EQ(Lib().ZLV_saveDIBToClipboard(dib), code::kBadPointer);
  EXPECT_TRUE(memory.IsLive(dib));
  ASSERT_EQ(messages.Messages().size(), 1u);
  EXPECT_EQ(messages.Messages()[0].text, "Can't open Clipboard !");
  EXPECT_EQ(messages.Messages()[0].title, "Error");
  Lib().ZLV_freeDIB(dib);

  // Read out for the clipboard and refused: the DIB read out is freed.
  EXPECT_EQ(Lib().ZLV_readoutDIBToClipboard(&config), code::kBadPointer);
  EXPECT_EQ(memory.LiveBlocks(), 0u);
  Lib().SetClipboard(nullptr);
  EXPECT_EQ(Lib().ZLV_readoutDIBToClipboard(&config), code::kBadPointer);
  EXPECT_EQ(memory.LiveBlocks(), 0u);
}

}  // namespace
}  // namespace orvale::melvex
