#include "platform/ui/QtPrintDialogService.h"

#include <QApplication>
#include <QPrintDialog>
#include <algorithm>

namespace orvale {

namespace {

QString FromText(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void ApplyPrintRequest(QPrinter& printer, const PrintDialogRequest& request) {
  if (request.PrintToFile) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(FromText(request.OutputFile));
  } else {
    printer.setOutputFileName(QString());
    printer.setOutputFormat(QPrinter::NativeFormat);
    if (!request.PrinterName.empty()) printer.setPrinterName(FromText(request.PrinterName));
  }
  if (request.PageLayout) printer.setPageLayout(*request.PageLayout);
  printer.setPageOrientation(request.Orientation);
  printer.setCopyCount(std::max(1, request.Copies));
  printer.setDocName(FromText(request.DocName));
}

PrintDialogAnswer PrintAnswerOf(const QPrinter& printer) {
  PrintDialogAnswer answer;
  answer.Cancelled = false;
  answer.PrintToFile = printer.outputFormat() == QPrinter::PdfFormat;
  if (answer.PrintToFile) {
    answer.OutputFile = printer.outputFileName().toStdString();
  } else {
    answer.PrinterName = printer.printerName().toStdString();
  }
  answer.Copies = std::max(1, printer.copyCount());
  answer.PageLayout = printer.pageLayout();
  answer.Resolution = printer.resolution();
  return answer;
}

std::unique_ptr<QPrintDialog> BuildPrintDialog(QPrinter& printer, QWidget* owner) {
  auto dialog = std::make_unique<QPrintDialog>(&printer, owner);
  dialog->setMinMax(1, 1);
  // After the page limits, which turn the page range on.
  dialog->setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
  return dialog;
}

PrintDialogAnswer QtPrintDialogService::Show(const PrintDialogRequest& request) {
  ApplyPrintRequest(printer_, request);
  const auto dialog = BuildPrintDialog(printer_, QApplication::activeWindow());
  if (dialog->exec() != QDialog::Accepted) return {};
  return PrintAnswerOf(printer_);
}

}  // namespace orvale
