#include "platform/ui/HelpWindow.h"

#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/ui/DesktopOpener.h"
#include "platform/ui/HandlerGuard.h"

namespace orvale {

namespace {

constexpr int kWidth = 720;
constexpr int kHeight = 560;
const char* const kTitle = "Orvale Help";

QPointer<HelpWindow>& TheWindow() {
  static QPointer<HelpWindow> window;
  return window;
}

}  // namespace

HelpWindow::HelpWindow(QWidget* owner) : QWidget(owner, Qt::Window), browser_(new QTextBrowser(this)) {
  setObjectName("HelpWindow");
  setAttribute(Qt::WA_DeleteOnClose);
  // An open help window does not keep the program running.
  setAttribute(Qt::WA_QuitOnClose, false);
  setWindowTitle(kTitle);
  browser_->setOpenLinks(false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  connect(browser_, &QTextBrowser::anchorClicked, this,
          [this](const QUrl& link) { GuardHandler([this, &link] { FollowLink(link); }); });
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] { ShowTitle(); });
  resize(kWidth, kHeight);
}

HelpWindow& HelpWindow::ShowPage(const QUrl& page, QWidget* owner) {
  QPointer<HelpWindow>& window = TheWindow();
  if (window == nullptr) {
    window = new HelpWindow(owner);
  } else if (window->parentWidget() != owner) {
    window->setParent(owner, window->windowFlags());
  }
  window->browser_->setSource(page);
  window->show();
  window->raise();
  window->activateWindow();
  return *window;
}

void HelpWindow::FollowLink(const QUrl& link) {
  const QUrl target = browser_->source().resolved(link);
  if (target.isLocalFile()) {
    browser_->setSource(target);
  } else {
    OpenOnDesktop(target);
  }
}

void HelpWindow::ShowTitle() {
  const QString title = browser_->documentTitle();
  setWindowTitle(title.isEmpty() ? QString(kTitle) : title);
}

}  // namespace orvale
