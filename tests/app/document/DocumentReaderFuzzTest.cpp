// Bad document files: truncated, random, with huge counts and absurd numbers, without
// their bitmap. Each loads what it can or is refused with "Could not open file ";
// none crashes and the open-document table stays consistent.
#include <gtest/gtest.h>

#include <random>

#include "DocumentFilesTestSupport.h"
#include "app/document/OpenFiles.h"

namespace orvale {
namespace {

class DocumentReaderFuzzTest : public testing::DocumentFilesTest {
 protected:
  // A saved document with something in every section, and its bitmap.
  void SaveSample() {
    clsDocument* doc = &NewImageDocument(40, 30);
    doc->Aperture.SetShapeType(clsShape::kPolygon);
    for (int k = 1; k <= 5; ++k) doc->Aperture.SetVertex(10 + k, 10 + k * k % 7, k);
    doc->Obstruction.SetShapeType(clsShape::kCircle);
    doc->Obstruction.SetRadii(3, 3);
    doc->Fringes.InsertOrder(1, 2, std::vector<double>{0, 10, 11}, std::vector<double>{0, 20, 21});
    doc->Fringes.InsertOrder(2, 2, std::vector<double>{0, 15, 16}, std::vector<double>{0, 5, 6});
    doc->Grid.GridPhysicalWidth = 40;
    doc->Grid.CellPhysicalWidth = doc->Grid.CellPhysicalHeight = 10;
    doc->Grid.SetBounds(0, 0, 40, 30);
    std::vector<std::int32_t> status(doc->Grid.CellCountX * doc->Grid.CellCountY, 1);
    std::vector<double> values(status.size(), 0.5);
    doc->Grid.SetAnalysisResults(status, values, values);
    ZernikeVector z{};
    z[3] = 1.25;
    doc->SetZernikes(z);
    doc->AnalysisValid = true;
    doc->zscale = 1;
    ASSERT_TRUE(doc->CreateView(2));
    doc->OpticComments = "line\nbreak";
    ASSERT_TRUE(SaveFile(File("sample.ovd"), *doc));
    sample_ = ReadText("sample.ovd");
    bitmap_ = testing::ReadBytes(Path("sample.bmp"));
    std::int16_t cancel = 0;
    table_.CloseDocument(doc, true, cancel);
  }

  // Opens `text` as a document file (with the sample's bitmap beside it when asked)
  // and checks what became of it. True when it opened.
  bool OpenText(const std::string& text, bool withBitmap) {
    WriteText("case.ovd", text);
    std::filesystem::remove(Path("case.bmp"));
    if (withBitmap) testing::WriteBytes(Path("case.bmp"), bitmap_);
    messages_.Clear();
    Open({File("case.ovd")});
    ExpectTableConsistent();
    for (const auto& m : messages_.Messages()) {
      // The one refusal of a file, or the analysis of what a file gave finding too little.
      EXPECT_TRUE(m.text == "Could not open file " + File("case.ovd") || m.title == "Warning")
          << m.text;
    }
    const bool opened = table_.NumDocuments == 1;
    EXPECT_EQ(opened, !RecentPaths().empty() && RecentPaths()[0] == File("case.ovd"));
    if (opened) {
      clsDocument* doc = Newest();
      // What was loaded can be saved again.
      EXPECT_TRUE(SaveFile(File("resaved.ovd"), *doc));
      std::int16_t cancel = 0;
      table_.CloseDocument(doc, true, cancel);
    }
    EXPECT_EQ(table_.NumDocuments, 0);
    return opened;
  }

