// The whole road: a synthesised interferogram file is opened, given its fringe
// centres, analysed, saved, exported and opened again.
#include <gtest/gtest.h>

#include <cmath>

#include "../analysis/TraceTestSupport.h"
#include "DocumentFilesTestSupport.h"
#include "app/document/BitmapFile.h"
#include "app/document/ExportCommands.h"
#include "app/document/OpenFiles.h"
#include "platform/runtime/NumberText.h"

namespace orvale {
namespace {

using Strings = std::vector<std::string>;

class DocumentRoundTripTest : public testing::DocumentFilesTest {
 protected:
  DocumentRoundTripTest() {
    known_[3] = 1.5;
    known_[4] = 0.4;
    known_[6] = -0.3;
    known_[8] = 0.25;
  }

  // An interferogram of the known wavefront over the pupil, saved as a bitmap.
  std::string InterferogramFile(const std::string& name) {
    std::vector<std::uint8_t> image(static_cast<std::size_t>(pupil_.width) * pupil_.height, 20);
    const clsAnalysis engine;
    for (std::int32_t y = 0; y < pupil_.height; ++y) {
      for (std::int32_t x = 0; x < pupil_.width; ++x) {
        const double u = (x - pupil_.cx) / pupil_.radius;
        const double v = (y - pupil_.cy) / pupil_.radius;
        if (u * u + v * v > 1) continue;
        const double w = engine.EvalZernike(u, v, known_);
        image[static_cast<std::size_t>(y) * pupil_.width + x] =
            static_cast<std::uint8_t>(RoundToInt32(128 + 100 * std::cos(2 * M_PI * w)));
      }
    }
    EXPECT_TRUE(SaveDataBufferToBMP(Path(name), image, pupil_.width, pupil_.height, false));
    return File(name);
  }

  // Opens the interferogram and analyses it.
  clsDocument& AnalysedDocument() {
    Open({InterferogramFile("scan.bmp")});
    clsDocument& doc = *Newest();
    doc.Aperture.SetShapeType(clsShape::kCircle);
    doc.Aperture.SetCenter(pupil_.cx, pupil_.cy);
    doc.Aperture.SetRadii(pupil_.radius, pupil_.radius);
    doc.InvalidateMask();
    // Entered fringe centres: they lie on the contours of the known wavefront.
    EXPECT_GT(testing::AddContourFringes(doc, pupil_, known_), 100);
    doc.zscale = 1.0;
    doc.OutWL = 632.8;
    doc.NumZernikeToFit = 8;
    EXPECT_TRUE(doc.CreateView(2));
    doc.UpdateAnalysis(true, false);
    EXPECT_TRUE(doc.AnalysisValid);
    return doc;
  }

