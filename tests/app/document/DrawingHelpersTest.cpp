#include <gtest/gtest.h>

#include <vector>

#include "app/document/AreaFills.h"
#include "app/document/Extent.h"
#include "app/document/FontSpec.h"
#include "app/document/LineWidth.h"
#include "platform/gdi/RecordingDeviceContext.h"

namespace orvale {
namespace {

TEST(RectFromExtentTest, ExtentIsLeftTopHeightWidth) {
  gdi::Rect rect;
  RectFromExtent(rect, Extent{10, 20, 30, 40});
  EXPECT_EQ(rect, (gdi::Rect{10, 20, 50, 50}));
}

TEST(FontSpecToLogFontTest, SizeBecomesACharacterHeightForTheDevice) {
  gdi::RecordingDeviceContext screen(gdi::DisplayCaps(800, 600, 96, 96));
  gdi::RecordingDeviceContext printer(gdi::DisplayCaps(4800, 6600, 600, 600));
  FontSpec style;
  style.Size = 10;
  style.Escapement = kTextHorizontal;
  gdi::LogFont font;
  FontSpecToLogFont(screen, style, font);
  EXPECT_EQ(font.lfHeight, -13);  // 960 / 72 = 13.33
  FontSpecToLogFont(printer, style, font);
  EXPECT_EQ(font.lfHeight, -83);  // 6000 / 72 = 83.33
  style.Size = 9;  // 9 * 96 / 72 = 12 exactly
  FontSpecToLogFont(screen, style, font);
  EXPECT_EQ(font.lfHeight, -12);
}

TEST(FontSpecToLogFontTest, OrientationCodesGiveEscapements) {
  gdi::RecordingDeviceContext dc;
  const std::vector<std::pair<int, int>> cases = {{1, 0}, {2, 2700}, {3, 900}, {4, 1800}, {7, 123}};
  for (const auto& [code, escapement] : cases) {
    FontSpec style;
    style.Escapement = code;
    gdi::LogFont font;
    font.lfEscapement = 123;
    font.lfOrientation = 55;
    FontSpecToLogFont(dc, style, font);
    EXPECT_EQ(font.lfEscapement, escapement) << code;
    EXPECT_EQ(font.lfOrientation, 0);
  }
}

TEST(FontSpecToLogFontTest, FaceNameIsTrimmedAndZeroFilledAndFlagsAreCopied) {
  gdi::RecordingDeviceContext dc;
  FontSpec style;
  style.facename = FixedFaceName("Times New Roman");
  style.Bold = true;
  style.Italic = true;
  gdi::LogFont font;
  font.lfFaceName.fill('#');
  FontSpecToLogFont(dc, style, font);
  EXPECT_EQ(font.FaceName(), "Times New Roman");
  for (std::size_t i = 15; i < font.lfFaceName.size(); ++i) EXPECT_EQ(font.lfFaceName[i], '\0');
  EXPECT_EQ(font.lfWeight, 700);
  EXPECT_EQ(font.lfItalic, 0xFF);
  EXPECT_EQ(font.lfUnderline, 0);
  EXPECT_EQ(font.lfOutPrecision, 4);
  EXPECT_EQ(font.lfCharSet, 0);

  style.facename = std::string(40, 'a');  // longer than the field: 31 bytes and a zero
  style.Bold = false;
  FontSpecToLogFont(dc, style, font);
  EXPECT_EQ(font.FaceName(), std::string(31, 'a'));
  EXPECT_EQ(font.lfWeight, 0);
  EXPECT_EQ(FixedFaceName("Arial"), "Arial" + std::string(27, ' '));
  EXPECT_EQ(FixedFaceName(std::string(40, 'b')), std::string(32, 'b'));
}

gdi::DeviceCaps PrinterCaps(double scale) {
  const gdi::DeviceCaps screen = gdi::ScreenDeviceCaps();
  gdi::DeviceCaps printer;
  printer.technology = gdi::DT_RASPRINTER;
  printer.physicalWidth = static_cast<int>(screen.horzRes * scale);
  printer.physicalHeight = static_cast<int>(screen.vertRes * scale);
  return printer;
}

TEST(SetLineWidthForDeviceTest, ScalesByThePageToScreenDiagonal) {
  SetLineWidthForDevice(nullptr);
  EXPECT_EQ(LineWidth, 3);
  gdi::RecordingDeviceContext large(PrinterCaps(4));
  SetLineWidthForDevice(&large);
  EXPECT_EQ(LineWidth, 12);
  gdi::RecordingDeviceContext small(PrinterCaps(0.5));
  SetLineWidthForDevice(&small);
  EXPECT_EQ(LineWidth, 3);
  gdi::RecordingDeviceContext display(gdi::DisplayCaps(4000, 3000));  // no physical page
  SetLineWidthForDevice(&display);
  EXPECT_EQ(LineWidth, 3);
  SetLineWidthForDevice(nullptr);
}

TEST(AreaFillTest, FillsInTheRightOrderAndRestoresTheBrush) {
  gdi::RecordingDeviceContext dc;
  const gdi::Brush mine = gdi::CreateSolidBrush(gdi::RGB(1, 2, 3));
  dc.SelectBrush(mine);
  FillRectWhite(dc, 40, 30, 10, 5);
  FillRectWorkspace(dc, 8, 9, 1, 2);
  ASSERT_EQ(dc.Records().size(), 2u);
  EXPECT_EQ(dc.Records()[0].rect, (gdi::Rect{10, 5, 40, 30}));
  EXPECT_EQ(dc.Records()[0].brush.color, 0xFFFFFFu);
  EXPECT_EQ(dc.Records()[1].rect, (gdi::Rect{1, 2, 8, 9}));
  EXPECT_EQ(dc.Records()[1].brush.color, kApplicationWorkspaceColor);
  EXPECT_EQ(dc.CurrentBrush(), mine);
}

}  // namespace
}  // namespace orvale
