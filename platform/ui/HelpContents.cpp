#include "platform/ui/HelpContents.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "platform/ui/DesktopOpener.h"

namespace orvale {

QString HelpContentsPage(const QString& programFolder) {
  return QDir(programFolder).filePath("help/index.html");
}

bool ShowHelpContents(const QString& programFolder) {
  const QString page = HelpContentsPage(programFolder);
  if (!QFileInfo::exists(page)) return false;
  return OpenOnDesktop(QUrl::fromLocalFile(page));
}

bool ShowHelpContents() { return ShowHelpContents(QCoreApplication::applicationDirPath()); }

}  // namespace orvale
