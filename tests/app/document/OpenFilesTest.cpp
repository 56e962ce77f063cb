#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <sys/stat.h>

#include "DocumentFilesTestSupport.h"
#include "app/document/BitmapFile.h"
#include "app/document/OpenFiles.h"

namespace orvale {
namespace {

class OpenFilesTest : public testing::DocumentFilesTest {
 protected:
  std::string Bitmap(const std::string& name, std::int32_t width = 40, std::int32_t height = 30) {
    EXPECT_TRUE(
        SaveDataBufferToBMP(Path(name), testing::Ramp(width, height), width, height, false));
    return File(name);
  }
  // A document file of a 40 x 30 image with one fringe and an aperture.
  std::string DocumentFile(const std::string& name, bool withBitmap) {
    clsDocument& doc = NewImageDocument(40, 30);
    doc.Aperture.SetShapeType(clsShape::kCircle);
    doc.Aperture.SetCenter(20, 15);
    doc.Aperture.SetRadii(12, 12);
    doc.Fringes.InsertOrder(1, 2, std::vector<double>{0, 10, 11}, std::vector<double>{0, 20, 21});
    EXPECT_TRUE(SaveFile(File(name), doc));
    clsDocument* made = &doc;
    std::int16_t cancel = 0;
    table_.CloseDocument(made, true, cancel);
    if (!withBitmap) std::filesystem::remove(Path(GetTitle(name) + ".bmp"));
    return File(name);
  }
  static std::string GetTitle(const std::string& name) { return name.substr(0, name.rfind('.')); }
  std::vector<std::string> Titles() const {
    std::vector<std::string> titles;
    for (std::int32_t i = 1; i <= DocumentTable::kMaxDocuments; ++i)
      if (table_.DocumentInUse[i]) titles.push_back(table_.Documents[i]->ImageFileName);
    return titles;
  }
};

using Strings = std::vector<std::string>;

TEST_F(OpenFilesTest, OpensAPictureWhateverTheCaseOfItsExtension) {
  QImage image(32, 24, QImage::Format_Grayscale8);
  image.fill(90);
  ASSERT_TRUE(image.save(QString::fromStdString(File("Photo.JPG")), "JPG"));
  Open({File("Photo.JPG")});
  ASSERT_EQ(table_.NumDocuments, 1);
  clsDocument& doc = *Newest();
  EXPECT_EQ(doc.ImageFileName, "Photo.JPG");
  EXPECT_EQ(doc.DocumentFilePath, dir_.string());
  EXPECT_TRUE(doc.DocumentFileName.empty());
  EXPECT_TRUE(doc.ImageFileExist);
  EXPECT_FALSE(doc.BlankImage);
  EXPECT_TRUE(doc.ImageViewExist);
  EXPECT_EQ(RecentPaths(), Strings{File("Photo.JPG")});
  EXPECT_TRUE(messages_.Messages().empty());
  ExpectTableConsistent();
}

TEST_F(OpenFilesTest, AnImageTakesTheStoredShapesAsTheSettingsSay) {
  struct CountingHost : DocumentHost {
    bool LoadAperture(clsDocument&) override { return ++apertures, true; }
    bool LoadObstruction(clsDocument&) override { return ++obstructions, true; }
    int apertures = 0;
    int obstructions = 0;
  } host;
  DocumentTable table(settings_, &host);
  settings_.AutoLoadAperture = true;
  settings_.AutoLoadObstruction = false;
  OpenFiles(table, recent_, Strings{Bitmap("a.bmp")}, false);
  EXPECT_EQ(host.apertures, 1);
  EXPECT_EQ(host.obstructions, 0);
}

TEST_F(OpenFilesTest, MissingAndUnknownFilesAreReportedAndLeaveTheRecentList) {
  recent_.AddRecentFile(File("gone.bmp"));
  recent_.AddRecentFile(File("photo.jpeg"));
  WriteText("photo.jpeg", "x");
  WriteText("photo.tif", "x");
  Open({File("gone.bmp"), File("photo.jpeg"), File("photo.tif"), Bitmap("b.bmp")});
  EXPECT_EQ(Texts(), (Strings{"Could not find file " + File("gone.bmp"),
                              "Could not open file " + File("photo.jpeg"),
                              "Could not open file " + File("photo.tif")}));
  for (const auto& m : messages_.Messages()) EXPECT_EQ(m.title, "Error");
  EXPECT_EQ(RecentPaths(), Strings{File("b.bmp")});
  EXPECT_EQ(table_.NumDocuments, 1);  // the files after them are still opened

  messages_.Clear();
  Open({File("gone.bmp"), File("photo.tif")}, true);
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(OpenFilesTest, AnUnreadablePictureEndsTheCallAfterClosingItsDocument) {
  WriteText("broken.bmp", "BM not really a bitmap");
  recent_.AddRecentFile(File("broken.bmp"));
  Open({Bitmap("first.bmp"), File("broken.bmp"), Bitmap("third.bmp")});
  EXPECT_EQ(Titles(), Strings{"first.bmp"});
  EXPECT_EQ(RecentPaths(), Strings{File("first.bmp")});
  ASSERT_EQ(Texts().size(), 1u);
  EXPECT_TRUE(Texts()[0].starts_with("Could not open image file ")) << Texts()[0];
  ExpectTableConsistent();
}

// A mutated 1 KB file: run-length code for 320 x 524528 pixels, its data one
// end-of-bitmap code.
std::vector<std::uint8_t> ClaimsFarMoreThanAnyCamera() {
  std::vector<testing::Rgb> grey;
  for (int i = 0; i < 256; ++i) grey.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i)});
  return testing::MakeBmp({320, 524528, 8, 1, grey, {}, false, {{0, 1}}});
}

