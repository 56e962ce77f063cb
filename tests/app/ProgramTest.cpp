// The whole program in this process: started on the bundled sample over a real settings
// file in a fresh configuration folder, traced, closed with scripted answers, and
// started again.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPageSize>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/AppState.h"
#include "app/imageview/ImageView.h"
#include "app/imageview/ImageViewWindows.h"
#include "app/Startup.h"
#include "app/document/DocumentSaveService.h"
#include "app/document/SaveCommands.h"
#include "app/document/clsDocument.h"
#include "app/dialogs/GrabberSelection.h"
#include "app/frame/frmMain.h"
#include "app/report/ReportGeometry.h"
#include "platform/capture/SyntheticCameraConfig.h"
#include "platform/capture/SyntheticPattern.h"
#include "platform/capture/V4l2Io.h"
#include "platform/com/PluginLibrary.h"
#include "platform/gdi/PagedDeviceCaps.h"
#include "platform/registry/TypedSettings.h"
#include "platform/registry/IniFormat.h"
#include "platform/registry/IniSettingsStore.h"
#include "platform/ui/FileDialogService.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/PrintDialogService.h"
#include "platform/ui/ScreenTwips.h"
#include "samples/SampleMirror.h"
#include "tests/support/PdfPages.h"
#include "tests/support/QuitRequest.h"
#include "tests/support/ScopedEnvironmentVariable.h"
#include "tests/support/TempConfigHome.h"

namespace orvale {
namespace {

namespace fs = std::filesystem;
using testing::PdfInfo;
using testing::ReadPdfInfo;
using testing::RenderPdfPage;

class ProgramTest : public ::testing::Test {
 protected:
  ProgramTest() {
    fs::create_directories(work_);
    for (const char* name : {"sample.jpg", "sample.ovd", "sample.bmp"})
      fs::copy_file(fs::path(ORVALE_SAMPLES_DIR) / name, work_ / name);
  }

  // Starts the program with `arguments` after its name; false when the start failed.
  bool Start(AppState& app, std::vector<std::string> arguments, const fs::path& plugins = {}) {
    arguments.insert(arguments.begin(), "orvale");
    std::vector<char*> argv;
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    return RunStartupWithInstalledServices(app, static_cast<int>(arguments.size()), argv.data(), plugins);
  }

