#include "app/report/frmPageSetup.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/report/PagePreview.h"
#include "platform/gdi/RecordingDeviceContext.h"
#include "platform/registry/GeneralSettings.h"
#include "platform/registry/MemorySettingsStore.h"
#include "platform/registry/TypedSettings.h"
#include "platform/ui/ScreenTwips.h"

namespace orvale {
namespace {

using Records = std::vector<gdi::DrawRecord>;

std::size_t Count(const Records& records, const std::string& call) {
  return static_cast<std::size_t>(std::count_if(
      records.begin(), records.end(), [&](const gdi::DrawRecord& r) { return r.call == call; }));
}

gdi::Rect Sheet(const Records& records) {
  for (const gdi::DrawRecord& r : records)
    if (r.call == "Rectangle") return r.rect;
  return {};
}

class PageSetupTest : public ::testing::Test {
 protected:
  PageSetupTest() {
    GetSettingString("CurrentVersion", "PageSetupLeft", "");  // the section exists
    settings_.ReportOrientation = 1;
    settings_.ReportDrawGrid = true;
    settings_.ReportNumPanes = 3;
    settings_.ReportPanes = {0, 6, 1, 9, 0, 0, 0};
    for (std::size_t i = 1; i <= 15; ++i) settings_.ReportShowFlags[i] = i % 2 == 1;
  }
  static Records Preview(const frmPageSetup& dialog) {
    gdi::RecordingDeviceContext dc(gdi::DisplayCaps(300, 300));
    DrawPagePreview(dc, dialog.PreviewState(), 300);
    return dc.Records();
  }

