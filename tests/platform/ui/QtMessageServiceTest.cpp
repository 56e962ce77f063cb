#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <vector>

#include "platform/ui/QtMessageService.h"

namespace orvale {
namespace {

// Only a hang runs into this bound: the events waited for come within milliseconds.
constexpr int kBoundMs = 30000;

class QtMessageServiceTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!QApplication::instance()) {
      static int argc = 1;
      static char name[] = "ui_qt_tests";
      static char* argv[] = {name, nullptr};
      static QApplication app(argc, argv);
    }
  }
};

TEST_F(QtMessageServiceTest, StyleBitsChooseButtonsIconAndDefault) {
  struct Case {
    std::uint32_t flags;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon;
    QMessageBox::StandardButton defaultButton;
  };
  const Case cases[] = {
      {mb::kOk, QMessageBox::Ok, QMessageBox::NoIcon, QMessageBox::Ok},
      {mb::kOkCancel | mb::kIconInformation | mb::kDefButton2,
       QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Information, QMessageBox::Cancel},
      {mb::kAbortRetryIgnore | mb::kIconStop,
       QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, QMessageBox::Critical,
       QMessageBox::Abort},
      {mb::kYesNoCancel | mb::kIconQuestion | mb::kDefButton3,
       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Question,
       QMessageBox::Cancel},
      {mb::kYesNo | mb::kIconExclamation | mb::kDefButton2, QMessageBox::Yes | QMessageBox::No,
       QMessageBox::Warning, QMessageBox::No},
      {mb::kRetryCancel | mb::kIconStop | mb::kTaskModal, QMessageBox::Retry | QMessageBox::Cancel,
       QMessageBox::Critical, QMessageBox::Retry},
  };
  for (const auto& c : cases) {
    const auto box = BuildMessageBox(nullptr, "File not found", "Error", c.flags);
    EXPECT_EQ(box->standardButtons(), c.buttons) << c.flags;
    EXPECT_EQ(box->icon(), c.icon) << c.flags;
    EXPECT_EQ(box->defaultButton(), box->button(c.defaultButton)) << c.flags;
    EXPECT_EQ(box->windowTitle(), "Error");
    EXPECT_EQ(box->text(), "File not found");
    EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
  }
}

TEST_F(QtMessageServiceTest, OwnersAreTheMainWindowNoneOrAGivenWidget) {
  QtMessageService service;
  auto main = std::make_unique<QWidget>();
  QWidget dialog;
  EXPECT_EQ(service.OwnerWidget(kMainWindowOwner), nullptr);  // no main window yet
  service.SetMainWindow(main.get());
  EXPECT_EQ(service.OwnerWidget(kMainWindowOwner), main.get());
  EXPECT_EQ(service.OwnerWidget(0), nullptr);
  EXPECT_EQ(service.OwnerWidget(HandleOf(&dialog)), &dialog);

  auto owned =
      BuildMessageBox(service.OwnerWidget(kMainWindowOwner), "Saved.", "Orvale", mb::kOk);
  EXPECT_EQ(owned->parentWidget(), main.get());
  EXPECT_EQ(owned->windowModality(), Qt::WindowModal);
  EXPECT_EQ(BuildMessageBox(main.get(), "", "", mb::kTaskModal)->windowModality(),
            Qt::ApplicationModal);

  owned.reset();
  main.reset();
  EXPECT_EQ(service.OwnerWidget(kMainWindowOwner), nullptr);  // a closed main window owns nothing
}