  // The settings file as the next start will read it.
  SettingsSections File() const {
    std::ifstream in(DefaultSettingsFile(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return ParseIniSettings(text.str());
  }
  static std::string Value(const SettingsSections& file, const char* section, const char* key) {
    std::string value = "<missing>";
    file.ReadValue(section, key, value);
    return value;
  }

  testing::TempConfigHome home_;
  fs::path work_ = home_.Folder() / "work";
  IniSettingsStore store_{DefaultSettingsFile()};
  ScopedSettingsStore storeInstalled_{store_};
  ScriptedMessageService messages_;
  ScopedMessageService messagesInstalled_{messages_};
  ScriptedFileDialogService dialogs_;
  ScopedFileDialogService dialogsInstalled_{dialogs_};
  ScriptedPrintDialogService printDialogs_;
  ScopedPrintDialogService printDialogsInstalled_{printDialogs_};
  ScopedDocumentSaveService saving_{FileSaveCommands()};
};

TEST_F(ProgramTest, ASessionOnTheSampleIsWrittenBackAndRestoredAtTheNextStart) {
  const std::string sample = (work_ / "sample.ovd").string();
  const QRect place(60, 75, 630, 480);
  {
    AppState app;
    ASSERT_TRUE(Start(app, {sample}));
    frmMain& frame = *app.FormMain;
    EXPECT_TRUE(frame.isVisible());
    ASSERT_EQ(app.Documents->NumDocuments, 1);
    clsDocument& doc = *app.Documents->Documents[1];
    EXPECT_EQ(doc.DocumentFileName, "sample.ovd");
    EXPECT_EQ(doc.Fringes.NumFringes(), 9);
    EXPECT_EQ(doc.Aperture.GetShapeType(), clsShape::kCircle);
    EXPECT_EQ(doc.Obstruction.GetShapeType(), clsShape::kCircle);

    // The image view opened active; a new trace over the stored fringes.
    EXPECT_EQ(app.Documents->ActiveDocIndex, 1);
    EXPECT_EQ(doc.ActiveView, viewtype::kImage);
    messages_.QueueAnswer(idbutton::kYes);  // erase the fringes there are
    frame.Action("mnuProcessTraceV")->trigger();
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(messages_.Messages()[0].title, "Warning");
    EXPECT_GE(doc.Fringes.NumFringes(), 8);
    EXPECT_TRUE(doc.DocDirty);

    // An analysis with individual result windows; the surface plot was moved.
    app.Settings.HogWindows = false;
    ASSERT_TRUE(doc.CreateView(2));
    doc.zscale = 1.0;
    doc.UpdateAnalysis(true, false);
    ASSERT_TRUE(doc.AnalysisValid);
    doc.Views().SetViewPlacement(viewtype::kSurfacePlot, {33, 44, 420, 260});
    frame.StoreWindowLayout(doc);

    frame.move(place.topLeft());  // the outer rectangle: frame included
    frame.resize(place.size().shrunkBy(QMargins(2, 2, 2, 2)));  // the test platform's frame
    ASSERT_EQ(frame.frameGeometry(), place);
    frame.Action("mnuViewToolbar")->trigger();
    frame.Action("mnuViewAverageBox")->trigger();
    messages_.QueueAnswer(idbutton::kNo);  // do not save the traced sample
    EXPECT_TRUE(frame.close());
    ASSERT_EQ(messages_.Messages().size(), 2u);
    EXPECT_EQ(messages_.Messages()[1].text, "Save changes to " + sample + " ?");
    EXPECT_EQ(app.Documents->NumDocuments, 0);
  }

  const SettingsSections file = File();
  const std::pair<const char*, std::string> written[] = {
      {"MainLeft", std::to_string(PixelsToTwips(place.left()))},
      {"MainTop", std::to_string(PixelsToTwips(place.top()))},
      {"MainWidth", std::to_string(PixelsToTwips(place.width()))},
      {"MainHeight", std::to_string(PixelsToTwips(place.height()))},
      {"MainState", "0"},
      {"Toolbar Visible", "0"},
      {"Average Box Visible", "1"},
      {"Toolbox Visible", "1"},
      {"Frame Grabber", "None"},
      {"Hog Windows", "0"},
      {"SurfacePlotLeft", "33"},
      {"SurfacePlotTop", "44"},
      {"SurfacePlotWidth", "420"},
      {"SurfacePlotHeight", "260"},
      {"Surface Visible", "1"},
      {"Custom Ref Zernike 36", "0"},
  };
  for (const auto& [key, value] : written) EXPECT_EQ(Value(file, "CurrentVersion", key), value) << key;
  EXPECT_EQ(Value(file, "Recent File List", "File1"), sample);
  EXPECT_EQ(Value(file, "Recent File List", "File2"), "<missing>");

  {
    AppState app;
    ASSERT_TRUE(Start(app, {}));
    frmMain& frame = *app.FormMain;
    EXPECT_EQ(frame.frameGeometry(), place);
    EXPECT_EQ(frame.geometry(), place - QMargins(2, 2, 2, 2));
    EXPECT_TRUE(frame.ToolBar()->isHidden());
    EXPECT_TRUE(app.Tools.Average->isVisible());
    EXPECT_FALSE(app.Settings.HogWindows);
    EXPECT_EQ(app.Settings.ResultWindowLayout[0], (WindowPlacement{33, 44, 420, 260}));
    EXPECT_EQ(app.Documents->NumDocuments, 0);
    QAction* recent = frame.Action("mnuFileMRU0");
    EXPECT_TRUE(recent->isVisible());
    EXPECT_EQ(recent->text(), "sample.ovd");
    recent->trigger();
    EXPECT_EQ(app.Documents->NumDocuments, 1);
    EXPECT_TRUE(frame.close());
  }
  EXPECT_EQ(messages_.Messages().size(), 2u);
}

TEST_F(ProgramTest, ARelativePathIsOpenedAndRememberedAsAnAbsoluteOne) {
  const fs::path before = fs::current_path();
  fs::current_path(work_);
  AppState app;
  const bool started = Start(app, {"sample.jpg"});
  fs::current_path(before);
  ASSERT_TRUE(started);
  ASSERT_EQ(app.Documents->NumDocuments, 1);
  EXPECT_EQ(app.Documents->Documents[1]->ImageFileName, "sample.jpg");
  EXPECT_EQ(app.RecentFiles->Path(0), (work_ / "sample.jpg").string());
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(ProgramTest, OnlyTheExactAutomationMarkerOpensNothing) {
  {
    AppState app;
    ASSERT_TRUE(Start(app, {"-Embedding"}));
    EXPECT_TRUE(app.FormMain->isVisible());
    EXPECT_EQ(app.Documents->NumDocuments, 0);
    EXPECT_TRUE(messages_.Messages().empty());
  }
  AppState app;
  const fs::path before = fs::current_path();
  fs::current_path(work_);
  const bool started = Start(app, {"-embedding"});
  fs::current_path(before);
  ASSERT_TRUE(started);
  EXPECT_TRUE(app.FormMain->isVisible());
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].text, "Could not find file " + (work_ / "-embedding").string());
  EXPECT_EQ(messages_.Messages()[0].title, "Error");
}

TEST_F(ProgramTest, AFolderOnTheCommandLineIsReportedAndNothingElseChanges) {
  AppState app;
  ASSERT_TRUE(Start(app, {work_.string()}));
  EXPECT_EQ(app.Documents->NumDocuments, 0);
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].text, "Path/File access error: " + work_.string());
  EXPECT_EQ(app.RecentFiles->NumRecentFiles(), 0);
}

// Started by a user, the failure is shown; started for automation, nobody is there to
// answer, and it is told on standard error.
TEST_F(ProgramTest, AStoredGrabberThatFailsToInitialiseIsReportedAndTheProgramRuns) {
  const fs::path plugins = ORVALE_FAKE_PLUGIN_DIR;
  std::string error;
  ASSERT_TRUE(RegisterServer(plugins / "OVVGPlugFailing.so", error)) << error;
  for (const bool embedding : {false, true}) {
    SCOPED_TRACE(embedding ? "-Embedding" : "by a user");
    GetSettingString("CurrentVersion", "Frame Grabber", "");
    SaveSettingString("CurrentVersion", "Frame Grabber", "Failing");
    messages_.Clear();

    AppState app;
    ::testing::internal::CaptureStderr();
    const bool started = Start(app, embedding ? std::vector<std::string>{"-Embedding"} : std::vector<std::string>{}, plugins);
    const std::string said = ::testing::internal::GetCapturedStderr();
    ASSERT_TRUE(started);

    EXPECT_TRUE(app.FormMain->isVisible());
    const std::string told = "Error Loading Frame Grabber: ";
    if (embedding) {
      EXPECT_TRUE(messages_.Messages().empty());
      EXPECT_NE(said.find("orvale automation: " + told), std::string::npos) << said;
    } else {
      ASSERT_EQ(messages_.Messages().size(), 1u);
      EXPECT_EQ(messages_.Messages()[0].title, "Error Loading Frame Grabber");
      EXPECT_EQ(said.find(told), std::string::npos) << said;
    }
    EXPECT_FALSE(app.Grabber.GrabberCreated);
    EXPECT_FALSE(app.FormMain->Action("mnuProcessGrabImage")->isEnabled());
    EXPECT_TRUE(app.FormMain->close());
    EXPECT_EQ(Value(File(), "CurrentVersion", "Frame Grabber"), "None");
  }
}

// What a user does with a new interferogram, through the program's own windows: open
// it, mark the aperture and the obstruction with the toolbox and the mouse, trace,
// analyse, copy a report, save the document, close it and open it again.
TEST_F(ProgramTest, AnInterferogramIsMarkedTracedAnalysedSavedAndReopened) {
  AppState app;
  ASSERT_TRUE(Start(app, {}));
  frmMain& frame = *app.FormMain;

  dialogs_.QueueFile((work_ / "sample.jpg").string());
  frame.Action("mnuFileOpen")->trigger();
  ASSERT_EQ(app.Documents->NumDocuments, 1);
  clsDocument& doc = *app.Documents->ActiveDocument();
  ImageView* view = ImageViewOf(doc);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(static_cast<QWidget*>(frame.MdiArea()->activeSubWindow()), view->FrameWidget());
  EXPECT_EQ(frame.StatusPanel(2)->text(), "640x480");
  EXPECT_TRUE(frame.Action("mnuProcessTraceH")->isEnabled());

  // Four clicks on the rim make the circular aperture, four more the obstruction; both
  // just inside the mirror's edges, as a user marks them. The coefficients are relative
  // to the marked aperture, so it is marked where the mirror's edge is.
  const auto outline = [&](const char* addButton, double radius) {
    app.Tools.ToolBox->findChild<QPushButton*>(addButton)->click();
    const QPoint centre(static_cast<int>(sample::kCentreX), static_cast<int>(sample::kCentreY));
    const int r = static_cast<int>(radius);
    for (const QPoint step : {QPoint(-r, 0), QPoint(r, 0), QPoint(0, -r), QPoint(0, r)})
      QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, centre + step);
  };
  const double apertureRadius = sample::kRadius - 3;
  outline("cmdApertureAdd", apertureRadius);
  outline("cmdObstructionAdd", sample::kObstruction * sample::kRadius + 4);
  EXPECT_EQ(doc.Aperture.GetShapeType(), clsShape::kCircle);
  EXPECT_EQ(doc.Obstruction.GetShapeType(), clsShape::kCircle);
  double radius = 0, unused = 0;
  doc.Aperture.GetRadii(radius, unused);
  EXPECT_NEAR(radius, apertureRadius, 1);

