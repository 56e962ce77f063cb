#include <gtest/gtest.h>

#include "DocumentModelTestSupport.h"
#include "app/document/DocumentTable.h"
#include "app/document/clsDocument.h"
#include "platform/ui/MessageService.h"

namespace orvale::testing {
namespace {

class DocumentTableTest : public ::testing::Test {
 protected:
  GeneralSettings settings_ = DefaultDocumentSettings();
  RecordingHost host_;
  DocumentTable table_{settings_, &host_};
  ScriptedMessageService messages_;
  ScopedMessageService installed_{messages_};
  FakeSaveService saver_;
  ScopedDocumentSaveService savingInstalled_{saver_};
};

TEST_F(DocumentTableTest, NewDocumentsTakeTheLowestFreeSlots) {
  clsDocument* first = nullptr;
  clsDocument* second = nullptr;
  ASSERT_TRUE(table_.NewDocument(first));
  ASSERT_TRUE(table_.NewDocument(second));
  EXPECT_EQ(first->ovDocIndex, 1);
  EXPECT_EQ(second->ovDocIndex, 2);
  EXPECT_EQ(table_.NumDocuments, 2);
  EXPECT_TRUE(table_.DocumentInUse[1]);
  EXPECT_TRUE(table_.DocumentInUse[2]);
  EXPECT_FALSE(table_.DocumentInUse[0]);
  EXPECT_EQ(table_.Documents[2].get(), second);
}

TEST_F(DocumentTableTest, TheHundredAndFirstDocumentIsRefused) {
  for (int i = 1; i <= DocumentTable::kMaxDocuments; ++i) {
    clsDocument* doc = nullptr;
    ASSERT_TRUE(table_.NewDocument(doc)) << i;
  }
  EXPECT_TRUE(messages_.Messages().empty());
  clsDocument* refused = reinterpret_cast<clsDocument*>(1);
  EXPECT_FALSE(table_.NewDocument(refused));
  EXPECT_EQ(refused, nullptr);
  EXPECT_EQ(table_.NumDocuments, 100);
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].text, "Too many open documents");
  EXPECT_EQ(messages_.Messages()[0].title, "Error");
  EXPECT_EQ(messages_.Messages()[0].flags, mb::kOk);
}

TEST_F(DocumentTableTest, AClosedSlotIsReusedByTheNextDocument) {
  clsDocument* docs[3] = {};
  for (auto& doc : docs) ASSERT_TRUE(table_.NewDocument(doc));
  std::int16_t cancel = 0;
  table_.CloseDocument(docs[1], true, cancel);
  EXPECT_EQ(docs[1], nullptr);
  EXPECT_FALSE(table_.DocumentInUse[2]);
  EXPECT_EQ(table_.Documents[2], nullptr);
  EXPECT_EQ(table_.NumDocuments, 2);

  clsDocument* again = nullptr;
  ASSERT_TRUE(table_.NewDocument(again));
  EXPECT_EQ(again->ovDocIndex, 2);
  EXPECT_EQ(table_.NumDocuments, 3);
}

TEST_F(DocumentTableTest, AHandleFindsItsDocumentUntilItIsClosedEvenWhenTheSlotIsReused) {
  clsDocument* first = nullptr;
  ASSERT_TRUE(table_.NewDocument(first));
  const DocumentRef ref = table_.RefOf(*first);
  EXPECT_EQ(ref.Slot, 1);
  EXPECT_EQ(table_.Find(ref), first);

  std::int16_t cancel = 0;
  table_.CloseDocument(first, true, cancel);
  EXPECT_EQ(table_.Find(ref), nullptr);

  clsDocument* reused = nullptr;
  ASSERT_TRUE(table_.NewDocument(reused));
  ASSERT_EQ(reused->ovDocIndex, 1);
  EXPECT_EQ(table_.Find(ref), nullptr);
  EXPECT_NE(table_.RefOf(*reused), ref);
  EXPECT_EQ(table_.Find(table_.RefOf(*reused)), reused);

  EXPECT_EQ(table_.Find({}), nullptr);
  EXPECT_EQ(table_.Find({0, ref.Serial}), nullptr);
  EXPECT_EQ(table_.Find({101, 1}), nullptr);
  clsDocument outside(settings_, &host_, nullptr);
  EXPECT_EQ(table_.RefOf(outside), DocumentRef{});
}

