#include "platform/ui/clsSubClass.h"

#include <algorithm>
#include <limits>

#include "platform/ui/modSubClass.h"

namespace orvale {

namespace {

// The list's count is a 16-bit number.
constexpr std::size_t kMaxMessages = std::numeric_limits<std::int16_t>::max();

}  // namespace

clsSubClass::~clsSubClass() { Set_hWnd(nullptr); }

void clsSubClass::Set_Messages(std::int32_t Msg, bool Add) {
  const auto found = std::find(messages_.begin(), messages_.end(), Msg);
  if (Add) {
    if (found == messages_.end() && messages_.size() < kMaxMessages) messages_.push_back(Msg);
  } else if (found != messages_.end()) {
    messages_.erase(found);
  }
}

bool clsSubClass::Get_Messages(std::int32_t Msg) const {
  return std::find(messages_.begin(), messages_.end(), Msg) != messages_.end();
}

void clsSubClass::Set_hWnd(QWidget* hWnd) {
  if (hWnd == hWnd_) return;
  if (hWnd_ != nullptr) UnhookWindow(hWnd_);
  hWnd_ = hWnd;
  if (hWnd_ != nullptr) HookWindow(hWnd_, *this);
}

std::intptr_t clsSubClass::CallWndProc(std::int32_t Msg, std::intptr_t wParam,
                                       std::intptr_t lParam) {
  return hWnd_ != nullptr ? CallPreviousWndProc(hWnd_, Msg, wParam, lParam) : 0;
}

std::intptr_t clsSubClass::RaiseWndProc(std::int32_t Msg, std::intptr_t wParam,
                                        std::intptr_t lParam) {
  std::intptr_t result = 0;
  if (WndProc) WndProc(Msg, wParam, lParam, result);
  return result;
}

}  // namespace orvale