  // The command that fits the sample's fringes: Trace Vertically for fringes that run up
  // and down, as they do there.
  frame.Action(sample::kTraceDirection == 1 ? "mnuProcessTraceV" : "mnuProcessTraceH")->trigger();
  const std::int32_t fringes = doc.Fringes.NumFringes();
  EXPECT_GE(fringes, 8);

  frame.Action("mnuProcessAnalyzeFringes")->trigger();
  ASSERT_TRUE(doc.AnalysisValid);
  // The fit finds the mirror the sample was made from. A trace across the wrong way
  // misses its coefficients by whole waves.
  const ZernikeVector made = sample::Wavefront();
  for (int k = 1; k <= 8; ++k) EXPECT_NEAR(doc.Zernike(k), made[k], 0.1) << "Z" << k;
  ASSERT_TRUE(doc.OutputViewsExist);
  EXPECT_NE(doc.Views().ViewText(viewtype::kAberrations).find("RMS"), std::string::npos);
  EXPECT_TRUE(frame.Action("mnuFileExportZernikes")->isEnabled());

  // The test report, printed to a file: surface plot, aberrations and the logo.
  printDialogs_.QueueFile((work_ / "report.pdf").string());
  frame.Action("mnuFilePrint")->trigger();
  const PdfInfo report = ReadPdfInfo(work_ / "report.pdf");
  EXPECT_EQ(report.Pages, 1);
  EXPECT_EQ(report.Title, "Orvale - sample.jpg");

