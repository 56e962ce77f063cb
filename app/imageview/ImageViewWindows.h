#pragma once
// A document's windows in the main window's area with a real image view: the result
// windows and their rules are the base's; the image view's window is an ImageSubWindow,
// and what the rules and the main window ask of the image view (its picture, layout,
// zoom, tool, the pop-up's centre deletion, focus, drawing in progress) runs the
// ImageView widget inside it.
#include "app/plots/ResultDocumentViews.h"

class QMdiArea;

namespace orvale {

class FringeToolbox;
class ImageEditController;
class ImageView;
class MainFrame;

class ImageViewWindows : public ResultDocumentViews {
 public:
  // `frame`, `area` and `toolbox` (may be null) must outlive the windows.
  ImageViewWindows(MainFrame& frame, QMdiArea& area, FringeToolbox* toolbox);

  void StopDrawingObject() override;
  void ImageView_Init(clsDocument& doc) override;
  void ResizeWindow() override;
  void SetViewZoom(std::int32_t formType, std::int32_t percent) override;
  // The image view's zoom is its picture geometry's.
  std::int32_t ViewZoom(std::int32_t formType) const override;
  void SetMouseTool(std::int32_t formType, bool editMode) override;
  void DeleteFringeCenter(double X, double Y) override;
  // The image view (1) prints the interferogram with its overlays; the other views are
  // the base's.
  void PrintView(std::int32_t formType, gdi::DeviceContext& dc, std::int32_t left,
                 std::int32_t top, std::int32_t right, std::int32_t bottom) override;

  // The image view; null before it is created and after it is unloaded.
  ImageView* View() const;

 protected:
  void RefreshBitmapFromData(std::span<const std::uint8_t> data, std::int32_t width,
                             std::int32_t height) override;
  void RefreshBlankImage(std::int32_t width, std::int32_t height) override;
  void UpdateImage() override;
  // The base's flag and the view's own.
  void SetImageReady(bool ready) override;

 private:
  ImageEditController* Editor() const;
};

// The image view of a document whose windows are ImageViewWindows, and its editing
// controller; null otherwise or when it has none.
ImageView* ImageViewOf(const clsDocument& doc);
ImageEditController* ImageEditorOf(const clsDocument& doc);

}  // namespace orvale
