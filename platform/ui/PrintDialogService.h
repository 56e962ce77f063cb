#pragma once
// The program's print dialog. The program installs one that shows Qt's print dialog
// over a printer kept for the run; tests install scripted answers, so that nothing
// blocks a test.
#include <QPageLayout>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvale {

struct PrintDialogRequest {
  std::string PrinterName;  // the printer to preselect; empty: the system's default
  bool PrintToFile = false; // preselect "Print to File (PDF)" with OutputFile
  std::string OutputFile;
  std::int32_t Copies = 1;
  QPageLayout::Orientation Orientation = QPageLayout::Portrait;
  // The paper and margins chosen before (its orientation gives way to Orientation);
  // none: the printer's own.
  std::optional<QPageLayout> PageLayout;
  std::string DocName;  // the job's name while the dialog shows
};

struct PrintDialogAnswer {
  bool Cancelled = true;
  std::string PrinterName;  // the printer chosen, when not printing to a file
  bool PrintToFile = false;
  std::string OutputFile;   // the PDF file's full path, when printing to a file
  std::int32_t Copies = 1;
  QPageLayout PageLayout;   // paper, margins and orientation as chosen
  std::int32_t Resolution = 0;  // dots per inch of the chosen device
};

class PrintDialogService {
 public:
  virtual ~PrintDialogService() = default;
  virtual PrintDialogAnswer Show(const PrintDialogRequest& request) = 0;
};

// Installs `service` for the whole program (nullptr restores the default, which
// cancels every dialog). The caller keeps ownership.
void SetPrintDialogService(PrintDialogService* service);
PrintDialogService& CurrentPrintDialogService();

// Scripted answers: each dialog takes the next queued answer, or is cancelled when the
// queue is empty; every request is recorded. An answer without a valid page layout
// takes the request's (Letter with quarter-inch margins when it has none) in the
// request's orientation, as a user who left the page alone; one without a resolution
// gets 300 dpi.
class ScriptedPrintDialogService final : public PrintDialogService {
 public:
  // "Print to File (PDF)" into `path`.
  void QueueFile(const std::string& path);
  void QueuePrinter(const std::string& name, std::int32_t copies = 1);
  void QueueCancel();
  // `whileOpen` runs while the dialog is open, before it answers (what other events do
  // meanwhile).
  void QueueAnswer(PrintDialogAnswer answer, std::function<void()> whileOpen = {});
  PrintDialogAnswer Show(const PrintDialogRequest& request) override;
  const std::vector<PrintDialogRequest>& Requests() const { return requests_; }

 private:
  struct Entry {
    PrintDialogAnswer Answer;
    std::function<void()> WhileOpen;
  };
  std::deque<Entry> answers_;
  std::vector<PrintDialogRequest> requests_;
};

// Installs a service for the lifetime of a scope and restores the previous one.
class ScopedPrintDialogService {
 public:
  explicit ScopedPrintDialogService(PrintDialogService& service);
  ~ScopedPrintDialogService();
  ScopedPrintDialogService(const ScopedPrintDialogService&) = delete;
  ScopedPrintDialogService& operator=(const ScopedPrintDialogService&) = delete;

 private:
  PrintDialogService* previous_;
};

}  // namespace orvale