TEST_F(OpenFilesTest, ARefusedPictureLeavesTheOpenModifiedDocumentAsItWas) {
  Open({Bitmap("kept.bmp")});
  ASSERT_EQ(table_.NumDocuments, 1);
  clsDocument& kept = *Newest();
  kept.Aperture.SetShapeType(clsShape::kCircle);
  kept.Aperture.SetCenter(20, 15);
  kept.Aperture.SetRadii(12, 12);
  kept.DocDirty = true;
  const clsDocument* active = table_.ActiveDocument();
  testing::WriteBytes(Path("huge.rle"), ClaimsFarMoreThanAnyCamera());
  messages_.Clear();

  Open({File("huge.rle")});
  EXPECT_EQ(Texts(), Strings{"Could not open image file " + File("huge.rle") +
                             "\nThe picture is 320 x 524528 pixels; the program opens pictures of at most "
                             "32767 pixels on a side and 250 million pixels in all."});
  ASSERT_EQ(Titles(), Strings{"kept.bmp"});  // no new document is left behind
  EXPECT_EQ(table_.ActiveDocument(), active);
  std::int32_t width = 0, height = 0;
  kept.GetImageSize(width, height);
  EXPECT_EQ(width, 40);
  EXPECT_EQ(height, 30);
  EXPECT_EQ(std::vector<std::uint8_t>(kept.ImageData().begin(), kept.ImageData().end()), testing::Ramp(40, 30));
  EXPECT_TRUE(kept.DocDirty);
  EXPECT_EQ(kept.Aperture.GetShapeType(), clsShape::kCircle);
  EXPECT_EQ(RecentPaths(), Strings{File("kept.bmp")});
  ExpectTableConsistent();
}

TEST_F(OpenFilesTest, ADocumentWhoseBitmapIsRefusedOpensBlankAtItsSize) {
  const std::string path = DocumentFile("mirror.ovd", true);
  testing::WriteBytes(Path("mirror.bmp"), ClaimsFarMoreThanAnyCamera());
  Open({path});
  ASSERT_EQ(table_.NumDocuments, 1);
  clsDocument& doc = *Newest();
  EXPECT_TRUE(doc.BlankImage);
  EXPECT_FALSE(doc.ImageFileExist);
  std::int32_t width = 0, height = 0;
  doc.GetImageSize(width, height);
  EXPECT_EQ(width, 40);
  EXPECT_EQ(height, 30);
  EXPECT_TRUE(messages_.Messages().empty());  // the bitmap is read quietly
  ExpectTableConsistent();
}

