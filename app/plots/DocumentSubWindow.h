#pragma once
// The frame every document window shares in the main window's MDI area: it knows its
// document and view code, tells the main window when it is activated, and hides on its
// close box (output views) instead of going away. The image view and the result
// windows derive from it and put their contents inside.
//
// The document lets a window go by clearing parentDoc and deleting it later, so every
// handler first checks parentDoc: a window may still receive events after its document
// is gone, and its own close may close the document.
#include <QMdiSubWindow>
#include <cstdint>

#include "app/document/DocumentWindow.h"
#include "app/document/ImageWindowSize.h"

class QCloseEvent;
class QStyle;

namespace orvale {

class clsDocument;
class MainFrame;

class DocumentSubWindow : public QMdiSubWindow {
 public:
  // `content` (may be null) becomes the window's widget.
  DocumentSubWindow(MainFrame& frame, clsDocument& doc, std::int32_t formType,
                    QWidget* content = nullptr);
  ~DocumentSubWindow() override;

  clsDocument* parentDoc;  // null once the document let the window go
  const std::int32_t FormType;
  MainFrame& Frame() const { return *frame_; }

  // Shows the window and keeps whichever window was active active: nothing of an
  // activation runs, for this window or the one given back its activation. `raise`
  // brings this window to the top all the same.
  void ShowWithoutActivating(bool raise);
  // Hides the window; when it was the active one, the next shown window (front first)
  // is activated, as the window system does for a window that goes away.
  void HideWindow();
  WindowShowState ShowState() const;
  // Redraws the contents from what the window holds.
  virtual void RepaintView();
  // The document lets the window go: it forgets the document (and so does what it
  // shows) before it is deleted later.
  virtual void ReleaseDocument() { parentDoc = nullptr; }

  // Closing from the title bar runs UserClose; the window is never destroyed by it.
  void closeEvent(QCloseEvent* event) override;

 protected:
  // The activation of every document window: the document's layout is stored, its
  // active view becomes this one and the main window adapts to it.
  virtual void Activated();
  virtual void Deactivated() {}
  // What the window reports to the main window when activated: its zoom as a ratio
  // (1E+308: none) and whether it edits.
  virtual double ZoomRatio() const;
  virtual bool EditMode() const { return false; }
  // The user closed the window: an output view clears its flag and its View-menu check,
  // updates the toolbar and hides. Other windows decide for themselves.
  virtual void UserClose();

 private:
  void StateChanged(Qt::WindowStates oldState, Qt::WindowStates newState);

  MainFrame* frame_;
  QMetaObject::Connection stateConnection_;
};

// What a document window in an MDI area of `style` adds around its client area, in the
// terms of the window-size rules: the scroll bars, one sizing frame and the caption. The
// title bar of an MDI window takes the place of its top frame, so the caption is the
// title bar less one frame.
WindowFrameMetrics MdiWindowFrameMetrics(const QStyle& style);

}  // namespace orvale
