#pragma once
// The program's help: a folder "help" of HTML pages beside the program, opened in the
// desktop's browser. Help > Contents and the dialogs' Help buttons open it here.
#include <QString>

namespace orvale {

// The contents page of the help beside a program in `programFolder`.
QString HelpContentsPage(const QString& programFolder);

// Opens the contents page of the help beside `programFolder` (by default the running
// program's folder). A missing help folder is not worth a message: false, nothing
// shown.
bool ShowHelpContents(const QString& programFolder);
bool ShowHelpContents();

}  // namespace orvale
