#pragma once
// Hands a URL to the desktop: its browser, mail program or file viewer. The program
// uses the desktop's own launcher; tests install an opener of their own, so that nothing
// leaves a test and a desktop without a browser can be played.
#include <functional>

class QUrl;

namespace orvale {

// True when the desktop took the URL; false when it has nothing to show it with.
using DesktopOpener = std::function<bool(const QUrl& url)>;

// Hands `url` to the desktop. `cannotShow` runs when the desktop has nothing to show it
// with: at once, or when its launcher ends in failure a moment later.
void OpenOnDesktop(const QUrl& url, std::function<void()> cannotShow = {});

// Installs `opener` for the lifetime of a scope and restores the one before.
class ScopedDesktopOpener {
 public:
  explicit ScopedDesktopOpener(DesktopOpener opener);
  ~ScopedDesktopOpener();
  ScopedDesktopOpener(const ScopedDesktopOpener&) = delete;
  ScopedDesktopOpener& operator=(const ScopedDesktopOpener&) = delete;

 private:
  DesktopOpener previous_;
};

}  // namespace orvale
