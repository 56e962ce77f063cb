#include "platform/ui/HelpContents.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QUrl>

#include "platform/ui/DesktopOpener.h"
#include "platform/ui/HelpWindow.h"
#include "platform/ui/MessageService.h"

namespace orvale {

QString HelpContentsPage(const QString& programFolder) {
  return QDir(programFolder).filePath("help/index.html");
}

bool ShowHelpContents(const QString& programFolder, QWidget* owner) {
  const QString page = HelpContentsPage(programFolder);
  if (!QFileInfo::exists(page)) {
    ShowMessage("The help cannot be shown: " + page.toStdString() + " is missing.",
                mb::kOk | mb::kIconExclamation, "Error");
    return false;
  }
  const QUrl url = QUrl::fromLocalFile(page);
  // No browser or no launcher on this desktop: the program shows the page itself. The
  // launcher may say so only after the asking window has gone.
  OpenOnDesktop(url, [url, asking = QPointer<QWidget>(owner)] { HelpWindow::ShowPage(url, asking); });
  return true;
}

bool ShowHelpContents(QWidget* owner) {
  return ShowHelpContents(QCoreApplication::applicationDirPath(), owner);
}

}  // namespace orvale