  // Showing the Zernikes makes them the active view, which Copy takes.
  frame.Action("mnuViewZernikes")->trigger();
  EXPECT_TRUE(frame.Action("mnuViewZernikes")->isChecked());
  EXPECT_EQ(doc.ActiveView, viewtype::kZernikes);
  QApplication::clipboard()->clear();
  frame.Action("mnuEditCopy")->trigger();
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), doc.Views().ViewText(viewtype::kZernikes));
  EXPECT_FALSE(QApplication::clipboard()->text().isEmpty());

  const std::string saved = (work_ / "mirror.ovd").string();
  dialogs_.QueueFile(saved, 2);
  frame.Action("mnuFileSaveAs")->trigger();
  EXPECT_TRUE(fs::exists(saved));
  EXPECT_FALSE(doc.DocDirty);
  ZernikeVector fitted{};
  doc.GetZernikes(fitted);
  frame.Action("mnuFileClose")->trigger();
  EXPECT_EQ(app.Documents->NumDocuments, 0);

  dialogs_.QueueFile(saved, 3);
  frame.Action("mnuFileOpen")->trigger();
  ASSERT_EQ(app.Documents->NumDocuments, 1);
  clsDocument& reopened = *app.Documents->ActiveDocument();
  EXPECT_EQ(reopened.DocumentFileName, "mirror.ovd");
  EXPECT_EQ(reopened.Aperture.GetShapeType(), clsShape::kCircle);
  EXPECT_EQ(reopened.Fringes.NumFringes(), fringes);
  EXPECT_TRUE(reopened.AnalysisValid);
  EXPECT_NEAR(reopened.Zernike(8), fitted[8], 1e-6);
  EXPECT_TRUE(messages_.Messages().empty());
  EXPECT_TRUE(frame.close());
}

