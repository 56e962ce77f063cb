#include "app/dialogs/frmProperties.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QSpinBox>
#include <QTimer>

#include "AnalyzeTestSupport.h"
#include "DialogTestSupport.h"
#include "app/dialogs/ApplyAnalysis.h"
#include "platform/registry/TypedSettings.h"
#include "platform/ui/FontDialogService.h"
#include "platform/ui/ScreenTwips.h"

namespace orvale::testing {
namespace {

class frmPropertiesTest : public AnalyzeTest {
 protected:
  void SetUp() override {
    AnalyzeTest::SetUp();
    ASSERT_EQ(ApplyAnalysis(table_, AnalyzeControls{}, frame_), ApplyOutcome::Analysed);
    views_->calls.clear();
    dialog_ = std::make_unique<frmProperties>(*doc_, nullptr);
    dialog_->show();
  }
  void TearDown() override {
    dialog_.reset();
    AnalyzeTest::TearDown();
  }
  QSpinBox* Box(const char* name) const { return Child<QSpinBox>(*dialog_, name); }
  QCheckBox* Check(const char* name) const { return Child<QCheckBox>(*dialog_, name); }
  QLineEdit* Edit(const char* name) const { return Child<QLineEdit>(*dialog_, name); }

  ScriptedFontDialogService fonts_;
  ScopedFontDialogService installedFonts_{fonts_};
  std::unique_ptr<frmProperties> dialog_;
};

TEST_F(frmPropertiesTest, TheNumberBoxesTakeOnlyDigitsWithinTheirRanges) {
  struct Case {
    const char* box;
    const char* keys;
    int value;
  };
  const Case cases[] = {
      {"txtSurfaceSize", "99999", 99},  // the third 9 would leave the range
      {"txtSurfaceSize", "abc", 30},    // letters are dropped
      {"txtSurfaceSize", "-5", 30},     // no sign; "5" alone is below the range
      {"txtSurfaceSize", "400", 400},
      {"txtSurfaceLevels", "1e3", 13},
      {"txtSurfaceLevels", "100", 100},
      {"txtLinePoints", "5000", 500},
      {"txtImageSize", "12.5", 125},
  };
  for (const Case& c : cases) {
    QSpinBox* box = Box(c.box);
    const int before = box->value();
    TypeInto(box, c.keys);
    EXPECT_EQ(box->value(), c.value) << c.box << " " << c.keys;
    EXPECT_GE(box->value(), box->minimum());
    EXPECT_LE(box->value(), box->maximum());
    box->setValue(before);
  }
  EXPECT_EQ(Box("txtSurfaceSize")->maximum(), 400);
  EXPECT_EQ(Box("txtLinePoints")->minimum(), 20);

  // An emptied box keeps its value.
  QSpinBox* levels = Box("txtSurfaceLevels");
  levels->selectAll();
  QTest::keyClick(levels, Qt::Key_Backspace);
  levels->interpretText();
  EXPECT_EQ(levels->value(), 10);
  TypeInto(Box("txtSurfaceSize"), "64");
  Click(*dialog_, "cmdOK");
  EXPECT_EQ(dialog_->result(), QDialog::Accepted);
  EXPECT_EQ(doc_->ContourLevels, 10);
  EXPECT_EQ(doc_->xSurfaceSize, 64);
}

TEST_F(frmPropertiesTest, AutoScaleAndFillLockTheirDependentBoxes) {
  EXPECT_TRUE(Check("chkAutoScale")->isChecked());
  EXPECT_FALSE(Edit("txtZMin")->isEnabled());
  EXPECT_TRUE(Check("chkLimitScale")->isEnabled());
  Check("chkAutoScale")->click();
  EXPECT_TRUE(Edit("txtZMin")->isEnabled());
  EXPECT_TRUE(Edit("txtZMax")->isEnabled());
  EXPECT_FALSE(Check("chkLimitScale")->isEnabled());
  EXPECT_FALSE(Check("chkLimitScale")->isChecked());
  Check("chkFillPolygons")->click();
  EXPECT_FALSE(Check("chkDrawBlackMesh")->isEnabled());
  Check("chkFillPolygons")->click();
  EXPECT_TRUE(Check("chkDrawBlackMesh")->isEnabled());
}

TEST_F(frmPropertiesTest, ABadZRangeKeepsTheDialogOpenAndStoresNothing) {
  struct Case {
    const char* low;
    const char* high;
  };
  const Case cases[] = {{"1", "1"}, {"2", "1"}, {"abc", "1"}, {"", "1"}, {"0", "1e999"},
                        {"-1e999", "0"}, {"-3E+38", "1"}};
  Check("chkAutoScale")->click();
  TypeInto(Box("txtSurfaceSize"), "80");
  const double zmin = doc_->zmin;
  for (const Case& c : cases) {
    messages_.Clear();
    Edit("txtZMin")->setText(c.low);
    Edit("txtZMax")->setText(c.high);
    Click(*dialog_, "cmdOK");
    ASSERT_EQ(messages_.Messages().size(), 1u) << c.low << " / " << c.high;
    EXPECT_EQ(messages_.Messages()[0].text, "Invalid ZMinimum and/or ZMaximum");
    EXPECT_EQ(messages_.Messages()[0].title, "Orvale");
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(doc_->zmin, zmin);
    EXPECT_TRUE(doc_->AutoScaleZ);
    EXPECT_EQ(doc_->xSurfaceSize, 30);
    EXPECT_TRUE(views_->calls.empty());
  }
  EXPECT_EQ(GetSettingString("CurrentVersion", "PropertiesLeft", "none"), "none");
}

TEST_F(frmPropertiesTest, APrinterFontAloneReachesTheDocumentWithThePlotValues) {
  const FontSpec screen = doc_->ScreenTextStyle();
  fonts_.QueueCancel();
  fonts_.QueueChoice({"Liberation Sans Narrow Long Family Name To Be Cut", 200, false, true, false, 0xFF0000});
  Click(*dialog_, "cmdFontScreen");
  Click(*dialog_, "cmdFontPrinter");
  ASSERT_EQ(fonts_.Requests().size(), 2u);
  EXPECT_EQ(fonts_.Requests()[0].Title, "Screen Font");
  EXPECT_EQ(fonts_.Requests()[1].Title, "Printer Font");
  EXPECT_EQ(fonts_.Requests()[1].Flags, 66819u);
  EXPECT_EQ(fonts_.Requests()[1].Initial.FaceName, "Times New Roman");
  EXPECT_EQ(fonts_.Requests()[1].Initial.Size, 12);
  TypeInto(Box("txtLinePoints"), "250");

  Click(*dialog_, "cmdOK");

  EXPECT_EQ(dialog_->result(), QDialog::Accepted);
  EXPECT_EQ(doc_->ScreenTextStyle(), screen);
  EXPECT_EQ(doc_->PrinterTextStyle().facename, "Liberation Sans Narrow Long Fami");
  EXPECT_EQ(doc_->PrinterTextStyle().Size, 72);
  EXPECT_TRUE(doc_->PrinterTextStyle().Italic);
  EXPECT_EQ(doc_->ProfileSize, 250);  // not put back by the program-wide 100
  EXPECT_EQ(views_->LastData().ProfileX.size(), 250u);
  EXPECT_EQ(GetSettingLong("CurrentVersion", "PropertiesLeft", 0, 100000, -1),
            PixelsToTwips(dialog_->pos().x()));
}

TEST_F(frmPropertiesTest, TheMenuCommandOpensOnlyOnADocumentWithOutputViews) {
  dialog_->hide();
  bool opened = false;
  const auto openAndCancel = [&] {
    opened = false;
    QTimer::singleShot(0, [&opened] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      opened = dialog != nullptr && dialog->windowTitle() == "Properties";
      if (dialog != nullptr) dialog->reject();
    });
    ShowPropertiesDialog(table_, nullptr);
    QApplication::processEvents();
  };
  openAndCancel();
  EXPECT_TRUE(opened);
  doc_->OutputViewsExist = false;
  openAndCancel();
  EXPECT_FALSE(opened);
  doc_->OutputViewsExist = true;
}

}  // namespace
}  // namespace orvale::testing