TEST_F(DocumentTableTest, AFullTableTakesANewDocumentAfterAClose) {
  clsDocument* seventh = nullptr;
  for (int i = 1; i <= DocumentTable::kMaxDocuments; ++i) {
    clsDocument* doc = nullptr;
    ASSERT_TRUE(table_.NewDocument(doc));
    if (i == 7) seventh = doc;
  }
  std::int16_t cancel = 0;
  table_.CloseDocument(seventh, true, cancel);
  clsDocument* doc = nullptr;
  ASSERT_TRUE(table_.NewDocument(doc));
  EXPECT_EQ(doc->ovDocIndex, 7);
  EXPECT_EQ(table_.NumDocuments, 100);
}

TEST_F(DocumentTableTest, ActiveDocumentFollowsTheIndexAndEndsWithAnyDocument) {
  clsDocument* a = nullptr;
  clsDocument* b = nullptr;
  ASSERT_TRUE(table_.NewDocument(a));
  ASSERT_TRUE(table_.NewDocument(b));
  EXPECT_EQ(table_.ActiveDocument(), nullptr);
  table_.ActiveDocIndex = 2;
  EXPECT_EQ(table_.ActiveDocument(), b);
  // Destroying any document leaves no active one, also when it was not the active one.
  std::int16_t cancel = 0;
  table_.CloseDocument(a, true, cancel);
  EXPECT_EQ(table_.ActiveDocIndex, 0);
  table_.ActiveDocIndex = 1;  // a freed slot is never the active document
  EXPECT_EQ(table_.ActiveDocument(), nullptr);
}

TEST_F(DocumentTableTest, ClosingTheLastDocumentRefreshesTheMainWindowOnce) {
  clsDocument* a = nullptr;
  clsDocument* b = nullptr;
  ASSERT_TRUE(table_.NewDocument(a));
  ASSERT_TRUE(table_.NewDocument(b));
  std::int16_t cancel = 0;
  table_.CloseDocument(a, true, cancel);
  EXPECT_EQ(host_.statusBarRefreshes, 0);
  table_.CloseDocument(b, true, cancel);
  EXPECT_EQ(table_.NumDocuments, 0);
  EXPECT_EQ(host_.removedSlots, (std::vector<std::int32_t>{1, 2}));
  EXPECT_EQ(host_.layoutSaves, 1);  // "Hog Windows" is on
  EXPECT_EQ(host_.statusBarRefreshes, 1);
  EXPECT_EQ(host_.menuCalls, std::vector<bool>{false});
  EXPECT_EQ(host_.toolBarCalls, std::vector<bool>{false});
  EXPECT_EQ(host_.gridDataRefreshes, 1);
}

TEST_F(DocumentTableTest, ClosingReleasesTheViews) {
  clsDocument* doc = nullptr;
  ASSERT_TRUE(table_.NewDocument(doc));
  ASSERT_TRUE(doc->CreateView(1));
  ASSERT_TRUE(doc->CreateView(2));
  EXPECT_TRUE(doc->ImageViewExist);
  EXPECT_TRUE(doc->OutputViewsExist);
  std::int16_t cancel = 0;
  table_.CloseDocument(doc, true, cancel);
  EXPECT_EQ(doc, nullptr);
  EXPECT_EQ(table_.NumDocuments, 0);
}

TEST_F(DocumentTableTest, ADocumentOutsideTheTableIsNotClosed) {
  clsDocument stray(settings_);
  clsDocument* ref = &stray;
  std::int16_t cancel = 0;
  table_.CloseDocument(ref, false, cancel);
  EXPECT_EQ(ref, &stray);
  EXPECT_TRUE(host_.removedSlots.empty());
}

// The save-changes prompt on close: every road and what becomes of the close.
struct ClosePromptCase {
  const char* name;
  bool docDirty;
  std::string documentFile;  // DocumentFileName
  std::string documentPath;
  bool outputViews;
  bool imageFileExist;
  int answer;          // idbutton, 0: no prompt expected
  bool saveSucceeds;
  std::string expectedPrompt;
  std::string expectedSave;  // "" when nothing is saved
  bool staysOpen;
};

class ClosePromptTest : public DocumentTableTest,
                        public ::testing::WithParamInterface<ClosePromptCase> {};