TEST_F(OpenFilesTest, OpensADocumentWithItsCompanionBitmap) {
  const std::string path = DocumentFile("mirror.ovd", true);
  Open({path});
  ASSERT_EQ(table_.NumDocuments, 1);
  clsDocument& doc = *Newest();
  EXPECT_EQ(doc.DocumentFileName, "mirror.ovd");
  EXPECT_EQ(doc.DocumentFilePath, dir_.string());
  EXPECT_EQ(doc.ImageFileName, "mirror.bmp");
  EXPECT_TRUE(doc.ImageFileExist);
  EXPECT_FALSE(doc.BlankImage);
  EXPECT_FALSE(doc.DocDirty);
  EXPECT_FALSE(doc.BMPDirty);
  EXPECT_EQ(std::vector<std::uint8_t>(doc.ImageData().begin(), doc.ImageData().end()),
            testing::Ramp(40, 30));
  EXPECT_EQ(doc.Aperture.GetShapeType(), clsShape::kCircle);
  EXPECT_EQ(doc.Fringes.NumFringes(), 1);
  EXPECT_EQ(RecentPaths(), Strings{path});
  ExpectTableConsistent();
}

TEST_F(OpenFilesTest, ADocumentWithoutItsBitmapOpensBlankAtItsSize) {
  const std::string path = DocumentFile("mirror.ovd", false);
  Open({path});
  ASSERT_EQ(table_.NumDocuments, 1);
  clsDocument& doc = *Newest();
  EXPECT_TRUE(doc.BlankImage);
  EXPECT_FALSE(doc.ImageFileExist);
  EXPECT_EQ(doc.ImageFileName, "mirror.bmp");
  std::int32_t width = 0, height = 0;
  doc.GetImageSize(width, height);
  EXPECT_EQ(width, 40);
  EXPECT_EQ(height, 30);
  EXPECT_TRUE(messages_.Messages().empty());  // the bitmap is looked for quietly
  ExpectTableConsistent();
}

