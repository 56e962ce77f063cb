#include "platform/ui/HelpContents.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace orvale {

QString HelpContentsPage(const QString& programFolder) {
  return QDir(programFolder).filePath("help/index.html");
}

bool ShowHelpContents(const QString& programFolder) {
  const QString page = HelpContentsPage(programFolder);
  if (!QFileInfo::exists(page)) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(page));
}

bool ShowHelpContents() { return ShowHelpContents(QCoreApplication::applicationDirPath()); }

}  // namespace orvale
