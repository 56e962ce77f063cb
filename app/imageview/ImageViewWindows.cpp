#include "app/imageview/ImageViewWindows.h"

#include "app/imageview/ImageEditController.h"
#include "app/imageview/ImageSubWindow.h"
#include "app/imageview/ImageView.h"
#include "app/document/clsDocument.h"
#include "app/plots/ImageViewDisplay.h"

namespace orvale {

ImageViewWindows::ImageViewWindows(MainFrame& frame, QMdiArea& area, FringeToolbox* toolbox)
    : ResultDocumentViews(frame, area,
                          [toolbox](MainFrame& f, clsDocument& doc, std::int32_t /*formType*/) {
                            return new ImageSubWindow(f, doc, toolbox);
                          }) {}

ImageView* ImageViewWindows::View() const {
  auto* window = static_cast<ImageSubWindow*>(SubWindow(viewtype::kImage));
  return window != nullptr ? window->View() : nullptr;
}

ImageEditController* ImageViewWindows::Editor() const {
  ImageView* view = View();
  return view != nullptr ? view->Editor() : nullptr;
}

void ImageViewWindows::StopDrawingObject() {
  if (ImageEditController* editor = Editor()) editor->StopDrawingObject();
}

void ImageViewWindows::ImageView_Init(clsDocument& doc) {
  ResultDocumentViews::ImageView_Init(doc);
  if (ImageView* view = View()) view->Load();
}

void ImageViewWindows::RefreshBitmapFromData(std::span<const std::uint8_t> data,
                                             std::int32_t width, std::int32_t height) {
  if (ImageView* view = View()) view->RefreshBitmapFromData(data, width, height);
}

void ImageViewWindows::RefreshBlankImage(std::int32_t width, std::int32_t height) {
  // Without the extent every centre dragged on a blank image would count as dragged off it.
  ImageView* view = View();
  if (view != nullptr && view->Display() != nullptr) view->Display()->SetImageSize(width, height);
}

void ImageViewWindows::UpdateImage() {
  if (ImageView* view = View()) view->UpdateImage();
}

void ImageViewWindows::ResizeWindow() {
  if (ImageView* view = View()) view->ResizeWindow();
}

void ImageViewWindows::SetViewZoom(std::int32_t formType, std::int32_t percent) {
  ImageView* view = View();
  if (formType != viewtype::kImage) {
    ResultDocumentViews::SetViewZoom(formType, percent);
  } else if (view != nullptr && view->Display() != nullptr) {
    view->Display()->Geometry.ZoomFactor = percent;
    view->UpdateImage();
  }
}

std::int32_t ImageViewWindows::ViewZoom(std::int32_t formType) const {
  ImageView* view = View();
  if (formType != viewtype::kImage || view == nullptr || view->Display() == nullptr)
    return ResultDocumentViews::ViewZoom(formType);
  return view->Display()->Geometry.ZoomFactor;
}

void ImageViewWindows::SetMouseTool(std::int32_t formType, bool editMode) {
  ResultDocumentViews::SetMouseTool(formType, editMode);
  if (formType != viewtype::kImage) return;
  if (ImageEditController* editor = Editor()) {
    editor->MouseEditMode = editMode;
    editor->ChangeMouseIcon(0);
  }
}

void ImageViewWindows::SetImageReady(bool ready) {
  ResultDocumentViews::SetImageReady(ready);
  ImageView* view = View();
  if (view != nullptr && view->Display() != nullptr) view->Display()->ImageReady = ready;
}

void ImageViewWindows::DeleteFringeCenter(double X, double Y) {
  if (ImageEditController* editor = Editor()) editor->DeleteFringeCenter(X, Y);
}

void ImageViewWindows::PrintView(std::int32_t formType, gdi::DeviceContext& dc,
                                 std::int32_t left, std::int32_t top, std::int32_t right,
                                 std::int32_t bottom) {
  if (formType != viewtype::kImage) {
    ResultDocumentViews::PrintView(formType, dc, left, top, right, bottom);
  } else if (ImageEditController* editor = Editor()) {
    editor->PrintImage(dc, left, top, right, bottom);
  }
}

ImageView* ImageViewOf(const clsDocument& doc) {
  const auto* windows = dynamic_cast<const ImageViewWindows*>(&doc.Views());
  return windows != nullptr ? windows->View() : nullptr;
}

ImageEditController* ImageEditorOf(const clsDocument& doc) {
  ImageView* view = ImageViewOf(doc);
  return view != nullptr ? view->Editor() : nullptr;
}

}  // namespace orvale
