#include "app/document/ImagePrinting.h"

#include <gtest/gtest.h>

#include <vector>

#include "DocumentModelTestSupport.h"
#include "app/document/LineWidth.h"
#include "app/document/clsDocument.h"
#include "platform/gdi/RecordingDeviceContext.h"
#include "platform/runtime/NumberText.h"
#include "platform/ui/MessageService.h"

namespace orvale {
namespace {

using gdi::DrawRecord;

// An A4 page at 600 dpi.
gdi::DeviceCaps PrinterCaps() {
  gdi::DeviceCaps caps = gdi::DisplayCaps(4800, 6800, 600, 600);
  caps.technology = gdi::DT_RASPRINTER;
  caps.physicalWidth = 4960;
  caps.physicalHeight = 7016;
  return caps;
}

std::vector<DrawRecord> CallsNamed(const gdi::RecordingDeviceContext& dc, const std::string& call) {
  std::vector<DrawRecord> found;
  for (const DrawRecord& r : dc.Records())
    if (r.call == call) found.push_back(r);
  return found;
}

class ImagePrintingTest : public ::testing::Test {
 protected:
  ImagePrintingTest() : doc(settings) {
    testing::GiveImageAndAperture(doc, testing::Pupil{});  // 200 x 200, circle r 80 at 100
    std::vector<double> x{0, 100}, y{0, 60};
    doc.Fringes.InsertOrder(4, 1, x, y);
  }

  ScriptedMessageService messages;
  ScopedMessageService installed{messages};
  GeneralSettings settings = testing::DefaultDocumentSettings();
  clsDocument doc;
};

TEST_F(ImagePrintingTest, WideRectangleCentresThePictureWithItsOverlays) {
  gdi::RecordingDeviceContext dc(PrinterCaps());
  // 800 x 400 pixels: the 200 x 200 picture at scale 2 is 400 wide, x = (800 - 400) \ 2 + 100.
  PrintImage(doc, 4, dc, 100, 50, 899, 449);
  const auto blits = CallsNamed(dc, "StretchDIBits");
  ASSERT_EQ(blits.size(), 1u);
  EXPECT_EQ(blits[0].rect, (gdi::Rect{300, 50, 700, 450}));
  EXPECT_EQ(blits[0].state.stretchMode, gdi::HALFTONE);

  // The aperture lies on the printed picture: its box is (100 -+ 80) x 2 from the corner.
  const auto circles = CallsNamed(dc, "Ellipse");
  ASSERT_EQ(circles.size(), 1u);
  EXPECT_EQ(circles[0].rect.left, 300 + 20 * 2);
  EXPECT_EQ(circles[0].rect.top, 50 + 20 * 2);
  EXPECT_TRUE(circles[0].state.brush.IsNull());

  // The fringe cross is 5 pixels thick and reaches the printer's line width.
  const std::int32_t reach =
      RoundToInt32(3 * PageToScreenRatio(PrinterCaps(), gdi::ScreenDeviceCaps()));
  const auto lines = CallsNamed(dc, "LineTo");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].state.pen.width, 5);
  EXPECT_EQ(lines[0].points[0], (gdi::Point{300 + 200 - reach, 50 + 120}));
  EXPECT_EQ(lines[0].state.pen.color, gdi::RGB(255, 255, 255));  // the current order

  EXPECT_EQ(LineWidth, 3);
  EXPECT_EQ(dc.State().stretchMode, gdi::COLORONCOLOR);
  EXPECT_TRUE(dc.State().brush == gdi::StockBrush(gdi::WHITE_BRUSH));
}

TEST_F(ImagePrintingTest, DeviceThatCannotStretchDibsGetsAWarningAndNothingElse) {
  gdi::DeviceCaps caps = PrinterCaps();
  caps.rasterCaps = gdi::RC_BITBLT | gdi::RC_STRETCHBLT;
  gdi::RecordingDeviceContext dc(caps);
  PrintImage(doc, 4, dc, 0, 0, 999, 999);
  EXPECT_TRUE(dc.Records().empty());
  ASSERT_EQ(messages.Messages().size(), 1u);
  const auto& shown = messages.Messages()[0];
  EXPECT_EQ(shown.text, "Cannot print image. Printer does not support StretchDIBits");
  EXPECT_EQ(shown.title, "Warning");
  EXPECT_EQ(shown.flags, mb::kOk | mb::kIconExclamation);
  EXPECT_EQ(shown.owner, 0u);
  EXPECT_EQ(dc.State().stretchMode, gdi::COLORONCOLOR);
  EXPECT_EQ(LineWidth, 3);
}

TEST_F(ImagePrintingTest, BlankImagePrintsNothing) {
  doc.LoadBlankImage(200, 200);
  gdi::RecordingDeviceContext dc(PrinterCaps());
  PrintImage(doc, 4, dc, 0, 0, 999, 999);
  EXPECT_TRUE(dc.Records().empty());
  EXPECT_TRUE(messages.Messages().empty());
}

}  // namespace
}  // namespace orvale
