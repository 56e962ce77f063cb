#pragma once
// Lets a window's owner see chosen window events before the window handles them. The
// owner watches message numbers; a watched event raises WndProc and is consumed,
// unless the handler runs the window's own handling through CallWndProc. The numbers
// of the window system are kept: 5 resize, 15 paint, 0x82 the window being destroyed.
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

namespace orvale {

namespace wm {
inline constexpr std::int32_t kSize = 0x5;
inline constexpr std::int32_t kPaint = 0xF;
inline constexpr std::int32_t kNcDestroy = 0x82;
}  // namespace wm

class clsSubClass {
 public:
  // The watched event: Msg, wParam and lParam describe it (for a resize lParam holds
  // the new width in its low and the height in its high 16 bits); Result starts at 0.
  using WndProcHandler = std::function<void(std::int32_t& Msg, std::intptr_t& wParam,
                                            std::intptr_t& lParam, std::intptr_t& Result)>;

  clsSubClass() = default;
  ~clsSubClass();
  clsSubClass(const clsSubClass&) = delete;
  clsSubClass& operator=(const clsSubClass&) = delete;

  // Adds `Msg` to the watched list (once) or takes it out.
  void Set_Messages(std::int32_t Msg, bool Add);
  bool Get_Messages(std::int32_t Msg) const;

  // Watches `hWnd` (null: none); the same window again changes nothing.
  void Set_hWnd(QWidget* hWnd);
  QWidget* Get_hWnd() const { return hWnd_; }

  // Runs the window's own handling of the event being watched just now and returns
  // its result (1 handled, 0 not); 0 outside a watched event or without a window.
  std::intptr_t CallWndProc(std::int32_t Msg, std::intptr_t wParam, std::intptr_t lParam);

  WndProcHandler WndProc;

  // Raises WndProc; called by the hooked window's event filter only.
  std::intptr_t RaiseWndProc(std::int32_t Msg, std::intptr_t wParam, std::intptr_t lParam);

 private:
  QWidget* hWnd_ = nullptr;
  std::vector<std::int32_t> messages_;
};

}  // namespace orvale
