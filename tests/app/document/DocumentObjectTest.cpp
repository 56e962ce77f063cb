#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "DocumentModelTestSupport.h"
#include "app/document/clsDocument.h"
#include "platform/ui/MessageService.h"

namespace orvale::testing {
namespace {

class DocumentObjectTest : public ::testing::Test {
 protected:
  GeneralSettings settings_ = DefaultDocumentSettings();
  ScriptedMessageService messages_;
  ScopedMessageService installed_{messages_};
};

TEST_F(DocumentObjectTest, ANewDocumentCopiesTheSettings) {
  settings_.SurfaceGridSize = 40;
  settings_.LineSize = 120;
  settings_.SurfaceLevels = 12;
  settings_.SFringeSize = 160;
  settings_.DefaultFillPolygons = false;
  settings_.LimitScale = true;
  clsDocument doc(settings_);
  EXPECT_EQ(doc.Aperture.GetKind(), clsShape::kAperture);
  EXPECT_EQ(doc.Obstruction.GetKind(), clsShape::kObstruction);
  std::int32_t x = 0, y = 0;
  doc.GetImageSize(x, y);
  EXPECT_EQ(x, 2147483647);
  EXPECT_EQ(y, 2147483647);
  doc.GetBufferSize(x, y);
  EXPECT_EQ(x, 2147483647);
  EXPECT_EQ(doc.xSurfaceSize, 40);
  EXPECT_EQ(doc.ySurfaceSize, 40);
  EXPECT_EQ(doc.ProfileSize, 120);
  EXPECT_EQ(doc.ContourLevels, 12);
  EXPECT_EQ(doc.xOrigSurfaceSize, 160);
  EXPECT_EQ(doc.yOrigSurfaceSize, 160);
  EXPECT_FALSE(doc.FillPolygons);
  EXPECT_TRUE(doc.DrawMeshWithFill);
  EXPECT_TRUE(doc.LimitDisplayScale);
  EXPECT_EQ(doc.DisplayScale, 1.0);
  EXPECT_EQ(doc.zmin, 0.0);
  EXPECT_EQ(doc.zmax, 1.0);
  EXPECT_TRUE(doc.AutoScaleZ);
  EXPECT_EQ(doc.zscale, 0.0);
  EXPECT_EQ(doc.OutWL, 0.0);
  EXPECT_FALSE(doc.AnalysisValid);
  EXPECT_FALSE(doc.HasImageBuffer());
  EXPECT_TRUE(doc.OpticDescription.empty());
  EXPECT_EQ(doc.ScreenTextStyle().facename.substr(0, 6), "Arial ");
  EXPECT_EQ(doc.ScreenTextStyle().facename.size(), 32u);
  EXPECT_EQ(doc.PrinterTextStyle().Size, 12);
}

TEST_F(DocumentObjectTest, UserDataDefaultsAreCopiedOnlyWhenSet) {
  settings_.UserDataDefaults = {false, "Mirror", "Mar 5, 2024", "Ann", "none"};
  EXPECT_TRUE(clsDocument(settings_).OpticOperator.empty());
  settings_.UserDataDefaults.SetAsDefault = true;
  clsDocument doc(settings_);
  EXPECT_EQ(doc.OpticDescription, "Mirror");
  EXPECT_EQ(doc.OpticDate, "Mar 5, 2024");
  EXPECT_EQ(doc.OpticOperator, "Ann");
  EXPECT_EQ(doc.OpticComments, "none");
}

TEST_F(DocumentObjectTest, AccessorsGiveZeroOutsideTheirRange) {
  clsDocument doc(settings_);
  ZernikeVector z{};
  for (int i = 1; i <= 36; ++i) z[i] = i;
  doc.SetZernikes(z);
  EXPECT_EQ(doc.Zernike(1), 1.0);
  EXPECT_EQ(doc.Zernike(36), 36.0);
  EXPECT_EQ(doc.Zernike(0), 0.0);
  EXPECT_EQ(doc.Zernike(37), 0.0);
  EXPECT_EQ(doc.ZernikeFiltered(-1), 0.0);
  EXPECT_EQ(doc.Kingslake(9), 0.0);
  EXPECT_EQ(doc.Kingslake(0), 0.0);
  ZernikeVector back{};
  doc.GetZernikes(back);
  EXPECT_EQ(back, z);
}

TEST_F(DocumentObjectTest, SetRefZernikesAsksForARefitButSetZernikesDoesNot) {
  clsDocument doc(settings_);
  ZernikeVector z{};
  z[3] = 0.5;
  doc.AnalysisValid = true;
  doc.SetZernikes(z);
  EXPECT_TRUE(doc.AnalysisValid);
  doc.SetRefZernikes(z);
  EXPECT_FALSE(doc.AnalysisValid);
  EXPECT_TRUE(doc.UseRefZCoeff);
  ZernikeVector ref{};
  doc.GetRefZernikes(ref);
  EXPECT_EQ(ref[3], 0.5);
}

TEST_F(DocumentObjectTest, TextStylesKeepAFixedFaceName) {
  clsDocument doc(settings_);
  const std::string longName(40, 'F');
  doc.SetText(true, "cap", 0x00FF00, 14, 3, true, false, true, longName);
  std::string caption, face;
  std::int32_t colour = 0, size = 0, escapement = 0;
  bool bold = false, italic = true, underline = false;
  doc.GetText(true, caption, colour, size, escapement, bold, italic, underline, face);
  EXPECT_EQ(face, std::string(32, 'F'));
  EXPECT_EQ(caption, "cap");
  EXPECT_EQ(colour, 0x00FF00);
  EXPECT_EQ(size, 14);
  EXPECT_EQ(escapement, 3);
  EXPECT_TRUE(bold);
  EXPECT_FALSE(italic);
  EXPECT_TRUE(underline);

  doc.SetText(false, "", 0, 9, 1, false, false, false, "Courier No");
  doc.GetText(false, caption, colour, size, escapement, bold, italic, underline, face);
  EXPECT_EQ(face, "Courier No");
  EXPECT_EQ(doc.PrinterTextStyle().facename.size(), 32u);
  // The screen style is untouched by a printer change.
  EXPECT_EQ(doc.ScreenTextStyle().Size, 14);
}

TEST_F(DocumentObjectTest, IntensityIsMinusOneOutsideTheImageAndOnABlankOne) {
  clsDocument doc(settings_);
  std::vector<std::uint8_t> image = {1, 2, 3, 4, 5, 6};
  ASSERT_TRUE(doc.SetImageData(image, 3, 2));
  EXPECT_TRUE(doc.HasImageBuffer());
  EXPECT_EQ(doc.GetIntensity(0, 0), 1);
  EXPECT_EQ(doc.GetIntensity(2, 1), 6);
  EXPECT_EQ(doc.GetIntensity(-1, 0), -1);
  EXPECT_EQ(doc.GetIntensity(3, 0), -1);
  EXPECT_EQ(doc.GetIntensity(0, 2), -1);
  doc.LoadBlankImage(2147483647, 2147483647);
  EXPECT_FALSE(doc.HasImageBuffer());
  EXPECT_EQ(doc.GetIntensity(0, 0), -1);
  std::int32_t x = 0, y = 0;
  doc.GetImageSize(x, y);
  EXPECT_EQ(x, 3);  // the blank image keeps the size
  EXPECT_EQ(y, 2);
}

TEST_F(DocumentObjectTest, SetImageDataRefusesAMismatchedBuffer) {
  clsDocument doc(settings_);
  EXPECT_FALSE(doc.SetImageData(std::vector<std::uint8_t>(5), 3, 2));
  EXPECT_FALSE(doc.SetImageData({}, 0, 0));
  EXPECT_FALSE(doc.HasImageBuffer());
}

struct StretchCase {
  double ratio;
  std::int32_t width;
  std::int32_t height;
  bool dirty;
  bool done;  // what StretchImage answers
};

class StretchImageTest : public DocumentObjectTest,
                         public ::testing::WithParamInterface<StretchCase> {};

TEST_P(StretchImageTest, ResamplesByTheRatioOrRefusesIt) {
  const StretchCase& c = GetParam();
  clsDocument doc(settings_);
  ASSERT_TRUE(doc.SetImageData(std::vector<std::uint8_t>(640 * 480, 77), 640, 480));
  EXPECT_EQ(doc.StretchImage(c.ratio, false), c.done);
  std::int32_t x = 0, y = 0;
  doc.GetImageSize(x, y);
  EXPECT_EQ(x, c.width);
  EXPECT_EQ(y, c.height);
  EXPECT_EQ(doc.BMPDirty, c.dirty);
  EXPECT_EQ(doc.ImageData().size(), static_cast<std::size_t>(c.width) * c.height);
  EXPECT_EQ(doc.GetIntensity(c.width - 1, c.height - 1), 77);
}

INSTANTIATE_TEST_SUITE_P(
    Ratios, StretchImageTest,
    ::testing::Values(StretchCase{2.0, 1280, 480, true, true}, StretchCase{0.5, 640, 960, true, true},
                      StretchCase{1.25, 800, 480, true, true}, StretchCase{0.8, 640, 600, true, true},
                      StretchCase{1.0, 640, 480, false, true}, StretchCase{0.0, 640, 480, false, true},
                      StretchCase{-2.0, 640, 480, false, false},
                      StretchCase{std::numeric_limits<double>::infinity(), 640, 480, false, false},
                      StretchCase{std::numeric_limits<double>::quiet_NaN(), 640, 480, false, false},
                      StretchCase{1e-300, 640, 480, false, false}));

TEST_F(DocumentObjectTest, StretchingABlankImageChangesNothing) {
  clsDocument doc(settings_);
  ASSERT_TRUE(doc.SetImageData(std::vector<std::uint8_t>(6, 1), 3, 2));
  doc.LoadBlankImage(2147483647, 2147483647);
  EXPECT_FALSE(doc.StretchImage(2.0, true));
  std::int32_t x = 0, y = 0;
  doc.GetImageSize(x, y);
  EXPECT_EQ(x, 3);
  EXPECT_FALSE(doc.BMPDirty);
}

}  // namespace
}  // namespace orvale::testing
