#include "platform/ui/DesktopOpener.h"

#include <QDesktopServices>
#include <QUrl>
#include <utility>

namespace orvale {

namespace {

DesktopOpener& Installed() {
  static DesktopOpener opener;
  return opener;
}

}  // namespace

bool OpenOnDesktop(const QUrl& url) {
  const DesktopOpener& opener = Installed();
  return opener ? opener(url) : QDesktopServices::openUrl(url);
}

ScopedDesktopOpener::ScopedDesktopOpener(DesktopOpener opener)
    : previous_(std::exchange(Installed(), std::move(opener))) {}

ScopedDesktopOpener::~ScopedDesktopOpener() { Installed() = std::move(previous_); }

}  // namespace orvale
