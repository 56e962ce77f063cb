#pragma once
// The program's open and save dialogs as Qt file dialogs. Qt's own dialog is used (not
// the desktop's), so that extensions match in any case ("*.zrn" finds "MIRROR.ZRN")
// and the must-exist rules are checked before the dialog closes.
#include <QFileDialog>
#include <QString>
#include <QStringList>
#include <memory>
#include <string_view>

#include "platform/ui/FileDialogService.h"

namespace orvale {

// "*.jpg;*.bmp" -> "*.jpg *.bmp"; "*.*" (every file) -> "*".
QString QtPatternsOf(std::string_view patterns);

// The "description|patterns|..." pairs as Qt name filters, each ending in its
// patterns in parentheses: "Bitmap Files (*.bmp)", "All files (*)". A description that
// already ends in a parenthesised list has it replaced by the real patterns.
QStringList QtNameFiltersOf(std::string_view filter);

enum class FileDialogKind { Open, Save };

// The dialog for `request`, set up but not shown.
std::unique_ptr<QFileDialog> BuildFileDialog(const FileDialogRequest& request, FileDialogKind kind,
                                             QWidget* owner);

// The answer of a dialog that was accepted: the chosen files as full paths in the
// dialog's order, the filter chosen (from 1) and the folder of the files.
FileDialogAnswer AnswerOf(const QFileDialog& dialog);

class QtFileDialogService final : public FileDialogService {
 public:
  FileDialogAnswer ShowSave(const FileDialogRequest& request) override;
  FileDialogAnswer ShowOpen(const FileDialogRequest& request) override;
};

}  // namespace orvale
