#include "platform/ui/DesktopOpener.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <memory>
#include <utility>

namespace orvale {

namespace {

// A launcher that ends later than this has shown the URL: its viewer ran until the user
// closed it, and how that ended says nothing of the opening.
constexpr qint64 kLauncherFailureWindowMs = 10000;

DesktopOpener& Installed() {
  static DesktopOpener opener;
  return opener;
}

// Runs xdg-open on `url` and watches how it ends. QDesktopServices starts the same
// launcher but reports only that it started; xdg-open's exit status also says whether
// it found a program to show the URL with.
void OpenWithXdgOpen(const QString& xdgOpen, const QUrl& url, std::function<void()> cannotShow) {
  auto* launcher = new QProcess(QCoreApplication::instance());
  launcher->setProcessChannelMode(QProcess::ForwardedChannels);
  auto started = std::make_shared<QElapsedTimer>();
  started->start();
  auto failed = [started, cannotShow = std::move(cannotShow)] {
    if (cannotShow && started->elapsed() < kLauncherFailureWindowMs) cannotShow();
  };
  QObject::connect(launcher, &QProcess::finished, launcher,
                   [launcher, failed](int exitCode, QProcess::ExitStatus status) {
                     if (status != QProcess::NormalExit || exitCode != 0) failed();
                     launcher->deleteLater();
                   });
  QObject::connect(launcher, &QProcess::errorOccurred, launcher,
                   [launcher, failed](QProcess::ProcessError error) {
                     if (error != QProcess::FailedToStart) return;
                     failed();
                     launcher->deleteLater();
                   });
  launcher->start(xdgOpen, {url.toString(QUrl::FullyEncoded)});
}

}  // namespace

void OpenOnDesktop(const QUrl& url, std::function<void()> cannotShow) {
  if (const DesktopOpener& opener = Installed()) {
    if (!opener(url) && cannotShow) cannotShow();
    return;
  }
  const QString xdgOpen = QStandardPaths::findExecutable("xdg-open");
  if (!xdgOpen.isEmpty()) {
    OpenWithXdgOpen(xdgOpen, url, std::move(cannotShow));
    return;
  }
  if (!QDesktopServices::openUrl(url) && cannotShow) cannotShow();
}

ScopedDesktopOpener::ScopedDesktopOpener(DesktopOpener opener)
    : previous_(std::exchange(Installed(), std::move(opener))) {}

ScopedDesktopOpener::~ScopedDesktopOpener() { Installed() = std::move(previous_); }

}  // namespace orvale
