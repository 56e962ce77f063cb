// The wrapped document: Load, Grab, Save and ExportMap, the handle that never reaches a
// closed or reused document, and what runs around a call.
#include <gtest/gtest.h>

#include <QImage>
#include <sys/stat.h>
#include <cerrno>
#include <fstream>

#include "AutomationTestSupport.h"
#include "app/automation/AutomationCall.h"
#include "app/automation/OrvaleDocTypes.h"
#include "app/document/FilePaths.h"
#include "tests/support/FakeGrabberPlugin.h"

namespace orvale::testing {
namespace {

using Strings = std::vector<std::string>;

class OrvaleDocLifecycleTest : public AutomationTest {
 protected:
  void SelectFakeGrabber() { grabber_.Grabber = GrabberPluginPtr(new FakeGrabberPlugin()); }
  // A document file of a 40 x 30 image with a circular aperture, saved by a script.
  std::string DocumentFile(const std::string& name) {
    OrvaleDoc writer(context_);
    EXPECT_TRUE(writer.Load(Bitmap("for-" + GetFileTitle(name, true) + ".bmp")));
    EXPECT_TRUE(writer.SetAperture(Text("circle"), CircleThrough(20, 15, 10)));
    EXPECT_TRUE(writer.Save(Text(Path(name).string())));
    CloseAll();
    return Path(name).string();
  }
  void CloseAll() {
    for (std::int32_t slot = 1; slot <= DocumentTable::kMaxDocuments; ++slot)
      if (table_.DocumentInUse[slot]) Close(table_.Documents[slot].get());
  }
  void Close(clsDocument* doc) {
    std::int16_t cancel = 0;
    table_.CloseDocument(doc, true, cancel);
  }
};

TEST_F(OrvaleDocLifecycleTest, LoadTakesAnExistingPictureOrDocumentAtAFullPath) {
  QImage photo(32, 24, QImage::Format_Grayscale8);
  photo.fill(90);
  ASSERT_TRUE(photo.save(QString::fromStdString(Path("Photo.JPG").string()), "JPG"));
  std::ofstream(Path("scan.tif")) << "II*";
  const std::string bitmap = Bitmap("a.bmp");
  fs::create_directories(Path("folder.bmp"));

  struct Case {
    std::string path;
    bool loads;
    std::uint32_t code;  // 0: no error
    const char* text;    // the error's, or else the message shown
  };
  const std::string folderError = "Path/File access error: " + Path("folder.bmp").string();
  const Case cases[] = {
      {Path("Photo.JPG").string(), true, 0, ""},
      {Path("scan.tif").string(), false, 0, ""},
      {Path("missing.bmp").string(), false, ErrorInvalidPath, "Specified file does not exist."},
      // There, but no file: the opener says so.
      {Path("folder.bmp").string(), false, 0, folderError.c_str()},
      {Path("*.bmp").string(), false, ErrorInvalidPath, "Specified file does not exist."},
      {"*.bmp", false, ErrorInvalidPath, "A full path must be supplied."},
      {"a.bmp", false, ErrorInvalidPath, "A full path must be supplied."},
      {"", false, ErrorInvalidPath, "A full path must be supplied."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const std::int32_t before = table_.NumDocuments;
    bool loaded = false;
    const RaisedError raised = ErrorOf([&] { loaded = object_.Load(c.path); });
    EXPECT_EQ(loaded, c.loads);
    EXPECT_EQ(raised.code, c.code);
    if (c.code != 0) {
      EXPECT_EQ(raised.text, c.text);
    } else {
      EXPECT_EQ(Texts(), *c.text ? Strings{c.text} : Strings{});
    }
    EXPECT_EQ(table_.NumDocuments, before + (c.loads ? 1 : 0));
    messages_.Clear();
  }
  EXPECT_EQ(Doc().ImageFileName, "Photo.JPG");
}

TEST_F(OrvaleDocLifecycleTest, ASecondLoadWrapsTheNewDocumentAndLeavesTheFirstOpen) {
  ASSERT_TRUE(object_.Load(Bitmap("first.bmp")));
  clsDocument* first = object_.Document();
  ASSERT_TRUE(object_.Load(Bitmap("second.bmp", 20, 10)));
  EXPECT_EQ(table_.NumDocuments, 2);
  EXPECT_EQ(Doc().ImageFileName, "second.bmp");
  EXPECT_TRUE(object_.Stretch(Real(2.0)));
  std::int32_t width = 0, height = 0;
  first->GetImageSize(width, height);
  EXPECT_EQ(width, 40);  // untouched
  Doc().GetImageSize(width, height);
  EXPECT_EQ(width, 40);
}

TEST_F(OrvaleDocLifecycleTest, AFailedLoadLeavesNoDocumentBehindAndKeepsTheWrappedOne) {
  ASSERT_TRUE(object_.Load(Bitmap("kept.bmp")));
  WriteText("corrupt.ovd", "ImageXSize,  40 \r\nImageYSize,  30 \r\nAperture\r\nShapeType, 9 \r\n");
  WriteText("nosize.ovd", "HasImageFile, True\r\nImageXSize,  0 \r\n");
  for (const char* name : {"corrupt.ovd", "nosize.ovd"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(object_.Load(Path(name).string()));
    EXPECT_EQ(table_.NumDocuments, 1);
    EXPECT_EQ(Doc().ImageFileName, "kept.bmp");
  }
  EXPECT_EQ(Texts(), (Strings{"Could not open file " + Path("corrupt.ovd").string(),
                              "Could not open file " + Path("nosize.ovd").string()}));
}

// Files that claim far more than they hold are refused at once, without their claim
// being read or allocated; the wrapped document stays.
TEST_F(OrvaleDocLifecycleTest, ALyingFileIsRefusedAtOnceAndKeepsTheWrappedOne) {
  ASSERT_TRUE(object_.Load(Bitmap("kept.bmp")));
  WriteText("endless.ovd", "ImageXSize,  40 \r\n" + std::string(2 << 20, ' '));
  std::ofstream(Path("screen.bmp"), std::ios::binary) << "GIF89a" << std::string("\x80\x3e\x98\x3a\x80\0\0", 7)
                                                       << std::string("\0\0\0\xff\xff\xff", 6)
                                                       << std::string("\x2c\0\0\0\0\x01\0\x01\0\0", 10)
                                                       << std::string("\x02\x02\x44\x01\0\x3b", 6);
  for (const char* name : {"endless.ovd", "screen.bmp"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(object_.Load(Path(name).string()));
    EXPECT_EQ(table_.NumDocuments, 1);
    EXPECT_EQ(Doc().ImageFileName, "kept.bmp");
  }
  EXPECT_EQ(Texts(), (Strings{"Invalid file format: line 2 is longer than 1048576 characters: " + Path("endless.ovd").string(),
                              "Could not open image file " + Path("screen.bmp").string() +
                                  "\nIts header claims 16000 x 15000 pixels, far more than its data describes."}));
}

// A FIFO beside a document, where its bitmap should be, would block a reader that
// opened it until something wrote to it: the document loads blank at once.
TEST_F(OrvaleDocLifecycleTest, ADocumentWhoseBitmapIsAFifoLoadsBlankAtOnce) {
  ASSERT_TRUE(object_.Load(Bitmap("kept.bmp")));
  clsDocument* kept = object_.Document();
  WriteText("x.ovd", "FileVersion, 100\r\nHasImageFile, True\r\nImageXSize, 640\r\nImageYSize, 480\r\n");
  ASSERT_EQ(::mkfifo(Path("x.bmp").c_str(), 0600), 0);
  ASSERT_TRUE(object_.Load(Path("x.ovd").string()));
  EXPECT_TRUE(Doc().BlankImage);
  std::int32_t width = 0, height = 0;
  Doc().GetImageSize(width, height);
  EXPECT_EQ(width, 640);
  EXPECT_EQ(height, 480);
  kept->GetImageSize(width, height);
  EXPECT_EQ(width, 40);  // untouched
  EXPECT_TRUE(messages_.Messages().empty());
  // The FIFO itself is there but no file to load, and is refused as such.
  bool loaded = true;
  const RaisedError raised = ErrorOf([&] { loaded = object_.Load(Path("x.bmp").string()); });
  EXPECT_FALSE(loaded);
  EXPECT_EQ(raised.code, 0u);
  EXPECT_EQ(Texts(), Strings{"Path/File access error: " + Path("x.bmp").string()});
  EXPECT_EQ(table_.NumDocuments, 2);
}

TEST_F(OrvaleDocLifecycleTest, ADocumentFileWithoutItsBitmapOpensBlankAtItsStoredSize) {
  const std::string file = DocumentFile("outline.ovd");
  fs::remove(Path("outline.bmp"));
  ASSERT_TRUE(object_.Load(file));
  EXPECT_TRUE(Doc().BlankImage);
  std::int32_t width = 0, height = 0;
  Doc().GetImageSize(width, height);
  EXPECT_EQ(width, 40);
  EXPECT_EQ(height, 30);
  EXPECT_EQ(Doc().Aperture.GetShapeType(), clsShape::kCircle);
}

TEST_F(OrvaleDocLifecycleTest, TheLoadThatFindsNoFreeSlotAnswersFalseAndSaysWhy) {
  const std::string bitmap = Bitmap("tiny.bmp", 4, 4);
  for (int i = 0; i < DocumentTable::kMaxDocuments; ++i) ASSERT_TRUE(object_.Load(bitmap));
  clsDocument* last = object_.Document();
  EXPECT_FALSE(object_.Load(bitmap));
  EXPECT_EQ(Texts(), Strings{"Too many open documents"});
  EXPECT_EQ(table_.NumDocuments, DocumentTable::kMaxDocuments);
  EXPECT_EQ(object_.Document(), last);

  // A grab into a new document finds no slot either.
  SelectFakeGrabber();
  OrvaleDoc grabbing(context_);
  EXPECT_FALSE(grabbing.Grab());
  EXPECT_EQ(grabbing.Document(), nullptr);
  EXPECT_EQ(imageCounter_, 0);
}

// Every member that needs a document, with the text it raises without one.
struct NeedsDocument {
  const char* text;
  std::function<void(OrvaleDoc&)> call;
};
std::vector<NeedsDocument> MembersThatNeedADocument() {
  const AutoValue one = Whole(1);
  return {
      {"Can't read aberrations until an interferogram has been loaded.",
       [=](OrvaleDoc& o) { o.Aberration(one); }},
      {"Can't perform analysis until an interferogram has been loaded.",
       [](OrvaleDoc& o) { o.Analyze(); }},
      {"Can't trace fringes until an interferogram has been loaded.",
       [=](OrvaleDoc& o) { o.AutoTrace(one, Missing()); }},
      {"Can't read fringe centers until an interferogram has been loaded.",
       [=](OrvaleDoc& o) { o.FringeCenter(one, one); }},
      {"Can't read grid analysis results until an interferogram has been loaded.",
       [=](OrvaleDoc& o) { o.GridCell(one, one); }},
      {"Can't define an aperture until an interferogram has been loaded.",
       [=](OrvaleDoc& o) { o.SetAperture(one, Numbers({})); }},
      {"Can't define an obstruction until an interferogram has been loaded.",
       [=](OrvaleDoc& o) { o.SetObstruction(one, Numbers({})); }},
      {"Can't define the a grid until an interferogram has been loaded.",
       [](OrvaleDoc& o) { o.SetGrid(0, 0, 10, 10, 1, 1, 1); }},
      {"Can't stretch until an interferogram has been loaded.", [=](OrvaleDoc& o) { o.Stretch(one); }},
      {"Can't read Zernike coefficients until an interferogram has been loaded.",
       [=](OrvaleDoc& o) { o.Zernike(one); }},
      {"Can't set zoom until an interferogram has been loaded.", [=](OrvaleDoc& o) { o.SetZoom(one); }},
      {"Can't get zoom until an interferogram has been loaded.", [](OrvaleDoc& o) { o.GetZoom(); }},
      {"Can't get window dimensions until an interferogram has been loaded.",
       [](OrvaleDoc& o) { o.GetWidth(); }},
      {"Can't get window dimensions until an interferogram has been loaded.",
       [](OrvaleDoc& o) { o.GetHeight(); }},
      {"Can't size window until an interferogram has been loaded.",
       [=](OrvaleDoc& o) { o.SizeWindow(one, one); }},
  };
}

void ExpectNoDocument(OrvaleDoc& object) {
  for (const NeedsDocument& member : MembersThatNeedADocument()) {
    const RaisedError raised = ErrorOf([&] { member.call(object); });
    EXPECT_EQ(raised.code, ErrorNoDocument) << member.text;
    EXPECT_EQ(raised.source, "OrvaleDoc");
    EXPECT_EQ(raised.text, member.text);
  }
  EXPECT_FALSE(object.Save(Missing()));
  EXPECT_FALSE(object.Save(Whole(5)));  // no error without a document
  EXPECT_FALSE(object.ExportMap(Text("/tmp/x.csv")));
}

TEST_F(OrvaleDocLifecycleTest, WithoutADocumentEachMemberSaysWhatItNeeds) { ExpectNoDocument(object_); }

TEST_F(OrvaleDocLifecycleTest, AClosedDocumentIsNeverReachedAgainNotEvenInItsReusedSlot) {
  ASSERT_TRUE(object_.Load(Bitmap("closed.bmp")));
  const std::int32_t slot = Doc().ovDocIndex;
  Close(object_.Document());  // the user closes it
  ExpectNoDocument(object_);

  OrvaleDoc other(context_);
  ASSERT_TRUE(other.Load(Bitmap("reused.bmp", 20, 10)));
  ASSERT_EQ(other.Document()->ovDocIndex, slot);
  ExpectNoDocument(object_);
  EXPECT_EQ(other.Document()->Aperture.GetShapeType(), clsShape::kNone);
  EXPECT_FALSE(other.Document()->BMPDirty);
}

TEST_F(OrvaleDocLifecycleTest, SaveAnswersWhetherTheFilesWereWritten) {
  ASSERT_TRUE(object_.Load(Bitmap("image.bmp")));
  EXPECT_EQ(ErrorOf([&] { object_.Save(Missing()); }).text,
            "Unless a document has already been saved, a path must be supplied.");
  EXPECT_EQ(ErrorOf([&] { object_.Save(Whole(12)); }).code, ErrorInvalidType);
  EXPECT_EQ(ErrorOf([&] { object_.Save(Whole(12)); }).text,
            "'Save' must be passed a file path in the form of a string.");
  EXPECT_EQ(ErrorOf([&] { object_.Save(Text("relative.ovd")); }).text, "A full path must be supplied.");

  EXPECT_FALSE(object_.Save(Text(Path("notes.txt").string())));
  EXPECT_FALSE(fs::exists(Path("notes.txt")));
  EXPECT_EQ(Texts(), Strings{"Unknown file type.\nCould not save " + Path("notes.txt").string()});

  // A write that fails leaves what was there.
  fs::create_directories(Path("taken.bmp"));
  std::ofstream(Path("taken.bmp") / "inside") << "kept";
  EXPECT_FALSE(object_.Save(Text(Path("taken.bmp").string())));
  EXPECT_EQ(ReadText("taken.bmp/inside"), "kept");

  ASSERT_TRUE(object_.Save(Text(Path("saved.ovd").string())));
  EXPECT_TRUE(fs::exists(Path("saved.bmp")));
  EXPECT_FALSE(Doc().DocDirty);
  // Where it was saved last, without a path.
  fs::remove(Path("saved.ovd"));
  EXPECT_TRUE(object_.Save(Missing()));
  EXPECT_TRUE(fs::exists(Path("saved.ovd")));

  Doc().LoadBlankImage(kNotGivenLong, kNotGivenLong);
  EXPECT_FALSE(object_.Save(Text(Path("blank.bmp").string())));
  EXPECT_FALSE(fs::exists(Path("blank.bmp")));
}

TEST_F(OrvaleDocLifecycleTest, ASaveWhoseBitmapCannotBeWrittenAnswersFalseAndChangesNeitherFile) {
  const std::string saved = DocumentFile("doc.ovd");
  const std::string text = ReadText("doc.ovd");
  const auto bitmap = ReadBytes(Path("doc.bmp"));
  fs::permissions(Path("doc.bmp"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  ASSERT_TRUE(object_.Load(Bitmap("image.bmp", 60, 50)));

  EXPECT_FALSE(object_.Save(Text(saved)));
  EXPECT_EQ(ReadText("doc.ovd"), text);
  EXPECT_EQ(ReadBytes(Path("doc.bmp")), bitmap);
  EXPECT_TRUE(Doc().DocumentFileName.empty());
  EXPECT_EQ(Doc().ImageFileName, "image.bmp");
}

TEST_F(OrvaleDocLifecycleTest, ExportMapNeedsAnAnalysisAndAFullPathAndNeverAsks) {
  clsDocument& doc = AnalysableDocument();
  EXPECT_FALSE(object_.ExportMap(Text(Path("map.csv").string())));
  EXPECT_EQ(Texts(), Strings{"There is no valid analysis to export. Analyze the interferogram first."});
  EXPECT_FALSE(fs::exists(Path("map.csv")));

  ASSERT_TRUE(object_.Analyze());
  ASSERT_TRUE(doc.AnalysisValid);
  EXPECT_EQ(ErrorOf([&] { object_.ExportMap(Text("map.csv")); }).text, "A full path must be supplied.");
  EXPECT_EQ(ErrorOf([&] { object_.ExportMap(Whole(3)); }).code, ErrorInvalidPath);
  {
    AutomationCall call;  // the server's: every dialog is cancelled
    EXPECT_FALSE(object_.ExportMap(Text("")));
  }
  EXPECT_TRUE(dialogs_.Requests().empty());

  WriteText("map.csv", "old");
  messages_.Clear();
  EXPECT_TRUE(object_.ExportMap(Text(Path("map.csv").string())));
  EXPECT_NE(ReadText("map.csv"), "old");  // replaced without a question
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(OrvaleDocLifecycleTest, GrabNeedsAGrabberAndLeavesEveryDocumentAsItWasWhenItFails) {
  EXPECT_EQ(ErrorOf([&] { object_.Grab(); }).text,
            "Failed to grab image because no frame grabber card is currently selected.");
  EXPECT_EQ(ErrorOf([&] { object_.Grab(); }).code, ErrorNoGrabber);
  EXPECT_EQ(grabs_, 0);
  SelectFakeGrabber();

  // Without a document: the new one made for the frame is closed again.
  grabSucceeds_ = false;
  EXPECT_FALSE(object_.Grab());
  EXPECT_EQ(table_.NumDocuments, 0);
  EXPECT_EQ(imageCounter_, 0);
  EXPECT_EQ(object_.Document(), nullptr);

  // A loaded document keeps its image, outline and place.
  ASSERT_TRUE(object_.Load(Bitmap("loaded.bmp")));
  ASSERT_TRUE(object_.SetAperture(Text("circle"), CircleThrough(20, 15, 10)));
  Doc().DocDirty = false;
  EXPECT_FALSE(object_.Grab());
  EXPECT_EQ(table_.NumDocuments, 1);
  EXPECT_EQ(Doc().ImageData().size(), 40u * 30u);
  EXPECT_EQ(Doc().Aperture.GetShapeType(), clsShape::kCircle);
  EXPECT_FALSE(Doc().BMPDirty);
  EXPECT_EQ(Texts(), (Strings{"Frame grabber not ready [7]", "Frame grabber not ready [7]"}));

  grabSucceeds_ = true;
  EXPECT_TRUE(object_.Grab());
  EXPECT_EQ(Doc().ImageData().size(), 12u);
  EXPECT_TRUE(Doc().BMPDirty);
  EXPECT_EQ(table_.NumDocuments, 1);

  OrvaleDoc fresh(context_);
  EXPECT_TRUE(fresh.Grab());
  EXPECT_EQ(fresh.Document()->ImageFileName, "Image1");
  EXPECT_TRUE(fresh.Document()->BMPDirty);
  EXPECT_TRUE(fresh.Document()->ImageViewExist);
  EXPECT_EQ(imageCounter_, 1);
}

TEST_F(OrvaleDocLifecycleTest, ACallAnswersEveryMessageWithItsDefaultAndLogsIt) {
  ::testing::internal::CaptureStderr();
  {
    AutomationCall call;
    EXPECT_EQ(ShowMessage("Erase?", mb::kYesNo, "Warning"), idbutton::kYes);
    EXPECT_EQ(FileErrorPrompt(RunError::FromErrno(EACCES, "/x/y.ovd")), idbutton::kAbort);
    EXPECT_TRUE(CurrentFileDialogService().ShowSave({}).Cancelled);
    EXPECT_EQ(call.Messages().size(), 2u);
  }
  const std::string logged = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(logged.find("orvale automation: Warning: Erase?\n"), std::string::npos);
  EXPECT_NE(logged.find("orvale automation: Error: "), std::string::npos);
  // The fixture's services are back.
  ShowMessage("after", mb::kOk, "");
  EXPECT_EQ(Texts(), Strings{"after"});
  EXPECT_TRUE(dialogs_.Requests().empty());
}

}  // namespace
}  // namespace orvale::testing
