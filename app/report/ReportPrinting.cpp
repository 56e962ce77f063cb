#include "app/report/ReportPrinting.h"

#include <QPageSize>

#include "app/document/DocumentHost.h"
#include "app/document/clsDocument.h"
#include "app/report/ReportPage.h"
#include "app/report/ReportPaneKinds.h"
#include "platform/registry/GeneralSettings.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/PrinterList.h"

namespace orvale {

namespace {

void ShowError(const std::string& text, const char* title = "Error") {
  ShowMessage(text, mb::kOk | mb::kIconExclamation, title);
}

// Whether a pane that will be printed needs results the document does not have.
bool PrintsEmptyResultPanes(const clsDocument& doc) {
  if (doc.OutputViewsExist) return false;
  const GeneralSettings& settings = doc.Settings();
  for (std::int32_t pane = 1; pane <= std::min(settings.ReportNumPanes, kMaxReportPanes); ++pane) {
    if (PaneNeedsResults(settings.ReportPanes[static_cast<std::size_t>(pane)])) return true;
  }
  return false;
}

QPageLayout DefaultFileLayout() {
  return QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                     QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch);
}

std::unique_ptr<ReportOutput> OpenOutput(const ReportPrintJob& job) {
  if (job.PrintToFile) {
    return MakePdfOutput(job.OutputFile, job.PageLayout.value_or(DefaultFileLayout()),
                         job.Resolution);
  }
  const PrinterList& printers = CurrentPrinterList();
  // No name: the system has no default printer to give a job without a dialog. Say why,
  // rather than name an empty printer, and where the report can still go.
  if (job.PrinterName.empty()) {
    ShowError(printers.Names().empty()
                  ? "No printer is installed. File > Print can print the report to a PDF file."
                  : "No default printer is set. File > Print can choose a printer or print the "
                    "report to a PDF file.");
    return nullptr;
  }
  if (!printers.Has(job.PrinterName)) {
    ShowError("Cannot open printer: " + job.PrinterName);
    return nullptr;
  }
  return MakePrinterOutput(job.PrinterName, job.PageLayout);
}

}  // namespace

bool SetPrinterPageSettings(ReportOutput& output, std::int32_t Copies, std::int32_t Orientation) {
  output.SetCopies(Copies);
  const bool known = Orientation == 1 || Orientation == 2;
  if (!known || !output.SetOrientation(Orientation == 2 ? QPageLayout::Landscape
                                                         : QPageLayout::Portrait)) {
    ShowError("Error changing page settings.", "Print Error");
    return false;
  }
  return true;
}

void PrintReportOn(clsDocument& doc, ReportOutput& output, std::int32_t Copies,
                   const std::filesystem::path& logoFolder) {
  if (!SetPrinterPageSettings(output, Copies, doc.Settings().ReportOrientation)) return;
  gdi::DeviceContext* dc = output.Begin("Orvale - " + doc.ImageFileName);
  if (dc == nullptr) {
    ShowError("Cannot start print job on " + output.DeviceName());
    return;
  }
  if (!output.PageReady()) {
    output.Abort();
    ShowError("Cannot print page");
    return;
  }
  BusyPointer busy(doc.Host());
  DrawReportPage(*dc, doc, logoFolder);
  if (!output.EndPage()) {
    output.Abort();
    ShowError("Cannot advance page");
  } else if (!output.Finish()) {
    output.Abort();
    ShowError("Print job incomplete");
  }
}

void PrintReport(clsDocument& doc, const ReportPrintJob& job) {
  if (PrintsEmptyResultPanes(doc) &&
      ShowMessage("Some of the specified panes will be empty, because there are no analysis "
                  "results to print. Continue?",
                  mb::kOkCancel, "Orvale") != idbutton::kOk) {
    return;
  }
  const std::unique_ptr<ReportOutput> output = OpenOutput(job);
  if (output) PrintReportOn(doc, *output, job.Copies, job.LogoFolder);
}

}  // namespace orvale
