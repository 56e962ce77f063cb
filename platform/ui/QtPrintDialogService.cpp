#include "platform/ui/QtPrintDialogService.h"

#include <QApplication>
#include <QPrintDialog>
#include <algorithm>

namespace orvale {

namespace {

QString FromText(const std::string& text) { return QString::fromStdString(text); }

// The request that would set `printer` up as it is.
PrintDialogRequest RequestOf(const QPrinter& printer) {
  PrintDialogRequest request;
  request.PrintToFile = printer.outputFormat() == QPrinter::PdfFormat;
  if (request.PrintToFile) {
    request.OutputFile = printer.outputFileName().toStdString();
  } else {
    request.PrinterName = printer.printerName().toStdString();
  }
  request.Copies = printer.copyCount();
  request.PageLayout = printer.pageLayout();
  request.Orientation = request.PageLayout->orientation();
  request.DocName = printer.docName().toStdString();
  return request;
}

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
  // Qt's dialog selects a printer of its own as it is made (the one the printer names,
  // else the system's default, else the first), turning a printer set to write a PDF
  // file into that printer whenever the system has one. Put the choice back: the dialog
  // shows "Print to File (PDF)" when it opens on a printer set to a file.
  const PrintDialogRequest preset = RequestOf(printer);
  auto dialog = std::make_unique<QPrintDialog>(&printer, owner);
  ApplyPrintRequest(printer, preset);
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