  std::string sample_;
  std::vector<std::uint8_t> bitmap_;
};

TEST_F(DocumentReaderFuzzTest, TruncatedFilesLoadWhatTheyHold) {
  SaveSample();
  ASSERT_TRUE(OpenText(sample_, true));
  for (std::size_t length = 0; length < sample_.size(); length += 13) {
    SCOPED_TRACE(length);
    OpenText(sample_.substr(0, length), length % 2 == 0);
  }
}

TEST_F(DocumentReaderFuzzTest, RandomBytesNeverCrash) {
  SaveSample();
  std::mt19937 random(20240305);
  for (int round = 0; round < 150; ++round) {
    SCOPED_TRACE(round);
    std::string text;
    if (round % 3 == 0) {
      text.resize(random() % 3000);
      for (char& c : text) c = static_cast<char>(random());
    } else {
      // The sample with some bytes changed: keys and numbers stay mostly recognisable.
      text = sample_;
      for (int n = 0; n < 1 + round % 20; ++n)
        text[random() % text.size()] = "0123456789-+.,E \r\n=:x\xff"[random() % 22];
    }
    OpenText(text, round % 2 == 0);
  }
}

TEST_F(DocumentReaderFuzzTest, HugeCountsAndAbsurdNumbers) {
  SaveSample();
  const std::string size = "HasImageFile, True\r\nImageXSize,  40 \r\nImageYSize,  30 \r\n";
  const std::string views = "OutputViewsExist,True\r\nAnalysisValid,True\r\n";
  const std::string cases[] = {
      size +
          "Fringes\r\nNumFringes, 2000000000 \r\nOrder, 1 \r\nNumTicks, 99999999 "
          "\r\nEndFringes\r\n",
      size +
          "Fringes\r\nNumFringes, 1 \r\nOrder, 1E+999 \r\nCenter, 1E+999,-1E+999\r\nEndFringes\r\n",
      size + "Fringes\r\nOrder, 1 \r\n" +
          [] {
            std::string many;
            for (int i = 0; i < 4100; ++i) many += "Center, 1, 2\r\n";
            return many;
          }(),
      size +
          "Grid\r\nCellCountX, 2147483647 \r\nCellCountY, 2147483647 \r\nCells\r\nCell,1, 1, 1\r\n",
      size + "Grid\r\nPixelWidth, 1E+999\r\nGridEnd\r\n",
      size +
          "Aperture\r\nShapeType, 3 \r\nNumVertices, 99999 \r\nVertex, 1E+308, "
          "1E+308\r\nEndShape\r\n",
      size +
          "Obstruction\r\nShapeType, 1 \r\nCenter,-1E+308, 1E+308\r\nRadiusX, "
          "1E+308\r\nEndShape\r\n",
      "ImageXSize,  2147483647 \r\nImageYSize,  2147483647 \r\n",
      "ImageXSize, -2147483648 \r\nImageYSize,  30 \r\n",
      "ImageXSize,  1E+999 \r\nImageYSize,  NaN \r\n",
      size + "Zernikes, 1E+308,-1E+308, 1E+999\r\n" + views +
          "xSurfaceSize, 99999 \r\nProfileSize,-1 \r\n",
      size + "Zernikes, 1E+300, 1E+300, 1E+300, 1E+300\r\n" + views +
          "ContourLevels, 2147483647 \r\n",
      size +
          "RMS, 1E+999\r\nPV,-1E+999\r\nStrehl, abc\r\nNumZernikeToFit, 1E+20 \r\nnDataPts,-1E+20 "
          "\r\n",
      size + views + "LineProfileAngle, 1E+999 \r\nSurfaceTheta,-1E+999\r\nSurfacePhi, 1E+999\r\n",
      size + "ImageView, 1E+999, 1E+999, 1E+999, 1E+999\r\nZernikesView,-1E+999, 0, 0, 0\r\n",
      size + "ScreenTextSize, 1E+999 \r\nScreenTextcolour,-1 \r\nPrinterTextfacename:= " +
          std::string(5000, 'x') + "\r\n",
      size + "OpticComments:= " + std::string(100000, '\\') + "\r\n",
  };
  for (const auto& text : cases) {
    SCOPED_TRACE(text.substr(0, 160));
    OpenText(text, true);
    OpenText(text, false);
  }
}

TEST_F(DocumentReaderFuzzTest, AMissingBitmapNeedsTheSizeFromTheFile) {
  SaveSample();
  EXPECT_TRUE(OpenText(sample_, false));
  EXPECT_FALSE(OpenText("HasImageFile, True\r\nRMS, .5\r\n", false));
  EXPECT_TRUE(OpenText("HasImageFile, True\r\nRMS, .5\r\n", true));  // the bitmap gives it
}

}  // namespace
}  // namespace orvale
