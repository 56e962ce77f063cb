#include <gtest/gtest.h>

#include <functional>

#include "DocumentFilesTestSupport.h"
#include "app/document/TextEscapes.h"
#include "platform/runtime/LineInput.h"
#include "platform/runtime/NumberText.h"
#include "tests/app/analysis/ShapesGridTestSupport.h"

namespace orvale {
namespace {

using testing::CrLfLines;
using Keys = std::vector<std::string>;

std::string KeyOf(const std::string& line) { return line.substr(0, line.find_first_of(",:")); }

// A document with something in every part of the file.
void FillDocument(clsDocument& doc) {
  ZernikeVector z{};
  for (int i = 1; i <= 36; ++i) z[i] = (i % 3 - 1) * 0.125 * i;
  doc.SetZernikes(z);
  ZernikeVector ref{};
  ref[4] = 0.5;
  doc.SetRefZernikes(ref);
  doc.Fringes.InsertOrder(1, 2, std::vector<double>{0, 10, 11}, std::vector<double>{0, 20, 21});
  doc.Aperture.SetShapeType(clsShape::kCircle);
  doc.Aperture.SetCenter(32, 24);
  doc.Aperture.SetRadii(20, 20);
  doc.RMS = 0.0625;
  doc.PV = 0.25;
  doc.Strehl = 0.85;
  doc.noTilt = doc.noFocus = true;
  doc.NumZernikeToFit = 8;
  doc.zscale = 1;
  doc.OutWL = 632.8;
  doc.nDataPts = 2;
  doc.AnalysisValid = true;
  doc.Views().SetViewPlacement(viewtype::kImage, {10, 20, 300, 200});
  ASSERT_TRUE(doc.CreateView(2));
  doc.Views().SetViewAngle(45);
  doc.Views().SetViewTheta(30.5);
  doc.Views().SetViewPhi(60);
  doc.OpticDescription = "Newtonian 200/1200, f/6";
  doc.OpticOperator = "A. Tester";
  doc.OpticComments = "first line\r\nsecond line";
  doc.OpticDate = "Mar 5, 2024";
}

class DocumentTextFileTest : public testing::DocumentFilesTest {};

TEST_F(DocumentTextFileTest, WritesEveryLineInItsOrder) {
  clsDocument& doc = NewImageDocument(64, 48);
  FillDocument(doc);
  const std::vector<std::string> lines = CrLfLines(DocumentText(doc));
  ASSERT_GT(lines.size(), 70u);
  EXPECT_EQ(Keys(lines.begin(), lines.begin() + 8),
            (Keys{"FileVersion, 100 ", "HasImageFile, True", "ImageXSize,  64 ", "ImageYSize,  48 ",
                  "", lines[5], lines[6], "Fringes"}));
  EXPECT_TRUE(lines[5].starts_with("Zernikes, 0, .25,-.375, 0, .625,"));
  EXPECT_TRUE(lines[6].starts_with("ReferenceZernikes, 0, 0, 0, .5, 0,"));
  EXPECT_EQ(std::count(lines[5].begin(), lines[5].end(), ','), 36);

  const auto rms = std::find(lines.begin(), lines.end(), "RMS, .0625");
  ASSERT_NE(rms, lines.end());
  for (const char* sectionEnd : {"EndFringes", "EndShape", "GridEnd"}) {
    const auto end = std::find(lines.begin(), rms, sectionEnd);
    ASSERT_NE(end, rms) << sectionEnd;
    EXPECT_EQ(*(end + 1), "") << sectionEnd;
  }
  Keys tail;
  for (auto it = rms; it != lines.end(); ++it) tail.push_back(KeyOf(*it));
  EXPECT_EQ(tail, (Keys{"RMS",
                        "PV",
                        "Strehl",
                        "noTilt",
                        "noFocus",
                        "noAstig",
                        "noComa",
                        "noSphere",
                        "NumZernikeToFit",
                        "TrimEdges",
                        "ZScale",
                        "InvertWavefront",
                        "ScaleMode",
                        "LimitDisplayScale",
                        "DisplayScale",
                        "OutWL",
                        "nDataPts",
                        "AnalysisValid",
                        "Averaged",
                        "Combined",
                        "ImageView",
                        "OutputViewsExist",
                        "ContourLevels",
                        "xSurfaceSize",
                        "xOrigSurfaceSize",
                        "ProfileSize",
                        "FillPolygons",
                        "DrawMeshWithFill",
                        "ZernikesViewVisible",
                        "AberrationsViewVisible",
                        "GridResultsViewVisible",
                        "SFringeViewVisible",
                        "LineProfileViewVisible",
                        "ContourPlotViewVisible",
                        "SurfacePlotViewVisible",
                        "ZernikesView",
                        "AberrationsView",
                        "GridResultsView",
                        "SFringeView",
                        "LineProfileAngle",
                        "LineProfileView",
                        "ContourPlotView",
                        "SurfaceTheta",
                        "SurfacePhi",
                        "SurfacePlotView",
                        "OpticDescription",
                        "OpticOperator",
                        "OpticComments",
                        "OpticDate",
                        "ScreenTextBold",
                        "ScreenTextcolour",
                        "ScreenTextfacename",
                        "ScreenTextItalic",
                        "ScreenTextSize",
                        "ScreenTextUnderline",
                        "PrinterTextBold",
                        "PrinterTextcolour",
                        "PrinterTextfacename",
                        "PrinterTextItalic",
                        "PrinterTextSize",
                        "PrinterTextUnderline"}));
  for (const char* line :
       {"noTilt,True", "noAstig,False", "NumZernikeToFit, 8 ", "ZScale, 1", "ScaleMode, 0 ",
        "OutWL, 632.8", "ImageView,10,20,300,200", "OutputViewsExist,True", "LineProfileAngle, 45 ",
        "SurfaceTheta, 30.5", "OpticDescription:= Newtonian 200/1200, f/6",
        "OpticComments:= first line\\rsecond line", "OpticDate:= Mar 5, 2024"}) {
    EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
  }
}

TEST_F(DocumentTextFileTest, WithoutOutputViewsTheirLinesAreLeftOut) {
  clsDocument& doc = NewImageDocument();
  const std::vector<std::string> lines = CrLfLines(DocumentText(doc));
  const auto views = std::find(lines.begin(), lines.end(), "OutputViewsExist,False");
  ASSERT_NE(views, lines.end());
  EXPECT_EQ(KeyOf(*(views + 1)), "OpticDescription");
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.starts_with("ReferenceZernikes"); }),
            0);
}

