#include "app/dialogs/UserData.h"

#include <gtest/gtest.h>

#include "app/document/DocumentTable.h"
#include "app/document/clsDocument.h"
#include "tests/app/document/DocumentModelTestSupport.h"

namespace orvale::testing {
namespace {

class UserDataTest : public ::testing::Test {
 protected:
  UserDataTest() {
    settings_.UserDataDefaults = {false, "default mirror", "Jan 1, 2001", "D. Fault", "none"};
  }
  clsDocument& OpenDocument() {
    clsDocument* doc = nullptr;
    EXPECT_TRUE(table_.NewDocument(doc));
    doc->OpticDescription = "8 inch f/6";
    doc->OpticDate = "Mar 5, 2001";
    doc->OpticOperator = "A. Tester";
    doc->OpticComments = "two\r\nlines";
    table_.ActiveDocIndex = doc->ovDocIndex;
    return *doc;
  }

  GeneralSettings settings_ = DefaultDocumentSettings();
  DocumentTable table_{settings_};
};

TEST_F(UserDataTest, ShowsTheActiveDocumentsTextsElseTheDefaults) {
  EXPECT_EQ(ReadUserData(settings_, table_),
            (UserDataControls{"default mirror", "Jan 1, 2001", "D. Fault", "none", false}));
  OpenDocument();
  settings_.UserDataDefaults.SetAsDefault = true;
  EXPECT_EQ(ReadUserData(settings_, table_),
            (UserDataControls{"8 inch f/6", "Mar 5, 2001", "A. Tester", "two\r\nlines", true}));
}

TEST_F(UserDataTest, OkMarksTheDocumentChangedOnlyForAChangedText) {
  clsDocument& doc = OpenDocument();
  UserDataControls c = ReadUserData(settings_, table_);
  StoreUserData(c, settings_, table_);
  EXPECT_FALSE(doc.DocDirty);

  c.Operator = "B. Tester";
  StoreUserData(c, settings_, table_);
  EXPECT_TRUE(doc.DocDirty);
  EXPECT_EQ(doc.OpticOperator, "B. Tester");
  EXPECT_EQ(doc.OpticDescription, "8 inch f/6");
  EXPECT_EQ(settings_.UserDataDefaults.Operator, "D. Fault");  // not the defaults yet
}

TEST_F(UserDataTest, SetAsDefaultMakesTheTextsTheDefaultsWithOrWithoutADocument) {
  UserDataControls c{"blank", "Feb 2, 2002", "Nobody", "x\r\ny", true};
  StoreUserData(c, settings_, table_);
  EXPECT_EQ(settings_.UserDataDefaults,
            (UserDataDefaultSettings{true, "blank", "Feb 2, 2002", "Nobody", "x\r\ny"}));

  clsDocument& doc = OpenDocument();
  c = ReadUserData(settings_, table_);
  StoreUserData(c, settings_, table_);
  EXPECT_EQ(settings_.UserDataDefaults.Description, "8 inch f/6");
  EXPECT_FALSE(doc.DocDirty);
  clsDocument* next = nullptr;
  ASSERT_TRUE(table_.NewDocument(next));
  EXPECT_EQ(next->OpticComments, "two\r\nlines");  // new documents take them
}

}  // namespace
}  // namespace orvale::testing
