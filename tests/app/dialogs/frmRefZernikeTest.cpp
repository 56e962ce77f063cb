#include "app/dialogs/frmRefZernike.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "AnalyzeTestSupport.h"
#include "app/dialogs/ApplyAnalysis.h"
#include "platform/registry/TypedSettings.h"
#include "platform/ui/ScreenTwips.h"

namespace orvale::testing {
namespace {

class frmRefZernikeTest : public AnalyzeTest {
 protected:
  QLineEdit* Box(int term) {
    auto* box = window_.findChild<QLineEdit*>(QString("txtZernike%1").arg(term));
    EXPECT_NE(box, nullptr) << term;
    return box;
  }
  // Types into a box as the user does: the whole text replaced, keys one by one.
  void Type(int term, const char* text) {
    Box(term)->selectAll();
    QTest::keyClicks(Box(term), text);
  }
  double& Coefficient(int term) { return settings_.CustomRefZernikes[static_cast<std::size_t>(term)]; }

  frmRefZernike window_{frame_, settings_, nullptr};
};

TEST_F(frmRefZernikeTest, LoadShowsTheCoefficientsInGeneralForm) {
  Coefficient(1) = 0.25;
  Coefficient(2) = 1E-05;
  Coefficient(36) = -3.0;
  window_.Load();
  EXPECT_EQ(window_.windowTitle(), "Reference Zernikes");
  EXPECT_EQ(Box(1)->text(), "0.25");
  EXPECT_EQ(Box(2)->text(), "1E-05");
  EXPECT_EQ(Box(3)->text(), "0");
  EXPECT_EQ(Box(36)->text(), "-3");
  EXPECT_EQ(window_.findChildren<QLineEdit*>().size(), 36);
  EXPECT_EQ(window_.findChild<QLabel*>("lblZernikeCoeff36")->text(), "36");
  EXPECT_EQ(window_.findChild<QPushButton*>("cmdClose")->text(), "Close");
}

TEST_F(frmRefZernikeTest, EveryEditIsStoredAtOnce) {
  Coefficient(5) = 0.12345678901234567;  // more digits than the box shows
  window_.Load();

  Type(4, "0.5e-3");
  EXPECT_DOUBLE_EQ(Coefficient(4), 0.0005);
  Type(1, "abc");
  EXPECT_EQ(Coefficient(1), 0.0);
  EXPECT_EQ(Box(1)->text(), "abc");
  Type(2, "2.5 waves");
  EXPECT_EQ(Coefficient(2), 2.5);
  // A box the user never touched is never rewritten from its shorter text.
  EXPECT_EQ(Coefficient(5), 0.12345678901234567);
}

TEST_F(frmRefZernikeTest, AValueBeyondTheNumberRangeLeavesTheEntry) {
  Coefficient(6) = 0.75;
  window_.Load();
  Type(6, "1e999");
  EXPECT_EQ(Coefficient(6), 0.75);
  EXPECT_EQ(Box(6)->text(), "1e999");
}

TEST_F(frmRefZernikeTest, AValueTypedWithoutLeavingTheBoxReachesTheNextApply) {
  window_.Load();
  window_.show();
  Box(3)->setFocus();
  Type(3, "0.5");  // no focus change follows

  AnalyzeControls controls;
  controls.SelectReference(kReferenceCustom);
  ASSERT_EQ(ApplyAnalysis(table_, controls, frame_), ApplyOutcome::Analysed);
  EXPECT_NEAR(doc_->Zernike(3), 1.0, 1e-6);
}

TEST_F(frmRefZernikeTest, FocusSelectsTheWholeText) {
  Coefficient(7) = 12.5;
  window_.Load();
  window_.show();
  QApplication::setActiveWindow(&window_);
  Box(7)->setFocus(Qt::MouseFocusReason);
  QApplication::processEvents();
  EXPECT_EQ(Box(7)->selectedText(), "12.5");
}

TEST_F(frmRefZernikeTest, ATitleBarCloseHidesTheWindowAndKeepsTheValues) {
  window_.Load();
  window_.show();
  Type(8, "1.25");
  EXPECT_FALSE(window_.close());
  EXPECT_FALSE(window_.isVisible());
  EXPECT_FALSE(frame_.ViewItemChecked(ViewMenuItem::RefZernike));
  EXPECT_EQ(frame_.calls.back(), "UpdateToolBar");
  window_.show();
  EXPECT_EQ(Box(8)->text(), "1.25");
  EXPECT_EQ(Coefficient(8), 1.25);
}

TEST_F(frmRefZernikeTest, ThePlaceIsKeptInTwips) {
  window_.Load();
  EXPECT_EQ(window_.pos(), QPoint(TwipsToPixels(4272), TwipsToPixels(5160)));
  window_.move(60, 70);
  window_.Unload();
  EXPECT_EQ(GetSettingLong("CurrentVersion", "RefZernikeLeft", 0, 100000, -1), PixelsToTwips(60));
  EXPECT_EQ(GetSettingLong("CurrentVersion", "RefZernikeTop", 0, 100000, -1), PixelsToTwips(70));
}

}  // namespace
}  // namespace orvale::testing