TEST_F(DocumentTextFileTest, NumberFormsReadBackToTheirValues) {
  clsDocument& doc = NewImageDocument(100, 80);
  ZernikeVector z{};
  z[1] = 0.25;
  z[2] = -0.5;
  z[3] = 0;
  z[4] = 1E+308;
  z[5] = -1.5E-07;
  z[6] = 123456.789012345;
  doc.SetZernikes(z);
  const std::string text = DocumentText(doc);
  EXPECT_NE(text.find("\r\nZernikes, .25,-.5, 0, 1E+308,-1.5E-07, 123456.789012345, 0,"),
            std::string::npos);
  EXPECT_NE(text.find("\r\nImageXSize,  100 \r\n"), std::string::npos);

  clsDocument& back = ReadDocument(text);
  ZernikeVector read{};
  back.GetZernikes(read);
  EXPECT_EQ(read, z);
  std::int32_t width = 0, height = 0;
  back.GetImageSize(width, height);
  EXPECT_EQ(width, 100);
  EXPECT_EQ(height, 80);
}

TEST_F(DocumentTextFileTest, ReaderClampsAndFallsBack) {
  const GeneralSettings& s = settings_;
  const std::string views = "OutputViewsExist,True\r\n";
  struct Case {
    std::string text;
    std::function<void(clsDocument&)> check;
  };
  const Case cases[] = {
      {"ScaleMode, 5 ", [](clsDocument& d) { EXPECT_EQ(d.ScaleMode, 0); }},
      {"ScaleMode, 2 ", [](clsDocument& d) { EXPECT_EQ(d.ScaleMode, 2); }},
      {"OutWL, 1E+308", [](clsDocument& d) { EXPECT_EQ(d.OutWL, 632.8); }},
      {"OutWL, .5461", [](clsDocument& d) { EXPECT_EQ(d.OutWL, 0.5461); }},
      {"ZScale, 1E+308", [](clsDocument& d) { EXPECT_EQ(d.zscale, 1.0); }},
      {"ZSCALE, 2", [](clsDocument& d) { EXPECT_EQ(d.zscale, 2.0); }},
      {"DisplayScale,-1E+308", [](clsDocument& d) { EXPECT_EQ(d.DisplayScale, 1.0); }},
      {"ContourLevels, 0 ", [&](clsDocument& d) { EXPECT_EQ(d.ContourLevels, s.SurfaceLevels); }},
      {"xSurfaceSize, 50 ", [](clsDocument& d) { EXPECT_EQ(d.ySurfaceSize, 50); }},
      {"xOrigSurfaceSize, 500 ",
       [&](clsDocument& d) {
         EXPECT_EQ(d.xOrigSurfaceSize, s.SFringeSize);
         EXPECT_EQ(d.yOrigSurfaceSize, s.SFringeSize);
       }},
      {"ProfileSize, 1000 ", [](clsDocument& d) { EXPECT_EQ(d.ProfileSize, 1000); }},
      {"ProfileSize, 1001 ", [&](clsDocument& d) { EXPECT_EQ(d.ProfileSize, s.LineSize); }},
      {"ImageView,10,20,-1,-1",
       [](clsDocument& d) {
         EXPECT_EQ(d.Views().GetViewPlacement(viewtype::kImage),
                   (WindowPlacement{10, 20, 100, 100}));
       }},
      {views + "LineProfileAngle, 360 ",
       [&](clsDocument& d) { EXPECT_EQ(d.Views().ViewAngle(), s.DefaultLineAngle); }},
      {views + "LineProfileAngle, 359 ",
       [](clsDocument& d) { EXPECT_EQ(d.Views().ViewAngle(), 359); }},
      {views + "SurfacePhi, 90", [](clsDocument& d) { EXPECT_EQ(d.Views().ViewPhi(), 90.0); }},
      {views + "SurfacePhi, 90.5",
       [&](clsDocument& d) { EXPECT_EQ(d.Views().ViewPhi(), s.DefaultSurfacePhi); }},
      {"LineProfileAngle, 10 \r\nSurfaceTheta, 20\r\nSurfacePhi, 30",
       [](clsDocument& d) {  // ignored while no output views were asked for
         EXPECT_FALSE(d.OutputViewsExist);
         EXPECT_EQ(d.Views().ViewAngle(), 0);
         EXPECT_EQ(d.Views().ViewPhi(), 0.0);
       }},
      {"ImageXSize,  0 \r\nImageYSize,  50 ",
       [](clsDocument& d) {
         std::int32_t w = 0, h = 0;
         d.GetImageSize(w, h);
         EXPECT_EQ(w, kNotGivenLong);
         EXPECT_EQ(h, kNotGivenLong);
         EXPECT_EQ(d.ImageData().size(), 1u);  // nothing allocated for the unset size
       }},
      {"ImageXSize, -5 ", [](clsDocument& d) { EXPECT_FALSE(HasValidImageSize(d)); }},
      {"ImageXSize,  70000 \r\nImageYSize,  70000 ",
       [](clsDocument& d) { EXPECT_FALSE(HasValidImageSize(d)); }},
      {"Zernikes, .5,-.25",
       [](clsDocument& d) {
         EXPECT_EQ(d.Zernike(1), 0.5);
         EXPECT_EQ(d.Zernike(2), -0.25);
         EXPECT_EQ(d.Zernike(3), 0.0);
       }},
      {"Zernikes, 1E+999, 2",
       [](clsDocument& d) {
         EXPECT_EQ(d.Zernike(1), 0.0);  // beyond the double range
         EXPECT_EQ(d.Zernike(2), 2.0);
       }},
      {"FileVersion, 100 RMS, 5\r\nUnknown, 1 PV, 7\r\nStrehl, .5 nDataPts, 9 ",
       [](clsDocument& d) {  // the rest of an unknown key's line is skipped, not a known one's
         EXPECT_EQ(d.RMS, 0.0);
         EXPECT_EQ(d.PV, 0.0);
         EXPECT_EQ(d.Strehl, 0.5);
         EXPECT_EQ(d.nDataPts, 9);
       }},
      {"NumZernikeToFit, abc \r\nContourLevels, x \r\nnDataPts, 7 ",
       [&](clsDocument& d) {  // a token that is no number reads as 0 and the load goes on
         EXPECT_EQ(d.NumZernikeToFit, 0);
         EXPECT_EQ(d.ContourLevels, s.SurfaceLevels);
         EXPECT_EQ(d.nDataPts, 7);
       }},
      {"HasImageFile, True", [](clsDocument& d) { EXPECT_FALSE(d.BlankImage); }},
      {"HasImageFile, False", [](clsDocument& d) { EXPECT_TRUE(d.BlankImage); }},
      {"notilt,yes\r\nTrimEdges,1\r\nInvertWavefront,False",
       [](clsDocument& d) {
         EXPECT_TRUE(d.noTilt);
         EXPECT_TRUE(d.TrimEdges);
         EXPECT_FALSE(d.InvertWavefront);
       }},
      {"ScreenTextfacename:= " + std::string(40, 'F') + "\r\nScreenTextSize, 12 ",
       [](clsDocument& d) {
         EXPECT_EQ(d.ScreenTextStyle().facename, std::string(32, 'F'));
         EXPECT_EQ(d.ScreenTextStyle().Size, 12);
       }},
      {"OpticOperator:=    lead", [](clsDocument& d) { EXPECT_EQ(d.OpticOperator, "lead"); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    clsDocument& doc = ReadDocument(c.text + "\r\n");
    c.check(doc);
  }
}

TEST_F(DocumentTextFileTest, OutputViewRectanglesSetTheSharedLayoutOnlyWithoutHogWindows) {
  settings_.ResultWindowLayout[2] = {1, 2, 300, 200};
  const WindowPlacement before = settings_.ResultWindowLayout[2];
  settings_.HogWindows = true;
  ReadDocument("LineProfileView,5,6,0,0\r\n");
  EXPECT_EQ(settings_.ResultWindowLayout[2], before);
  settings_.HogWindows = false;
  ReadDocument("LineProfileView,5,6,0,0\r\nZernikesView,7,8,90,95\r\n");
  EXPECT_EQ(settings_.ResultWindowLayout[2], (WindowPlacement{5, 6, before.Width, before.Height}));
  EXPECT_EQ(settings_.ResultWindowLayout[5], (WindowPlacement{7, 8, 90, 95}));
}

TEST_F(DocumentTextFileTest, AnalysisValidNeedsTheFlagAndAFitOfAnyLength) {
  struct Case {
    const char* text;
    bool valid;
  };
  const Case cases[] = {
      {"Zernikes, .5, .25\r\nAnalysisValid,True", true},  // eight or fewer terms fitted
      {"Zernikes, 0, 0\r\nAnalysisValid,True", false},    // no fit at all
      {"Zernikes, .5\r\nAnalysisValid,False", false},
      {"AnalysisValid,True", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadDocument(std::string(c.text) + "\r\n").AnalysisValid, c.valid) << c.text;
  }
}

TEST_F(DocumentTextFileTest, TypedTextsNeverChangeAnotherField) {
  const std::string texts[] = {
      "lone\nfeed",
      "C:\\data\\new\\mirror.bmp",
      "typed \\r here",
      "x\r\nRMS, 5\r\nPV, 9",
      "ends in a backslash\\",
      " leading blank",
      "\rOpticDate:= never",
      "plain, with; delimiters: =",  // needs no escape at all
  };
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    clsDocument& doc = NewImageDocument();
    doc.RMS = 0.5;
    doc.PV = 1.5;
    doc.OpticDescription = text;
    doc.OpticOperator = text + "op";
    doc.OpticComments = text + "\r\nmore";
    doc.OpticDate = "date " + text;
    const std::string written = DocumentText(doc);
    EXPECT_EQ(written.starts_with("FileVersion, 101 \r\n"), !text.starts_with("plain"));
    clsDocument& back = ReadDocument(written);
    EXPECT_EQ(back.OpticDescription, doc.OpticDescription);
    EXPECT_EQ(back.OpticOperator, doc.OpticOperator);
    EXPECT_EQ(back.OpticComments, doc.OpticComments);
    EXPECT_EQ(back.OpticDate, doc.OpticDate);
    EXPECT_EQ(back.RMS, 0.5);
    EXPECT_EQ(back.PV, 1.5);
    EXPECT_EQ(DocumentText(back), written);
  }
}

TEST_F(DocumentTextFileTest, PlainTextsKeepTheFormOlderFilesHave) {
  clsDocument& doc = NewImageDocument();
  doc.OpticComments = "one\r\ntwo, three";
  const std::string text = DocumentText(doc);
  EXPECT_TRUE(text.starts_with("FileVersion, 100 \r\n"));
  EXPECT_NE(text.find("\r\nOpticComments:= one\\rtwo, three\r\n"), std::string::npos);

  // Older files carry a backslash as it was typed; only a comment's "\r" is a line break.
  clsDocument& old = ReadDocument(
      "FileVersion, 100 \r\nOpticDescription:= C:\\new\\r1\r\nOpticComments:= a\\rb\\nc\r\n");
  EXPECT_EQ(old.OpticDescription, "C:\\new\\r1");
  EXPECT_EQ(old.OpticComments, "a\r\nb\\nc");
}

TEST_F(DocumentTextFileTest, SavingReportsFailureUnlessEveryLineWasWritten) {
  struct Case {
    int answer;
    bool written;
  };
  for (const Case c : {Case{idbutton::kAbort, false}, Case{idbutton::kIgnore, false},
                       Case{idbutton::kRetry, true}}) {
    clsDocument& doc = NewImageDocument();
    doc.DocDirty = true;
    FailingTextOutput out(1);
    messages_.QueueAnswer(c.answer);
    EXPECT_EQ(doc.SaveDataToFile(out), c.written) << c.answer;
    EXPECT_EQ(doc.DocDirty, !c.written);
    EXPECT_EQ(out.Text().empty(), !c.written);
    if (c.written) {
      EXPECT_EQ(out.Text(), DocumentText(doc));
    }
  }
}

}  // namespace
}  // namespace orvale
