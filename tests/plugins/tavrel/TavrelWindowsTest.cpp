// The plug-in's windows: the live video while it streams, and "Tavrel Properties" with its
// camera list, its "Settings" menu and OK.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWindow>
#include <functional>
#include <thread>

#include "platform/capture/SyntheticCamera.h"
#include "plugins/tavrel/GrabberPropertiesDialog.h"
#include "plugins/tavrel/LiveVideoDialog.h"
#include "plugins/tavrel/clsTavrel.h"
#include "tests/plugins/tavrel/TavrelTestSupport.h"

namespace orvale {
namespace {

using testing::TavrelTestBench;

QWidget* LiveWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (widget->windowTitle() == "Live Video") return widget;
  return nullptr;
}

// A program's main window: menus, a toolbar and the work area below them, shown and active.
std::unique_ptr<QMainWindow> ShowHostWindow() {
  auto host = std::make_unique<QMainWindow>();
  for (const char* menu : {"File", "Edit", "View", "Process", "Window", "Help"}) host->menuBar()->addMenu(menu);
  host->addToolBar("Tools")->addAction("Grab");
  host->setCentralWidget(new QWidget);
  host->setGeometry(20, 30, 600, 400);
  host->show();
  host->activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(host.get()));
  return host;
}

QRect GlobalRect(const QWidget& widget) { return {widget.mapToGlobal(QPoint(0, 0)), widget.size()}; }

// Shows `window` and makes it the active one.
void Activate(QWidget& window) {
  window.show();
  window.activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
}

class TavrelWindowsTest : public ::testing::Test {
 protected:
  // The engine on the saved camera, with a live window.
  std::unique_ptr<CaptureEngine> OpenEngine(TavrelTestBench& bench) {
    CaptureEnvironment environment = bench.Environment();
    environment.LiveWindow = LiveVideoWindows();
    auto engine = std::make_unique<CaptureEngine>(std::move(environment));
    const std::int32_t camera = ReadSettings(bench.Profile(), engine->EnumerateVideoDevices().size()).SelectedDevice;
    EXPECT_EQ(engine->OpenDevice(&camera), 0);
    return engine;
  }
};