// Averaging and the grid analysis through the program's own windows: two analysed
// documents go into an average, and the average's wavefront is graded on a grid drawn
// with two clicks.
TEST_F(ProgramTest, TwoAnalysedDocumentsAreAveragedAndTheAverageIsGradedOnAGrid) {
  for (const char* name : {"second.ovd", "second.bmp"})
    fs::copy_file(work_ / (std::string("sample") + fs::path(name).extension().string()), work_ / name);
  AppState app;
  ASSERT_TRUE(Start(app, {}));
  frmMain& frame = *app.FormMain;

  std::vector<ZernikeVector> fits;
  for (const char* name : {"sample.ovd", "second.ovd"}) {
    dialogs_.QueueFile((work_ / name).string(), 3);
    frame.Action("mnuFileOpen")->trigger();
    clsDocument& doc = *app.Documents->ActiveDocument();
    frame.Action("mnuProcessAnalyzeFringes")->trigger();
    ASSERT_TRUE(doc.AnalysisValid) << name;
    ASSERT_TRUE(frame.Action("mnuProcessAddAverage")->isEnabled());
    frame.Action("mnuProcessAddAverage")->trigger();
    doc.GetZernikes(fits.emplace_back());
  }
  frame.Action("mnuViewAverageBox")->trigger();
  frmAverage& averageBox = *app.Tools.Average;
  ASSERT_TRUE(averageBox.isVisible());
  EXPECT_EQ(averageBox.findChild<QListWidget*>("lstAverage")->count(), 2);
  averageBox.findChild<QPushButton*>("cmdApply")->click();

  ASSERT_EQ(app.Documents->NumDocuments, 3);
  clsDocument& average = *app.Documents->ActiveDocument();  // its image view came up
  EXPECT_EQ(average.ImageFileName, "Average1");
  EXPECT_TRUE(average.Averaged);
  EXPECT_NEAR(average.Zernike(8), (fits[0][8] + fits[1][8]) / 2, 1e-12);
  EXPECT_NE(average.Views().ViewText(viewtype::kAberrations).find("RMS"), std::string::npos);
  EXPECT_EQ(averageBox.findChild<QListWidget*>("lstAvailable")->count(), 3);

  frame.Action("mnuViewGridAnalyzeBox")->trigger();
  frmAnalyzeGrid& gridBox = *app.Tools.AnalyzeGrid;
  ASSERT_TRUE(gridBox.isVisible());
  const auto type = [&](GridField field, const char* text) {
    QLineEdit* edit = gridBox.Field(field);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
  };
  type(GridField::GridWidth, "40");
  type(GridField::CellWidth, "10");
  type(GridField::CellHeight, "10");
  type(GridField::MaxPV, "0.5");
  gridBox.findChild<QPushButton*>("cmdGridAdd")->click();
  ImageView* view = ImageViewOf(average);
  ASSERT_NE(view, nullptr);
  QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(250, 180));
  QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(390, 320));
  EXPECT_EQ(average.Grid.CellCountX, 4);
  EXPECT_EQ(average.Grid.CellCountY, 4);
  ASSERT_TRUE(gridBox.findChild<QPushButton*>("cmdApply")->isEnabled());
  gridBox.findChild<QPushButton*>("cmdApply")->click();

  EXPECT_TRUE(messages_.Messages().empty());
  EXPECT_TRUE(average.GridResultsViewVisible);
  EXPECT_TRUE(frame.Action("mnuViewGridResults")->isChecked());
  const std::string results = average.Views().ViewText(viewtype::kGridResults);
  EXPECT_NE(results.find("Maximum Acceptable P-V:\t 0.5000"), std::string::npos) << results;
  EXPECT_NE(results.find("(3, 3)"), std::string::npos) << results;
  EXPECT_NE(results.find("% of cells usable"), std::string::npos);

  for (int prompt = 0; prompt < 3; ++prompt) messages_.QueueAnswer(idbutton::kNo);  // nothing saved
  EXPECT_TRUE(frame.close());
  EXPECT_EQ(messages_.Messages().size(), 3u);
}

// The program ends with every tool window shown: a quit request (as the desktop's end of
// session also sends) goes through, whichever window Qt asks first. The windows are
// remembered as shown for the next start.
TEST_F(ProgramTest, AQuitRequestEndsTheProgramWithAllSixToolWindowsShown) {
  const char* const items[] = {"mnuViewToolBox", "mnuViewAnalyzeBox", "mnuViewGridAnalyzeBox",
                               "mnuViewAverageBox", "mnuViewRefZernike", "mnuViewMathBox"};
  const std::string sample = (work_ / "sample.ovd").string();
  {
    AppState app;
    ASSERT_TRUE(Start(app, {sample}));
    frmMain& frame = *app.FormMain;
    for (const char* item : items)
      if (!frame.Action(item)->isChecked()) frame.Action(item)->trigger();
    for (int kind = 0; kind < kToolWindowCount; ++kind)
      ASSERT_TRUE(app.Tools.Of(static_cast<ToolWindowKind>(kind))->isVisible()) << kind;

    // A changed document whose save the user cancels stops the quit: nothing is lost and
    // every tool window is back.
    app.Documents->ActiveDocument()->DocDirty = true;
    messages_.QueueAnswer(idbutton::kCancel);
    EXPECT_FALSE(testing::RequestQuit());
    EXPECT_TRUE(frame.isVisible());
    EXPECT_EQ(app.Documents->NumDocuments, 1);
    for (int kind = 0; kind < kToolWindowCount; ++kind)
      EXPECT_TRUE(app.Tools.Of(static_cast<ToolWindowKind>(kind))->isVisible()) << kind;
    for (const char* item : items) EXPECT_TRUE(frame.Action(item)->isChecked()) << item;

    messages_.QueueAnswer(idbutton::kNo);
    EXPECT_TRUE(testing::RequestQuit());
    EXPECT_FALSE(frame.isVisible());
    EXPECT_EQ(app.Documents->NumDocuments, 0);
    EXPECT_EQ(app.Tools.Of(ToolWindowKind::Math), nullptr);  // the frame's unload ran
  }
  const SettingsSections file = File();
  for (const char* key : {"Toolbox Visible", "Analyze Box Visible", "Analyze Grid Box Visible",
                          "Average Box Visible", "Ref Zernike Visible", "Math Box Visible"})
    EXPECT_EQ(Value(file, "CurrentVersion", key), "1") << key;
  EXPECT_NE(Value(file, "CurrentVersion", "AverageLeft"), "<missing>");
  EXPECT_NE(Value(file, "CurrentVersion", "CombineLeft"), "<missing>");
  EXPECT_NE(Value(file, "Grid_Window", "Left"), "<missing>");

  AppState app;
  ASSERT_TRUE(Start(app, {}));
  for (int kind = 0; kind < kToolWindowCount; ++kind)
    EXPECT_TRUE(app.Tools.Of(static_cast<ToolWindowKind>(kind))->isVisible()) << kind;
}

