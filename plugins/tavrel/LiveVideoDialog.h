#pragma once
// The "Live Video" window: the camera's running picture while the plug-in streams. It
// belongs to the program's main window: above it, but below the program's own dialogs and
// message boxes, and placed off its menus and toolbars. Frames arrive from the camera's
// thread; the window takes the newest on the GUI thread and drops the ones it had no time
// for. The user cannot close it: the engine does, when it stops the camera.
#include <QImage>
#include <QWidget>
#include <mutex>
#include <thread>

#include "plugins/tavrel/CaptureEngine.h"

namespace orvale {

class LiveVideoDialog final : public QWidget, public LiveDisplay {
 public:
  // A window whose picture area is width x (height + 1) pixels, belonging to `host`, at the
  // top right of its work area; with no host, at the top left of the screen.
  LiveVideoDialog(std::int32_t width, std::int32_t height, QWidget* host);

  void PostFrame(const FramePtr& frame) override;
  void FrameSize(std::int32_t width, std::int32_t height) override;

  // What the window shows, for tests.
  FramePtr ShownFrame() const { return shown_; }
  std::thread::id ShownOnThread() const { return shownOn_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void ShowNewest();
  void PlaceOver(const QWidget* host);

  std::mutex mutex_;
  FramePtr pending_;
  bool posted_ = false;
  FramePtr shown_;
  std::thread::id shownOn_;
};

// Makes live windows, belonging to the program's main window, while a QApplication runs;
// without one the engine streams unseen.
LiveDisplayFactory LiveVideoWindows();

}  // namespace orvale