  MemorySettingsStore store_;
  ScopedSettingsStore installed_{store_};
  GeneralSettings settings_;
};

TEST_F(PageSetupTest, TheControlsShowTheReportSettings) {
  frmPageSetup dialog(settings_, nullptr);
  EXPECT_EQ(dialog.windowTitle(), "Page Setup");
  EXPECT_EQ(dialog.cboPanes->currentText(), "3 Panes");
  EXPECT_EQ(dialog.cboViews[1]->currentText(), "Surface Plot");
  EXPECT_EQ(dialog.cboViews[3]->currentText(), "Grid Results");  // by its kind, not its place
  EXPECT_EQ(dialog.cboViews[3]->currentData().toInt(), 9);
  EXPECT_TRUE(dialog.optOrient1->isChecked());
  EXPECT_TRUE(dialog.chkDrawGrid->isChecked());
  for (int i = 1; i <= 15; ++i) EXPECT_EQ(dialog.chkShow[i]->isChecked(), i % 2 == 1) << i;
  EXPECT_EQ(dialog.chkShow[2]->text(), "Peak-Valley");
  EXPECT_EQ(dialog.chkShow[15]->text(), "Comments");
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(dialog.cboViews[k]->isEnabled(), k <= 3) << k;
  EXPECT_EQ(dialog.cboViews[1]->count(), 10);
  EXPECT_EQ(dialog.cboViews[1]->itemText(3), "Grid Results");
}

TEST_F(PageSetupTest, AStoredSinglePaneOpensWithTheOtherCombosOff) {
  settings_.ReportNumPanes = 1;
  frmPageSetup dialog(settings_, nullptr);
  EXPECT_EQ(dialog.cboPanes->currentIndex(), 0);
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(dialog.cboViews[k]->isEnabled(), k == 1) << k;
  EXPECT_EQ(dialog.PreviewState().Panes, 1);
}

TEST_F(PageSetupTest, OkStoresEveryControlAlsoTheDisabledPanes) {
  frmPageSetup dialog(settings_, nullptr);
  dialog.cboViews[5]->setCurrentIndex(dialog.cboViews[5]->findData(8));
  dialog.cboPanes->setCurrentIndex(1);  // "2 Panes"
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(dialog.cboViews[k]->isEnabled(), k <= 2) << k;
  dialog.optOrient2->click();
  dialog.chkDrawGrid->click();
  dialog.chkShow[2]->click();
  QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(settings_.ReportNumPanes, 2);
  EXPECT_EQ(settings_.ReportPanes, (std::array<std::int32_t, 7>{0, 6, 1, 9, 0, 8, 0}));
  EXPECT_EQ(settings_.ReportOrientation, 2);
  EXPECT_FALSE(settings_.ReportDrawGrid);
  EXPECT_TRUE(settings_.ReportShowFlags[2]);
  EXPECT_TRUE(settings_.ReportShowFlags[1]);
}

TEST_F(PageSetupTest, CancelEscapeAndTheCloseBoxChangeNothingButAllKeepThePlace) {
  const GeneralSettings before = settings_;
  const auto change = [](frmPageSetup& dialog) {
    dialog.cboPanes->setCurrentIndex(5);
    dialog.cboViews[1]->setCurrentIndex(0);
    dialog.optOrient2->click();
    dialog.chkShow[1]->click();
  };
  const std::function<void(frmPageSetup&)> closes[] = {
      [](frmPageSetup& d) { QTest::mouseClick(d.cmdCancel, Qt::LeftButton); },
      [](frmPageSetup& d) { QTest::keyClick(&d, Qt::Key_Escape); },
      [](frmPageSetup& d) { d.close(); },
  };
  for (const auto& close : closes) {
    DeleteSettingValue("CurrentVersion", "PageSetupLeft");
    frmPageSetup dialog(settings_, nullptr);
    dialog.show();
    dialog.move(120, 90);
    change(dialog);
    close(dialog);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(settings_, before);
    EXPECT_EQ(GetSettingLong("CurrentVersion", "PageSetupLeft", 0, 1 << 30, -1),
              PixelsToTwips(dialog.pos().x()));
  }
}

TEST_F(PageSetupTest, AStoredPlaceOffTheScreenFallsBackToTheCentredOne) {
  const QRect screen = AvailableScreenPixels();
  frmPageSetup centred(settings_, nullptr);
  const QPoint fallback = centred.pos();
  EXPECT_NEAR(fallback.x() + centred.width() / 2, screen.width() / 2, 2);
  EXPECT_LT(fallback.y() + centred.height() / 2, screen.height() / 2);

  struct Case {
    QPoint stored;  // pixels
    bool kept;
  };
  const Case cases[] = {
      {{40, 30}, true},
      {{screen.width() - 10, 30}, false},  // clamped to the screen's width: still off it
      {{50000, 50000}, false},
      {{-5000, 30}, true},                 // clamped to 0
  };
  for (const Case& c : cases) {
    SaveSettingLong("CurrentVersion", "PageSetupLeft", PixelsToTwips(c.stored.x()));
    SaveSettingLong("CurrentVersion", "PageSetupTop", PixelsToTwips(c.stored.y()));
    const frmPageSetup dialog(settings_, nullptr);
    if (!c.kept) {
      EXPECT_EQ(dialog.pos(), fallback) << c.stored.x();
    } else {
      EXPECT_EQ(dialog.pos(), QPoint(std::max(0, c.stored.x()), c.stored.y()));
    }
  }
}

TEST_F(PageSetupTest, ThePreviewFollowsTheControlsAtOnce) {
  frmPageSetup dialog(settings_, nullptr);
  Records shown = Preview(dialog);
  EXPECT_EQ(Count(shown, "LineTo"), 4u + 2u);  // frame and the two separators
  EXPECT_EQ(Count(shown, "StretchBlt"), 3u);
  const gdi::Rect portrait = Sheet(shown);
  EXPECT_LT(portrait.Width(), portrait.Height());

  dialog.chkDrawGrid->click();
  dialog.cboViews[2]->setCurrentIndex(0);  // None: an empty pane
  dialog.optOrient2->click();
  shown = Preview(dialog);
  EXPECT_EQ(Count(shown, "LineTo"), 0u);
  EXPECT_EQ(Count(shown, "StretchBlt"), 2u);
  EXPECT_EQ(Sheet(shown).Width(), portrait.Height());  // the sheet turned

  // The widget itself repaints from the same state.
  const QImage before = dialog.picPreview->grab().toImage();
  dialog.chkDrawGrid->click();
  EXPECT_NE(dialog.picPreview->grab().toImage(), before);
}

}  // namespace
}  // namespace orvale
