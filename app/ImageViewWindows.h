#pragma once
// A document's window set with a real image view: the image-view members of
// DocumentViews, and what the main window drives in it (zoom, hand or edit tool, the
// pop-up's centre deletion, focus), run the ImageView widget; the base's edit-mode and
// ready flags follow it. The output views keep the rules and windows of the base.
#include <QPointer>

#include "app/document/DocumentViews.h"

class QWidget;

namespace orvale {

class FringeToolbox;
class ImageEditController;
class ImageView;
class MainFrame;

class ImageViewWindows : public DocumentViews {
 public:
  // `frame` and `toolbox` (may be null) must outlive the windows; the image view is a
  // child of `parent`, or a top-level window without one.
  ImageViewWindows(MainFrame& frame, FringeToolbox* toolbox, QWidget* parent = nullptr);
  ~ImageViewWindows() override;

  bool CreateImageView(clsDocument& doc) override;
  void StopDrawingObject() override;
  void UnloadImageView() override;
  void ImageView_Init(clsDocument& doc) override;
  void ImageView_Refresh(clsDocument& doc) override;
  void PaintImage() override;
  void ResizeWindow() override;
  void ShowImageView() override;
  void SetViewZoom(std::int32_t formType, std::int32_t percent) override;
  void SetMouseTool(std::int32_t formType, bool editMode) override;
  void DeleteFringeCenter(double X, double Y) override;
  void FocusView(std::int32_t formType) override;
  void SetCaption(std::int32_t formType, const std::string& caption) override;

  // The image view; null before it is created and after it is unloaded.
  ImageView* View() const;

 protected:
  // The base's flag and the view's own.
  void SetImageReady(bool ready) override;

 private:
  // The caption, the display bitmap from the document's image (only its size for a
  // blank image) and the ready flag.
  void ShowDocumentImage(clsDocument& doc);
  // Detaches the view from its document and lets Qt delete it once its events are done
  // (it may be inside its own close handler).
  void Release();

  MainFrame& frame_;
  FringeToolbox* toolbox_;
  QPointer<QWidget> parent_;
  QPointer<ImageView> view_;
};

// The image view of a document whose windows are ImageViewWindows, and its editing
// controller; null otherwise or when it has none.
ImageView* ImageViewOf(const clsDocument& doc);
ImageEditController* ImageEditorOf(const clsDocument& doc);

}  // namespace orvale
