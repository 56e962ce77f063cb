#pragma once
// Printing the test report of a document: on a printer, or into a PDF file.
#include <QPageLayout>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "app/report/ReportOutput.h"

namespace orvale {

class clsDocument;

struct ReportPrintJob {
  std::string PrinterName;  // the printer, when not printing to a file
  bool PrintToFile = false;
  std::string OutputFile;   // the PDF file's full path, when printing to a file
  std::int32_t Copies = 1;
  // The paper and margins (their orientation gives way to the report's); none: the
  // printer's own, or Letter with quarter-inch margins for a file.
  std::optional<QPageLayout> PageLayout;
  std::int32_t Resolution = 600;   // dots per inch of a PDF file
  std::filesystem::path LogoFolder;  // where Logo.bmp is read from
};

// Prints the report of `doc` with its report settings. Without analysis results, a
// printed pane that needs them first asks whether to go on with it empty. A printer
// that the system does not offer is reported ("Cannot open printer: " + name); a job
// naming no printer is told that the system has no printer, or no default one, and that
// File > Print can choose one or write a PDF file. Each failed step of the job is
// reported and the job aborted: no partial file is left and an older file of that name
// is kept. The main window shows the busy pointer while the page is drawn. No message
// after a successful print.
void PrintReport(clsDocument& doc, const ReportPrintJob& job);

// The page settings of the job: copies (at least one, not collated) and the report
// orientation (1 portrait, 2 landscape). False, after "Error changing page settings."
// (title "Print Error"), when the device refuses the orientation or it is neither.
bool SetPrinterPageSettings(ReportOutput& output, std::int32_t Copies, std::int32_t Orientation);

// The job's steps after the printer is open: page settings, start, the page, its end
// and the job's end, each failure reported and the job aborted.
void PrintReportOn(clsDocument& doc, ReportOutput& output, std::int32_t Copies,
                   const std::filesystem::path& logoFolder);

}  // namespace orvale