// The interferogram's own print: a one-pane Interferogram report of the traced sample
// shows the picture centred in its pane with its aspect ratio, the white aperture
// outline and the coloured fringe centres over it.
TEST_F(ProgramTest, AOnePaneInterferogramReportShowsThePictureWithItsOverlays) {
  AppState app;
  ASSERT_TRUE(Start(app, {(work_ / "sample.ovd").string()}));
  app.Settings.ReportNumPanes = 1;
  app.Settings.ReportPanes[1] = 3;
  app.Settings.ReportOrientation = 1;
  PrintDialogAnswer toFile;
  toFile.Cancelled = false;
  toFile.PrintToFile = true;
  toFile.OutputFile = (work_ / "picture.pdf").string();
  toFile.PageLayout = QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                  QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch);
  toFile.Resolution = 300;
  printDialogs_.QueueAnswer(toFile);
  app.FormMain->Action("mnuFilePrint")->trigger();
  const QImage page = RenderPdfPage(work_ / "picture.pdf", 300, false);
  ASSERT_EQ(page.size(), QSize(2550, 3300));
  EXPECT_TRUE(messages_.Messages().empty());

  // The pane: the frame less the margin on each side, on paper; its top follows the
  // title.
  const gdi::DeviceCaps caps = gdi::PagedDeviceCaps(toFile.PageLayout, 300);
  const ReportGeometry g = ComputeReportGeometry(caps);
  const int ox = caps.physicalOffsetX, oy = caps.physicalOffsetY;
  const auto ink = [&](int x, int y) { return qGray(page.pixel(x, y)) < 128; };
  int frameTop = oy + g.TitleTop;
  while (frameTop < 600 && !ink(g.Left + ox, frameTop)) ++frameTop;
  ASSERT_LT(frameTop, 600);
  const double left = g.Left + g.Margin + ox, right = g.Right - g.Margin + ox;
  const double top = frameTop + g.Margin, bottom = g.Bottom - g.Margin + oy;
  const double paneWidth = right - left + 1, paneHeight = bottom - top + 1;
  const double scale = std::min(paneWidth / 640, paneHeight / 480);
  const QRectF picture(left + (paneWidth - 640 * scale) / 2, top + (paneHeight - 480 * scale) / 2,
                       640 * scale, 480 * scale);

  // Where the picture's pixels are: no paper white inside, paper white around it.
  int inkLeft = page.width(), inkRight = 0, inkTop = page.height(), inkBottom = 0;
  for (int y = static_cast<int>(top); y <= static_cast<int>(bottom); y += 3)
    for (int x = static_cast<int>(left); x <= static_cast<int>(right); x += 3)
      if (qGray(page.pixel(x, y)) < 250) {
        inkLeft = std::min(inkLeft, x), inkRight = std::max(inkRight, x);
        inkTop = std::min(inkTop, y), inkBottom = std::max(inkBottom, y);
      }
  EXPECT_NEAR(inkLeft, picture.left(), 4);
  EXPECT_NEAR(inkRight, picture.right(), 4);
  EXPECT_NEAR(inkTop, picture.top(), 4);
  EXPECT_NEAR(inkBottom, picture.bottom(), 4);

  // The aperture's outline: white on the picture all round its circle.
  clsDocument& doc = *app.Documents->ActiveDocument();
  double cx = 0, cy = 0, radius = 0, unused = 0;
  doc.Aperture.GetCenter(cx, cy);
  doc.Aperture.GetRadii(radius, unused);
  int outlined = 0;
  for (int step = 0; step < 36; ++step) {
    const double angle = step * 3.14159265358979 / 18;
    bool white = false;
    for (double r = radius - 2; r <= radius + 2; r += 0.25) {
      const int x = static_cast<int>(picture.left() + (cx + r * std::cos(angle)) * scale);
      const int y = static_cast<int>(picture.top() + (cy + r * std::sin(angle)) * scale);
      white |= qGray(page.pixel(x, y)) >= 250;
    }
    outlined += white;
  }
  EXPECT_GE(outlined, 34);

  // The fringe centres: coloured marks, all inside the aperture.
  int marks = 0, astray = 0;
  for (int y = static_cast<int>(picture.top()); y < picture.bottom(); ++y)
    for (int x = static_cast<int>(picture.left()); x < picture.right(); ++x) {
      const QRgb p = page.pixel(x, y);
      if (std::max({qRed(p), qGreen(p), qBlue(p)}) - std::min({qRed(p), qGreen(p), qBlue(p)}) < 128) continue;
      ++marks;
      const double u = (x - picture.left()) / scale - cx, v = (y - picture.top()) / scale - cy;
      if (u * u + v * v > (radius + 8) * (radius + 8)) ++astray;
    }
  EXPECT_GT(marks, 1000);
  EXPECT_EQ(astray, 0);
}

