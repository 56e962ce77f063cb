#include "platform/ui/HelpContents.h"

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QUrl>
#include <vector>

#include "platform/ui/DesktopOpener.h"
#include "platform/ui/MessageService.h"
#include "tests/support/ScopedEnvironmentVariable.h"

namespace orvale {
namespace {

// Only a hang runs into this bound: a launcher ends within milliseconds.
constexpr int kBoundMs = 60000;

// Whether a launcher the program started is still running or still to be heard of: the
// program keeps each launcher until it has handled its end.
bool LauncherRunning() { return !QCoreApplication::instance()->findChildren<QProcess*>().isEmpty(); }

// A program folder with two help pages: the contents, linking to the other page and to
// a site outside, and the page, linking back.
class HelpContentsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QDir(folder_.path()).mkdir("help"));
    Write("help/index.html",
          "<html><head><title>Test Help</title></head><body><h1>Contents</h1>"
          "<p><a href=\"page.html\">The page</a></p>"
          "<p><a href=\"https://example.invalid/orvale\">Outside</a></p></body></html>");
    Write("help/page.html",
          "<html><head><title>A Page</title></head><body><h1>The page</h1>"
          "<p><a href=\"index.html\">Contents</a></p></body></html>");
  }
  void TearDown() override {
    // Whatever help window a test left goes with it.
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (window->findChild<QTextBrowser*>() != nullptr) delete window;
    }
  }

  void Write(const char* name, const char* html) {
    QFile file(folder_.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(html);
  }
  QUrl Page(const char* name) const { return QUrl::fromLocalFile(folder_.filePath(name)); }

  // The program's own help window on the screen, by the browser inside it.
  static QTextBrowser* ShownHelp() {
    QTextBrowser* shown = nullptr;
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
      auto* browser = window->findChild<QTextBrowser*>();
      if (browser == nullptr || !window->isVisible()) continue;
      shown = browser;
      ++count;
    }
    EXPECT_LE(count, 1) << "one help window at most";
    return shown;
  }

  // Clicks the link whose text is `text` where the browser shows it.
  static void ClickLink(QTextBrowser& browser, const QString& text) {
    const QTextCursor found = browser.document()->find(text);
    ASSERT_FALSE(found.isNull()) << text.toStdString();
    QTextCursor inside(browser.document());
    inside.setPosition(found.selectionStart() + 1);
    const QPoint at = browser.cursorRect(inside).center();
    QTest::mouseClick(browser.viewport(), Qt::LeftButton, {}, at);
  }

  QTemporaryDir folder_;
  std::vector<QUrl> handed_;  // what the desktop was given
  ScriptedMessageService messages_;
  ScopedMessageService installed_{messages_};
};

TEST_F(HelpContentsTest, TheContentsPageIsInTheHelpFolder) {
  EXPECT_EQ(HelpContentsPage("/opt/orvale"), "/opt/orvale/help/index.html");
}

