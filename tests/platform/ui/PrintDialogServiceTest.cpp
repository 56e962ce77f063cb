#include <gtest/gtest.h>

#include <QPageSize>
#include <QPrintDialog>
#include <QTimer>
#include <filesystem>

#include "platform/ui/PrintDialogService.h"
#include "platform/ui/QtPrintDialogService.h"

namespace orvale {
namespace {

namespace fs = std::filesystem;

QPageLayout A5Layout(QPageLayout::Orientation orientation) {
  return QPageLayout(QPageSize(QPageSize::A5), orientation, QMarginsF(10, 12, 14, 16),
                     QPageLayout::Millimeter);
}

TEST(ScriptedPrintDialogTest, AnswersInTurnKeepingThePageTheRequestCameWith) {
  ScriptedPrintDialogService dialogs;
  ScopedPrintDialogService installed(dialogs);
  bool ranWhileOpen = false;
  dialogs.QueueFile("/tmp/report.pdf");
  PrintDialogAnswer chosen;
  chosen.Cancelled = false;
  chosen.PrinterName = "Lab";
  chosen.PageLayout = A5Layout(QPageLayout::Portrait);
  chosen.Resolution = 600;
  dialogs.QueueAnswer(chosen, [&] { ranWhileOpen = true; });

  PrintDialogRequest request;
  request.Orientation = QPageLayout::Landscape;
  request.DocName = "Orvale - mirror.bmp";
  const PrintDialogAnswer file = CurrentPrintDialogService().Show(request);
  EXPECT_FALSE(file.Cancelled);
  EXPECT_TRUE(file.PrintToFile);
  EXPECT_EQ(file.OutputFile, "/tmp/report.pdf");
  EXPECT_EQ(file.PageLayout.pageSize().id(), QPageSize::Letter);
  EXPECT_EQ(file.PageLayout.orientation(), QPageLayout::Landscape);
  EXPECT_EQ(file.Resolution, 300);
  EXPECT_FALSE(ranWhileOpen);

  const PrintDialogAnswer printer = CurrentPrintDialogService().Show(request);
  EXPECT_TRUE(ranWhileOpen);
  EXPECT_EQ(printer.PrinterName, "Lab");
  EXPECT_EQ(printer.PageLayout, A5Layout(QPageLayout::Portrait));
  EXPECT_EQ(printer.Resolution, 600);

  EXPECT_TRUE(CurrentPrintDialogService().Show(request).Cancelled);  // nothing queued
  ASSERT_EQ(dialogs.Requests().size(), 3u);
  EXPECT_EQ(dialogs.Requests()[0].DocName, "Orvale - mirror.bmp");
}

TEST(ScriptedPrintDialogTest, WithoutAServiceEveryDialogIsCancelled) {
  EXPECT_TRUE(CurrentPrintDialogService().Show({}).Cancelled);
}

class QtPrintDialogTest : public ::testing::Test {
 protected:
  QtPrintDialogTest() {
    fs::create_directories(folder_);
    request_.PrintToFile = true;
    request_.OutputFile = (folder_ / "report.pdf").string();
    request_.Copies = 3;
    request_.Orientation = QPageLayout::Landscape;
    request_.PageLayout = A5Layout(QPageLayout::Portrait);
    request_.DocName = "Orvale - mirror.bmp";
  }
  ~QtPrintDialogTest() override { fs::remove_all(folder_); }

  fs::path folder_ = fs::temp_directory_path() / ("orvale-printdialog-" + std::to_string(::getpid()));
  PrintDialogRequest request_;
  QPrinter printer_{QPrinter::HighResolution};
};

TEST_F(QtPrintDialogTest, TheChoiceRoundTripsThroughThePrinter) {
  ApplyPrintRequest(printer_, request_);
  EXPECT_EQ(printer_.docName(), "Orvale - mirror.bmp");
  const PrintDialogAnswer answer = PrintAnswerOf(printer_);
  EXPECT_FALSE(answer.Cancelled);
  EXPECT_TRUE(answer.PrintToFile);
  EXPECT_EQ(answer.OutputFile, request_.OutputFile);
  EXPECT_EQ(answer.Copies, 3);
  EXPECT_EQ(answer.PageLayout, A5Layout(QPageLayout::Landscape));
  EXPECT_EQ(answer.Resolution, 1200);
}

TEST_F(QtPrintDialogTest, TheDialogOffersOnePageAndPrintingToAFile) {
  ApplyPrintRequest(printer_, request_);
  const auto dialog = BuildPrintDialog(printer_, nullptr);
  EXPECT_TRUE(dialog->testOption(QAbstractPrintDialog::PrintToFile));
  for (const auto option : {QAbstractPrintDialog::PrintPageRange, QAbstractPrintDialog::PrintSelection,
                            QAbstractPrintDialog::PrintCurrentPage})
    EXPECT_FALSE(dialog->testOption(option));
  EXPECT_EQ(dialog->minPage(), 1);
  EXPECT_EQ(dialog->maxPage(), 1);

  // Accepted as it opened, the dialog answers what the request preset.
  QTimer::singleShot(0, dialog.get(), [&] { dialog->accept(); });
  ASSERT_EQ(dialog->exec(), QDialog::Accepted);
  const PrintDialogAnswer answer = PrintAnswerOf(printer_);
  EXPECT_TRUE(answer.PrintToFile);
  EXPECT_EQ(answer.OutputFile, request_.OutputFile);
  EXPECT_EQ(answer.PageLayout.orientation(), QPageLayout::Landscape);
}

}  // namespace
}  // namespace orvale
