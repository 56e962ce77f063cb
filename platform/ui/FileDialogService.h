#pragma once
// The program's open and save dialogs. The program installs one that shows Qt file
// dialogs; tests and automation install scripted answers, so that nothing blocks a test.
#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace orvale {

// Option bits of a dialog, as the callers set them.
namespace ofn {
inline constexpr std::uint32_t kHideReadOnly = 0x4;
inline constexpr std::uint32_t kAllowMultiSelect = 0x200;
inline constexpr std::uint32_t kPathMustExist = 0x800;
inline constexpr std::uint32_t kFileMustExist = 0x1000;
inline constexpr std::uint32_t kExplorer = 0x80000;
}  // namespace ofn

struct FileDialogRequest {
  // Pairs of description and pattern joined by "|": "Bitmap Files (*.bmp)|*.bmp|...".
  std::string Filter;
  std::int32_t FilterIndex = 1;  // from 1
  std::string InitDir;
  std::string FileName;  // proposed name, without folder
  std::string Title;     // empty: the platform's default title
  std::int32_t HelpContext = 0;
  std::uint32_t Flags = 0;
};

struct FileDialogAnswer {
  bool Cancelled = true;
  std::vector<std::string> FileNames;  // full paths; a save dialog gives one
  std::int32_t FilterIndex = 0;        // the filter chosen, from 1
  std::string Folder;                  // the folder the dialog ended in
};

class FileDialogService {
 public:
  virtual ~FileDialogService() = default;
  virtual FileDialogAnswer ShowSave(const FileDialogRequest& request) = 0;
  virtual FileDialogAnswer ShowOpen(const FileDialogRequest& request) = 0;
};

// Installs `service` for the whole program (nullptr restores the default, which
// cancels every dialog). The caller keeps ownership.
void SetFileDialogService(FileDialogService* service);
FileDialogService& CurrentFileDialogService();

// Scripted answers: each dialog takes the next queued answer, or is cancelled when the
// queue is empty; every request is recorded.
class ScriptedFileDialogService final : public FileDialogService {
 public:
  // Answers the next dialog with `path` (its folder becomes the dialog's folder).
  void QueueFile(const std::string& path, std::int32_t filterIndex = 1);
  void QueueCancel();
  // Answers the next dialog with `answer` as it stands (several files, another folder).
  void QueueAnswer(FileDialogAnswer answer) { answers_.push_back(std::move(answer)); }
  FileDialogAnswer ShowSave(const FileDialogRequest& request) override;
  FileDialogAnswer ShowOpen(const FileDialogRequest& request) override;
  const std::vector<FileDialogRequest>& Requests() const { return requests_; }

 private:
  FileDialogAnswer Next(const FileDialogRequest& request);
  std::deque<FileDialogAnswer> answers_;
  std::vector<FileDialogRequest> requests_;
};

// Installs a service for the lifetime of a scope and restores the previous one.
class ScopedFileDialogService {
 public:
  explicit ScopedFileDialogService(FileDialogService& service);
  ~ScopedFileDialogService();
  ScopedFileDialogService(const ScopedFileDialogService&) = delete;
  ScopedFileDialogService& operator=(const ScopedFileDialogService&) = delete;

 private:
  FileDialogService* previous_;
};

}  // namespace orvale