TEST_F(HelpContentsTest, ADesktopThatShowsThePageGetsIt) {
  ScopedDesktopOpener desktop([this](const QUrl& url) {
    handed_.push_back(url);
    return true;
  });
  EXPECT_TRUE(ShowHelpContents(folder_.path()));
  EXPECT_EQ(handed_, std::vector<QUrl>{Page("help/index.html")});
  EXPECT_EQ(ShownHelp(), nullptr);
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(HelpContentsTest, WithoutABrowserTheProgramShowsThePageItselfWithWorkingLinks) {
  ScopedDesktopOpener desktop([this](const QUrl& url) {
    handed_.push_back(url);
    return false;  // "Unable to detect a launcher"
  });
  EXPECT_TRUE(ShowHelpContents(folder_.path()));
  EXPECT_EQ(handed_, std::vector<QUrl>{Page("help/index.html")});
  QTextBrowser* browser = ShownHelp();
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(browser->source(), Page("help/index.html"));
  EXPECT_EQ(browser->window()->windowTitle(), "Test Help");
  EXPECT_TRUE(messages_.Messages().empty());

  // A link between the pages opens the page in the same window, and back.
  browser->window()->resize(600, 400);
  QApplication::processEvents();
  ClickLink(*browser, "The page");
  EXPECT_EQ(browser->source(), Page("help/page.html"));
  EXPECT_EQ(browser->window()->windowTitle(), "A Page");
  ClickLink(*browser, "Contents");
  EXPECT_EQ(browser->source(), Page("help/index.html"));

  // A link out of the help goes to the desktop; the window stays where it was.
  handed_.clear();
  ClickLink(*browser, "Outside");
  EXPECT_EQ(handed_, std::vector<QUrl>{QUrl("https://example.invalid/orvale")});
  EXPECT_EQ(browser->source(), Page("help/index.html"));

  // Asked again, the one window comes back to the contents.
  ClickLink(*browser, "The page");
  ASSERT_EQ(browser->source(), Page("help/page.html"));
  EXPECT_TRUE(ShowHelpContents(folder_.path()));
  EXPECT_EQ(ShownHelp(), browser);
  EXPECT_EQ(browser->source(), Page("help/index.html"));
}

// A desktop whose launcher is there but finds no browser: xdg-open starts, says "no
// method available" and ends with 3. The launcher's own end decides, not its start.
TEST_F(HelpContentsTest, ALauncherThatFindsNoBrowserLeavesThePageToTheProgram) {
  struct Case {
    int exitCode;
    bool programShowsThePage;
  };
  for (const Case c : {Case{3, true}, Case{4, true}, Case{0, false}}) {
    SCOPED_TRACE(c.exitCode);
    QTemporaryDir bin;
    const QString launcher = bin.filePath("xdg-open");
    const QString handedFile = bin.filePath("handed");
    const QString mv = QStandardPaths::findExecutable("mv");
    ASSERT_FALSE(mv.isEmpty());
    {
      // The address goes to a file of another name first, so that the file the test
      // reads is there only once it is whole.
      QFile script(launcher);
      ASSERT_TRUE(script.open(QIODevice::WriteOnly));
      script.write(QString("#!/bin/sh\nprintf '%s' \"$1\" > '%1.part'\n'%2' '%1.part' '%1'\nexit %3\n")
                       .arg(handedFile, mv)
                       .arg(c.exitCode)
                       .toUtf8());
      script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    }
    const testing::ScopedEnvironmentVariable path("PATH", bin.path().toStdString());

    EXPECT_TRUE(ShowHelpContents(folder_.path()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(handedFile); }, kBoundMs));
    QFile handed(handedFile);
    ASSERT_TRUE(handed.open(QIODevice::ReadOnly));
    EXPECT_EQ(QUrl(QString::fromUtf8(handed.readAll())), Page("help/index.html"));
    // The program has heard how the launcher ended once it has let the launcher go.
    ASSERT_TRUE(QTest::qWaitFor([] { return !LauncherRunning(); }, kBoundMs));
    if (c.programShowsThePage) {
      ASSERT_NE(ShownHelp(), nullptr);
      EXPECT_EQ(ShownHelp()->source(), Page("help/index.html"));
    } else {
      EXPECT_EQ(ShownHelp(), nullptr);
    }
    EXPECT_TRUE(messages_.Messages().empty());
    TearDown();
  }
}

TEST_F(HelpContentsTest, AMissingHelpFolderIsReported) {
  ScopedDesktopOpener desktop([this](const QUrl& url) {
    handed_.push_back(url);
    return true;
  });
  const QString gone = folder_.filePath("nowhere");
  EXPECT_FALSE(ShowHelpContents(gone));
  ASSERT_EQ(messages_.Messages().size(), 1u);
  const auto& message = messages_.Messages()[0];
  EXPECT_EQ(message.text, "The help cannot be shown: " +
                              HelpContentsPage(gone).toStdString() + " is missing.");
  EXPECT_EQ(message.title, "Error");
  EXPECT_EQ(message.flags, mb::kOk | mb::kIconExclamation);
  EXPECT_TRUE(handed_.empty());
  EXPECT_EQ(ShownHelp(), nullptr);
}

}  // namespace
}  // namespace orvale
