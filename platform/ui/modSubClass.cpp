#include "platform/ui/modSubClass.h"

#include <QEvent>
#include <QObject>
#include <QResizeEvent>
#include <algorithm>
#include <memory>
#include <vector>

#include "platform/ui/clsSubClass.h"

namespace orvale {

namespace {

// Stands in for the replaced window procedure of one window.
class SubClassFilter final : public QObject {
 public:
  SubClassFilter(QWidget* window, clsSubClass& watcher) : window_(window), watcher_(&watcher) {}

  // The event being filtered just now, for CallPreviousWndProc.
  QEvent* Current() const { return current_; }
  clsSubClass& Watcher() const { return *watcher_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
  clsSubClass* watcher_;
  QEvent* current_ = nullptr;
};

struct HookRecord {
  const QWidget* hWnd;
  std::unique_ptr<SubClassFilter> filter;
  QMetaObject::Connection destroyed;
};

std::vector<HookRecord>& Records() {
  static std::vector<HookRecord> records;
  return records;
}

// Records are found by the widget pointer itself: during its destruction the window is
// no longer a QWidget, so it is compared but never used there.
std::vector<HookRecord>::iterator FindRecord(const QWidget* hWnd) {
  auto& records = Records();
  return std::find_if(records.begin(), records.end(),
                      [hWnd](const HookRecord& r) { return r.hWnd == hWnd; });
}

// The message number of an event, with its arguments; 0 for events nobody watches.
std::int32_t MessageOf(const QEvent& event, std::intptr_t& wParam, std::intptr_t& lParam) {
  wParam = 0;
  lParam = 0;
  switch (event.type()) {
    case QEvent::Resize: {
      const QSize size = static_cast<const QResizeEvent&>(event).size();
      lParam = static_cast<std::intptr_t>((size.width() & 0xFFFF) |
                                          ((size.height() & 0xFFFF) << 16));
      return wm::kSize;
    }
    case QEvent::Paint:
      return wm::kPaint;
    default:
      return 0;
  }
}

bool SubClassFilter::eventFilter(QObject* watched, QEvent* event) {
  std::intptr_t wParam = 0;
  std::intptr_t lParam = 0;
  const std::int32_t msg = MessageOf(*event, wParam, lParam);
  if (watched != window_ || msg == 0 || !watcher_->Get_Messages(msg)) return false;
  // Watched: the watcher's handler decides; the window's own handling runs only when
  // the handler asks for it through CallWndProc.
  QEvent* const outer = current_;
  current_ = event;
  watcher_->RaiseWndProc(msg, wParam, lParam);
  current_ = outer;
  return true;
}

// The window is going: the watcher hears it (when it watches for it) and lets go. The
// record goes first, so letting go finds nothing left to unhook on the dying window.
void WindowDestroyed(const QWidget* hWnd) {
  const auto record = FindRecord(hWnd);
  if (record == Records().end()) return;
  clsSubClass& watcher = record->filter->Watcher();
  Records().erase(record);
  if (watcher.Get_Messages(wm::kNcDestroy)) watcher.RaiseWndProc(wm::kNcDestroy, 0, 0);
  watcher.Set_hWnd(nullptr);
}

}  // namespace

void HookWindow(QWidget* hWnd, clsSubClass& watcher) {
  if (hWnd == nullptr) return;
  UnhookWindow(hWnd);
  HookRecord record{hWnd, std::make_unique<SubClassFilter>(hWnd, watcher), {}};
  hWnd->installEventFilter(record.filter.get());
  record.destroyed =
      QObject::connect(hWnd, &QObject::destroyed, [hWnd] { WindowDestroyed(hWnd); });
  Records().push_back(std::move(record));
}

void UnhookWindow(QWidget* hWnd) {
  const auto record = FindRecord(hWnd);
  if (record == Records().end()) return;
  QObject::disconnect(record->destroyed);
  hWnd->removeEventFilter(record->filter.get());
  Records().erase(record);
}

std::intptr_t CallPreviousWndProc(QWidget* hWnd, std::int32_t, std::intptr_t, std::intptr_t) {
  const auto record = FindRecord(hWnd);
  if (record == Records().end() || record->filter->Current() == nullptr) return 0;
  return static_cast<QObject*>(hWnd)->event(record->filter->Current()) ? 1 : 0;
}

std::size_t HookedWindowCount() { return Records().size(); }

}  // namespace orvale

