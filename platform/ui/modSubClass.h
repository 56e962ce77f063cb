#pragma once
// The table of hooked windows behind clsSubClass: one record per window, with the
// event filter that stands in for its window procedure. A record goes when its window
// is destroyed or its watcher lets go of it.
#include <QWidget>
#include <cstdint>

namespace orvale {

class clsSubClass;

// Hooks `hWnd` for `watcher`, replacing any earlier record of the window.
void HookWindow(QWidget* hWnd, clsSubClass& watcher);
// Takes the record of `hWnd` out and removes its filter; nothing without a record.
void UnhookWindow(QWidget* hWnd);
// Runs the window's own handling of the event its filter holds just now; 0 when the
// window has no record or no event is being filtered.
std::intptr_t CallPreviousWndProc(QWidget* hWnd, std::int32_t Msg, std::intptr_t wParam,
                                  std::intptr_t lParam);

// The number of hooked windows (for tests).
std::size_t HookedWindowCount();

}  // namespace orvale
