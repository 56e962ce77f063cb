#include <gtest/gtest.h>

#include <QImage>
#include <array>
#include <vector>

#include "platform/gdi/ImageDeviceContext.h"
#include "platform/gdi/RecordingDeviceContext.h"

namespace orvale::gdi {
namespace {

LogPalette GreyPalette() {
  LogPalette palette;
  for (int i = 0; i < 256; ++i) {
    const auto v = static_cast<std::uint8_t>(i);
    palette.entries.push_back({v, v, v, PC_NOCOLLAPSE});
  }
  return palette;
}

DeviceCaps Display(int bitsPixel, int planes) {
  DeviceCaps caps = DisplayCaps(64, 48);
  caps.bitsPixel = bitsPixel;
  caps.planes = planes;
  caps.numColors = bitsPixel * planes <= 8 ? 1 << (bitsPixel * planes) : -1;
  return caps;
}

TEST(PaletteTest, PalettesLiveFromCreateToDeleteAndMadeUpHandlesAreRefused) {
  const PaletteHandle grey = CreatePalette(GreyPalette());
  ASSERT_NE(grey, PaletteHandle::None);
  EXPECT_TRUE(IsPalette(grey));
  EXPECT_EQ(PaletteEntries(grey)->at(200), (PaletteEntry{200, 200, 200, PC_NOCOLLAPSE}));
  std::array<PaletteEntry, 10> tail{};
  EXPECT_EQ(GetPaletteEntries(grey, 250, tail), 6u);
  EXPECT_EQ(tail[5].peRed, 255);
  EXPECT_EQ(GetPaletteEntries(grey, 256, tail), 0u);

  EXPECT_TRUE(DeletePalette(grey));
  EXPECT_FALSE(DeletePalette(grey));
  EXPECT_FALSE(IsPalette(grey));
  EXPECT_FALSE(PaletteEntries(grey));
  EXPECT_EQ(GetPaletteEntries(grey, 0, tail), 0u);
  EXPECT_FALSE(IsPalette(PaletteHandle{0x12345678}));
  EXPECT_NE(CreatePalette(GreyPalette()), grey) << "handles are not reused";

  EXPECT_FALSE(DeletePalette(kDefaultPalette));
  EXPECT_EQ(PaletteEntries(kDefaultPalette)->size(), 20u);
}

TEST(PaletteTest, CreateRefusesABadVersionOrEntryCount) {
  LogPalette oldVersion = GreyPalette();
  oldVersion.palVersion = 0x200;
  LogPalette tooMany = GreyPalette();
  tooMany.entries.push_back({});
  for (const LogPalette& bad : {oldVersion, tooMany, LogPalette{}}) {
    EXPECT_EQ(CreatePalette(bad), PaletteHandle::None) << bad.entries.size();
  }
}

TEST(PaletteTest, SelectAndRealiseAreRecordedAndKeptInTheState) {
  RecordingDeviceContext dc(Display(8, 1));
  const PaletteHandle grey = CreatePalette(GreyPalette());
  EXPECT_EQ(dc.SelectPalette(grey, false), kDefaultPalette);
  EXPECT_EQ(dc.RealizePalette(), 256u);
  dc.SetPixel(1, 1, RGB(10, 10, 10));
  EXPECT_EQ(dc.SelectPalette(kDefaultPalette, true), grey);

  const auto& records = dc.Records();
  ASSERT_EQ(records.size(), 4u);
  const std::string greyName = "palette=#" + std::to_string(static_cast<std::uintptr_t>(grey));
  EXPECT_EQ(records[0].ToString(), "SelectPalette " + greyName + " foreground");
  EXPECT_EQ(records[1].ToString(), "RealizePalette " + greyName + " foreground");
  EXPECT_EQ(records[2].state.palette, grey) << "drawing sees the selected palette";
  EXPECT_EQ(records[3].ToString(), "SelectPalette palette=#1 background");

  // SaveDC and RestoreDC bring the selection back; an unknown palette changes nothing.
  dc.SelectPalette(grey, false);
  const int saved = dc.SaveDC();
  dc.SelectPalette(kDefaultPalette, false);
  ASSERT_TRUE(dc.RestoreDC(saved));
  EXPECT_EQ(dc.State().palette, grey);
  dc.ClearRecords();
  EXPECT_EQ(dc.SelectPalette(PaletteHandle{999999}, false), PaletteHandle::None);
  EXPECT_EQ(dc.State().palette, grey);
  EXPECT_TRUE(dc.Records().empty());

  // The selected palette deleted under the DC: realising fails, nothing breaks.
  ASSERT_TRUE(DeletePalette(grey));
  EXPECT_EQ(dc.RealizePalette(), GDI_ERROR);
}

TEST(PaletteTest, RealisingMapsEntriesOnlyOnAPaletteDevice) {
  const PaletteHandle grey = CreatePalette(GreyPalette());
  const struct {
    int bitsPixel, planes;
    std::uint32_t mapped;
  } cases[] = {{8, 1, 256}, {4, 2, 256}, {4, 1, 256}, {16, 1, 0}, {24, 1, 0}, {32, 1, 0}};
  for (const auto& c : cases) {
    RecordingDeviceContext dc(Display(c.bitsPixel, c.planes));
    dc.SelectPalette(grey, false);
    EXPECT_EQ(dc.RealizePalette(), c.mapped) << c.bitsPixel << " x " << c.planes;
  }
  DeletePalette(grey);
}

TEST(PaletteTest, TheSystemPaletteHoldsTheStaticColoursOnAnyDevice) {
  RecordingDeviceContext dc(Display(32, 1));
  std::vector<PaletteEntry> system(256);
  ASSERT_EQ(dc.GetSystemPaletteEntries(0, system), 256u);
  EXPECT_EQ(system[0], (PaletteEntry{0, 0, 0, 0}));
  EXPECT_EQ(system[7], (PaletteEntry{192, 192, 192, 0}));
  EXPECT_EQ(system[128], (PaletteEntry{0, 0, 0, 0}));
  EXPECT_EQ(system[249], (PaletteEntry{255, 0, 0, 0}));
  EXPECT_EQ(system[255], (PaletteEntry{255, 255, 255, 0}));
  std::array<PaletteEntry, 10> last{};
  EXPECT_EQ(dc.GetSystemPaletteEntries(250, last), 6u);
  EXPECT_EQ(dc.GetSystemPaletteEntries(256, last), 0u);
  // The first and last ten are the default palette's twenty.
  const std::vector<PaletteEntry> defaults = *PaletteEntries(kDefaultPalette);
  EXPECT_TRUE(std::equal(defaults.begin(), defaults.begin() + 10, system.begin()));
  EXPECT_TRUE(std::equal(defaults.begin() + 10, defaults.end(), system.end() - 10));
}

TEST(PaletteTest, PaletteCallsLeaveAnImageUntouched) {
  ImageDeviceContext dc(8, 8);
  const QImage before = dc.Image();
  const PaletteHandle grey = CreatePalette(GreyPalette());
  dc.SelectPalette(grey, false);
  dc.RealizePalette();
  EXPECT_EQ(dc.Image(), before);
  DeletePalette(grey);
}

}  // namespace
}  // namespace orvale::gdi
