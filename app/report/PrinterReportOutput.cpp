// A report job on a real printer.
#include <QPainter>
#include <QPrinter>
#include <algorithm>

#include "app/report/ReportOutput.h"
#include "platform/gdi/PagedDeviceCaps.h"
#include "platform/gdi/PainterDeviceContext.h"

namespace orvale {

namespace {

class PrinterReportOutput final : public ReportOutput {
 public:
  PrinterReportOutput(const std::string& name, const std::optional<QPageLayout>& layout)
      : name_(name) {
    printer_.setPrinterName(QString::fromStdString(name));
    if (layout) printer_.setPageLayout(*layout);
  }
  ~PrinterReportOutput() override {
    if (painter_.isActive()) Abort();
  }

  std::string DeviceName() const override { return name_; }
  bool SetOrientation(QPageLayout::Orientation orientation) override {
    return printer_.setPageOrientation(orientation);
  }
  void SetCopies(std::int32_t copies) override {
    printer_.setCopyCount(std::max(1, copies));
    printer_.setCollateCopies(false);
  }
  gdi::DeviceContext* Begin(const std::string& title) override {
    printer_.setDocName(QString::fromStdString(title));
    if (!painter_.begin(&printer_)) return nullptr;
    dc_ = std::make_unique<gdi::PainterDeviceContext>(
        painter_, gdi::PagedDeviceCaps(printer_.pageLayout(), printer_.resolution()));
    return dc_.get();
  }
  bool PageReady() const override { return painter_.isActive(); }
  bool EndPage() override { return printer_.printerState() != QPrinter::Error; }
  bool Finish() override {
    dc_.reset();
    return painter_.end() && printer_.printerState() != QPrinter::Error;
  }
  void Abort() override {
    dc_.reset();
    if (!painter_.isActive()) return;
    printer_.abort();
    painter_.end();
  }

 private:
  std::string name_;
  QPrinter printer_{QPrinter::HighResolution};
  QPainter painter_;
  std::unique_ptr<gdi::PainterDeviceContext> dc_;
};

}  // namespace

std::unique_ptr<ReportOutput> MakePrinterOutput(const std::string& printerName,
                                                const std::optional<QPageLayout>& layout) {
  return std::make_unique<PrinterReportOutput>(printerName, layout);
}

}  // namespace orvale
