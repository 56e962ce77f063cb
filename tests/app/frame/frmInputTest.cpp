#include "app/frame/frmInput.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "platform/registry/MemorySettingsStore.h"
#include "platform/registry/TypedSettings.h"
#include "platform/ui/ScreenTwips.h"

namespace orvale {
namespace {

class frmInputTest : public ::testing::Test {
 protected:
  frmInputTest() : settings_(store_) {}

  // Asks with `request` while `user` acts on the open box; a box still open after a
  // minute (only a hang runs into that) is cancelled and the test fails.
  NumberInputAnswer AskWhile(const NumberInputRequest& request, std::function<void()> user) {
    QTimer::singleShot(0, &box_, [user] { user(); });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, &box_, [this] {
      ADD_FAILURE() << "the box was left open";
      box_.reject();
    });
    watchdog.start(60000);
    return box_.Ask(request);
  }

  static NumberInputRequest Whole(std::int32_t minimum, std::int32_t maximum, bool positive) {
    NumberInputRequest request;
    request.Caption = "Fringe Order";
    request.Prompt = "Enter the new order:";
    request.Text = "7";
    request.NumberOnly = true;
    request.IntegerOnly = true;
    request.PositiveIntegerOnly = positive;
    request.MinimumL = minimum;
    request.MaximumL = maximum;
    return request;
  }

