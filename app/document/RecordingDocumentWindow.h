#pragma once
// The headless document window: it keeps the state a real window would have (loaded,
// shown, placement, state, caption, place in the order) and logs every call, so that
// documents run without a display and tests can read what the view rules did.
#include <cstdint>
#include <string>
#include <vector>

#include "app/document/DocumentWindow.h"

namespace orvale {

// What the headless windows of one document share: their calls in order, one line each
// ("Load 3 10 20 300 200", "Show 8 activate", "Hide 9", ...), the active window and a
// counter that orders them front to back.
struct WindowCallLog {
  std::vector<std::string> Calls;
  std::int32_t Active = 0;  // view code of the active window; 0: none
  std::int32_t TopOfOrder = 0;

  void Clear() { Calls.clear(); }
  // How many lines start with `prefix`.
  int Count(const std::string& prefix) const;
};

class RecordingDocumentWindow final : public DocumentWindow {
 public:
  RecordingDocumentWindow(std::int32_t formType, WindowCallLog& log);
  ~RecordingDocumentWindow() override;
  RecordingDocumentWindow(const RecordingDocumentWindow&) = delete;
  RecordingDocumentWindow& operator=(const RecordingDocumentWindow&) = delete;

  void Load(const WindowPlacement& placement) override;
  bool IsLoaded() const override { return loaded_; }
  void Show(bool activate, bool raise) override;
  void Hide() override;
  bool IsShown() const override { return shown_; }
  WindowPlacement Placement() const override { return placement_; }
  void SetPlacement(const WindowPlacement& placement) override;
  void Move(std::int32_t left, std::int32_t top) override;
  WindowShowState State() const override { return state_; }
  void ShowNormal() override;
  void BringToTop(bool activate) override;
  void Repaint() override;
  void SetCaption(const std::string& caption) override;
  std::string Caption() const override { return caption_; }

  // What the user would do with the window's buttons.
  void SetState(WindowShowState state) { state_ = state; }
  // Larger is nearer the front; 0 for a window never brought up.
  std::int32_t OrderPosition() const { return order_; }

 private:
  void Log(const std::string& line);
  void ComeToTop();

  std::int32_t formType_;
  WindowCallLog* log_;
  bool loaded_ = false;
  bool shown_ = false;
  WindowPlacement placement_{};
  WindowShowState state_ = WindowShowState::Normal;
  std::string caption_;
  std::int32_t order_ = 0;
};

}  // namespace orvale
