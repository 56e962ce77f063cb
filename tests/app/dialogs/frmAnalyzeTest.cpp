#include "app/dialogs/frmAnalyze.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "AnalyzeTestSupport.h"
#include "app/dialogs/AnalyzeSettings.h"
#include "platform/registry/TypedSettings.h"
#include "platform/ui/ScreenTwips.h"

namespace orvale::testing {
namespace {

class frmAnalyzeTest : public AnalyzeTest {
 protected:
  template <class Widget>
  Widget* Control(const char* name) {
    auto* widget = window_.findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QComboBox* References() { return Control<QComboBox>("cboReference"); }
  void PressDelete() {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(References(), &press);
  }
  void LoadWithTwoFiles() {
    GetSettingString(kAnalyzeSection, "Reference File1", "");
    SaveSettingString(kAnalyzeSection, "Reference File1", WriteFile("a.zrn", ""));
    SaveSettingString(kAnalyzeSection, "Reference File2", WriteFile("b.zrn", ""));
    window_.Load();
  }

  frmAnalyze window_{frame_, table_, nullptr};
};

TEST_F(frmAnalyzeTest, ShowsTheStoredOptionsWithTheirCaptions) {
  GetSettingString(kAnalyzeSection, "Coma", "");
  SaveSettingString(kAnalyzeSection, "Coma", "1");
  SaveSettingString(kAnalyzeSection, "Scale Factor", "2");
  SaveSettingString(kAnalyzeSection, "Custom Scale", "1.5");
  SaveSettingString(kAnalyzeSection, "Limit Order", "1");
  window_.Load();

  EXPECT_EQ(window_.windowTitle(), "Analyze");
  EXPECT_TRUE(window_.windowFlags() & Qt::Tool);
  EXPECT_EQ(Control<QCheckBox>("chkRemove4")->text(), "S. A.");
  EXPECT_TRUE(Control<QCheckBox>("chkRemove0")->isChecked());
  EXPECT_TRUE(Control<QCheckBox>("chkRemove3")->isChecked());
  EXPECT_FALSE(Control<QCheckBox>("chkRemove2")->isChecked());
  EXPECT_TRUE(Control<QRadioButton>("optScaleFactor2")->isChecked());
  EXPECT_EQ(Control<QLineEdit>("txtScaleFactor")->text(), "1.5");
  EXPECT_TRUE(Control<QLineEdit>("txtScaleFactor")->isEnabled());
  EXPECT_EQ(Control<QComboBox>("cboLimitOrder")->currentText(), "8th");
  EXPECT_EQ(Control<QComboBox>("cboLimitOrder")->count(), 5);
  EXPECT_EQ(References()->count(), 2);
  EXPECT_EQ(References()->itemText(1), "Custom");
  EXPECT_EQ(References()->currentIndex(), 0);
  EXPECT_EQ(Control<QPushButton>("cmdBrowse")->text(), "Browse Files...");
  EXPECT_EQ(Control<QLineEdit>("txtInputWL")->text(), "632.8");
}

TEST_F(frmAnalyzeTest, EditsInTheControlsReachTheModel) {
  window_.Load();
  Control<QCheckBox>("chkRemove2")->click();
  Control<QCheckBox>("chkTrim")->click();
  Control<QRadioButton>("optDisplay2")->click();
  Control<QComboBox>("cboLimitOrder")->setCurrentIndex(4);
  References()->setCurrentIndex(1);
  QLineEdit* input = Control<QLineEdit>("txtInputWL");
  input->selectAll();
  QTest::keyClicks(input, "543.5nm");

  const AnalyzeControls& c = window_.Controls();
  EXPECT_TRUE(c.Remove[2]);
  EXPECT_FALSE(c.TrimEdges);
  EXPECT_EQ(c.DisplayUnits, 2);
  EXPECT_EQ(c.LimitOrderIndex, 4);
  EXPECT_EQ(c.ReferenceIndex(), 1);
  EXPECT_EQ(c.InputWL, "543.5nm");

  window_.EditControls([](AnalyzeControls& m) {
    m.InvertWavefront = true;
    m.OutputWL = "500";
  });
  EXPECT_TRUE(Control<QCheckBox>("chkInvertWavefront")->isChecked());
  EXPECT_EQ(Control<QLineEdit>("txtOutputWL")->text(), "500");
}

TEST_F(frmAnalyzeTest, TheCustomScaleTakesDigitsAndThePointOnlyAndOnlyWhenChosen) {
  window_.Load();
  QLineEdit* scale = Control<QLineEdit>("txtScaleFactor");
  EXPECT_FALSE(scale->isEnabled());
  Control<QRadioButton>("optScaleFactor2")->click();
  EXPECT_TRUE(scale->isEnabled());
  scale->clear();
  QTest::keyClicks(scale, "1a.5-e+");
  EXPECT_EQ(scale->text(), "1.5");
  QTest::keyClick(scale, Qt::Key_Backspace);
  EXPECT_EQ(window_.Controls().ScaleFactorText, "1.");
  Control<QRadioButton>("optScaleFactor1")->click();
  EXPECT_FALSE(scale->isEnabled());
  EXPECT_EQ(window_.Controls().ScaleFactorOption, scaleoption::kOne);
}

TEST_F(frmAnalyzeTest, DeleteRemovesASelectedFileEntryOnly) {
  LoadWithTwoFiles();
  ASSERT_EQ(References()->count(), 4);

  References()->setCurrentIndex(3);
  PressDelete();
  EXPECT_EQ(References()->count(), 3);
  EXPECT_EQ(References()->currentIndex(), 2);
  EXPECT_EQ(window_.Controls().SelectedReferencePath(), (dir_ / "a.zrn").string());

  for (int fixed : {kReferenceCustom, kReferenceNone}) {
    References()->setCurrentIndex(fixed);
    PressDelete();
    EXPECT_EQ(References()->count(), 3);
    EXPECT_EQ(References()->currentIndex(), fixed);
  }

  // With the list dropped down the key belongs to the list.
  References()->setCurrentIndex(2);
  References()->showPopup();
  ASSERT_TRUE(References()->view()->isVisible());
  PressDelete();
  References()->hidePopup();
  EXPECT_EQ(References()->count(), 3);
}

TEST_F(frmAnalyzeTest, BrowseAddsTheFileToTheList) {
  window_.Load();
  const std::string path = WriteFile("ref.zrn", ZrnText(std::vector<double>(36, 0.0)));
  dialogs_.QueueFile(path);
  Control<QPushButton>("cmdBrowse")->click();
  EXPECT_EQ(References()->count(), 3);
  EXPECT_EQ(References()->currentText(), "ref.zrn");
  EXPECT_EQ(window_.Controls().SelectedReferencePath(), path);
}

TEST_F(frmAnalyzeTest, ApplyAnalysesTheActiveDocumentAndRestoresThePointer) {
  window_.Load();
  Qt::CursorShape whileBusy = Qt::ArrowCursor;
  views_->onRefresh = [&] { whileBusy = window_.cursor().shape(); };
  Control<QPushButton>("cmdApply")->click();
  EXPECT_TRUE(doc_->AnalysisValid);
  EXPECT_TRUE(doc_->OutputViewsExist);
  EXPECT_EQ(whileBusy, Qt::WaitCursor);
  EXPECT_EQ(window_.cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(frame_.Count("SetBusyPointer"), 2);
}

TEST_F(frmAnalyzeTest, SetControlsFollowsTheOpenDocuments) {
  window_.Load();
  EXPECT_TRUE(Control<QPushButton>("cmdApply")->isEnabled());
  window_.SetControls(true);
  for (const char* name : {"cmdApply", "cmdBrowse"})
    EXPECT_FALSE(Control<QPushButton>(name)->isEnabled()) << name;
  EXPECT_FALSE(Control<QCheckBox>("chkRemove0")->isEnabled());
  EXPECT_FALSE(References()->isEnabled());
  EXPECT_FALSE(Control<QRadioButton>("optScaleFactor0")->isEnabled());
  EXPECT_TRUE(Control<QPushButton>("cmdClose")->isEnabled());
  EXPECT_TRUE(Control<QLineEdit>("txtInputWL")->isEnabled());
  EXPECT_TRUE(Control<QCheckBox>("chkTrim")->isEnabled());
  EXPECT_TRUE(Control<QRadioButton>("optDisplay1")->isEnabled());

  window_.SetControls(false);
  EXPECT_TRUE(Control<QPushButton>("cmdApply")->isEnabled());
  std::int16_t cancel = 0;
  doc_->DocDirty = doc_->BMPDirty = false;
  table_.CloseDocument(doc_, true, cancel);
  window_.SetControls(false);
  EXPECT_FALSE(Control<QPushButton>("cmdApply")->isEnabled());
}

TEST_F(frmAnalyzeTest, CloseHidesTheWindowAndUnloadStoresTheOptions) {
  LoadWithTwoFiles();
  window_.show();
  References()->setCurrentIndex(2);
  Control<QPushButton>("cmdClose")->click();
  EXPECT_FALSE(window_.isVisible());
  EXPECT_FALSE(frame_.ViewItemChecked(ViewMenuItem::AnalyzeBox));
  EXPECT_EQ(frame_.calls.back(), "UpdateToolBar");

  window_.move(100, 120);
  window_.Unload();
  EXPECT_EQ(GetSettingLong(kAnalyzeSection, "Left", 0, 1000000, -1), PixelsToTwips(100));
  EXPECT_EQ(GetSettingString(kAnalyzeSection, "Reference Selected", ""), (dir_ / "a.zrn").string());
}

}  // namespace
}  // namespace orvale::testing
