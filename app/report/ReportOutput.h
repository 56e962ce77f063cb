#pragma once
// Where a printed report goes: a job on a real printer, or a PDF file. Both run the
// same steps: page settings, start of the job, the page, its end and the job's end; a
// job that fails after it started is aborted, so that nothing of it is kept.
#include <QPageLayout>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/gdi/DeviceContext.h"

namespace orvale {

class ReportOutput {
 public:
  virtual ~ReportOutput() = default;

  // The name the messages give the device: the printer's, or the PDF file's path.
  virtual std::string DeviceName() const = 0;
  // Before the job starts. False when the device refuses the orientation.
  virtual bool SetOrientation(QPageLayout::Orientation orientation) = 0;
  // Copies of the page, not collated (a file has one).
  virtual void SetCopies(std::int32_t copies) = 0;
  // Starts the job named `title` and gives the page's device context (valid until the
  // job ends or is aborted); null when the job could not start.
  virtual gdi::DeviceContext* Begin(const std::string& title) = 0;
  // Whether the page can be drawn on.
  virtual bool PageReady() const = 0;
  // Ends the drawn page: false when the device reports an error.
  virtual bool EndPage() = 0;
  // Ends the job: false when it could not be completed (for a file: written and put in
  // place of any older one only when complete).
  virtual bool Finish() = 0;
  // Ends a started job so that nothing of it is printed or kept; an older file stays.
  virtual void Abort() = 0;
};

// A job on the printer of that name, on the paper and margins of `layout` (none: the
// printer's own), at the printer's resolution.
std::unique_ptr<ReportOutput> MakePrinterOutput(const std::string& printerName,
                                                const std::optional<QPageLayout>& layout);

// A PDF file at `path` with `layout` at `resolution` dots per inch, written to a
// temporary file beside it and renamed over it only when complete.
std::unique_ptr<ReportOutput> MakePdfOutput(const std::string& path, const QPageLayout& layout,
                                            std::int32_t resolution);

}  // namespace orvale
