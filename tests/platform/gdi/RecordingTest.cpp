#include <gtest/gtest.h>

#include <QImage>

#include "platform/gdi/RecordingDeviceContext.h"

namespace orvale::gdi {
namespace {

TEST(RecordingTest, LogsEachCallWithItsResolvedState) {
  RecordingDeviceContext dc(DisplayCaps(100, 80));
  const Pen red = *CreatePen(PS_DASH, 0, RGB(255, 0, 0));
  dc.SelectPen(red);
  dc.SetROP2(R2_XORPEN);
  dc.IntersectClipRect(5, 5, 50, 40);
  dc.MoveTo(1, 2);
  dc.LineTo(30, 20);
  dc.SetROP2(R2_COPYPEN);
  dc.SelectBrush(StockBrush(HOLLOW_BRUSH));
  dc.Ellipse(10, 10, 20, 20);

  const auto& records = dc.Records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].call, "LineTo");
  EXPECT_EQ(records[0].points, (std::vector<Point>{{1, 2}, {30, 20}}));
  EXPECT_EQ(records[0].state.pen, red);
  EXPECT_EQ(records[0].state.rop2, R2_XORPEN);
  ASSERT_TRUE(records[0].state.clip.has_value());
  EXPECT_EQ(records[0].state.clip->Box(), (Rect{5, 5, 50, 40}));
  EXPECT_EQ(records[1].call, "Ellipse");
  EXPECT_EQ(records[1].rect, (Rect{10, 10, 20, 20}));
  EXPECT_TRUE(records[1].state.brush.IsNull());
  EXPECT_EQ(records[1].state.rop2, R2_COPYPEN);
  EXPECT_EQ(records[0].ToString(),
            "LineTo (1,2)-(30,20) pen=dash,0,rgb(255,0,0) brush=solid,rgb(255,255,255) "
            "rop2=XORPEN fill=ALTERNATE clip=(5,5,50,40)");
}

TEST(RecordingTest, TextRecordsCarryFontAlignmentAndColours) {
  RecordingDeviceContext dc;
  LogFont font;
  font.lfHeight = -13;
  font.lfEscapement = 900;
  font.lfWeight = FW_BOLD;
  font.SetFaceName("Times New Roman");
  dc.SelectFont(font);
  dc.SetTextAlign(TA_CENTER | TA_BOTTOM);
  dc.SetTextColor(RGB(0, 0, 255));
  dc.SetBkMode(TRANSPARENT);
  dc.TextOut(40, 50, "Z Axis");
  ASSERT_EQ(dc.Records().size(), 1u);
  const DrawRecord& record = dc.Records()[0];
  EXPECT_EQ(record.text, "Z Axis");
  EXPECT_EQ(record.state.font, font);
  EXPECT_EQ(record.ToString(),
            "TextOut (40,50) text=\"Z Axis\" font=\"Times New Roman\" height=-13 weight=700 "
            "escapement=900 align=CENTER|BOTTOM textcolor=rgb(0,0,255) bk=transparent clip=none");
}

TEST(RecordingTest, CanDrawIntoAnImageWhileRecording) {
  RecordingDeviceContext dc(DisplayCaps(10, 10), true);
  ASSERT_NE(dc.Image(), nullptr);
  dc.FillRect(Rect{0, 0, 3, 3}, CreateSolidBrush(RGB(0, 255, 0)));
  EXPECT_EQ(dc.GetPixel(2, 2), RGB(0, 255, 0));
  EXPECT_EQ(dc.GetPixel(3, 3), 0xFFFFFFu);
  ASSERT_EQ(dc.Records().size(), 1u);
  EXPECT_EQ(dc.Records()[0].call, "FillRect");
  EXPECT_EQ(dc.Records()[0].brush.color, RGB(0, 255, 0));
  EXPECT_EQ(dc.Records()[0].rop3, PATCOPY);
  dc.ClearRecords();
  EXPECT_TRUE(dc.Records().empty());
  EXPECT_EQ(RecordingDeviceContext().Image(), nullptr);
}

}  // namespace
}  // namespace orvale::gdi
