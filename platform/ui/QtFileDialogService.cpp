#include "platform/ui/QtFileDialogService.h"

#include <QApplication>
#include <QFileInfo>
#include <QRegularExpression>

#include "platform/ui/MessageService.h"
#include "platform/ui/QtMessageService.h"

namespace orvale {

namespace {

QString FromText(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Applies the must-exist rules when the user accepts, keeping the dialog open with a
// message when a name breaks them.
class CheckedFileDialog final : public QFileDialog {
 public:
  CheckedFileDialog(QWidget* owner, std::uint32_t flags) : QFileDialog(owner), flags_(flags) {}

  void accept() override {
    for (const QString& file : selectedFiles()) {
      const QFileInfo info(file);
      if (info.isDir()) break;  // opening a folder is the dialog's own business
      if ((flags_ & ofn::kPathMustExist) != 0 && !info.dir().exists()) {
        Refuse(file + "\nPath does not exist.\nCheck the path and try again.");
        return;
      }
      if ((flags_ & ofn::kFileMustExist) != 0 && !info.exists()) {
        Refuse(file + "\nFile not found.\nCheck the file name and try again.");
        return;
      }
    }
    QFileDialog::accept();
  }

 private:
  void Refuse(const QString& text) {
    ShowMessage(text.toStdString(), mb::kOk | mb::kIconExclamation, windowTitle().toStdString(),
                HandleOf(this));
  }
  std::uint32_t flags_;
};

FileDialogAnswer Show(const FileDialogRequest& request, FileDialogKind kind) {
  const auto dialog = BuildFileDialog(request, kind, QApplication::activeWindow());
  if (dialog->exec() != QDialog::Accepted) return {};
  return AnswerOf(*dialog);
}

}  // namespace

QString QtPatternsOf(std::string_view patterns) {
  QStringList list;
  for (const QString& part : FromText(patterns).split(';', Qt::SkipEmptyParts)) {
    const QString pattern = part.trimmed();
    if (pattern.isEmpty()) continue;
    list.append(pattern == "*.*" ? QStringLiteral("*") : pattern);
  }
  return list.join(' ');
}

QStringList QtNameFiltersOf(std::string_view filter) {
  QStringList filters;
  const QStringList parts = FromText(filter).split('|');
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString patterns = QtPatternsOf(parts[i + 1].toStdString());
    if (patterns.isEmpty()) continue;
    QString description = parts[i].trimmed();
    static const QRegularExpression trailingList(R"(\s*\([^()]*\)$)");
    description.remove(trailingList);
    filters.append(description.isEmpty() ? patterns : description + " (" + patterns + ")");
  }
  return filters;
}

std::unique_ptr<QFileDialog> BuildFileDialog(const FileDialogRequest& request, FileDialogKind kind,
                                             QWidget* owner) {
  auto dialog = std::make_unique<CheckedFileDialog>(owner, request.Flags);
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setFilter(dialog->filter() & ~QDir::CaseSensitive);
  if (kind == FileDialogKind::Save) {
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontConfirmOverwrite);  // the commands ask themselves
  } else {
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    if ((request.Flags & ofn::kAllowMultiSelect) != 0) {
      dialog->setFileMode(QFileDialog::ExistingFiles);
    } else {
      dialog->setFileMode((request.Flags & ofn::kFileMustExist) != 0 ? QFileDialog::ExistingFile
                                                                      : QFileDialog::AnyFile);
    }
  }
  if (!request.Title.empty()) dialog->setWindowTitle(FromText(request.Title));

  const QStringList filters = QtNameFiltersOf(request.Filter);
  if (!filters.isEmpty()) {
    dialog->setNameFilters(filters);
    const std::int32_t index = request.FilterIndex >= 1 && request.FilterIndex <= filters.size()
                                   ? request.FilterIndex
                                   : 1;
    dialog->selectNameFilter(filters[index - 1]);
  }
  const QString folder = FromText(request.InitDir);
  if (!folder.isEmpty() && QFileInfo(folder).isDir()) dialog->setDirectory(folder);
  if (!request.FileName.empty()) dialog->selectFile(FromText(request.FileName));
  return dialog;
}

FileDialogAnswer AnswerOf(const QFileDialog& dialog) {
  FileDialogAnswer answer;
  answer.Cancelled = false;
  const QStringList files = dialog.selectedFiles();
  for (const QString& file : files) answer.FileNames.push_back(file.toStdString());
  const qsizetype filter = dialog.nameFilters().indexOf(dialog.selectedNameFilter());
  answer.FilterIndex = filter >= 0 ? static_cast<std::int32_t>(filter + 1) : 0;
  answer.Folder = files.isEmpty() ? dialog.directory().absolutePath().toStdString()
                                  : QFileInfo(files.front()).absolutePath().toStdString();
  return answer;
}

FileDialogAnswer QtFileDialogService::ShowSave(const FileDialogRequest& request) {
  return Show(request, FileDialogKind::Save);
}

FileDialogAnswer QtFileDialogService::ShowOpen(const FileDialogRequest& request) {
  return Show(request, FileDialogKind::Open);
}

}  // namespace orvale
