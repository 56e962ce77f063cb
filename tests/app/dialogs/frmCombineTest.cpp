#include "app/dialogs/frmCombine.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>

#include "AnalyzeTestSupport.h"
#include "app/dialogs/ApplyAnalysis.h"

namespace orvale::testing {
namespace {

class frmCombineTest : public AnalyzeTest {
 protected:
  void SetUp() override {
    AnalyzeTest::SetUp();
    ASSERT_EQ(ApplyAnalysis(table_, AnalyzeControls{}, frame_), ApplyOutcome::Analysed);
    doc_->ImageFileName = "A";
    clsDocument* b = nullptr;
    ASSERT_TRUE(table_.NewDocument(b));
    GiveImageAndAperture(*b, pupil_);
    b->ImageFileName = "B";
    window_.Load();
    window_.EnterDocument(1, "A");
    window_.EnterDocument(2, "B");
  }
  QComboBox* List(const char* name) { return window_.findChild<QComboBox*>(name); }
  void Apply() { window_.findChild<QPushButton*>("cmdApply")->click(); }

  frmCombine window_{frame_, table_, nullptr};
};

TEST_F(frmCombineTest, TheListsStartAtNoneAndAddAndApplyCombinesTheChosenDocuments) {
  EXPECT_EQ(window_.windowTitle(), "Math");
  for (const char* name : {"cboFirstDoc", "cboSecondDoc"}) {
    EXPECT_EQ(List(name)->currentText(), "None");
    EXPECT_EQ(List(name)->count(), 3);
    EXPECT_EQ(List(name)->itemData(2).toInt(), 2);
  }
  EXPECT_EQ(List("cboOperation")->currentText(), "Add");
  EXPECT_EQ(List("cboOperation")->itemText(1), "Subtract");

  const std::int32_t before = table_.NumDocuments;
  List("cboFirstDoc")->setCurrentIndex(1);
  Apply();  // "None" second: nothing
  EXPECT_EQ(table_.NumDocuments, before);

  List("cboSecondDoc")->setCurrentIndex(2);
  List("cboOperation")->setCurrentIndex(1);
  Apply();
  ASSERT_EQ(table_.NumDocuments, before + 1);
  const clsDocument& result = *table_.Documents[3];
  EXPECT_EQ(result.ImageFileName, "Combination of A and B");
  EXPECT_TRUE(result.Combined);
  EXPECT_EQ(result.Zernike(3), doc_->Zernike(3));  // B has no fit: A - 0
}

TEST_F(frmCombineTest, ClosingTheChosenDocumentShowsNoneAndApplyDoesNothing) {
  List("cboFirstDoc")->setCurrentIndex(2);
  List("cboSecondDoc")->setCurrentIndex(2);
  window_.RemoveDocument(2);
  EXPECT_EQ(List("cboFirstDoc")->currentText(), "None");
  EXPECT_EQ(List("cboSecondDoc")->currentText(), "None");
  EXPECT_EQ(List("cboFirstDoc")->count(), 2);
  EXPECT_EQ(window_.Combine(), nullptr);

  // A rename shows in both lists and keeps the selection.
  List("cboFirstDoc")->setCurrentIndex(1);
  window_.EnterDocument(1, "A.bmp");
  EXPECT_EQ(List("cboFirstDoc")->currentText(), "A.bmp");
  EXPECT_EQ(List("cboSecondDoc")->itemText(1), "A.bmp");
}

}  // namespace
}  // namespace orvale::testing
