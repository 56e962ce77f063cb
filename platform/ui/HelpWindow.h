#pragma once
// The program's own help window, for a desktop that has no browser to show the help
// pages: one window for the whole program, a page at a time. A link to another help page
// opens it in the window; a link out of the help goes to the desktop.
#include <QWidget>

class QTextBrowser;
class QUrl;

namespace orvale {

class HelpWindow final : public QWidget {
 public:
  // Shows `page` in the help window, made on first use, and brings it to the front. The
  // window is owned by `owner` (may be null), as help is owned by the window that asked
  // for it: help asked for from a modal dialog can be read while the dialog is open, and
  // closes with it. Closing the window deletes it.
  static HelpWindow& ShowPage(const QUrl& page, QWidget* owner);

  QTextBrowser* Browser() const { return browser_; }

 private:
  explicit HelpWindow(QWidget* owner);
  void FollowLink(const QUrl& link);
  void ShowTitle();

  QTextBrowser* browser_;
};

}  // namespace orvale
