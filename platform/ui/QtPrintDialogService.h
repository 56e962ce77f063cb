#pragma once
// The program's print dialog: Qt's own, over one printer kept for the whole run, so
// that the dialog opens with the printer, paper and margins chosen last. It lists the
// CUPS printers and "Print to File (PDF)", the copies, and the printer's properties
// for paper and margins; a report is one page, so there is no page range.
#include <QPrinter>
#include <memory>

#include "platform/ui/PrintDialogService.h"

class QPrintDialog;
class QWidget;

namespace orvale {

// Sets `printer` up as the request asks (printer or PDF file, paper and margins,
// orientation, copies, job name).
void ApplyPrintRequest(QPrinter& printer, const PrintDialogRequest& request);
// What the user chose on `printer`.
PrintDialogAnswer PrintAnswerOf(const QPrinter& printer);
// The dialog over `printer`, opening on what `printer` is set to (a printer, or a PDF
// file and its name), whatever printers the system has: one page, no range, selection
// or current page.
std::unique_ptr<QPrintDialog> BuildPrintDialog(QPrinter& printer, QWidget* owner);

class QtPrintDialogService final : public PrintDialogService {
 public:
  PrintDialogAnswer Show(const PrintDialogRequest& request) override;

 private:
  QPrinter printer_{QPrinter::HighResolution};
};

}  // namespace orvale