TEST_P(ClosePromptTest, AnswersAndSavesDecideTheClose) {
  const ClosePromptCase& c = GetParam();
  clsDocument* doc = nullptr;
  ASSERT_TRUE(table_.NewDocument(doc));
  doc->ImageFileName = "scan.jpg";
  doc->ImageFileExist = c.imageFileExist;
  doc->DocumentFileName = c.documentFile;
  doc->DocumentFilePath = c.documentPath;
  if (c.outputViews) {
    ASSERT_TRUE(doc->CreateView(2));
  }
  doc->DocDirty = c.docDirty;
  doc->BMPDirty = false;
  saver_.result = c.saveSucceeds;
  if (c.answer != 0) {
    messages_.QueueAnswer(c.answer);
  }

  std::int16_t cancel = 0;
  table_.CloseDocument(doc, false, cancel);

  if (c.answer == 0) {
    EXPECT_TRUE(messages_.Messages().empty());
  } else {
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(messages_.Messages()[0].text, c.expectedPrompt);
    EXPECT_EQ(messages_.Messages()[0].title, "Orvale");
    EXPECT_EQ(messages_.Messages()[0].flags, mb::kYesNoCancel | mb::kIconQuestion);
  }
  if (c.expectedSave.empty()) {
    EXPECT_TRUE(saver_.calls.empty());
  } else {
    EXPECT_EQ(saver_.calls, std::vector<std::string>{c.expectedSave});
  }
  EXPECT_EQ(cancel, c.staysOpen ? 1 : 0);
  EXPECT_EQ(doc != nullptr, c.staysOpen);
  EXPECT_EQ(table_.NumDocuments, c.staysOpen ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ClosePromptTest,
    ::testing::Values(
        ClosePromptCase{"Unchanged", false, "", "", false, true, 0, true, "", "", false},
        ClosePromptCase{"No", true, "m.ovd", "/data", false, true, idbutton::kNo, true,
                        "Save changes to /data/m.ovd ?", "", false},
        ClosePromptCase{"Cancel", true, "m.ovd", "/data", false, true, idbutton::kCancel, true,
                        "Save changes to /data/m.ovd ?", "", true},
        ClosePromptCase{"YesSaves", true, "m.ovd", "/data", false, true, idbutton::kYes, true,
                        "Save changes to /data/m.ovd ?", "SaveFile /data/m.ovd", false},
        ClosePromptCase{"YesSaveFails", true, "m.ovd", "/data", false, true, idbutton::kYes,
                        false, "Save changes to /data/m.ovd ?", "SaveFile /data/m.ovd", true},
        ClosePromptCase{"NoFolderIsTheCurrentFolder", true, "m.ovd", "", false, true,
                        idbutton::kYes, true, "Save changes to m.ovd ?", "SaveFile m.ovd", false},
        ClosePromptCase{"NewAnalysedDocument", true, "", "", true, true, idbutton::kYes, true,
                        "Save changes to scan.ovd ?", "SaveFileAs document", false},
        ClosePromptCase{"SaveAsCancelled", true, "", "", true, true, idbutton::kYes, false,
                        "Save changes to scan.ovd ?", "SaveFileAs document", true},
        ClosePromptCase{"ImageOnlyGoesThroughSaveAs", true, "", "", false, true, idbutton::kYes,
                        true, "Save changes to scan.jpg ?", "SaveFileAs document", false},
        ClosePromptCase{"ImageOnlySaveAsCancelled", true, "", "", false, true, idbutton::kYes,
                        false, "Save changes to scan.jpg ?", "SaveFileAs document", true},
        ClosePromptCase{"NoImageFileSavesAsBitmap", true, "", "", false, false, idbutton::kYes,
                        true, "Save changes to scan.jpg ?", "SaveFileAs bitmap", false}),
    [](const ::testing::TestParamInfo<ClosePromptCase>& info) { return info.param.name; });

TEST_F(DocumentTableTest, WithoutASaveServiceAYesKeepsTheDocumentOpen) {
  SetDocumentSaveService(nullptr);
  clsDocument* doc = nullptr;
  ASSERT_TRUE(table_.NewDocument(doc));
  doc->DocumentFileName = "m.ovd";
  doc->BMPDirty = true;
  messages_.QueueAnswer(idbutton::kYes);
  std::int16_t cancel = 0;
  table_.CloseDocument(doc, false, cancel);
  EXPECT_EQ(cancel, 1);
  EXPECT_NE(doc, nullptr);
  SetDocumentSaveService(&saver_);
}

TEST_F(DocumentTableTest, ForcedCloseNeverAsks) {
  clsDocument* doc = nullptr;
  ASSERT_TRUE(table_.NewDocument(doc));
  doc->DocDirty = true;
  std::int16_t cancel = 0;
  table_.CloseDocument(doc, true, cancel);
  EXPECT_TRUE(messages_.Messages().empty());
  EXPECT_EQ(doc, nullptr);
}

}  // namespace
}  // namespace orvale::testing