// The capture road with the built plug-in: registered in the fresh configuration folder,
// driven by the synthetic camera, selected, grabbed into a new document through the
// menu, marked, traced and analysed; the fit gives back the camera's known wavefront.
class CaptureRoadTest : public ProgramTest {
 protected:
  CaptureRoadTest() {
    std::string error;
    EXPECT_TRUE(RegisterServer(kTavrel, error)) << error;
  }
  // Starts the program with the plug-ins beside the built program and selects "Tavrel".
  bool StartWithTavrel(AppState& app) {
    if (!Start(app, {}, kTavrel.parent_path())) return false;
    for (std::int32_t i = 1; i <= kMaxGrabberPlugins; ++i) {
      if (app.Grabber.GrabberNames[static_cast<std::size_t>(i)] != "Tavrel") continue;
      SelectGrabber(app.Grabber, i);
      app.FormMain->SetMenuItems(false);
      app.FormMain->SetToolBarItems(false);
      return app.Grabber.GrabberReady;
    }
    return false;
  }
  // "Tavrel" as the stored grabber (reading the section first makes it).
  static void StoreTavrel() {
    GetSettingString("CurrentVersion", "Frame Grabber", "");
    SaveSettingString("CurrentVersion", "Frame Grabber", "Tavrel");
  }

  const fs::path kTavrel = ORVALE_TAVREL_LIBRARY;
};

TEST_F(CaptureRoadTest, AGrabIsTracedAndFittedToTheCamerasWavefront) {
  testing::ScopedEnvironmentVariable camera(kSyntheticCameraVariable, "interval=5");
  AppState app;
  ASSERT_TRUE(StartWithTavrel(app));
  frmMain& frame = *app.FormMain;
  frame.resize(1200, 900);
  app.Settings.GrabIntoNewWindow = true;
  app.Settings.GrabAspectRatio = 1.0;

  QAction* grab = frame.Action("mnuProcessGrabImage");
  ASSERT_TRUE(grab->isEnabled());
  grab->trigger();
  ASSERT_EQ(app.Documents->NumDocuments, 1);
  clsDocument& doc = *app.Documents->ActiveDocument();
  EXPECT_EQ(doc.ImageFileName, "Image1");
  EXPECT_EQ(frame.StatusPanel(2)->text(), "640x480");
  ImageView* view = ImageViewOf(doc);
  ASSERT_NE(view, nullptr);
  const SyntheticPupil pupil = SyntheticPupilFor(640, 480);
  ASSERT_GT(view->width(), pupil.CentreX + pupil.Radius);
  ASSERT_GT(view->height(), pupil.CentreY + pupil.Radius);

  // Four clicks on the rim of the camera's pupil make the aperture.
  app.Tools.ToolBox->findChild<QPushButton*>("cmdApertureAdd")->click();
  const QPoint centre(pupil.CentreX, pupil.CentreY);
  const int r = pupil.Radius;
  for (const QPoint step : {QPoint(-r, 0), QPoint(r, 0), QPoint(0, -r), QPoint(0, r)})
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, centre + step);
  ASSERT_EQ(doc.Aperture.GetShapeType(), clsShape::kCircle);

  frame.Action("mnuProcessTraceV")->trigger();
  EXPECT_GE(doc.Fringes.NumFringes(), 10);
  frame.Action("mnuProcessAnalyzeFringes")->trigger();
  ASSERT_TRUE(doc.AnalysisValid);
  for (int k = 1; k <= 8; ++k)
    EXPECT_NEAR(doc.Zernike(k), kSyntheticWavefront[static_cast<std::size_t>(k)], 0.05) << "term " << k;
  EXPECT_TRUE(messages_.Messages().empty());

  messages_.QueueAnswer(idbutton::kNo);  // do not save the grabbed picture
  EXPECT_TRUE(frame.close());
  EXPECT_EQ(Value(File(), "CurrentVersion", "Frame Grabber"), "Tavrel");
}