  MemorySettingsStore store_;
  ScopedSettingsStore settings_;
  frmInput box_;
};

TEST_F(frmInputTest, TypedKeysAreFilteredAndEnterTakesTheNumber) {
  struct Case {
    bool positive;
    const char* typed;
    const char* field;
    std::int32_t value;
    bool outOfRange;
  };
  const Case cases[] = {
      {false, "2a5", "25", 25, false},
      {false, "-3e", "-3", 1, true},
      {true, "-3", "3", 3, false},  // the minus key is swallowed
      {true, "250", "250", 200, true},
  };
  for (const Case& c : cases) {
    const NumberInputAnswer answer = AskWhile(Whole(1, 200, c.positive), [&] {
      EXPECT_TRUE(box_.isVisible());
      EXPECT_EQ(box_.windowTitle(), "Fringe Order");
      EXPECT_EQ(box_.txtInput->selectedText(), "7");  // the proposed text, selected
      QTest::keyClicks(box_.txtInput, c.typed);
      EXPECT_EQ(box_.txtInput->text(), c.field);
      QTest::keyClick(box_.txtInput, Qt::Key_Return);
    });
    EXPECT_FALSE(answer.Escaped) << c.typed;
    EXPECT_EQ(answer.ValueL, c.value) << c.typed;
    EXPECT_EQ(answer.OutofRange, c.outOfRange) << c.typed;
    EXPECT_EQ(answer.Text, c.field);
    EXPECT_EQ(box_.ValueL, c.value);
  }
}

TEST_F(frmInputTest, RealModeAndTextModeTakeWhatTheirRulesAllow) {
  NumberInputRequest real = Whole(0, 0, false);
  real.IntegerOnly = false;
  real.MinimumD = -1e308;
  real.MaximumD = 1e308;
  const NumberInputAnswer number = AskWhile(real, [&] {
    QTest::keyClicks(box_.txtInput, "1x.5e2");
    QTest::mouseClick(box_.cmdOK, Qt::LeftButton);
  });
  EXPECT_FALSE(number.Escaped);
  EXPECT_EQ(number.ValueD, 150.0);

  NumberInputRequest text = Whole(0, 0, false);
  text.NumberOnly = false;
  const NumberInputAnswer typed = AskWhile(text, [&] {
    QTest::keyClicks(box_.txtInput, "Mirror #2");
    QTest::keyClick(box_.txtInput, Qt::Key_Return);
  });
  EXPECT_EQ(typed.Text, "Mirror #2");
  EXPECT_EQ(typed.ValueL, 0);
}

TEST_F(frmInputTest, PastedTextBypassesTheFilterButOkReadsOnlyItsNumber) {
  QApplication::clipboard()->setText("3.5 apples");
  const NumberInputAnswer answer = AskWhile(Whole(1, 200, true), [&] {
    box_.txtInput->paste();
    QTest::keyClick(box_.txtInput, Qt::Key_Return);
  });
  EXPECT_EQ(answer.Text, "3.5 apples");
  EXPECT_EQ(answer.ValueL, 4);
}

TEST_F(frmInputTest, EscCancelAndTheCloseBoxAllCancel) {
  const std::function<void(frmInput&)> ways[] = {
      [](frmInput& box) { QTest::keyClick(box.txtInput, Qt::Key_Escape); },
      [](frmInput& box) { QTest::mouseClick(box.cmdCancel, Qt::LeftButton); },
      [](frmInput& box) { box.close(); },  // the title bar's close box
  };
  for (const auto& way : ways) {
    const NumberInputAnswer answer = AskWhile(Whole(1, 200, false), [&] {
      QTest::keyClicks(box_.txtInput, "99");
      way(box_);
    });
    EXPECT_TRUE(answer.Escaped);
    EXPECT_EQ(answer.ValueL, 0);
    EXPECT_FALSE(answer.OutofRange);
    EXPECT_FALSE(box_.isVisible());
  }
}

TEST_F(frmInputTest, TheBoxReopensWhereItWasLeft) {
  const QSize screen = ScreenSizeTwips();
  QPoint first;
  AskWhile(Whole(1, 200, false), [&] {
    first = box_.pos();
    box_.move(100, 120);
    box_.reject();
  });
  // First time: its top-left corner at the screen's centre.
  EXPECT_EQ(first, QPoint(TwipsToPixels(screen.width() / 2), TwipsToPixels(screen.height() / 2)));
  EXPECT_EQ(GetSettingLong("CurrentVersion", "InputDlgLeft", 0, 100000, 0), PixelsToTwips(100));
  EXPECT_EQ(GetSettingLong("CurrentVersion", "InputDlgTop", 0, 100000, 0), PixelsToTwips(120));

  frmInput another;  // as after a restart
  QPoint reopened;
  QTimer::singleShot(0, &another, [&] {
    reopened = another.pos();
    another.reject();
  });
  another.Ask(Whole(1, 200, false));
  EXPECT_EQ(reopened, QPoint(100, 120));
}

// A place stored on a larger screen, partly off this one: the box comes back wholly on it.
TEST_F(frmInputTest, ABoxStoredPartlyOffTheScreenReopensWhollyOnIt) {
  AskWhile(Whole(1, 200, false), [this] { box_.reject(); });  // the first ask makes the section
  const QRect screen = AvailableScreenPixels();
  SaveSettingLong("CurrentVersion", "InputDlgLeft", PixelsToTwips(screen.right() - 40));
  SaveSettingLong("CurrentVersion", "InputDlgTop", PixelsToTwips(screen.bottom() - 30));
  QRect reopened;
  AskWhile(Whole(1, 200, false), [&] {
    reopened = box_.frameGeometry();
    box_.reject();
  });
  EXPECT_TRUE(screen.contains(reopened)) << reopened.x() << "," << reopened.y();
  EXPECT_EQ(reopened.bottomRight(), screen.bottomRight());
}

TEST_F(frmInputTest, LoadResetsTheAnswerButKeepsTheLimits) {
  box_.MinimumL = 3;
  box_.MaximumL = 9;
  box_.ValueL = 5;
  box_.Escaped = true;
  box_.OutofRange = true;
  box_.NumberOnly = true;
  box_.Load();
  EXPECT_EQ(box_.ValueL, 0);
  EXPECT_FALSE(box_.Escaped);
  EXPECT_FALSE(box_.OutofRange);
  EXPECT_FALSE(box_.NumberOnly);
  EXPECT_EQ(box_.MinimumL, 3);
  EXPECT_EQ(box_.MaximumL, 9);
}

}  // namespace
}  // namespace orvale
