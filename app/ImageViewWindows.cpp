#include "app/ImageViewWindows.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <new>

#include "app/ImageView.h"
#include "app/plots/ImageViewDisplay.h"
#include "app/document/DocumentHost.h"
#include "app/document/clsDocument.h"
#include "platform/ui/MessageService.h"

namespace orvale {

ImageViewWindows::ImageViewWindows(MainFrame& frame, FringeToolbox* toolbox, QWidget* parent)
    : frame_(frame), toolbox_(toolbox), parent_(parent) {}

ImageViewWindows::~ImageViewWindows() { Release(); }

ImageView* ImageViewWindows::View() const { return view_.data(); }

void ImageViewWindows::Release() {
  if (view_.isNull()) return;
  ImageView* view = view_.data();
  view_.clear();
  view->Detach();
  QWidget* window = view->FrameWidget();
  window->hide();
  window->deleteLater();
}

bool ImageViewWindows::CreateImageView(clsDocument& doc) {
  Release();
  try {
    view_ = new ImageView(doc, frame_, toolbox_, parent_.data());
  } catch (const std::bad_alloc& e) {
    ShowMessage(e.what(), mb::kOk, "Error");
    return false;
  }
  Attach(doc);
  SetMouseTool(viewtype::kImage, doc.Host().ImageViewStartsInEditMode());
  return true;
}

void ImageViewWindows::StopDrawingObject() {
  if (ImageEditController* editor = view_ ? view_->Editor() : nullptr) editor->StopDrawingObject();
}

void ImageViewWindows::UnloadImageView() { Release(); }

void ImageViewWindows::ShowDocumentImage(clsDocument& doc) {
  SetCaption(viewtype::kImage, doc.DocumentFileName.empty() ? doc.ImageFileName
                                                            : doc.DocumentFileName);
  std::int32_t width = 0;
  std::int32_t height = 0;
  doc.GetImageSize(width, height);
  ImageViewDisplay& display = *view_->Display();
  if (doc.BlankImage)
    display.SetImageSize(width, height);  // no bitmap, but the picture has its extent
  else
    display.RefreshBitmapFromData(doc.ImageData(), width, height);
  SetImageReady(true);
}

void ImageViewWindows::ImageView_Init(clsDocument& doc) {
  if (!view_ || view_->Display() == nullptr) return;
  BusyPointer busy(doc.Host());
  view_->Load();
  SetImageReady(false);
  ShowDocumentImage(doc);
}

void ImageViewWindows::ImageView_Refresh(clsDocument& doc) {
  if (!view_ || view_->Display() == nullptr) return;
  BusyPointer busy(doc.Host());
  ShowDocumentImage(doc);
  view_->UpdateImage();
}

void ImageViewWindows::PaintImage() {
  if (view_) view_->PaintImage();
}

void ImageViewWindows::ResizeWindow() {
  if (view_) view_->ResizeWindow();
}

void ImageViewWindows::ShowImageView() {
  if (view_) view_->FrameWidget()->show();
}

void ImageViewWindows::SetViewZoom(std::int32_t formType, std::int32_t percent) {
  if (formType != viewtype::kImage || !view_ || view_->Display() == nullptr) return;
  view_->Display()->Geometry.ZoomFactor = percent;
  view_->UpdateImage();
}

void ImageViewWindows::SetMouseTool(std::int32_t formType, bool editMode) {
  DocumentViews::SetMouseTool(formType, editMode);
  if (formType != viewtype::kImage) return;
  if (ImageEditController* editor = view_ ? view_->Editor() : nullptr) {
    editor->MouseEditMode = editMode;
    editor->ChangeMouseIcon(0);
  }
}

void ImageViewWindows::SetImageReady(bool ready) {
  DocumentViews::SetImageReady(ready);
  if (ImageViewDisplay* display = view_ ? view_->Display() : nullptr) display->ImageReady = ready;
}

void ImageViewWindows::DeleteFringeCenter(double X, double Y) {
  if (ImageEditController* editor = view_ ? view_->Editor() : nullptr)
    editor->DeleteFringeCenter(X, Y);
}

void ImageViewWindows::FocusView(std::int32_t formType) {
  if (formType != viewtype::kImage || !view_) return;
  QWidget* window = view_->FrameWidget();
  if (auto* sub = qobject_cast<QMdiSubWindow*>(window); sub != nullptr && sub->mdiArea()) {
    sub->mdiArea()->setActiveSubWindow(sub);
  } else {
    window->raise();
    window->activateWindow();
  }
  view_->setFocus();
}

void ImageViewWindows::SetCaption(std::int32_t formType, const std::string& caption) {
  DocumentViews::SetCaption(formType, caption);
  if (formType == viewtype::kImage && view_) view_->setWindowTitle(QString::fromStdString(caption));
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
