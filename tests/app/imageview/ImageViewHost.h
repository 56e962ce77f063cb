#pragma once
// A main window for the widget suites whose documents get real image views in a real
// MDI area, and helpers that open a pattern image in one as the file commands do.
#include <QMdiArea>
#include <QTest>
#include <QWidget>
#include <memory>

#include "app/imageview/ImageView.h"
#include "app/imageview/ImageViewWindows.h"
#include "app/plots/DocumentSubWindow.h"
#include "tests/app/imageview/ImageViewTestSupport.h"

namespace orvale::testing {

class ImageViewHost : public ViewTestFrame {
 public:
  ImageViewHost() : area_(new QMdiArea(&window_)) {
    window_.resize(1000, 800);
    area_->setGeometry(0, 0, 1000, 800);
    window_.show();
  }
  std::unique_ptr<DocumentViews> CreateDocumentViews(clsDocument& /*doc*/) override {
    return std::make_unique<ImageViewWindows>(*this, *area_, toolbox);
  }
  WindowFrameMetrics FrameMetrics() const override { return MdiWindowFrameMetrics(*area_->style()); }
  QMdiArea& Area() { return *area_; }

  FringeToolbox* toolbox = nullptr;

 private:
  QWidget window_;
  QMdiArea* area_;
};

// Sizes the window around `view` so that the view itself is `size`, and waits until it
// is on screen.
inline bool ShowViewSized(ImageView* view, QSize size) {
  QWidget* frame = view->FrameWidget();
  frame->resize(frame->size() - view->size() + size);
  return view->size() == size && QTest::qWaitForWindowExposed(view);
}

// A new document with a width x height pattern image, shown in a 300 x 200 image view
// that is the active window.
inline clsDocument* OpenPattern(DocumentTable& table, std::int32_t width, std::int32_t height) {
  clsDocument* doc = nullptr;
  if (!table.NewDocument(doc)) return nullptr;
  doc->SetImageData(PatternImage(width, height), width, height);
  doc->ImageFileName = "pattern.bmp";
  doc->DocDirty = false;
  if (!doc->CreateView(1)) return nullptr;
  doc->ImageView_Init();
  doc->Views().ResizeWindow();
  doc->Views().ShowImageView();
  if (!ShowViewSized(ImageViewOf(*doc), QSize(300, 200))) return nullptr;
  return doc;
}

}  // namespace orvale::testing
