#include "app/dialogs/frmUserData.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QPlainTextEdit>

#include "DialogTestSupport.h"
#include "app/document/DocumentTable.h"
#include "app/document/DocumentTextFile.h"
#include "app/document/clsDocument.h"
#include "platform/registry/MemorySettingsStore.h"
#include "platform/registry/TypedSettings.h"
#include "platform/runtime/LineInput.h"
#include "platform/runtime/TextOutput.h"
#include "platform/ui/ScreenTwips.h"
#include "tests/app/document/DocumentModelTestSupport.h"

namespace orvale::testing {
namespace {

using namespace std::chrono;

class frmUserDataTest : public ::testing::Test {
 protected:
  frmUserDataTest() {
    EXPECT_TRUE(table_.NewDocument(doc_));
    doc_->OpticDescription = "8 inch f/6";
    doc_->OpticDate = "Mar 4, 2001";
    doc_->OpticOperator = "A. Tester";
    table_.ActiveDocIndex = doc_->ovDocIndex;
  }
  std::unique_ptr<frmUserData> Open() {
    auto dialog = std::make_unique<frmUserData>(settings_, table_, nullptr, [] {
      return year_month_day{year{2001}, March, day{5}};
    });
    dialog->show();
    return dialog;
  }

  MemorySettingsStore store_;
  ScopedSettingsStore installedStore_{store_};
  GeneralSettings settings_ = DefaultDocumentSettings();
  DocumentTable table_{settings_};
  clsDocument* doc_ = nullptr;
};

TEST_F(frmUserDataTest, CancelKeepsSetAsDefaultButNoneOfTheTexts) {
  auto dialog = Open();
  EXPECT_EQ(dialog->windowTitle(), "User Data");
  EXPECT_EQ(Child<QLineEdit>(*dialog, "txtOperator")->text(), "A. Tester");
  Child<QLineEdit>(*dialog, "txtOperator")->setText("B. Tester");
  Child<QCheckBox>(*dialog, "chkSetDefault")->setChecked(true);
  Click(*dialog, "cmdCancel");

  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_EQ(doc_->OpticOperator, "A. Tester");
  EXPECT_FALSE(doc_->DocDirty);
  EXPECT_TRUE(settings_.UserDataDefaults.SetAsDefault);
  EXPECT_EQ(settings_.UserDataDefaults.Operator, "");
  EXPECT_EQ(GetSettingLong("CurrentVersion", "UserDataLeft", 0, 100000, -1),
            PixelsToTwips(dialog->pos().x()));
}

TEST_F(frmUserDataTest, TodayWritesTheDateInItsFixedForm) {
  auto dialog = Open();
  Click(*dialog, "cmdToday");
  EXPECT_EQ(Child<QLineEdit>(*dialog, "txtDate")->text(), "Mar 5, 2001");
  Click(*dialog, "cmdOK");
  EXPECT_EQ(doc_->OpticDate, "Mar 5, 2001");
  EXPECT_TRUE(doc_->DocDirty);
}

TEST_F(frmUserDataTest, PastedLineBreaksNeverReachASingleLineText) {
  for (const char* name : {"txtDescription", "txtDate", "txtOperator"}) {
    auto dialog = Open();
    QLineEdit* box = Child<QLineEdit>(*dialog, name);
    box->clear();
    QApplication::clipboard()->setText("first\r\nsecond\nthird");
    box->paste();
    EXPECT_EQ(box->text(), "firstsecondthird") << name;
    box->insert("\n!");
    EXPECT_EQ(box->text(), "firstsecondthird!") << name;
    Click(*dialog, "cmdOK");
  }
  EXPECT_EQ(doc_->OpticDescription, "firstsecondthird!");
  EXPECT_EQ(doc_->OpticDate, "firstsecondthird!");
  EXPECT_EQ(doc_->OpticOperator, "firstsecondthird!");
}

TEST_F(frmUserDataTest, CommentsKeepTheirLinesThroughTheDocumentFile) {
  auto dialog = Open();
  Child<QPlainTextEdit>(*dialog, "txtComments")->setPlainText("polished 3 h\n\nretest \\r soon");
  Click(*dialog, "cmdOK");
  EXPECT_EQ(doc_->OpticComments, "polished 3 h\r\n\r\nretest \\r soon");

  StringTextOutput file;
  ASSERT_TRUE(doc_->SaveDataToFile(file));
  clsDocument* reopened = nullptr;
  ASSERT_TRUE(table_.NewDocument(reopened));
  StringLineSource source(file.Text());
  EXPECT_EQ(ReadDocumentText(*reopened, source), DocumentReadStatus::Complete);
  table_.ActiveDocIndex = reopened->ovDocIndex;
  auto again = Open();
  EXPECT_EQ(Child<QPlainTextEdit>(*again, "txtComments")->toPlainText(),
            "polished 3 h\n\nretest \\r soon");
}

TEST_F(frmUserDataTest, WithoutADocumentTheDefaultsAreShownAndSetAsDefaultStoresThem) {
  table_.ActiveDocIndex = 0;
  settings_.UserDataDefaults.Description = "default mirror";
  auto dialog = Open();
  EXPECT_EQ(Child<QLineEdit>(*dialog, "txtDescription")->text(), "default mirror");
  Child<QLineEdit>(*dialog, "txtOperator")->setText("Night shift");
  Child<QCheckBox>(*dialog, "chkSetDefault")->setChecked(true);
  Click(*dialog, "cmdOK");
  EXPECT_EQ(settings_.UserDataDefaults.Operator, "Night shift");
  EXPECT_TRUE(settings_.UserDataDefaults.SetAsDefault);
  EXPECT_EQ(doc_->OpticOperator, "A. Tester");
}

}  // namespace
}  // namespace orvale::testing