TEST_F(CaptureRoadTest, PropertiesRemakeThePlugInOnTheCameraChosen) {
  testing::ScopedEnvironmentVariable camera(kSyntheticCameraVariable, "cameras=2;interval=5");
  AppState app;
  ASSERT_TRUE(StartWithTavrel(app));
  frmMain& frame = *app.FormMain;
  QAction* properties = frame.Action("mnuProcessGrabberProps");
  ASSERT_TRUE(properties->isEnabled());

  QString title;
  QTimer::singleShot(0, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    title = dialog->windowTitle();
    auto* cameras = dialog->findChild<QComboBox*>("cboCamera");
    cameras->setCurrentIndex(1);
    emit cameras->activated(1);
    dialog->findChild<QPushButton*>("cmdOK")->click();
  });
  properties->trigger();

  EXPECT_EQ(title, "Tavrel Properties");
  std::ifstream ini(home_.Folder() / "Halvern" / "OVVGPlugTavrel.ini", std::ios::binary);
  std::stringstream text;
  text << ini.rdbuf();
  EXPECT_EQ(text.str(), "[CurrentVersion]\r\nSelectedDevice=1\r\n");
  // The old object closed its camera and its live window; the new one runs.
  int liveWindows = 0;
  for (QWidget* widget : QApplication::topLevelWidgets())
    liveWindows += widget->windowTitle() == "Live Video" && widget->isVisible();
  EXPECT_EQ(liveWindows, 1);
  EXPECT_TRUE(app.Grabber.GrabberReady);
  app.Settings.GrabIntoNewWindow = true;
  frame.Action("mnuProcessGrabImage")->trigger();
  EXPECT_EQ(app.Documents->NumDocuments, 1);
  EXPECT_TRUE(messages_.Messages().empty());
  messages_.QueueAnswer(idbutton::kNo);
  EXPECT_TRUE(frame.close());
}

TEST_F(CaptureRoadTest, AStoredTavrelWithoutACameraCannotGrab) {
  if (!SystemV4l2Io().VideoNodes().empty()) GTEST_SKIP() << "this machine has video devices";
  testing::ScopedEnvironmentVariable noCamera(kSyntheticCameraVariable, std::nullopt);
  StoreTavrel();
  AppState app;
  ASSERT_TRUE(Start(app, {}, kTavrel.parent_path()));
  EXPECT_TRUE(app.Grabber.GrabberCreated);
  EXPECT_FALSE(app.Grabber.GrabberReady);
  EXPECT_FALSE(app.FormMain->Action("mnuProcessGrabImage")->isEnabled());
  EXPECT_FALSE(app.FormMain->Action("mnuProcessGrabberProps")->isEnabled());
  EXPECT_TRUE(messages_.Messages().empty());
  EXPECT_TRUE(app.FormMain->close());
}

TEST_F(CaptureRoadTest, AStoredTavrelNotRegisteredIsReported) {
  std::string error;
  ASSERT_TRUE(UnregisterServer(kTavrel, error)) << error;
  StoreTavrel();
  AppState app;
  ASSERT_TRUE(Start(app, {}, kTavrel.parent_path()));
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].title, "Error Loading Frame Grabber");
  EXPECT_EQ(messages_.Messages()[0].text.rfind("Class not registered: OVVGPlugTavrel.clsTavrel", 0), 0u)
      << messages_.Messages()[0].text;
  EXPECT_FALSE(app.Grabber.GrabberCreated);
  EXPECT_TRUE(app.FormMain->isVisible());
  EXPECT_TRUE(app.FormMain->close());
}

// The user clicks the splash away while the start is still running.
class ClickedSplashSteps : public QtStartupSteps {
 public:
  using QtStartupSteps::QtStartupSteps;
  void ShowSplash() override {
    QtStartupSteps::ShowSplash();
    ASSERT_NE(Splash(), nullptr);
    Splash()->close();
  }
};

TEST_F(ProgramTest, ASplashClosedByAClickDoesNotStopTheStart) {
  AppState app;
  ClickedSplashSteps steps(app, nullptr);
  ASSERT_TRUE(RunStartupSequence(steps, {false, ""}));
  EXPECT_TRUE(app.FormMain->isVisible());
  EXPECT_TRUE(messages_.Messages().empty());
}

}  // namespace
}  // namespace orvale