// A notice for the main window given while the start has not shown it yet (the
// settings file found unusable) waits for it, and then opens above it, owned by it:
// shown at once, ownerless, the window shown after it would cover it.
TEST_F(QtMessageServiceTest, ANoticeForTheMainWindowWaitsUntilTheWindowIsShown) {
  QtMessageService service;
  const auto noticesShown = [] {
    std::vector<QMessageBox*> shown;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* box = qobject_cast<QMessageBox*>(w); box != nullptr && box->isVisible()) shown.push_back(box);
    }
    return shown;
  };
  service.Notice(kMainWindowOwner, "The settings file cannot be used.", "Warning", mb::kOk);
  QWidget main;
  service.SetMainWindow(&main);
  service.Notice(kMainWindowOwner, "A second one.", "Warning", mb::kOk);
  QCoreApplication::processEvents();
  EXPECT_TRUE(noticesShown().empty());

  main.show();
  QTRY_COMPARE_WITH_TIMEOUT(noticesShown().size(), std::size_t{2}, kBoundMs);
  for (QMessageBox* box : noticesShown()) {
    EXPECT_EQ(box->parentWidget(), &main);
    EXPECT_EQ(box->windowModality(), Qt::NonModal);
  }
  // Once the window is there, a notice opens at once.
  service.Notice(kMainWindowOwner, "A third one.", "Warning", mb::kOk);
  EXPECT_EQ(noticesShown().size(), std::size_t{3});
}

// The grid window closed from its title bar with a refused edit: the Warning, owned by
// the main window, opens while a tool window of the main window has the focus. Qt on X11
// then hands the activation to the main window; the box takes it back, so Return
// answers it as it does when the Warning comes from the main window's own menu.
TEST_F(QtMessageServiceTest, AnOwnedBoxTakesTheActivationBackFromItsOwnersWindows) {
  QWidget main;
  main.show();
  QWidget tool(&main, Qt::Tool);
  tool.show();
  tool.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&tool));
  QtMessageService service;
  service.SetMainWindow(&main);

  QString activeAfterwards;
  bool answeredByReturn = false;
  bool mainWasActivated = false;
  bool boxActiveAgain = false;
  QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, &main, [&](QWindow* focus) {
    if (focus != nullptr && focus == main.windowHandle()) mainWasActivated = true;
  });
  QTimer::singleShot(0, [&] {
    if (!QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, kBoundMs)) return;
    QWidget* box = QApplication::activeModalWidget();
    main.activateWindow();  // as Qt hands it on from the tool window's focus-out
    // The main window's activation first, then the box's, however slowly each comes.
    boxActiveAgain = QTest::qWaitFor([&] { return mainWasActivated; }, kBoundMs) &&
                     QTest::qWaitFor([&] { return QApplication::activeWindow() == box; }, kBoundMs);
    if (QApplication::activeWindow() != nullptr) activeAfterwards = QApplication::activeWindow()->windowTitle();
    // Return goes where the keys go.
    QWidget* keys = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : QApplication::activeWindow();
    if (keys != nullptr) QTest::keyClick(keys, Qt::Key_Return);
    answeredByReturn = !box->isVisible();
    if (!answeredByReturn) box->close();  // fails below instead of waiting for good
  });
  const int answer = service.MessageBox(kMainWindowOwner, "The width of a grid cell must be greater than zero.",
                                        "Warning", mb::kOk | mb::kIconExclamation);
  EXPECT_TRUE(boxActiveAgain);
  EXPECT_EQ(activeAfterwards, "Warning");
  EXPECT_TRUE(answeredByReturn);
  EXPECT_EQ(answer, idbutton::kOk);
}

TEST_F(QtMessageServiceTest, PressedButtonsAnswerTheirIds) {
  const std::pair<QMessageBox::StandardButton, int> cases[] = {
      {QMessageBox::Ok, idbutton::kOk},       {QMessageBox::Cancel, idbutton::kCancel},
      {QMessageBox::Abort, idbutton::kAbort}, {QMessageBox::Retry, idbutton::kRetry},
      {QMessageBox::Ignore, idbutton::kIgnore}, {QMessageBox::Yes, idbutton::kYes},
      {QMessageBox::No, idbutton::kNo},       {QMessageBox::NoButton, 0},
  };
  for (const auto& [button, answer] : cases) EXPECT_EQ(AnswerOf(button), answer);
}

}  // namespace
}  // namespace orvale
