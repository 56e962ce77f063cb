#include <gtest/gtest.h>

#include "platform/registry/GeneralSettings.h"
#include "platform/registry/MemorySettingsStore.h"
#include "platform/registry/TypedSettings.h"

namespace orvale {
namespace {

using namespace std::chrono;

constexpr ScreenGeometry kScreen1024{1024, 768, 4, 18};
constexpr year_month_day kToday{2024y, March, 5d};

class GeneralSettingsTest : public ::testing::Test {
 protected:
  void Store(const std::string& key, const std::string& text) {
    std::string scratch;
    store_.Read("CurrentVersion", key, scratch, true);
    ASSERT_TRUE(store_.Write("CurrentVersion", key, text));
  }
  MemorySettingsStore store_;
  ScopedSettingsStore installed_{store_};
};

TEST_F(GeneralSettingsTest, AnEmptyStoreReadsEveryDefault) {
  const GeneralSettings s = ReadGeneralSettings(kScreen1024, kToday);

  EXPECT_EQ(s.OpenFileFilter, 2);
  EXPECT_EQ(s.OpenFileDir, "");
  EXPECT_EQ(s.SaveFileFilter, 2);
  EXPECT_EQ(s.ReportOrientation, 1);
  const std::array<bool, 16> show = {false, true, true, true, false, false, true, true, true,
                                     false, true, false, true, true, true, true};
  EXPECT_EQ(s.ReportShowFlags, show);
  EXPECT_TRUE(s.ReportDrawGrid);
  EXPECT_EQ(s.ReportNumPanes, 3);
  EXPECT_EQ(s.ReportPanes, (std::array<std::int32_t, 7>{0, 6, 1, 5, 0, 0, 0}));
  EXPECT_TRUE(s.GrabIntoNewWindow);
  EXPECT_EQ(s.GrabAspectRatio, 1.0);
  EXPECT_EQ(s.ManualAspectRatio, 1.0);
  EXPECT_TRUE(s.HogWindows && s.AutoStretch && s.AutoLoadAperture && s.AutoLoadObstruction);
  EXPECT_EQ(s.SurfaceLevels, 10);
  EXPECT_EQ(s.SurfaceGridSize, 30);
  EXPECT_TRUE(s.DefaultFillPolygons && s.DefaultDrawMeshWithFill);
  EXPECT_EQ(s.DefaultSurfaceTheta, 60);
  EXPECT_EQ(s.DefaultSurfacePhi, 30);
  EXPECT_EQ(s.DefaultLineAngle, 0);
  EXPECT_EQ(s.LineSize, 100);
  EXPECT_EQ(s.SFringeSize, 150);
  EXPECT_EQ(s.ResultWindowVisible, (ResultWindowFlags{true, true, false, false, true, false, false}));
  EXPECT_TRUE(s.LimitScale && s.RedDisplay);
  for (const TextStyleSettings* style : {&s.ScreenText, &s.PrinterText}) {
    EXPECT_EQ(style->FaceName, "Courier New" + std::string(21, ' '));
    EXPECT_EQ(style->Size, 10);
    EXPECT_EQ(style->Color, 0);
    EXPECT_FALSE(style->Bold || style->Italic || style->Underline);
  }
  EXPECT_EQ(s.AutoTraceDensity, 3);
  EXPECT_EQ(s.CustomRefZernikes, (std::array<double, 37>{}));
  EXPECT_EQ(s.ResultWindowLayout, DefaultResultWindowLayout(kScreen1024));
  EXPECT_EQ(s.UserDataDefaults, UserDataDefaultSettings{});
  EXPECT_EQ(s.GrabberName, "");

  // The first read created the section, and reading wrote nothing into it.
  const auto* section = store_.Contents().FindSection("CurrentVersion");
  ASSERT_NE(section, nullptr);
  EXPECT_TRUE(section->Entries().empty());
}

TEST_F(GeneralSettingsTest, StoredValuesAreClampedByTheirTableRanges) {
  Store("Number of Panes", "");
  Store("Page Orientation", "1.5");
  Store("Surface Levels", "1E20");
  Store("Grab Aspect Ratio", "250");
  Store("ScreenText Color", "&H1000000");  // 16777216: one above white
  Store("Custom Ref Zernike 36", "-1E+20");
  const GeneralSettings s = ReadGeneralSettings(kScreen1024, kToday);
  EXPECT_EQ(s.ReportNumPanes, 1);
  EXPECT_EQ(s.ReportOrientation, 2);
  EXPECT_EQ(s.SurfaceLevels, 100);
  EXPECT_EQ(s.GrabAspectRatio, 100.0);
  EXPECT_EQ(s.ScreenText.Color, 16777215);
  EXPECT_EQ(s.CustomRefZernikes[36], -1E+20);  // no clamp
}

TEST_F(GeneralSettingsTest, WrittenSettingsReadBackUnchanged) {
  ReadGeneralSettings(kScreen1024, kToday);  // creates the section, as start-up does
  GeneralSettings s = ReadGeneralSettings(kScreen1024, kToday);
  s.OpenFileFilter = 3;
  s.OpenFileDir = "/home/optics/Mirror 8\"";
  s.SaveFileFilter = 1;
  s.SaveFileDir = "  odd=dir;\\ ";
  s.ReportOrientation = 2;
  for (std::size_t i = 1; i < s.ReportShowFlags.size(); ++i) s.ReportShowFlags[i] = !s.ReportShowFlags[i];
  s.ReportDrawGrid = false;
  s.ReportNumPanes = 6;
  s.ReportPanes = {0, 9, 8, 7, 4, 3, 2};
  s.GrabIntoNewWindow = false;
  s.GrabAspectRatio = 0.75;
  s.ManualAspectRatio = 99.5;
  s.HogWindows = s.AutoStretch = s.AutoLoadAperture = s.AutoLoadObstruction = false;
  s.SurfaceLevels = 77;
  s.SurfaceGridSize = 400;
  s.DefaultFillPolygons = s.DefaultDrawMeshWithFill = false;
  s.DefaultSurfaceTheta = 359;
  s.DefaultSurfacePhi = 90;
  s.DefaultLineAngle = 45;
  s.LineSize = 20;
  s.SFringeSize = 10;
  s.ResultWindowVisible = {false, false, true, true, false, true, true};
  s.LimitScale = s.RedDisplay = false;
  s.ScreenText = {FixedFaceName("Liberation Sans"), 72, 0x00FF8040, true, false, true};
  s.PrinterText = {FixedFaceName("Times New Roman"), 1, 16777215, false, true, false};
  s.AutoTraceDensity = 1;
  for (int i = 1; i <= 36; ++i) s.CustomRefZernikes[i] = (i % 2 ? -1 : 1) * i / 64.0;
  for (int i = 0; i < kResultWindowCount; ++i) s.ResultWindowLayout[i] = {i, 2 * i, 100 + i, 200 + i};
  s.UserDataDefaults = {true, "Primary, 10\"", FormatUserDataDate(kToday), "R. Dane", "line 1\r\nline 2"};
  s.GrabberName = "Tavrel USB";

  WriteGeneralSettings(s);
  EXPECT_EQ(ReadGeneralSettings(kScreen1024, kToday), s);
  // The face name is stored without its padding.
  EXPECT_EQ(GetSettingString("CurrentVersion", "ScreenText Font", ""), "Liberation Sans");
  EXPECT_EQ(GetSettingString("CurrentVersion", "Custom Ref Zernike 12", ""), "0.1875");
  EXPECT_EQ(GetSettingString("CurrentVersion", "GridResultsHeight", ""), "206");
}

TEST_F(GeneralSettingsTest, AStoredDateReadsAsToday) {
  EXPECT_EQ(FormatUserDataDate(kToday), "Mar 5, 2024");
  EXPECT_EQ(FormatUserDataDate(year_month_day{1999y, December, 31d}), "Dec 31, 1999");
  ReadGeneralSettings(kScreen1024, kToday);
  Store("Date", "31.12.1999");
  EXPECT_EQ(ReadGeneralSettings(kScreen1024, kToday).UserDataDefaults.Date, "Mar 5, 2024");
  Store("Date", "");
  EXPECT_EQ(ReadGeneralSettings(kScreen1024, kToday).UserDataDefaults.Date, "");
}

TEST_F(GeneralSettingsTest, FaceNamesAreAFixedFieldOf32Characters) {
  EXPECT_EQ(FixedFaceName(""), std::string(32, ' '));
  EXPECT_EQ(FixedFaceName(std::string(40, 'x')), std::string(32, 'x'));
  // 31 ASCII bytes and a two-byte character: the character is not split.
  EXPECT_EQ(FixedFaceName(std::string(31, 'x') + "\xC3\xA9"), std::string(31, 'x') + " ");
  Store("PrinterText Font", std::string(33, 'F'));
  EXPECT_EQ(ReadGeneralSettings(kScreen1024, kToday).PrinterText.FaceName, std::string(32, 'F'));
}

TEST_F(GeneralSettingsTest, LayoutDefaultsCascadeFromTheScreenGeometry) {
  const ResultWindowPlacements layout = ReadResultWindowLayout(kScreen1024);
  EXPECT_EQ(layout[0], (WindowPlacement{4, 22, 500, 250}));
  EXPECT_EQ(layout[1], (WindowPlacement{8, 44, 300, 300}));
  EXPECT_EQ(layout[4], (WindowPlacement{20, 110, 350, 310}));
  EXPECT_EQ(layout[5], (WindowPlacement{24, 132, 290, 370}));
  EXPECT_EQ(layout[6], layout[5]);  // grid results share the Zernikes window's place
}

TEST_F(GeneralSettingsTest, LayoutValuesAreClampedToTheScreen) {
  Store("SurfacePlotWidth", "5000");
  Store("SurfacePlotLeft", "-20");
  Store("ContourPlotHeight", "2000");
  const ResultWindowPlacements layout = ReadResultWindowLayout({1280, 1024, 4, 18});
  EXPECT_EQ(layout[0].Width, 1280);
  EXPECT_EQ(layout[0].Left, 0);
  EXPECT_EQ(layout[1].Height, 1024);
  // Defaults are clamped as well.
  const ResultWindowPlacements small = ReadResultWindowLayout({200, 100, 30, 10});
  EXPECT_EQ(small[4], (WindowPlacement{150, 100, 200, 100}));
}

}  // namespace
}  // namespace orvale