  testing::Pupil pupil_;
  ZernikeVector known_{};
};

TEST_F(DocumentRoundTripTest, AReopenedDocumentGivesTheSameResults) {
  clsDocument& doc = AnalysedDocument();
  for (int i = 1; i <= 8; ++i) EXPECT_NEAR(doc.Zernike(i), known_[i], 1e-4) << i;
  const double rms = doc.RMS, pv = doc.PV, strehl = doc.Strehl;
  ASSERT_GT(rms, 0);
  ASSERT_TRUE(SaveFile(File("mirror.ovd"), doc));

  Open({File("mirror.ovd")});
  ASSERT_EQ(table_.NumDocuments, 2);
  clsDocument& back = *Newest();
  ASSERT_NE(&back, &doc);
  EXPECT_TRUE(back.AnalysisValid);
  EXPECT_FALSE(back.BlankImage);
  EXPECT_EQ(back.Fringes.TotalNumTicks(), doc.Fringes.TotalNumTicks());
  for (int i = 1; i <= 36; ++i) EXPECT_NEAR(back.Zernike(i), doc.Zernike(i), 1e-14) << i;
  EXPECT_NEAR(back.RMS, rms, 1e-14);
  EXPECT_NEAR(back.PV, pv, 1e-14);
  EXPECT_NEAR(back.Strehl, strehl, 1e-14);

  // Evaluated again, and fitted again from the stored centres, it agrees.
  back.UpdateAnalysis(true, false);
  EXPECT_NEAR(back.RMS, rms, 1e-12);
  EXPECT_NEAR(back.PV, pv, 1e-12);
  EXPECT_NEAR(back.Strehl, strehl, 1e-12);
  back.AnalysisValid = false;
  back.UpdateAnalysis(true, false);
  for (int i = 1; i <= 36; ++i) EXPECT_NEAR(back.Zernike(i), doc.Zernike(i), 1e-9) << i;
  EXPECT_NEAR(back.RMS, rms, 1e-9);
  EXPECT_NEAR(back.PV, pv, 1e-9);
  EXPECT_NEAR(back.Strehl, strehl, 1e-9);
  EXPECT_EQ(RecentPaths(), (Strings{File("mirror.ovd"), File("scan.bmp")}));
  ExpectTableConsistent();
}

// As a user works: open a picture of fringes, mark the aperture, trace, analyse, save,
// and open the saved document again.
TEST_F(DocumentRoundTripTest, ATracedInterferogramSurvivesSavingAndReopening) {
  const std::int32_t size = 512;
  const double centre = (size - 1) / 2.0, radius = 0.47 * size;
  ZernikeVector truth{};
  truth[1] = 10.0;  // tilt fringes, numbered in scan order
  truth[2] = 1.0;
  truth[3] = 1.5;
  truth[4] = 0.5;
  truth[6] = 0.3;
  ASSERT_TRUE(SaveDataBufferToBMP(
      Path("fringes.bmp"),
      analysis_test::Interferogram(size, size, centre, centre, radius, truth), size, size,
      false));

  Open({File("fringes.bmp")});
  ASSERT_EQ(table_.NumDocuments, 1);
  clsDocument& doc = *Newest();
  doc.Aperture.SetShapeType(clsShape::kCircle);
  doc.Aperture.SetCenter(centre, centre);
  doc.Aperture.SetRadii(radius, radius);
  doc.InvalidateMask();
  doc.AutoTraceFringes(1, 3);
  ASSERT_GE(doc.Fringes.NumFringes(), 15);
  ASSERT_TRUE(doc.CreateView(2));
  doc.UpdateAnalysis(true, false);
  ASSERT_TRUE(doc.AnalysisValid);
  for (int k = 1; k <= 8; ++k) EXPECT_NEAR(doc.Zernike(k), truth[k], 0.05) << "term " << k;
  ASSERT_TRUE(SaveFile(File("traced.ovd"), doc));

  Open({File("traced.ovd")});
  ASSERT_EQ(table_.NumDocuments, 2);
  clsDocument& back = *Newest();
  ASSERT_TRUE(back.AnalysisValid);
  EXPECT_EQ(back.Fringes.TotalNumTicks(), doc.Fringes.TotalNumTicks());
  // The file keeps 15 significant digits.
  for (int k = 1; k <= 36; ++k) EXPECT_NEAR(back.Zernike(k), doc.Zernike(k), 1e-12) << k;
  EXPECT_NEAR(back.RMS, doc.RMS, 1e-12);
  EXPECT_NEAR(back.PV, doc.PV, 1e-12);
  EXPECT_NEAR(back.Strehl, doc.Strehl, 1e-12);
  // Fitted again from the centres it read, the reopened document agrees.
  back.AnalysisValid = false;
  back.UpdateAnalysis(true, false);
  for (int k = 1; k <= 8; ++k) EXPECT_NEAR(back.Zernike(k), doc.Zernike(k), 1e-9) << k;
  EXPECT_NEAR(back.RMS, doc.RMS, 1e-9);
  ExpectTableConsistent();
}

TEST_F(DocumentRoundTripTest, SavingAReopenedDocumentGivesTheSameBytes) {
  clsDocument& doc = AnalysedDocument();
  doc.OpticComments = "two\r\nlines";
  doc.OpticOperator = "A. Tester";
  doc.Grid.GridPhysicalWidth = 100;
  doc.Grid.CellPhysicalWidth = doc.Grid.CellPhysicalHeight = 20;
  doc.Grid.SetBounds(20, 20, 180, 180);
  ASSERT_TRUE(SaveFile(File("mirror.ovd"), doc));
  Open({File("mirror.ovd")});
  clsDocument& back = *Newest();

  std::filesystem::create_directory(Path("again"));
  ASSERT_TRUE(SaveFile(File("again/mirror.ovd"), back));
  EXPECT_EQ(ReadText("again/mirror.ovd"), ReadText("mirror.ovd"));
  EXPECT_EQ(testing::ReadBytes(Path("again/mirror.bmp")), testing::ReadBytes(Path("mirror.bmp")));
}

TEST_F(DocumentRoundTripTest, ExportsTheMapAndTheCoefficients) {
  clsDocument& doc = AnalysedDocument();
  ASSERT_TRUE(ExportSurfaceMap(doc, File("map.csv")));
  const Strings lines = testing::CrLfLines(ReadText("map.csv"));
  ASSERT_EQ(lines.size(), 100u);
  EXPECT_TRUE(lines[0].starts_with("0,0,0,"));  // blank corners are written as 0
  for (const auto& line : lines) EXPECT_EQ(std::count(line.begin(), line.end(), ','), 99);

  // A given name is replaced without asking; no dialog is shown.
  ASSERT_TRUE(ExportSurfaceMap(doc, File("map.csv")));
  EXPECT_TRUE(dialogs_.Requests().empty());
  EXPECT_TRUE(messages_.Messages().empty());

  dialogs_.QueueFile(File("fit.zrn"));
  ASSERT_TRUE(ExportZernikes(doc));
  const FileDialogRequest& r = dialogs_.Requests().back();
  EXPECT_EQ(r.Filter, "All files (*.*)|*.*|Zernikes files (*.zrn)|*.zrn");
  EXPECT_EQ(r.FileName, "scan.zrn");
  EXPECT_EQ(r.Title, "Export Zernikes");
  EXPECT_EQ(r.HelpContext, 1106);
  const Strings zrn = testing::CrLfLines(ReadText("fit.zrn"));
  ASSERT_EQ(zrn.size(), 36u);
  for (int i = 1; i <= 36; ++i) EXPECT_EQ(zrn[i - 1], FormatGeneral(doc.Zernike(i)));

  // Through the dialog an existing file is replaced only when the user agrees.
  dialogs_.QueueFile(File("map.csv"));
  messages_.QueueAnswer(idbutton::kNo);
  const std::string before = ReadText("map.csv");
  EXPECT_FALSE(ExportSurfaceMap(doc, ""));
  EXPECT_EQ(dialogs_.Requests().back().FileName, "scan.csv");
  EXPECT_EQ(dialogs_.Requests().back().Title, "Export Map");
  EXPECT_EQ(dialogs_.Requests().back().Filter, "All files (*.*)|*.*|Map files (*.csv)|*.csv");
  EXPECT_EQ(ReadText("map.csv"), before);
}

TEST_F(DocumentRoundTripTest, ExportsRefuseWithoutAValidAnalysis) {
  clsDocument& doc = NewImageDocument();
  EXPECT_FALSE(ExportSurfaceMap(doc, File("map.csv")));
  EXPECT_FALSE(ExportSurfaceMap(doc, ""));
  EXPECT_FALSE(ExportZernikes(doc));
  EXPECT_EQ(Texts(), Strings(3, kNoAnalysisToExport));
  EXPECT_TRUE(dialogs_.Requests().empty());
  EXPECT_FALSE(std::filesystem::exists(Path("map.csv")));
}

}  // namespace
}  // namespace orvale
