#pragma once
// A document window in the main window's MDI area, as the document's view rules drive
// it. The Qt window (a DocumentSubWindow) is made with the window object and joins the
// area when it loads. Letting the object go unloads the window: its document pointer is
// cleared at once and the widget is deleted when control returns to the event loop, so
// a window whose own handler closed the document is not deleted under it.
#include <QPointer>

#include "app/document/DocumentWindow.h"
#include "app/plots/DocumentSubWindow.h"

class QMdiArea;

namespace orvale {

class MdiDocumentWindow final : public DocumentWindow {
 public:
  // Takes `window` (not yet in any area) into the object's care.
  MdiDocumentWindow(QMdiArea& area, DocumentSubWindow* window);
  ~MdiDocumentWindow() override;
  MdiDocumentWindow(const MdiDocumentWindow&) = delete;
  MdiDocumentWindow& operator=(const MdiDocumentWindow&) = delete;

  void Load(const WindowPlacement& placement) override;
  bool IsLoaded() const override { return loaded_; }
  void Show(bool activate, bool raise) override;
  void Hide() override;
  bool IsShown() const override;
  WindowPlacement Placement() const override;
  void SetPlacement(const WindowPlacement& placement) override;
  void Move(std::int32_t left, std::int32_t top) override;
  WindowShowState State() const override;
  void ShowNormal() override;
  void BringToTop(bool activate) override;
  void Repaint() override;
  void SetCaption(const std::string& caption) override;
  std::string Caption() const override;

  // The Qt window; null once it is gone.
  DocumentSubWindow* SubWindow() const { return window_; }

 private:
  QPointer<QMdiArea> area_;
  QPointer<DocumentSubWindow> window_;
  bool loaded_ = false;
  WindowPlacement placement_{};  // until the load
};

}  // namespace orvale
