// What the documents ask of the Average, Math and Analyze Grid windows through the main
// window, and Add To Average.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

#include "app/document/SaveCommands.h"
#include "app/document/clsDocument.h"
#include "tests/app/frame/FrameTestSupport.h"

namespace orvale::testing {
namespace {

class FrameToolHostTest : public FrameTest {
 protected:
  // A document with result windows, as Apply leaves it: it enters the lists.
  clsDocument& AnalysedDocument(const std::string& name, double defocus) {
    clsDocument& doc = AddDocument(64, 48);
    EXPECT_TRUE(doc.CreateView(2));
    ZernikeVector z{};
    z[3] = defocus;
    doc.SetZernikes(z);
    doc.AnalysisValid = true;
    doc.ImageFileName = name;
    doc.UpdateAverageList();
    Refresh();
    return doc;
  }
  QStringList Texts(const char* listName) const {
    QStringList texts;
    if (auto* list = app_->Tools.Average->findChild<QListWidget*>(listName)) {
      for (int row = 0; row < list->count(); ++row) texts << list->item(row)->text();
    } else if (auto* combo = app_->Tools.Math->findChild<QComboBox*>(listName)) {
      for (int row = 0; row < combo->count(); ++row) texts << combo->itemText(row);
    }
    return texts;
  }
};

TEST_F(FrameToolHostTest, DocumentsEnterAndLeaveTheAverageAndMathLists) {
  clsDocument& a = AnalysedDocument("a.jpg", 1.0);
  clsDocument* b = &AnalysedDocument("b.jpg", 2.0);
  EXPECT_EQ(Texts("lstAvailable"), (QStringList{"a.jpg", "b.jpg"}));
  EXPECT_EQ(Texts("cboFirstDoc"), (QStringList{"None", "a.jpg", "b.jpg"}));
  EXPECT_EQ(Texts("cboSecondDoc"), (QStringList{"None", "a.jpg", "b.jpg"}));

  // Add To Average from the menu and from the pop-up, for the active document.
  Item("mnuProcessAddAverage")->trigger();
  Table().ActiveDocIndex = a.ovDocIndex;
  Item("mnuPopupFringe_AddAverage")->trigger();
  EXPECT_EQ(Texts("lstAverage"), (QStringList{"b.jpg", "a.jpg"}));
  app_->Tools.Math->findChild<QComboBox*>("cboFirstDoc")->setCurrentIndex(2);

  // Closing a document takes it out of all four lists.
  std::int16_t cancel = 0;
  Table().CloseDocument(b, true, cancel);
  EXPECT_EQ(Texts("lstAvailable"), QStringList{"a.jpg"});
  EXPECT_EQ(Texts("lstAverage"), QStringList{"a.jpg"});
  EXPECT_EQ(Texts("cboSecondDoc"), (QStringList{"None", "a.jpg"}));
  EXPECT_EQ(app_->Tools.Math->findChild<QComboBox*>("cboFirstDoc")->currentText(), "None");
  EXPECT_EQ(app_->Tools.Average->AverageDocs(), nullptr);  // one left
}

TEST_F(FrameToolHostTest, ASaveThatRenamesADocumentKeepsItInTheAverage) {
  clsDocument& scan = AnalysedDocument("scan.jpg", 1.0);
  clsDocument& other = AnalysedDocument("other.jpg", 3.0);
  app_->Tools.Average->AddToAverage(scan);
  app_->Tools.Average->AddToAverage(other);

  // Saving the analysed picture as a document writes its image as "scan.bmp".
  ASSERT_TRUE(SaveFile(folder_.filePath("scan.ovd").toStdString(), scan));
  ASSERT_EQ(scan.ImageFileName, "scan.bmp");
  EXPECT_EQ(Texts("lstAvailable"), (QStringList{"scan.bmp", "other.jpg"}));
  EXPECT_EQ(Texts("lstAverage"), (QStringList{"scan.bmp", "other.jpg"}));
  EXPECT_EQ(Texts("cboFirstDoc"), (QStringList{"None", "scan.bmp", "other.jpg"}));

  clsDocument* average = app_->Tools.Average->AverageDocs();
  ASSERT_NE(average, nullptr);
  EXPECT_EQ(average->nDataPts, 2);
  EXPECT_EQ(average->Zernike(3), 2.0);
  // The average enters the lists itself.
  EXPECT_EQ(Texts("lstAvailable").last(), "Average1");
}

TEST_F(FrameToolHostTest, TheGridWindowFollowsTheActiveDocumentAndTheLastClose) {
  clsDocument* doc = &AddDocument();
  doc->Grid.GridPhysicalWidth = 30;
  doc->Grid.CellPhysicalWidth = 10;
  doc->Grid.CellPhysicalHeight = 5;
  doc->Grid.MaxPV = 0.5;
  Frame().StoreWindowLayout(*doc);  // a window of the document was activated
  frmAnalyzeGrid& grid = *app_->Tools.AnalyzeGrid;
  EXPECT_EQ(grid.Field(GridField::GridWidth)->text(), "30");
  EXPECT_EQ(grid.Field(GridField::MaxPV)->text(), "0.5");

  std::int16_t cancel = 0;
  Table().CloseDocument(doc, true, cancel);
  for (int f = 0; f < kGridFieldCount; ++f)
    EXPECT_EQ(grid.Field(static_cast<GridField>(f))->text(), "0") << f;  // no stored keys
}

}  // namespace
}  // namespace orvale::testing
