#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <functional>
#include <memory>

#include "DocumentFilesTestSupport.h"
#include "app/document/SaveDialog.h"
#include "platform/runtime/TextOutput.h"

namespace orvale {
namespace {

using Strings = std::vector<std::string>;

// Answers every message through a callback, so that a test can act between a failure
// and the user's answer.
class CallbackMessages final : public MessageService {
 public:
  explicit CallbackMessages(std::function<int(const std::string&)> answer) : answer_(answer) {}
  int MessageBox(WindowHandle, const std::string& text, const std::string&,
                 std::uint32_t) override {
    texts.push_back(text);
    return answer_(text);
  }
  Strings texts;

 private:
  std::function<int(const std::string&)> answer_;
};

// Files may grow to `bytes` only while it lives.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    Set(bytes);
  }
  ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &saved_); }
  void Set(rlim_t bytes) {
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  void Lift() { ::setrlimit(RLIMIT_FSIZE, &saved_); }

 private:
  rlimit saved_{};
};

class SaveCommandsTest : public testing::DocumentFilesTest {
 protected:
  // Names of the files in the scratch folder.
  Strings Files() const {
    Strings names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(SaveCommandsTest, SavesADocumentFileWithItsCompanionBitmap) {
  clsDocument& doc = NewImageDocument(40, 30);
  ASSERT_TRUE(doc.CreateView(2));
  doc.DocDirty = doc.BMPDirty = true;
  ASSERT_TRUE(SaveFile(File("mirror.ovd"), doc));
  EXPECT_EQ(Files(), (Strings{"mirror.bmp", "mirror.ovd"}));
  EXPECT_EQ(ReadText("mirror.ovd"), DocumentText(doc));
  EXPECT_EQ(doc.DocumentFileName, "mirror.ovd");
  EXPECT_EQ(doc.DocumentFilePath, dir_.string());
  EXPECT_EQ(doc.ImageFileName, "mirror.bmp");
  EXPECT_FALSE(doc.DocDirty);
  EXPECT_FALSE(doc.BMPDirty);
  EXPECT_EQ(doc.Views().Caption(viewtype::kImage), "mirror.ovd");
  EXPECT_EQ(doc.Views().Caption(viewtype::kSurfacePlot), "Surface Plot - mirror.ovd");
  EXPECT_EQ(doc.Views().Caption(viewtype::kGridResults), "Grid Results - mirror.ovd");
}

TEST_F(SaveCommandsTest, TheBitmapIsWrittenWhenChangedOrMissingOnly) {
  clsDocument& doc = NewImageDocument(40, 30);
  ASSERT_TRUE(SaveFile(File("mirror.ovd"), doc));
  WriteText("mirror.bmp", "kept");  // stands for the bitmap written before
  ASSERT_TRUE(SaveFile(File("mirror.ovd"), doc));
  EXPECT_EQ(ReadText("mirror.bmp"), "kept");

  // Saved into another folder the document takes its image along.
  std::filesystem::create_directory(Path("elsewhere"));
  ASSERT_TRUE(SaveFile(File("elsewhere/copy.ovd"), doc));
  EXPECT_EQ(testing::ReadBytes(Path("elsewhere/copy.bmp")).size(), 1078u + 40 * 30);
  EXPECT_EQ(doc.ImageFileName, "copy.bmp");

  doc.BMPDirty = true;
  ASSERT_TRUE(SaveFile(File("mirror.ovd"), doc));
  EXPECT_NE(ReadText("mirror.bmp"), "kept");
}

TEST_F(SaveCommandsTest, SavesTheImageAloneAsABitmap) {
  clsDocument& doc = NewImageDocument(40, 30);
  ASSERT_TRUE(SaveFile(File("Copy.BMP"), doc));
  EXPECT_EQ(Files(), Strings{"Copy.BMP"});
  EXPECT_EQ(doc.ImageFileName, "Copy.BMP");
  EXPECT_TRUE(doc.DocumentFileName.empty());
  EXPECT_EQ(doc.Views().Caption(viewtype::kImage), "Copy.BMP");
}

TEST_F(SaveCommandsTest, RefusesUnknownTypesAndBlankImages) {
  clsDocument& doc = NewImageDocument();
  EXPECT_FALSE(SaveFile(File("notes.txt"), doc));
  doc.LoadBlankImage(40, 30);
  EXPECT_FALSE(SaveFile(File("blank.bmp"), doc));
  ASSERT_EQ(messages_.Messages().size(), 2u);
  EXPECT_EQ(messages_.Messages()[0].text,
            "Unknown file type.\nCould not save " + File("notes.txt"));
  EXPECT_EQ(messages_.Messages()[0].title, "Save File As");
  EXPECT_EQ(messages_.Messages()[1].text, "Cannot save a blank image");
  EXPECT_EQ(messages_.Messages()[1].title, "Warning");
  EXPECT_TRUE(Files().empty());

  // A blank document is saved without a bitmap.
  ASSERT_TRUE(SaveFile(File("blank.ovd"), doc));
  EXPECT_EQ(Files(), Strings{"blank.ovd"});
  EXPECT_NE(ReadText("blank.ovd").find("HasImageFile, False"), std::string::npos);
}

TEST_F(SaveCommandsTest, AFailedWriteKeepsThePreviousFileAndTheDirtyFlag) {
  clsDocument& doc = NewImageDocument(40, 30);
  ASSERT_TRUE(SaveFile(File("mirror.ovd"), doc));
  const std::string before = ReadText("mirror.ovd");
  doc.RMS = 0.125;
  doc.DocDirty = true;

  for (const int answer : {idbutton::kAbort, idbutton::kIgnore}) {
    SCOPED_TRACE(answer);
    FileSizeLimit limit(100);
    CallbackMessages messages([&](const std::string&) { return answer; });
    ScopedMessageService installed(messages);
    EXPECT_FALSE(SaveFile(File("mirror.ovd"), doc));
    limit.Lift();
    EXPECT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(ReadText("mirror.ovd"), before);
    EXPECT_TRUE(doc.DocDirty);
    EXPECT_EQ(Files(), (Strings{"mirror.bmp", "mirror.ovd"}));  // no temporary file left
  }

  // Retry after the cause is gone writes the file.
  FileSizeLimit limit(100);
  CallbackMessages messages([&](const std::string&) {
    limit.Lift();
    return idbutton::kRetry;
  });
  ScopedMessageService installed(messages);
  EXPECT_TRUE(SaveFile(File("mirror.ovd"), doc));
  EXPECT_EQ(ReadText("mirror.ovd"), DocumentText(doc));
  EXPECT_FALSE(doc.DocDirty);
}

// The text names its bitmap: a save whose bitmap cannot be written or put in place
// changes neither file, and the document keeps its name and its changes.
TEST_F(SaveCommandsTest, ASaveWhoseBitmapFailsChangesNeitherFileNorTheDocument) {
  struct Case {
    const char* name;
    std::function<std::unique_ptr<AtomicWriteFailure>()> fault;
  };
  const auto none = [] { return std::unique_ptr<AtomicWriteFailure>(); };
  std::uint64_t textSize = 0;
  const Case cases[] = {
      {"a read-only bitmap",
       [&] {
         std::filesystem::permissions(Path("doc.bmp"), std::filesystem::perms::owner_read |
                                                           std::filesystem::perms::group_read |
                                                           std::filesystem::perms::others_read);
         return none();
       }},
      // Room for the whole text, not for the bitmap, whichever is written first.
      {"a disk that fills while the bitmap is written",
       [&] { return std::make_unique<AtomicWriteFailure>(AtomicWriteFailure::At::Write, textSize + 1000); }},
      {"a bitmap that cannot be put in place",
       [] { return std::make_unique<AtomicWriteFailure>(AtomicWriteFailure::At::Commit); }},
      {"a disk too full for a hard-linked bitmap written in place",
       [&] {
         std::filesystem::create_hard_link(Path("doc.bmp"), Path("other-name.bmp"));
         return std::make_unique<AtomicWriteFailure>(AtomicWriteFailure::At::Reserve);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) std::filesystem::remove(entry.path());
    clsDocument& old = NewImageDocument(20, 10);
    ASSERT_TRUE(SaveFile(File("doc.ovd"), old));
    clsDocument& doc = NewImageDocument(200, 150);
    ASSERT_TRUE(SaveFile(File("first.ovd"), doc));
    textSize = DocumentText(doc).size();
    const std::string text = ReadText("doc.ovd");
    const auto bitmap = testing::ReadBytes(Path("doc.bmp"));
    doc.RMS = 0.125;
    doc.DocDirty = doc.BMPDirty = true;
    messages_.Clear();

    auto fault = c.fault();
    const Strings before = Files();
    EXPECT_FALSE(SaveFile(File("doc.ovd"), doc));
    fault.reset();
    EXPECT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(ReadText("doc.ovd"), text);
    EXPECT_EQ(testing::ReadBytes(Path("doc.bmp")), bitmap);
    EXPECT_EQ(Files(), before);  // no temporary file left
    EXPECT_TRUE(doc.DocDirty);
    EXPECT_TRUE(doc.BMPDirty);
    EXPECT_EQ(doc.DocumentFileName, "first.ovd");
    EXPECT_EQ(doc.ImageFileName, "first.bmp");
    EXPECT_EQ(doc.Views().Caption(viewtype::kImage), "first.ovd");

    // Once the fault is gone the same save writes both.
    std::filesystem::permissions(Path("doc.bmp"), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    ASSERT_TRUE(SaveFile(File("doc.ovd"), doc));
    EXPECT_EQ(ReadText("doc.ovd"), DocumentText(doc));
    EXPECT_EQ(testing::ReadBytes(Path("doc.bmp")), testing::ReadBytes(Path("first.bmp")));  // the same image
    EXPECT_FALSE(doc.DocDirty);
    EXPECT_EQ(doc.DocumentFileName, "doc.ovd");
    EXPECT_EQ(doc.ImageFileName, "doc.bmp");
  }
}

TEST_F(SaveCommandsTest, ASaveIntoAMissingFolderFailsWithoutChangingTheNames) {
  clsDocument& doc = NewImageDocument();
  doc.DocDirty = true;
  EXPECT_FALSE(SaveFile(File("missing/mirror.ovd"), doc));
  EXPECT_TRUE(doc.DocDirty);
  EXPECT_TRUE(doc.DocumentFileName.empty());
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].title, "Error");
}

TEST_F(SaveCommandsTest, SaveAsProposesADocumentForAnalysisData) {
  clsDocument& doc = NewImageDocument(40, 30);
  doc.ImageFileName = "scan.jpg";
  doc.Aperture.SetShapeType(clsShape::kCircle);
  settings_.SaveFileDir = "/start";
  settings_.SaveFileFilter = 1;
  dialogs_.QueueFile(File("scan.ovd"), 2);
  ASSERT_TRUE(SaveFileAs(doc, false));
  ASSERT_EQ(dialogs_.Requests().size(), 1u);
  const FileDialogRequest& r = dialogs_.Requests()[0];
  EXPECT_EQ(r.Filter, "Bitmap Files (*.bmp)|*.bmp|Orvale Documents (*.ovd)|*.ovd");
  EXPECT_EQ(r.FileName, "scan.ovd");
  EXPECT_EQ(r.FilterIndex, 2);
  EXPECT_EQ(r.InitDir, "/start");
  EXPECT_EQ(r.HelpContext, 1104);
  EXPECT_EQ(r.Flags, 0x80804u);
  EXPECT_EQ(Files(), (Strings{"scan.bmp", "scan.ovd"}));  // the picture was no bitmap
  EXPECT_EQ(settings_.SaveFileDir, dir_.string());
  EXPECT_EQ(settings_.SaveFileFilter, 2);

  // The next dialog starts in the document's folder with its name.
  dialogs_.QueueCancel();
  EXPECT_FALSE(SaveFileAs(doc, false));
  EXPECT_EQ(dialogs_.Requests()[1].FileName, "scan.ovd");
  EXPECT_EQ(dialogs_.Requests()[1].InitDir, dir_.string());
}

TEST_F(SaveCommandsTest, SaveAsProposesABitmapForAnImageAlone) {
  clsDocument& doc = NewImageDocument(40, 30);
  doc.ImageFileName = "scan";
  dialogs_.QueueCancel();
  dialogs_.QueueCancel();
  EXPECT_FALSE(SaveFileAs(doc, false));
  EXPECT_FALSE(SaveFileAs(doc, true));
  for (const auto& r : dialogs_.Requests()) {
    EXPECT_EQ(r.FileName, "scan.bmp");
    EXPECT_EQ(r.FilterIndex, 1);
  }
  EXPECT_TRUE(Files().empty());
}

TEST_F(SaveCommandsTest, SaveAsAsksBeforeReplacingAFile) {
  clsDocument& doc = NewImageDocument(40, 30);
  WriteText("old.ovd", "old");
  dialogs_.QueueFile(File("old.ovd"));
  messages_.QueueAnswer(idbutton::kNo);
  EXPECT_FALSE(SaveFileAs(doc, false));
  EXPECT_EQ(ReadText("old.ovd"), "old");
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].text,
            File("old.ovd") + " already exists.\nDo you want to replace it?");
  EXPECT_EQ(messages_.Messages()[0].title, "Save File As");

