#include "app/document/GrabCommand.h"

#include <gtest/gtest.h>

#include "app/document/DocumentTable.h"
#include "app/document/clsDocument.h"
#include "platform/ui/MessageService.h"
#include "tests/app/document/DocumentModelTestSupport.h"

namespace orvale {
namespace {

class GrabCommandTest : public ::testing::Test {
 protected:
  // A grab that puts a 4 x 3 frame of `value` into the document, or fails.
  DocumentGrab Grab(bool succeeds, std::uint8_t value = 200) {
    return [this, succeeds, value](clsDocument& doc) {
      ++grabs_;
      if (!succeeds) return false;
      return doc.SetImageData(std::vector<std::uint8_t>(12, value), 4, 3);
    };
  }

  GeneralSettings settings_ = testing::DefaultDocumentSettings();
  testing::RecordingHost host_;
  DocumentTable table_{settings_, &host_};
  ScriptedMessageService messages_;
  ScopedMessageService installed_{messages_};
  std::int32_t counter_ = 0;
  int grabs_ = 0;
};

TEST_F(GrabCommandTest, AFailedGrabLeavesTheActiveDocumentOpenAndUnchanged) {
  clsDocument* doc = nullptr;
  ASSERT_TRUE(table_.NewDocument(doc));
  ASSERT_TRUE(doc->SetImageData(std::vector<std::uint8_t>(6, 7), 3, 2));
  doc->Fringes.AddOrder(1);
  table_.ActiveDocIndex = doc->ovDocIndex;

  EXPECT_EQ(GrabImage(table_, counter_, false, Grab(false)), nullptr);

  EXPECT_EQ(grabs_, 1);
  ASSERT_EQ(table_.NumDocuments, 1);
  EXPECT_EQ(table_.ActiveDocument(), doc);
  EXPECT_EQ(doc->ImageData().size(), 6u);
  EXPECT_EQ(doc->Fringes.NumFringes(), 1);
  EXPECT_FALSE(doc->BMPDirty);
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(GrabCommandTest, AGrabIntoTheActiveDocumentReplacesItsImage) {
  clsDocument* doc = nullptr;
  ASSERT_TRUE(table_.NewDocument(doc));
  doc->BlankImage = true;
  table_.ActiveDocIndex = doc->ovDocIndex;

  EXPECT_EQ(GrabImage(table_, counter_, false, Grab(true)), doc);

  EXPECT_EQ(doc->ImageData().size(), 12u);
  EXPECT_TRUE(doc->BMPDirty);
  EXPECT_FALSE(doc->BlankImage);
  EXPECT_EQ(host_.statusBarRefreshes, 1);
  EXPECT_EQ(counter_, 0);
}

TEST_F(GrabCommandTest, ANewDocumentMadeForAFailedGrabIsClosedWithoutAsking) {
  EXPECT_EQ(GrabImage(table_, counter_, true, Grab(false)), nullptr);
  EXPECT_EQ(table_.NumDocuments, 0);
  EXPECT_EQ(counter_, 0);
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(GrabCommandTest, GrabsIntoNewDocumentsAreNumbered) {
  clsDocument* first = GrabImage(table_, counter_, true, Grab(true));
  clsDocument* second = GrabImage(table_, counter_, true, Grab(true));
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(first->ImageFileName, "Image1");
  EXPECT_EQ(second->ImageFileName, "Image2");
  EXPECT_TRUE(second->ImageViewExist);
  EXPECT_TRUE(second->BMPDirty);
  EXPECT_EQ(table_.NumDocuments, 2);
}

TEST_F(GrabCommandTest, WithoutAnActiveDocumentTheFrameGoesIntoANewOne) {
  table_.ActiveDocIndex = 0;
  ASSERT_NE(GrabImage(table_, counter_, false, Grab(true)), nullptr);
  EXPECT_EQ(table_.NumDocuments, 1);
  EXPECT_EQ(counter_, 1);
}

TEST_F(GrabCommandTest, AGrabIntoAGivenDocumentLeavesTheActiveOneAlone) {
  clsDocument* active = nullptr;
  clsDocument* target = nullptr;
  ASSERT_TRUE(table_.NewDocument(active));
  ASSERT_TRUE(table_.NewDocument(target));
  ASSERT_TRUE(active->SetImageData(std::vector<std::uint8_t>(6, 7), 3, 2));
  table_.ActiveDocIndex = active->ovDocIndex;

  EXPECT_FALSE(GrabIntoDocument(*target, Grab(false)));
  EXPECT_FALSE(target->BMPDirty);
  EXPECT_EQ(table_.NumDocuments, 2);

  EXPECT_TRUE(GrabIntoDocument(*target, Grab(true)));
  EXPECT_EQ(target->ImageData().size(), 12u);
  EXPECT_TRUE(target->BMPDirty);
  EXPECT_EQ(active->ImageData().size(), 6u);
  EXPECT_FALSE(active->BMPDirty);
  EXPECT_EQ(table_.ActiveDocument(), active);
  EXPECT_EQ(counter_, 0);
}

}  // namespace
}  // namespace orvale
