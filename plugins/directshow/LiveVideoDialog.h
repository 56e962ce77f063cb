#pragma once
// The "Live Video" window: the camera's running picture, at the top left of the screen and
// above other windows, while the plug-in streams. Frames arrive from the camera's thread;
// the window takes the newest on the GUI thread and drops the ones it had no time for.
// The user cannot close it: the engine does, when it stops the camera.
#include <QImage>
#include <QWidget>
#include <mutex>
#include <thread>

#include "plugins/directshow/CaptureEngine.h"

namespace orvale {

class LiveVideoDialog final : public QWidget, public LiveDisplay {
 public:
  // A window whose picture area is width x (height + 1) pixels.
  LiveVideoDialog(std::int32_t width, std::int32_t height);

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

  std::mutex mutex_;
  FramePtr pending_;
  bool posted_ = false;
  FramePtr shown_;
  std::thread::id shownOn_;
};

// Makes live windows while a QApplication runs; without one the engine streams unseen.
LiveDisplayFactory LiveVideoWindows();

}  // namespace orvale
