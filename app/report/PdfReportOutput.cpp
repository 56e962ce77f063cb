// A report written as a PDF file. QPrinter can only write straight into its output
// file, so the file is a QPdfWriter over a QSaveFile: an older file of that name stays
// until the new one is complete.
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include "app/report/ReportOutput.h"
#include "platform/gdi/PagedDeviceCaps.h"
#include "platform/gdi/PainterDeviceContext.h"

namespace orvale {

namespace {

class PdfReportOutput final : public ReportOutput {
 public:
  PdfReportOutput(const std::string& path, const QPageLayout& layout, std::int32_t resolution)
      : path_(path), file_(QString::fromStdString(path)), writer_(&file_) {
    writer_.setResolution(resolution);
    writer_.setPageLayout(layout);
    writer_.setCreator("Orvale");
  }
  ~PdfReportOutput() override {
    if (painter_.isActive()) Abort();
  }

  std::string DeviceName() const override { return path_; }
  bool SetOrientation(QPageLayout::Orientation orientation) override {
    return writer_.setPageOrientation(orientation);
  }
  void SetCopies(std::int32_t /*copies*/) override {}
  gdi::DeviceContext* Begin(const std::string& title) override {
    writer_.setTitle(QString::fromStdString(title));
    if (!file_.open(QIODevice::WriteOnly)) return nullptr;
    if (!painter_.begin(&writer_)) {
      file_.cancelWriting();
      return nullptr;
    }
    dc_ = std::make_unique<gdi::PainterDeviceContext>(
        painter_, gdi::PagedDeviceCaps(writer_.pageLayout(), writer_.resolution()));
    return dc_.get();
  }
  bool PageReady() const override { return painter_.isActive(); }
  bool EndPage() override { return true; }  // write errors show when the file is committed
  bool Finish() override {
    dc_.reset();
    if (!painter_.end()) {
      file_.cancelWriting();
      return false;
    }
    return file_.commit();
  }
  void Abort() override {
    dc_.reset();
    if (painter_.isActive()) painter_.end();
    file_.cancelWriting();
  }

 private:
  std::string path_;
  QSaveFile file_;
  QPdfWriter writer_;
  QPainter painter_;
  std::unique_ptr<gdi::PainterDeviceContext> dc_;
};

}  // namespace

std::unique_ptr<ReportOutput> MakePdfOutput(const std::string& path, const QPageLayout& layout,
                                            std::int32_t resolution) {
  return std::make_unique<PdfReportOutput>(path, layout, resolution);
}

}  // namespace orvale
