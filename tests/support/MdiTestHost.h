#pragma once
// A main window for the window suites: the recording frame with a real MDI area in a
// shown top-level widget, whose documents get Qt windows. It stands in for the main
// window until that exists.
#include <QMdiArea>
#include <QWidget>

#include "app/plots/MdiDocumentViews.h"
#include "tests/support/RecordingMainFrame.h"

namespace orvale::testing {

class MdiTestHost : public RecordingMainFrame {
 public:
  explicit MdiTestHost(MdiDocumentViews::SubWindowFactory factory = {});

  std::unique_ptr<DocumentViews> CreateDocumentViews(clsDocument& doc) override;
  // Frame and caption sizes of the area's style.
  WindowFrameMetrics FrameMetrics() const override;

  QMdiArea& Area() { return *area_; }

 private:
  MdiDocumentViews::SubWindowFactory factory_;
  QWidget window_;
  QMdiArea* area_;
};

}  // namespace orvale::testing