TEST_F(OpenFilesTest, ADocumentThatCannotBeReadLeavesNoDocumentBehind) {
  struct Case {
    const char* name;
    const char* text;
  };
  const Case cases[] = {
      {"shape.ovd",
       "ImageXSize,  40 \r\nImageYSize,  30 \r\nAperture\r\nShapeType, 9 \r\nEndShape\r\n"},
      {"grid.ovd",
       "ImageXSize,  40 \r\nImageYSize,  30 \r\nGrid\r\nCellCountX, 5000 \r\nGridEnd\r\n"},
      {"nosize.ovd", "HasImageFile, True\r\nImageXSize,  0 \r\nRMS, .5\r\n"},
      // A blank picture larger than any camera makes.
      {"huge.ovd", "ImageXSize,  320 \r\nImageYSize,  524528 \r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    messages_.Clear();
    WriteText(c.name, c.text);
    recent_.AddRecentFile(File(c.name));
    Open({File(c.name), Bitmap("after.bmp")});
    EXPECT_EQ(Texts(), Strings{"Could not open file " + File(c.name)});
    EXPECT_EQ(table_.NumDocuments, 0);  // and the call ended there
    EXPECT_TRUE(RecentPaths().empty() || RecentPaths()[0] != File(c.name));
    ExpectTableConsistent();
  }
}

// A line far longer than any the document format writes is refused at once, with its
// number, instead of being read into memory a character at a time.
TEST_F(OpenFilesTest, ADocumentWithAnEndlessLineIsRefusedWithTheLineNumber) {
  WriteText("endless.ovd", "ImageXSize,  40 \r\nImageYSize,  30 \r\nOpticComments:= " +
                               std::string(3 << 20, 'x') + "\r\nRMS, .5\r\n");
  Open({File("endless.ovd"), Bitmap("after.bmp")});
  EXPECT_EQ(Texts(), Strings{"Invalid file format: line 3 is longer than 1048576 characters: " + File("endless.ovd")});
  EXPECT_EQ(table_.NumDocuments, 0);  // and the call ended there
  ExpectTableConsistent();
}

// A FIFO named as the companion bitmap would block its reader until something wrote to
// it: the bitmap is refused at once, quietly, and the document opens blank.
TEST_F(OpenFilesTest, ADocumentWhoseBitmapIsAFifoOpensBlankAtOnce) {
  WriteText("x.ovd", "FileVersion, 100\r\nHasImageFile, True\r\nImageXSize, 640\r\nImageYSize, 480\r\n");
  ASSERT_EQ(::mkfifo(Path("x.bmp").c_str(), 0600), 0);
  Open({Bitmap("kept.bmp")});
  clsDocument& kept = *Newest();
  Open({File("x.ovd")});
  ASSERT_EQ(Titles(), (Strings{"kept.bmp", "x.bmp"}));
  clsDocument& doc = *Newest();
  EXPECT_TRUE(doc.BlankImage);
  std::int32_t width = 0, height = 0;
  doc.GetImageSize(width, height);
  EXPECT_EQ(width, 640);
  EXPECT_EQ(height, 480);
  EXPECT_EQ(std::vector<std::uint8_t>(kept.ImageData().begin(), kept.ImageData().end()), testing::Ramp(40, 30));
  // The FIFO itself, or a folder, opened as a picture is there but is no file: the
  // opener's error for it, not that it cannot be found.
  std::filesystem::create_directories(Path("folder.jpg"));
  for (const char* name : {"x.bmp", "folder.jpg"}) {
    messages_.Clear();
    Open({File(name)});
    EXPECT_EQ(Texts(), Strings{"Path/File access error: " + File(name)}) << name;
  }
  EXPECT_EQ(table_.NumDocuments, 2);
  ExpectTableConsistent();
}

// A few bytes of document must not make the program draw a blank picture of gigabytes
// in place of its missing one; a camera's picture size still opens blank.
TEST_F(OpenFilesTest, ADocumentWithoutItsPictureOpensBlankOnlyAtASizeTheProgramCanDraw) {
  WriteText("huge.ovd", "FileVersion, 100\r\nHasImageFile, True\r\nImageXSize, 15000\r\nImageYSize, 15000\r\n");
  WriteText("camera.ovd", "FileVersion, 100\r\nHasImageFile, False\r\nImageXSize, 8192\r\nImageYSize, 8192\r\n");
  Open({File("huge.ovd")});
  EXPECT_EQ(table_.NumDocuments, 0);
  EXPECT_EQ(Texts(), Strings{"Could not open file " + File("huge.ovd") +
                             "\nIts picture huge.bmp is missing, and a blank one of 15000 x 15000 pixels is more "
                             "than the program draws in its place (67 million pixels)."});
  messages_.Clear();
  Open({File("camera.ovd")});
  ASSERT_EQ(Titles(), Strings{"camera.bmp"});
  EXPECT_TRUE(Newest()->BlankImage);
  EXPECT_TRUE(messages_.Messages().empty());
  ExpectTableConsistent();
}

TEST_F(OpenFilesTest, OpeningTheLastFreeSlotFailsCleanly) {
  for (int i = 0; i < DocumentTable::kMaxDocuments; ++i) NewImageDocument(4, 4);
  recent_.AddRecentFile(File("a.bmp"));
  Open({Bitmap("a.bmp")});
  EXPECT_EQ(Texts(), Strings{"Too many open documents"});
  EXPECT_EQ(table_.NumDocuments, DocumentTable::kMaxDocuments);
  EXPECT_EQ(RecentPaths(), Strings{File("a.bmp")});  // the file itself is fine
}

TEST_F(OpenFilesTest, OneFileOpensIntoTheDocumentItReturnsAndLeavesTheRecentListAlone) {
  clsDocument* image = OpenOneFile(table_, Bitmap("one.bmp"), false);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image, Newest());
  EXPECT_EQ(image->ImageFileName, "one.bmp");
  clsDocument* document = OpenOneFile(table_, DocumentFile("two.ovd", true), false);
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(document->DocumentFileName, "two.ovd");
  EXPECT_EQ(table_.NumDocuments, 2);

  WriteText("bad.ovd", "ImageXSize,  0 \r\n");
  EXPECT_EQ(OpenOneFile(table_, File("bad.ovd"), false), nullptr);
  EXPECT_EQ(OpenOneFile(table_, File("missing.bmp"), true), nullptr);
  EXPECT_EQ(Texts(), Strings{"Could not open file " + File("bad.ovd")});
  EXPECT_EQ(table_.NumDocuments, 2);
  EXPECT_TRUE(RecentPaths().empty());
  ExpectTableConsistent();
}

}  // namespace
}  // namespace orvale
