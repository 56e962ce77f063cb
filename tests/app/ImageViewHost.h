#pragma once
// A main window for the widget suites whose documents get real image views, and a
// helper that opens a pattern image in one as the file commands do.
#include <QTest>
#include <memory>

#include "app/ImageView.h"
#include "app/ImageViewWindows.h"
#include "tests/app/ImageViewTestSupport.h"

namespace orvale::testing {

class ImageViewHost : public ViewTestFrame {
 public:
  std::unique_ptr<DocumentViews> CreateDocumentViews(clsDocument& /*doc*/) override {
    return std::make_unique<ImageViewWindows>(*this, toolbox);
  }
  FringeToolbox* toolbox = nullptr;
};

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
  ImageView* view = ImageViewOf(*doc);
  view->resize(300, 200);
  if (!QTest::qWaitForWindowExposed(view)) return nullptr;
  view->Activate();
  return doc;
}

}  // namespace orvale::testing
