// The main window's printing: File > Print through the print dialog, the toolbar's
// quick print, and the page setup.
#include <QCoreApplication>
#include <QFile>

#include "app/frame/FrameContext.h"
#include "app/frame/frmMain.h"
#include "app/document/clsDocument.h"
#include "app/report/ReportPrinting.h"
#include "app/report/frmPageSetup.h"
#include "platform/ui/PrinterList.h"

namespace orvale {

namespace {

// Logo.bmp lies beside the program.
std::filesystem::path ProgramFolder() {
  return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
}

}  // namespace

void frmMain::FilePrint() {
  clsDocument* doc = ActiveDocument();
  if (doc == nullptr) return;
  const DocumentRef ref = app_.Documents->RefOf(*doc);
  PrintDialogRequest request;
  if (lastPrint_) {
    request.PrinterName = lastPrint_->PrinterName;
    request.PrintToFile = lastPrint_->PrintToFile;
    request.OutputFile = lastPrint_->OutputFile;
    request.Copies = lastPrint_->Copies;
    request.PageLayout = lastPrint_->PageLayout;
  }
  request.Orientation =
      app_.Settings.ReportOrientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait;
  request.DocName = "Orvale - " + doc->ImageFileName;
  const PrintDialogAnswer answer = CurrentPrintDialogService().Show(request);
  if (answer.Cancelled) return;
  // The dialog's orientation is the report's from now on.
  app_.Settings.ReportOrientation = answer.PageLayout.orientation() == QPageLayout::Landscape ? 2 : 1;
  lastPrint_ = answer;

  // Other events ran while the dialog was open: the document may be gone.
  doc = app_.Documents->Find(ref);
  if (doc == nullptr) return;
  ReportPrintJob job;
  job.PrinterName = answer.PrinterName;
  job.PrintToFile = answer.PrintToFile;
  job.OutputFile = answer.OutputFile;
  job.Copies = answer.Copies;
  job.PageLayout = answer.PageLayout;
  job.Resolution = answer.Resolution;
  job.LogoFolder = ProgramFolder();
  PrintReport(*doc, job);
}

void frmMain::QuickPrint() {
  clsDocument* doc = ActiveDocument();
  if (doc == nullptr) return;
  // One copy, never to a file: on the printer chosen last in this run, else on the
  // system's default (none: an empty name, which the report refuses, saying why).
  ReportPrintJob job;
  if (lastPrint_ && !lastPrint_->PrintToFile) {
    job.PrinterName = lastPrint_->PrinterName;
    job.PageLayout = lastPrint_->PageLayout;
  } else {
    job.PrinterName = CurrentPrinterList().DefaultName();
  }
  job.LogoFolder = ProgramFolder();
  PrintReport(*doc, job);
}

void frmMain::FilePageSetup() {
  frmPageSetup dialog(app_.Settings, this);
  dialog.exec();
}

}  // namespace orvale
