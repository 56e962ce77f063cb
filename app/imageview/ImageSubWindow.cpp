#include "app/imageview/ImageSubWindow.h"

#include "app/imageview/ImageView.h"
#include "app/document/DocumentViews.h"

namespace orvale {

ImageSubWindow::ImageSubWindow(MainFrame& frame, clsDocument& doc, FringeToolbox* toolbox)
    : DocumentSubWindow(frame, doc, viewtype::kImage, new ImageView(doc, frame, toolbox)) {}

ImageView* ImageSubWindow::View() const { return static_cast<ImageView*>(widget()); }

void ImageSubWindow::RepaintView() {
  if (ImageView* view = View()) view->PaintImage();
}

void ImageSubWindow::ReleaseDocument() {
  DocumentSubWindow::ReleaseDocument();
  if (ImageView* view = View()) view->Detach();
}

void ImageSubWindow::Activated() {
  if (ImageView* view = View()) view->Activate();
}

void ImageSubWindow::UserClose() {
  if (ImageView* view = View()) view->CloseByUser();
}

}  // namespace orvale
