#include <gtest/gtest.h>

#include <QApplication>
#include <QPageSize>
#include <QPrintDialog>
#include <QTimer>
#include <cctype>
#include <cstdio>
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
}

// The print queues the system's scheduler offers, by `lpstat`; none without CUPS.
std::vector<std::string> CupsQueues() {
  std::vector<std::string> queues;
  FILE* lpstat = ::popen("lpstat -e 2>/dev/null", "r");
  if (lpstat == nullptr) return queues;
  char line[256];
  while (std::fgets(line, sizeof line, lpstat) != nullptr) {
    std::string name(line);
    while (!name.empty() && std::isspace(static_cast<unsigned char>(name.back()))) name.pop_back();
    if (!name.empty()) queues.push_back(name);
  }
  ::pclose(lpstat);
  return queues;
}

// Qt's own dialog lists the system's printers beside "Print to File (PDF)"; accepted as
// it opens, it answers what the request preset, turn after turn on the printer the
// program keeps for its run: a file is printed to again as a file.
TEST_F(QtPrintDialogTest, TheRealDialogKeepsThePresetFileOrQueueBesideACupsQueue) {
  const std::vector<std::string> queues = CupsQueues();
  if (queues.empty()) GTEST_SKIP() << "lpstat finds no CUPS print queue; the dialog was not tried beside one";
  PrintDialogRequest queue;
  queue.PrinterName = queues.back();
  queue.Copies = 2;
  queue.DocName = request_.DocName;

  QtPrintDialogService dialogs;
  for (const PrintDialogRequest& preset : {request_, queue, request_}) {
    SCOPED_TRACE(preset.PrintToFile ? preset.OutputFile : preset.PrinterName);
    bool opened = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      opened = true;
      dialog->accept();
    });
    const PrintDialogAnswer answer = dialogs.Show(preset);
    ASSERT_TRUE(opened);
    EXPECT_FALSE(answer.Cancelled);
    EXPECT_EQ(answer.PrintToFile, preset.PrintToFile);
    EXPECT_EQ(answer.OutputFile, preset.OutputFile);
    EXPECT_EQ(answer.PrinterName, preset.PrinterName);
    EXPECT_EQ(answer.Copies, preset.Copies);
    EXPECT_EQ(answer.PageLayout.orientation(), preset.Orientation);
  }
}

}  // namespace
}  // namespace orvale
