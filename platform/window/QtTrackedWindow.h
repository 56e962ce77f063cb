#pragma once
// A program's QWidget as a TrackedWindow: its place on the screen, its shown, minimised
// and active states, Qt's window events as the messages the libraries follow, and a
// device context whose drawing is shown over the widget until the window is repainted.
// Qt says nothing of other programs' windows covering this one, so the visible part is
// the whole client area or nothing; menus send it no messages.
//
// The adapter is a child of the widget and ends with it (the libraries then hear that
// the window is gone); the program may delete it earlier.
//
//   auto* tracked = new QtTrackedWindow(*videoWidget);
//   KR_AutoWindow(tracked->Handle(), 0, 0, 0, 0, flags);
#include <QObject>
#include <memory>

#include "platform/window/TrackedWindow.h"

class QWidget;

namespace orvale {

namespace gdi {
class ImageDeviceContext;
}

class QtTrackedWindow final : public QObject, public TrackedWindow {
 public:
  explicit QtTrackedWindow(QWidget& widget);
  ~QtTrackedWindow() override;

  gdi::Rect ClientOnScreen() const override;
  std::vector<gdi::Rect> VisibleRects() const override;
  bool Shown() const override;
  bool Minimized() const override;
  bool Active() const override;
  bool AppActive() const override;
  gdi::DeviceContext* Dc() override;
  void SetTopmost(bool topmost) override;
  void Repaint() override;
  std::uint32_t BackgroundColour() const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void NewLayer();
  void Moved();

  QWidget& widget_;
  // What was drawn through Dc(), on a key colour that stays transparent.
  std::unique_ptr<gdi::ImageDeviceContext> layer_;
  bool drawn_ = false;
};

}  // namespace orvale
