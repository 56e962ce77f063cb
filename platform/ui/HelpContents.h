#pragma once
// The program's help: a folder "help" of HTML pages beside the program. Help > Contents,
// F1 and the dialogs' Help buttons open its contents page here: in the desktop's browser,
// or, where the desktop has nothing to show it with, in the program's own help window.
// A missing help folder is reported.
#include <QString>

class QWidget;

namespace orvale {

// The contents page of the help beside a program in `programFolder`.
QString HelpContentsPage(const QString& programFolder);

// Opens the contents page of the help beside `programFolder` (by default the running
// program's folder); a help window of the program's own is owned by `owner` (may be
// null). False, after an error message, when the page is missing.
bool ShowHelpContents(const QString& programFolder, QWidget* owner = nullptr);
bool ShowHelpContents(QWidget* owner = nullptr);

}  // namespace orvale
