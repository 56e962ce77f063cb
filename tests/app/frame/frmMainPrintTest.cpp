// The frame's printing commands: File > Print through the print dialog, the toolbar's
// quick print and the page setup.
#include <QApplication>
#include <QPageSize>
#include <QTimer>
#include <fstream>

#include "app/document/clsDocument.h"
#include "app/report/frmPageSetup.h"
#include "platform/ui/PrinterList.h"
#include "tests/app/frame/FrameTestSupport.h"

namespace orvale::testing {
namespace {

class FramePrintTest : public FrameTest {
 protected:
  FramePrintTest() {
    // One surface-plot pane: nothing needs the logo beside the test program.
    app_->Settings.ReportNumPanes = 1;
    app_->Settings.ReportPanes[1] = 6;
    app_->Settings.ReportOrientation = 1;
  }
  clsDocument& AnalysedDocument() {
    clsDocument& doc = AddDocument();
    doc.ImageFileName = "mirror.bmp";
    doc.OutputViewsExist = true;
    return doc;
  }
  std::string Pdf(const char* name) const { return folder_.filePath(name).toStdString(); }
  static bool IsPdf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string head(5, '\0');
    in.read(head.data(), 5);
    return in && head == "%PDF-";
  }
  static PrintDialogAnswer LandscapeFile(const std::string& path) {
    PrintDialogAnswer answer;
    answer.Cancelled = false;
    answer.PrintToFile = true;
    answer.OutputFile = path;
    answer.PageLayout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                                    QPageLayout::Millimeter);
    answer.Resolution = 300;
    return answer;
  }

  ScriptedPrintDialogService printDialogs_;
  ScopedPrintDialogService printDialogsInstalled_{printDialogs_};
};

TEST_F(FramePrintTest, PrintWritesTheReportTheDialogChoseAndTakesItsOrientation) {
  AnalysedDocument();
  printDialogs_.QueueAnswer(LandscapeFile(Pdf("first.pdf")));
  Item("mnuFilePrint")->trigger();

  ASSERT_EQ(printDialogs_.Requests().size(), 1u);
  const PrintDialogRequest& first = printDialogs_.Requests()[0];
  EXPECT_EQ(first.Orientation, QPageLayout::Portrait);
  EXPECT_EQ(first.DocName, "Orvale - mirror.bmp");
  EXPECT_FALSE(first.PageLayout.has_value());
  EXPECT_TRUE(IsPdf(Pdf("first.pdf")));
  EXPECT_EQ(app_->Settings.ReportOrientation, 2);
  EXPECT_TRUE(messages_.Messages().empty());

  // The next dialog opens with this choice; a cancelled one changes nothing.
  printDialogs_.QueueCancel();
  Item("mnuFilePrint")->trigger();
  ASSERT_EQ(printDialogs_.Requests().size(), 2u);
  const PrintDialogRequest& second = printDialogs_.Requests()[1];
  EXPECT_TRUE(second.PrintToFile);
  EXPECT_EQ(second.OutputFile, Pdf("first.pdf"));
  EXPECT_EQ(second.Orientation, QPageLayout::Landscape);
  ASSERT_TRUE(second.PageLayout.has_value());
  EXPECT_EQ(second.PageLayout->pageSize().id(), QPageSize::A4);
  EXPECT_EQ(app_->Settings.ReportOrientation, 2);
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(FramePrintTest, ADocumentClosedWhileTheDialogIsOpenPrintsNothing) {
  clsDocument& doc = AnalysedDocument();
  printDialogs_.QueueAnswer(LandscapeFile(Pdf("never.pdf")), [&] {
    clsDocument* closing = &doc;
    std::int16_t cancel = 0;
    Table().CloseDocument(closing, true, cancel);
  });
  Item("mnuFilePrint")->trigger();
  EXPECT_EQ(Table().NumDocuments, 0);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(Pdf("never.pdf"))));
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(FramePrintTest, QuickPrintUsesTheDefaultPrinterAndNeverAFile) {
  FixedPrinterList none({}, "");
  ScopedPrinterList installed(none);
  AnalysedDocument();
  Button(4)->trigger();
  // A file chosen in the dialog is not the quick print's printer.
  printDialogs_.QueueAnswer(LandscapeFile(Pdf("chosen.pdf")));
  Item("mnuFilePrint")->trigger();
  QFile::remove(QString::fromStdString(Pdf("chosen.pdf")));
  Button(4)->trigger();

  // Without a printer the message says so, and where a report can still go.
  ASSERT_EQ(messages_.Messages().size(), 2u);
  for (const auto& message : messages_.Messages()) {
    EXPECT_EQ(message.text,
              "No printer is installed. File > Print can print the report to a PDF file.");
    EXPECT_EQ(message.title, "Error");
  }
  EXPECT_EQ(printDialogs_.Requests().size(), 1u);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(Pdf("chosen.pdf"))));
}

// Printers but none of them the default, as CUPS often has it: quick print cannot pick
// one, and says so instead of naming an empty printer.
TEST_F(FramePrintTest, QuickPrintWithPrintersButNoDefaultSaysNoDefaultIsSet) {
  FixedPrinterList printers({"Lab Printer", "Office"}, "");
  ScopedPrinterList installed(printers);
  AnalysedDocument();
  Button(4)->trigger();
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].text,
            "No default printer is set. File > Print can choose a printer or print the report to a PDF file.");
  EXPECT_EQ(messages_.Messages()[0].title, "Error");
  EXPECT_TRUE(printDialogs_.Requests().empty());
}

TEST_F(FramePrintTest, PageSetupIsAModalDialogOfTheFrame) {
  AnalysedDocument();
  for (const std::function<void()>& open : std::initializer_list<std::function<void()>>{
           [&] { Item("mnuFilePageSetup")->trigger(); }, [&] { Button(5)->trigger(); }}) {
    bool shown = false;
    QWidget* owner = nullptr;
    QTimer::singleShot(0, [&] {
      auto* dialog = dynamic_cast<frmPageSetup*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      shown = true;
      owner = dialog->parentWidget();
      dialog->reject();
    });
    open();
    EXPECT_TRUE(shown);
    EXPECT_EQ(owner, &Frame());
  }
}

TEST_F(FramePrintTest, PrintCommandsDoNothingWithoutADocument) {
  for (QAction* action : {Item("mnuFilePrint"), Button(4)}) {
    action->setEnabled(true);
    action->trigger();
  }
  EXPECT_TRUE(printDialogs_.Requests().empty());
  EXPECT_TRUE(messages_.Messages().empty());
}

}  // namespace
}  // namespace orvale::testing
