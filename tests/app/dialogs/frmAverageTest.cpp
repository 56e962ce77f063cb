#include "app/dialogs/frmAverage.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>

#include "AnalyzeTestSupport.h"
#include "app/dialogs/ApplyAnalysis.h"
#include "platform/registry/TypedSettings.h"
#include "platform/ui/ScreenTwips.h"

namespace orvale::testing {
namespace {

class frmAverageTest : public AnalyzeTest {
 protected:
  void SetUp() override {
    AnalyzeTest::SetUp();
    ASSERT_EQ(ApplyAnalysis(table_, AnalyzeControls{}, frame_), ApplyOutcome::Analysed);
    // Two more analysed documents; each enters the lists as the main window would.
    for (const char* name : {"b.jpg", "c.jpg"}) {
      clsDocument* doc = nullptr;
      ASSERT_TRUE(table_.NewDocument(doc));
      GiveImageAndAperture(*doc, pupil_);
      ZernikeVector z{};
      z[3] = 1.0 + table_.NumDocuments;
      doc->SetZernikes(z);
      doc->ImageFileName = name;
    }
    doc_->ImageFileName = "a.jpg";
    for (std::int32_t slot = 1; slot <= 3; ++slot)
      window_.EnterDocument(slot, table_.Documents[static_cast<std::size_t>(slot)]->ImageFileName);
  }
  QListWidget* List(const char* name) { return window_.findChild<QListWidget*>(name); }
  QPushButton* Button(const char* name) { return window_.findChild<QPushButton*>(name); }
  static QStringList Texts(const QListWidget* list) {
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) texts << list->item(row)->text();
    return texts;
  }

  frmAverage window_{frame_, table_, nullptr};
};

TEST_F(frmAverageTest, TheArrowsAndButtonsMoveDocumentsBetweenTheLists) {
  EXPECT_EQ(window_.windowTitle(), "Average");
  EXPECT_FALSE(Button("cmdIn")->icon().isNull());
  EXPECT_FALSE(Button("cmdOut")->icon().isNull());
  QListWidget* available = List("lstAvailable");
  QListWidget* included = List("lstAverage");
  EXPECT_EQ(available->selectionMode(), QAbstractItemView::ExtendedSelection);
  EXPECT_EQ(Texts(available), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));

  available->item(0)->setSelected(true);
  available->item(2)->setSelected(true);
  Button("cmdIn")->click();
  EXPECT_EQ(Texts(included), (QStringList{"a.jpg", "c.jpg"}));
  EXPECT_TRUE(available->selectedItems().isEmpty());  // what was taken is deselected

  // "Add All" after the arrow lists each document once.
  Button("cmdAddAll")->click();
  EXPECT_EQ(Texts(included), (QStringList{"a.jpg", "c.jpg", "b.jpg"}));

  included->item(0)->setSelected(true);
  included->item(2)->setSelected(true);
  Button("cmdOut")->click();
  EXPECT_EQ(Texts(included), QStringList{"c.jpg"});
  Button("cmdClearAll")->click();
  EXPECT_EQ(included->count(), 0);
  EXPECT_EQ(available->count(), 3);
}

TEST_F(frmAverageTest, ApplyAveragesTwoOrMoreAndNothingWithOne) {
  window_.AddToAverage(*doc_);
  const std::int32_t before = table_.NumDocuments;
  Button("cmdApply")->click();
  EXPECT_EQ(table_.NumDocuments, before);

  window_.AddToAverage(*table_.Documents[2]);
  window_.AddToAverage(*table_.Documents[3]);
  Button("cmdApply")->click();
  ASSERT_EQ(table_.NumDocuments, before + 1);
  const clsDocument& average = *table_.Documents[4];
  EXPECT_EQ(average.ImageFileName, "Average1");
  EXPECT_EQ(window_.AverageCounter, 1);
  EXPECT_EQ(average.nDataPts, 3);

  // A document that closed has left the lists (the main window says so): with one
  // left, Apply does nothing.
  window_.RemoveDocument(2);
  window_.RemoveDocument(3);
  EXPECT_EQ(Texts(List("lstAverage")), QStringList{"a.jpg"});
  EXPECT_EQ(window_.AverageDocs(), nullptr);
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(frmAverageTest, ItsPlaceIsKeptInTwipsAndCloseHidesIt) {
  GetSettingLong("CurrentVersion", "AverageLeft", 0, 100000, 0);
  SaveSettingLong("CurrentVersion", "AverageLeft", PixelsToTwips(150));
  SaveSettingLong("CurrentVersion", "AverageTop", PixelsToTwips(90));
  window_.Load();
  EXPECT_EQ(window_.pos(), QPoint(150, 90));
  window_.move(170, 100);
  window_.Unload();
  EXPECT_EQ(GetSettingLong("CurrentVersion", "AverageLeft", 0, 100000, 0), PixelsToTwips(170));

  frame_.SetViewItemChecked(ViewMenuItem::AverageBox, true);
  window_.show();
  Button("cmdClose")->click();
  EXPECT_FALSE(window_.isVisible());
  EXPECT_FALSE(frame_.ViewItemChecked(ViewMenuItem::AverageBox));
}

}  // namespace
}  // namespace orvale::testing
