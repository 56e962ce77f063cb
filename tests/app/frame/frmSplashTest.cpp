#include "app/frame/frmSplash.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <stdexcept>
#include <vector>

#include "app/frame/OrvaleLogo.h"
#include "app/frame/OrvaleVersion.h"
#include "platform/ui/MessageService.h"

namespace orvale {
namespace {

// Records each message and whether the window was still showing when it came.
class WatchingMessages final : public MessageService {
 public:
  explicit WatchingMessages(const QWidget& window) : window_(window) {}
  int MessageBox(WindowHandle, const std::string& text, const std::string& title,
                 std::uint32_t flags) override {
    shown.push_back({text, title, flags, window_.isVisible()});
    return idbutton::kOk;
  }
  struct Shown {
    std::string text;
    std::string title;
    std::uint32_t flags;
    bool windowVisible;
  };
  std::vector<Shown> shown;

 private:
  const QWidget& window_;
};

TEST(frmSplashTest, ShowsTheProductAndItsVersion) {
  frmSplash splash(frmSplash::Mode::Splash, nullptr);
  EXPECT_EQ(splash.lblProductName->text(), "Orvale");
  EXPECT_EQ(splash.lblCompanyProduct->text(), "Fringe analysis software for optical testing");
  EXPECT_EQ(splash.lblPlatform->text(), "Linux");
  EXPECT_EQ(splash.lblVersion->text(),
            QString("Version %1.%2").arg(kVersionMajor).arg(kVersionMinor));
  EXPECT_EQ(splash.lblCompany->text(), "Halvern");
  EXPECT_TRUE(splash.lblWeb->text().startsWith("https://"));
  EXPECT_TRUE(splash.lblEmail->text().startsWith("mailto:"));
  EXPECT_EQ(splash.lblProductName->font().family(), "Arial");
  EXPECT_FALSE(splash.isModal());
  EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(frmSplash(frmSplash::Mode::About, nullptr).isModal());
}

TEST(frmSplashTest, AClickAnywhereElseClosesItAndClosingTwiceIsHarmless) {
  frmSplash splash(frmSplash::Mode::Splash, nullptr);
  for (QWidget* target : std::vector<QWidget*>{splash.Image1, splash.lblCopyright,
                                               splash.fraMainFrame, splash.lblProductName}) {
    splash.show();
    QTest::mouseClick(target, Qt::LeftButton);
    EXPECT_FALSE(splash.isVisible());
  }
  splash.close();  // start-up closing an already closed splash
  EXPECT_FALSE(splash.isVisible());
}

TEST(frmSplashTest, LinksOpenAndAFailureIsToldAfterTheWindowCloses) {
  struct Case {
    bool opens;
    bool throws;
    bool mail;
    std::string message;
  };
  const Case cases[] = {
      {true, false, false, ""},
      {false, false, true,
       "Unable to load 'mailto:support@halvern.example' : No application is associated with "
       "this link (Error 31)"},
      {false, true, false,
       "Unable to load 'https://www.halvern.example/orvale' : no desktop (Error 5)"},
  };
  for (const Case& c : cases) {
    frmSplash about(frmSplash::Mode::About, nullptr);
    WatchingMessages messages(about);
    ScopedMessageService scope(messages);
    std::vector<QString> opened;
    about.SetLinkOpener([&](const QString& link) {
      opened.push_back(link);
      if (c.throws) throw std::runtime_error("no desktop");
      return c.opens;
    });
    about.show();
    QLabel* label = c.mail ? about.lblEmail : about.lblWeb;
    QTest::mouseClick(label, Qt::LeftButton);

    EXPECT_EQ(opened, std::vector<QString>{label->text()});
    EXPECT_FALSE(about.isVisible());
    if (c.message.empty()) {
      EXPECT_TRUE(messages.shown.empty());
      continue;
    }
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, c.message);
    EXPECT_EQ(messages.shown[0].title, "Orvale");
    EXPECT_EQ(messages.shown[0].flags, mb::kOk);
    EXPECT_FALSE(messages.shown[0].windowVisible);
  }
}

TEST(frmSplashTest, EscClosesTheAboutBox) {
  frmSplash about(frmSplash::Mode::About, nullptr);
  QTimer::singleShot(0, &about, [&] { QTest::keyClick(&about, Qt::Key_Escape); });
  QTimer::singleShot(60000, &about, [&] {  // only a hang runs into this
    ADD_FAILURE() << "Esc did not close the box";
    about.done(2);
  });
  EXPECT_EQ(about.exec(), QDialog::Rejected);
}

TEST(frmSplashTest, TheLogoIsAMirrorWithFringesRoundItsObstruction) {
  const QImage logo = OrvaleLogo(128).toImage();
  ASSERT_EQ(logo.size(), QSize(128, 128));
  EXPECT_EQ(qAlpha(logo.pixel(0, 0)), 0);  // round: the corners stay clear
  EXPECT_LT(qGray(logo.pixel(64, 64)), 40);  // the obstruction's shadow
  int light = 0;
  int dark = 0;
  for (int x = 30; x < 98; ++x) {
    const int grey = qGray(logo.pixel(x, 40));
    light += grey > 170;
    dark += grey < 110;
  }
  EXPECT_GT(light, 5);  // bright and dark fringes across the pupil
  EXPECT_GT(dark, 5);
}

}  // namespace
}  // namespace orvale
