#pragma once
// This room (app/imageview) holds the image view of a document: the widget, its plain
// C++ editing controller with its cursor and status tables, its fringe and shape
// commands, its place among the document's windows (ImageViewWindows), and the fringe
// toolbox with its stored outlines. It may use the dialogs (app/dialogs) and every room
// below them; the main window (app/frame) uses it, and the automation server and the
// report, beside it, do not.
//
// The image view of one document (view code 1): the picture area, a scroll bar along
// the bottom and the right edge (always there, disabled when not needed, so the
// picture area is always the inside less the bars) and a size grip in the corner.
// The widget only translates Qt's events: the display paints into its backing image,
// which paintEvent copies to the screen, and the editing controller runs the mouse.
// It works as a top-level window and as the content of a QMdiSubWindow.
#include <QWidget>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "app/imageview/ImageEditController.h"

class QScrollBar;
class QSizeGrip;

namespace orvale {

class clsDocument;
class FringeToolbox;
class ImageViewDisplay;
class MainFrame;

class ImageView : public QWidget, private ImageViewPort {
 public:
  static constexpr std::int32_t FormType = 1;

  // `doc`, `frame` and `toolbox` (may be null) must outlive the view, or the view must
  // be detached first.
  ImageView(clsDocument& doc, MainFrame& frame, FringeToolbox* toolbox,
            QWidget* parent = nullptr);
  ~ImageView() override;

  // The owning document; null once detached.
  clsDocument* parentDoc() const { return doc_; }
  // Null once detached.
  ImageViewDisplay* Display() const { return display_.get(); }
  ImageEditController* Editor() const { return editor_.get(); }

  // The window's load: size from the document, the editing defaults' cursor.
  void Load();
  bool RefreshBitmapFromData(std::span<const std::uint8_t> data, std::int32_t XSize,
                             std::int32_t YSize);
  bool RefreshBitmapFromDIB(std::span<const std::uint8_t> dib, std::int32_t XSize,
                            std::int32_t YSize);
  // Lays the view out for its current size: scroll bars, zoom, pre-shrunk picture.
  void ResizeWindow();
  // Repaints the picture area with its overlays.
  void PaintImage();
  // ResizeWindow, then a full repaint.
  void UpdateImage();
  // The view became the active window: switches the output views of the documents
  // when another document was active, and tells the main window.
  void Activate();
  // The document goes: the view forgets it and shows nothing more.
  void Detach();
  // The user closes the view: its document closes, after the save question. False
  // when the user cancelled and the view stays.
  bool CloseByUser();

  // The key of the cursor the view shows ("" the standard pointer).
  const std::string& CursorKey() const { return cursorKey_; }
  // The window that is shown and placed: the QMdiSubWindow around the view, or the view.
  QWidget* FrameWidget();

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // ImageViewPort
  void ShowBacking() override;
  void SetCursorKey(std::string_view key) override;
  void ScrollBarsChanged() override;
  PointL ScreenPosition(std::int32_t x, std::int32_t y) const override;

  // A mouse event to the controller: its button code, modifiers and position.
  using MouseHandler = void (ImageEditController::*)(std::int32_t, std::int32_t, double, double);
  void ForwardMouse(QMouseEvent* event, MouseHandler handler, std::int32_t Button);
  void ScrollBarMoved();
  void FollowSubWindowActivation();
  std::int32_t BarExtent() const;

  clsDocument* doc_;
  MainFrame& frame_;
  std::unique_ptr<ImageViewDisplay> display_;
  std::unique_ptr<ImageEditController> editor_;
  QScrollBar* hsbImage_;
  QScrollBar* vsbImage_;
  QSizeGrip* sbImage_;
  bool syncingBars_ = false;
  bool loaded_ = false;
  std::string cursorKey_;
  QMetaObject::Connection subWindowActivation_;
};

}  // namespace orvale
