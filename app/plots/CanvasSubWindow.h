#pragma once
// A document window whose client area is a backing image (the plot windows and the
// synthetic-fringe view), with scroll bars placed by hand on top of it. A resize of the
// client is handed to ClientResized, except while the window is minimised.
#include <QScrollBar>
#include <cstdint>

#include "app/plots/BackingImageWidget.h"
#include "app/plots/DocumentSubWindow.h"

namespace orvale {

class CanvasSubWindow : public DocumentSubWindow {
 public:
  BackingImageWidget& Canvas() const { return *canvas_; }

 protected:
  CanvasSubWindow(MainFrame& frame, clsDocument& doc, std::int32_t formType);

  // The client area took a new size: lay it out and draw it again.
  virtual void ClientResized() = 0;
  bool eventFilter(QObject* watched, QEvent* event) override;

  std::int32_t ClientWidth() const { return canvas_->width(); }
  std::int32_t ClientHeight() const { return canvas_->height(); }
  // The thickness of the window's scroll bars.
  std::int32_t ScrollBarExtent() const;
  // A scroll bar on the client area over `minimum`..`maximum`, as thick as ScrollBarExtent.
  QScrollBar* MakeScrollBar(Qt::Orientation orientation, int minimum, int maximum);
  // Shows the backing image after drawing into it.
  void ShowCanvas() { canvas_->update(); }

 private:
  BackingImageWidget* canvas_;
};

}  // namespace orvale