  dialogs_.QueueFile(File("old.ovd"));
  messages_.QueueAnswer(idbutton::kYes);
  EXPECT_TRUE(SaveFileAs(doc, false));
  EXPECT_EQ(ReadText("old.ovd"), DocumentText(doc));
}

TEST_F(SaveCommandsTest, ClosingKeepsADocumentWhoseSaveDidNotHappen) {
  clsDocument* doc = &NewImageDocument(40, 30);
  doc->DocumentFileName = "mirror.ovd";
  doc->DocumentFilePath = File("missing");
  doc->DocDirty = true;
  messages_.QueueAnswer(idbutton::kYes);    // save changes?
  messages_.QueueAnswer(idbutton::kAbort);  // the folder is missing
  std::int16_t cancel = 0;
  table_.CloseDocument(doc, false, cancel);
  EXPECT_EQ(cancel, 1);
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(table_.NumDocuments, 1);

  doc->DocumentFilePath = dir_.string();
  messages_.QueueAnswer(idbutton::kYes);
  cancel = 0;
  table_.CloseDocument(doc, false, cancel);
  EXPECT_EQ(cancel, 0);
  EXPECT_EQ(table_.NumDocuments, 0);
  EXPECT_EQ(Files(), (Strings{"mirror.bmp", "mirror.ovd"}));
}

}  // namespace
}  // namespace orvale
