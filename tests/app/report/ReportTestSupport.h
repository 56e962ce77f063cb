#pragma once
// Fixtures of the report suites: printer caps, a document whose views record what the
// report asks them to print (and can fill their panes grey), a logo in a scratch
// folder, and the drawn records read back.
#include <gtest/gtest.h>

#include <QImage>
#include <memory>
#include <string>
#include <vector>

#include "app/document/DocumentViews.h"
#include "app/document/clsDocument.h"
#include "app/report/ReportGeometry.h"
#include "platform/gdi/DeviceCaps.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/RecordingDeviceContext.h"
#include "tests/app/document/DocumentModelTestSupport.h"
#include "tests/app/document/DocumentTestSupport.h"
#include "tests/app/plots/PlotTestSupport.h"

namespace orvale::testing {

// A raster printer page of width x height pixels at `dpi` with the given printable part.
inline gdi::DeviceCaps PrinterPageCaps(int width, int height, int dpi = 300, int pageWidth = 0,
                                       int pageHeight = 0, int offsetX = 0, int offsetY = 0) {
  gdi::DeviceCaps caps = gdi::DisplayCaps(width, height, dpi, dpi);
  caps.technology = gdi::DT_RASPRINTER;
  caps.physicalWidth = pageWidth > 0 ? pageWidth : width;
  caps.physicalHeight = pageHeight > 0 ? pageHeight : height;
  caps.physicalOffsetX = offsetX;
  caps.physicalOffsetY = offsetY;
  return caps;
}

// Letter at 300 dpi printable to its edges.
inline gdi::DeviceCaps LetterCaps() { return PrinterPageCaps(2550, 3300); }

// Views that record each print request and, when asked, fill the rectangle grey.
class RecordingViews final : public DocumentViews {
 public:
  struct Print {
    std::int32_t FormType;
    PaneRect Rect;
    bool operator==(const Print&) const = default;
  };
  void PrintView(std::int32_t formType, gdi::DeviceContext& dc, std::int32_t left,
                 std::int32_t top, std::int32_t right, std::int32_t bottom) override {
    prints.push_back({formType, {left, top, right, bottom}});
    if (fillGrey)
      dc.FillRect(gdi::Rect{left, top, right + 1, bottom + 1}, gdi::CreateSolidBrush(0x808080));
  }
  std::vector<Print> prints;
  bool fillGrey = false;
};

using test::CallsNamed;

// A document with the report's default settings (three panes: surface, aberrations,
// logo; frame lines; every line shown), recording views, and a 200 x 100 Logo.bmp in
// the scratch folder.
class ReportTest : public ScratchFolderTest {
 protected:
  void SetUp() override {
    ScratchFolderTest::SetUp();
    settings_.ReportOrientation = 1;
    settings_.ReportShowFlags.fill(true);
    settings_.ReportDrawGrid = true;
    settings_.ReportNumPanes = 3;
    settings_.ReportPanes = {0, 6, 1, 5, 0, 0, 0};
    doc_ = std::make_unique<clsDocument>(settings_, &host_);
    auto views = std::make_unique<RecordingViews>();
    views_ = views.get();
    doc_->SetViews(std::move(views));
    doc_->ImageFileName = "mirror.bmp";
    doc_->OutputViewsExist = true;
    QImage logo(200, 100, QImage::Format_RGB32);
    logo.fill(qRgb(20, 60, 160));
    ASSERT_TRUE(logo.save(QString::fromStdString(Path("Logo.bmp").string()), "BMP"));
  }
  void TearDown() override {
    doc_.reset();
    ScratchFolderTest::TearDown();
  }

  GeneralSettings settings_ = DefaultDocumentSettings();
  RecordingHost host_;
  std::unique_ptr<clsDocument> doc_;
  RecordingViews* views_ = nullptr;
};

}  // namespace orvale::testing
