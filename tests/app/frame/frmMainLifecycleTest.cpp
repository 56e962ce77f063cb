// The frame's load, close and unload, and dropped files.
#include <QCoreApplication>
#include <QMimeData>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include "app/imageview/ToolboxShapes.h"
#include "app/document/clsDocument.h"
#include "platform/registry/TypedSettings.h"
#include "platform/ui/ScreenTwips.h"
#include "tests/app/frame/FrameTestSupport.h"

namespace orvale::testing {
namespace {

constexpr std::string_view kSection = "CurrentVersion";

using FrameLifecycleTest = FrameTest;

// The default place, with the title bar on the screen and the whole toolbar showing.
TEST_F(FrameLifecycleTest, AnEmptyStoreOpensTheDefaultFrame) {
  Frame().show();
  QCoreApplication::processEvents();
  const QRect outer = Frame().frameGeometry();
  EXPECT_EQ(outer.topLeft(), QPoint(0, 0));
  EXPECT_EQ(outer.height(), TwipsToPixels(6500));
  EXPECT_GE(outer.width(), TwipsToPixels(8500));
  EXPECT_NE(outer, Frame().geometry());  // the test platform draws a frame
  const QToolBar* toolbar = Frame().ToolBar();
  for (QAction* action : toolbar->actions())
    EXPECT_TRUE(toolbar->widgetForAction(action)->isVisible()) << action->objectName().toStdString();
  EXPECT_FALSE(toolbar->findChild<QToolButton*>("qt_toolbar_ext_button")->isVisible());
  EXPECT_EQ(Frame().windowState(), Qt::WindowNoState);
  EXPECT_EQ(Frame().windowTitle(), "Orvale");
  const std::pair<ViewMenuItem, bool> checks[] = {
      {ViewMenuItem::Toolbar, true},         {ViewMenuItem::StatusBar, true},
      {ViewMenuItem::ToolBox, true},         {ViewMenuItem::AnalyzeBox, true},
      {ViewMenuItem::AverageBox, false},     {ViewMenuItem::GridAnalyzeBox, false},
      {ViewMenuItem::MathBox, false},        {ViewMenuItem::RefZernike, false},
  };
  for (const auto& [item, checked] : checks)
    EXPECT_EQ(Frame().ViewItemChecked(item), checked) << static_cast<int>(item);

  Frame().ShowToolWindowsByChecks();
  EXPECT_TRUE(app_->Tools.ToolBox->isVisible());
  EXPECT_TRUE(app_->Tools.Analyze->isVisible());
  EXPECT_FALSE(app_->Tools.Average->isVisible());
  EXPECT_FALSE(app_->Tools.AnalyzeGrid->isVisible());
  EXPECT_FALSE(app_->Tools.Math->isVisible());
  EXPECT_FALSE(app_->Tools.RefZernike->isVisible());
  EXPECT_TRUE(Button(7)->isChecked());
  EXPECT_FALSE(Button(9)->isChecked());
}

TEST_F(FrameLifecycleTest, StoredValuesAreClampedAndALostFrameComesBackToItsDefaultPlace) {
  SaveSettingLong(kSection, "MainState", 5);
  SaveSettingLong(kSection, "MainLeft", 999999);  // clamped to the screen width: off-screen
  Frame().Load();
  EXPECT_TRUE(Frame().windowState() & Qt::WindowMaximized);
  EXPECT_EQ(Frame().normalGeometry().topLeft(), QPoint(0, 0));
  EXPECT_EQ(Frame().normalGeometry().height(), TwipsToPixels(6500));
}

TEST_F(FrameLifecycleTest, ClosingWhileMaximisedKeepsTheLastNormalPlace) {
  SaveSettingLong(kSection, "MainLeft", 1500);
  Frame().Load();
  Frame().setWindowState(Qt::WindowMaximized);
  ASSERT_TRUE(Frame().close());
  EXPECT_EQ(Setting("MainLeft"), "1500");
  EXPECT_EQ(Setting("MainState"), "2");
}

TEST_F(FrameLifecycleTest, TheFramesOwnKeysRoundTripFromOneExitToTheNextStart) {
  const std::pair<const char*, const char*> stored[] = {
      {"MainLeft", "1500"},          {"MainTop", "1200"},
      {"MainWidth", "9000"},         {"MainHeight", "7500"},
      {"MainState", "0"},            {"Average Box Visible", "1"},
      {"Analyze Box Visible", "0"},  {"Analyze Grid Box Visible", "1"},
      {"Toolbox Visible", "0"},      {"Toolbar Visible", "0"},
      {"Status Bar Visible", "0"},   {"Math Box Visible", "1"},
      {"Ref Zernike Visible", "1"},
  };
  for (const auto& [key, value] : stored) SaveSettingString(kSection, key, value);
  Frame().Load();
  Frame().show();  // framed: the place written back is still the outer rectangle
  Frame().ShowToolWindowsByChecks();
  for (const auto& [key, value] : stored) SaveSettingString(kSection, key, "");

  ASSERT_TRUE(Frame().close());

  for (const auto& [key, value] : stored) EXPECT_EQ(Setting(key), value) << key;
  EXPECT_EQ(Setting("Frame Grabber"), "None");
}

TEST_F(FrameLifecycleTest, CancelInTheSecondSavePromptStopsTheClose) {
  clsDocument* docs[3] = {&AddDocument(), &AddDocument(), &AddDocument()};
  for (clsDocument* doc : docs) doc->DocDirty = true;
  messages_.QueueAnswer(idbutton::kNo);
  messages_.QueueAnswer(idbutton::kCancel);
  const std::string before = StoreText();

  EXPECT_FALSE(Frame().close());

  EXPECT_EQ(messages_.Messages().size(), 2u);
  EXPECT_FALSE(Table().DocumentInUse[1]);
  EXPECT_TRUE(Table().DocumentInUse[2]);
  EXPECT_TRUE(Table().DocumentInUse[3]);
  EXPECT_EQ(StoreText(), before);
  EXPECT_NE(app_->Tools.Average, nullptr);
}

TEST_F(FrameLifecycleTest, APlugInThatDidNotInitialiseIsReleasedWithoutShutdown) {
  const auto log = InstallPlugin(false, true);

  ASSERT_TRUE(Frame().close());

  EXPECT_EQ(log->Shutdown, 0);
  EXPECT_EQ(log->Release, 1);
  EXPECT_EQ(app_->Grabber.Grabber, nullptr);
  EXPECT_EQ(Setting("Frame Grabber"), "Fake");
  EXPECT_EQ(app_->Tools.ToolBox, nullptr);
  EXPECT_EQ(app_->FormInput, nullptr);
}

TEST_F(FrameLifecycleTest, AFailingShutdownDoesNotStopTheTeardown) {
  const auto log = InstallPlugin(true, true);
  dynamic_cast<FakeGrabberPlugin&>(*app_->Grabber.Grabber).ShutdownStatus =
      PluginStatus::Fail("The camera is gone.");

  ASSERT_TRUE(Frame().close());

  EXPECT_EQ(log->Shutdown, 1);
  EXPECT_EQ(log->Release, 1);
  EXPECT_EQ(app_->Tools.Math, nullptr);
  EXPECT_EQ(Setting("Frame Grabber"), "Fake");
}

QMimeData* UrlData(const std::vector<QUrl>& urls) {
  auto* data = new QMimeData;
  data->setUrls(QList<QUrl>(urls.begin(), urls.end()));
  return data;
}

TEST_F(FrameLifecycleTest, DroppedLocalFilesOpenInTheirOrder) {
  const std::string names[] = {WriteBitmap("c.bmp"), WriteBitmap("a.bmp"), WriteBitmap("b.bmp")};
  std::unique_ptr<QMimeData> data(UrlData({QUrl::fromLocalFile(QString::fromStdString(names[0])),
                                           QUrl::fromLocalFile(QString::fromStdString(names[1])),
                                           QUrl::fromLocalFile(QString::fromStdString(names[2]))}));
  ASSERT_TRUE(Frame().DropFiles(*data));
  ASSERT_EQ(Table().NumDocuments, 3);
  EXPECT_EQ(Table().Documents[1]->ImageFileName, "c.bmp");
  EXPECT_EQ(Table().Documents[2]->ImageFileName, "a.bmp");
  EXPECT_EQ(Table().Documents[3]->ImageFileName, "b.bmp");
  EXPECT_EQ(app_->RecentFiles->Path(0), names[2]);
}

TEST_F(FrameLifecycleTest, TextAndWebAddressesAreNotDropped) {
  QMimeData text;
  text.setText("/tmp/a.bmp");
  std::unique_ptr<QMimeData> web(UrlData({QUrl("http://example.com/a.bmp")}));
  EXPECT_TRUE(frmMain::DroppedFiles(text).empty());
  EXPECT_TRUE(frmMain::DroppedFiles(*web).empty());
  EXPECT_FALSE(Frame().DropFiles(text));
  EXPECT_FALSE(Frame().DropFiles(*web));
  EXPECT_EQ(Table().NumDocuments, 0);
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(FrameLifecycleTest, ADroppedFolderIsReportedByTheOpening) {
  std::unique_ptr<QMimeData> data(UrlData({QUrl::fromLocalFile(folder_.path())}));
  EXPECT_TRUE(Frame().DropFiles(*data));
  EXPECT_EQ(Table().NumDocuments, 0);
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].text, "Path/File access error: " + folder_.path().toStdString());
}

TEST_F(FrameLifecycleTest, ANewImageTakesTheOutlineStoredInTheToolbox) {
  EXPECT_EQ(app_->Tools.ToolBox->windowTitle(), "ToolBox");
  clsShape stored;
  stored.Init(1);
  double x[] = {0, 10, 30, 10, -10}, y[] = {0, 10, 30, 50, 30};  // 1-based: a circle
  ASSERT_EQ(stored.Save(1, 4, x, y), ShapeSaveResult::Saved);
  SaveToolboxShape(stored, "Aperture");

  clsDocument& doc = AddDocument();
  EXPECT_TRUE(Frame().LoadAperture(doc));  // the frame hands the question to the toolbox
  EXPECT_EQ(doc.Aperture.GetShapeType(), 1);
  EXPECT_FALSE(Frame().LoadObstruction(doc));
}

}  // namespace
}  // namespace orvale::testing