TEST_F(TavrelWindowsTest, TheLiveWindowShowsTheNewestFrameWhileTheCameraStreams) {
  TavrelTestBench bench("size=64x48;interval=1");
  auto engine = OpenEngine(bench);
  auto* live = dynamic_cast<LiveVideoDialog*>(LiveWindow());
  ASSERT_NE(live, nullptr);
  EXPECT_TRUE(live->isVisible());
  EXPECT_TRUE(live->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_EQ(live->size(), QSize(64, 49));
  // With no program window to belong to, it owns nothing and covers nothing: top left,
  // and not above other programs' windows.
  EXPECT_FALSE(live->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(live->windowHandle()->transientParent(), nullptr);
  EXPECT_EQ(live->pos(), QGuiApplication::primaryScreen()->availableGeometry().topLeft());

  ASSERT_TRUE(QTest::qWaitFor([&] { return live->ShownFrame() != nullptr; }));
  EXPECT_EQ(live->ShownOnThread(), std::this_thread::get_id());
  // The picture starts one pixel down, at its own size.
  const QImage shown = live->grab().toImage();
  const std::uint8_t centre = live->ShownFrame()->RowFromTop(24)[3 * 32];
  EXPECT_EQ(qGray(shown.pixel(32, 25)), centre);
  EXPECT_EQ(shown.pixel(32, 0), qRgb(0, 0, 0));

  // The user cannot close it; the engine does, and so does a camera that fails to open.
  live->close();
  EXPECT_TRUE(live->isVisible());
  engine->CloseDevice();
  EXPECT_EQ(LiveWindow(), nullptr);
  const std::int32_t camera = 0;
  ASSERT_EQ(engine->OpenDevice(&camera), 0);
  EXPECT_NE(LiveWindow(), nullptr);
  const std::int32_t missing = 7;
  EXPECT_EQ(engine->OpenDevice(&missing), -4);
  EXPECT_EQ(LiveWindow(), nullptr);
}

TEST_F(TavrelWindowsTest, TheLiveWindowComesWithInitializeAndGoesWithShutdown) {
  TavrelTestBench bench("interval=1");
  CaptureEnvironment environment = bench.Environment();
  environment.LiveWindow = LiveVideoWindows();
  auto* tavrel = new clsTavrel(std::move(environment));
  bool ready = false;
  ASSERT_FALSE(tavrel->Initialize(ready).Failed());
  EXPECT_NE(LiveWindow(), nullptr);
  ASSERT_FALSE(tavrel->Shutdown().Failed());
  EXPECT_EQ(LiveWindow(), nullptr);
  ASSERT_FALSE(tavrel->Initialize(ready).Failed());
  tavrel->Release();  // releasing an initialised object closes its camera too
  EXPECT_EQ(LiveWindow(), nullptr);
}

// The live window belongs to the program's main window, whichever of its windows is active
// when the camera opens: above the main window, below the program's dialogs and message
// boxes (which a window on top of everything hid), and off its menus and toolbars.
TEST_F(TavrelWindowsTest, TheLiveWindowBelongsToTheMainWindowBelowItsMenus) {
  struct Case {
    const char* Situation;
    // Makes the situation over the shown main window; what it returns lives until the
    // camera is open.
    std::function<std::unique_ptr<QWidget>(QMainWindow& host)> Arrange;
  };
  const Case cases[] = {
      {"the main window is active", [](QMainWindow&) { return std::unique_ptr<QWidget>(); }},
      {"a dialog of the main window is active (Preferences' OK)",
       [](QMainWindow& host) {
         auto dialog = std::make_unique<QDialog>(&host);
         Activate(*dialog);
         return std::unique_ptr<QWidget>(std::move(dialog));
       }},
      {"a window of no owner is active",
       [](QMainWindow&) {
         auto other = std::make_unique<QWidget>();
         other->setGeometry(300, 300, 100, 100);
         Activate(*other);
         return other;
       }},
      {"the properties dialog was just closed with OK",
       [](QMainWindow&) {
         TavrelTestBench bench("interval=1");
         CaptureEngine engine(bench.Environment());
         QTimer::singleShot(0, [] { QApplication::activeModalWidget()->findChild<QPushButton*>("cmdOK")->click(); });
         EXPECT_TRUE(RunGrabberPropertiesDialog(engine));
         return std::unique_ptr<QWidget>();
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Situation);
    TavrelTestBench bench("size=64x48;interval=1");
    const auto host = ShowHostWindow();
    const auto situation = c.Arrange(*host);
    auto engine = OpenEngine(bench);
    QWidget* live = LiveWindow();
    ASSERT_NE(live, nullptr);
    EXPECT_FALSE(live->windowFlags() & Qt::WindowStaysOnTopHint);
    ASSERT_NE(live->windowHandle(), nullptr);
    EXPECT_EQ(live->windowHandle()->transientParent(), host->windowHandle());
    const QRect place = live->frameGeometry();
    EXPECT_FALSE(place.intersects(GlobalRect(*host->menuBar())));
    EXPECT_FALSE(place.intersects(GlobalRect(*host->findChild<QToolBar*>())));
    EXPECT_TRUE(GlobalRect(*host->centralWidget()).contains(place));
    EXPECT_TRUE(live->screen()->availableGeometry().contains(place));
  }
}

TEST_F(TavrelWindowsTest, ThePropertiesListTheCamerasWithTheSavedOneChosen) {
  TavrelTestBench bench("cameras=3;interval=1");
  bench.SetSettingsText("[CurrentVersion]\r\nSelectedDevice=1\r\n");
  auto engine = OpenEngine(bench);
  GrabberPropertiesDialog dialog(*engine);
  EXPECT_EQ(dialog.windowTitle(), "Tavrel Properties");
  QComboBox* cameras = dialog.CameraList();
  ASSERT_EQ(cameras->count(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(cameras->itemText(i).toStdString(), "Synthetic Camera " + std::to_string(i + 1));
    EXPECT_EQ(cameras->itemData(i).toInt(), i);
  }
  EXPECT_EQ(cameras->currentIndex(), 1);
  EXPECT_NE(dialog.findChild<QLabel*>(), nullptr);
  EXPECT_EQ(dialog.findChild<QLabel*>()->text(), "Camera");
  std::vector<QString> buttons;
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) buttons.push_back(button->text());
  EXPECT_EQ(buttons, (std::vector<QString>{"Settings", "OK"}));
  EXPECT_TRUE(dialog.OkButton()->isDefault());
  // A dialog of the program like any other: above the live window, not above everything.
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
}

// The synthetic cameras let the user set nothing. An empty menu popped up unseen and took
// the next click, so that OK had to be pressed twice.
TEST_F(TavrelWindowsTest, AnEmptySettingsMenuOpensNothingAndTheNextClickCounts) {
  TavrelTestBench bench("interval=1");
  auto engine = OpenEngine(bench);
  GrabberPropertiesDialog dialog(*engine);
  ASSERT_TRUE(dialog.SettingsMenu()->actions().isEmpty());
  Activate(dialog);
  QTest::mouseClick(dialog.SettingsButton(), Qt::LeftButton);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  EXPECT_FALSE(dialog.SettingsMenu()->isVisible());
  QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(bench.SettingsText(), "[CurrentVersion]\r\nSelectedDevice=0\r\n");
}

TEST_F(TavrelWindowsTest, TheSettingsMenuOffersWhatTheCameraLetsTheUserSet) {
  testing::FakeCamera camera;
  camera.Controls = true;
  camera.FrameSizes = 2;
  TavrelTestBench bench(std::nullopt, {camera});
  auto engine = OpenEngine(bench);
  GrabberPropertiesDialog dialog(*engine);
  const auto actions = dialog.SettingsMenu()->actions();
  ASSERT_EQ(actions.size(), 2);
  EXPECT_EQ(actions[0]->text(), "Video Capture Filter...");
  EXPECT_EQ(actions[0]->data().toInt(), 5000);
  EXPECT_EQ(actions[1]->text(), "Video Capture Pin...");
  EXPECT_EQ(actions[1]->data().toInt(), 5001);

  // "Settings" pops them up at its top right corner.
  Activate(dialog);
  QTest::mouseClick(dialog.SettingsButton(), Qt::LeftButton);
  EXPECT_EQ(QApplication::activePopupWidget(), dialog.SettingsMenu());
  EXPECT_EQ(dialog.SettingsMenu()->pos(),
            dialog.SettingsButton()->mapToGlobal(dialog.SettingsButton()->rect().topRight()));
  dialog.SettingsMenu()->hide();

  actions[0]->trigger();  // opens nothing
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

// The menu offers what the camera chosen in the dialog lets the user set, not the camera
// that was open when the dialog opened.
TEST_F(TavrelWindowsTest, TheSettingsMenuFollowsTheCameraChosenInTheDialog) {
  TavrelTestBench bench("cameras=2;settings=1;interval=1");
  auto engine = OpenEngine(bench);
  GrabberPropertiesDialog dialog(*engine);
  Activate(dialog);
  const auto menuTexts = [&dialog] {
    std::vector<QString> texts;
    for (const QAction* action : dialog.SettingsMenu()->actions()) texts.push_back(action->text());
    return texts;
  };
  const auto choose = [&dialog](int item) {
    dialog.CameraList()->setCurrentIndex(item);
    emit dialog.CameraList()->activated(item);
  };
  EXPECT_EQ(menuTexts(), std::vector<QString>{"Video Capture Filter..."});

  // Camera 2 lets the user set nothing: "Settings" opens nothing and the next click counts.
  choose(1);
  ASSERT_EQ(engine->CameraIndex(), 1);
  EXPECT_TRUE(menuTexts().empty());
  QTest::mouseClick(dialog.SettingsButton(), Qt::LeftButton);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

  // Back on camera 1 its entry is offered again, numbered from the start.
  choose(0);
  ASSERT_EQ(menuTexts(), std::vector<QString>{"Video Capture Filter..."});
  EXPECT_EQ(dialog.SettingsMenu()->actions()[0]->data().toInt(), 5000);
  QTest::mouseClick(dialog.SettingsButton(), Qt::LeftButton);
  EXPECT_EQ(QApplication::activePopupWidget(), dialog.SettingsMenu());
  dialog.SettingsMenu()->hide();
}

TEST_F(TavrelWindowsTest, ChoosingACameraSwitchesAtOnceAndOnlyOkSavesIt) {
  TavrelTestBench bench("cameras=3;interval=1");
  auto engine = OpenEngine(bench);
  {
    GrabberPropertiesDialog dialog(*engine);
    const std::uint64_t opened = SyntheticCamera::OpenCount(0);
    emit dialog.CameraList()->activated(0);  // the camera in use: nothing happens
    EXPECT_EQ(SyntheticCamera::OpenCount(0), opened);

    const std::uint64_t third = SyntheticCamera::OpenCount(2);
    QWidget* live = LiveWindow();
    dialog.CameraList()->setCurrentIndex(2);
    emit dialog.CameraList()->activated(2);
    EXPECT_EQ(engine->CameraIndex(), 2);
    EXPECT_EQ(SyntheticCamera::OpenCount(2), third + 1);
    // The same live window shows the new camera: a new one would open above the dialog.
    EXPECT_EQ(LiveWindow(), live);

    dialog.show();
    dialog.close();  // the close box
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
  }
  EXPECT_EQ(bench.SettingsText(), std::nullopt);
  EXPECT_EQ(engine->CameraIndex(), 2);

  GrabberPropertiesDialog dialog(*engine);
  dialog.CameraList()->setCurrentIndex(1);
  emit dialog.CameraList()->activated(1);
  dialog.OkButton()->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(bench.SettingsText(), "[CurrentVersion]\r\nSelectedDevice=1\r\n");
  EXPECT_EQ(engine->CameraIndex(), 1);
}

TEST_F(TavrelWindowsTest, ShowSetupDlgRunsThePropertiesModally) {
  TavrelTestBench bench("interval=1");
  auto* tavrel = new clsTavrel(bench.Environment());
  bool ready = false;
  ASSERT_FALSE(tavrel->Initialize(ready).Failed());
  QString title;
  QTimer::singleShot(0, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr);
    title = modal->windowTitle();
    modal->findChild<QPushButton*>("cmdOK")->click();
  });
  EXPECT_FALSE(tavrel->ShowSetupDlg().Failed());
  EXPECT_EQ(title, "Tavrel Properties");
  EXPECT_EQ(bench.SettingsText(), "[CurrentVersion]\r\nSelectedDevice=0\r\n");
  tavrel->Release();
}

}  // namespace
}  // namespace orvale
