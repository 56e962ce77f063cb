#include "platform/ui/FileDialogService.h"

namespace orvale {

namespace {

class CancellingFileDialogService final : public FileDialogService {
 public:
  FileDialogAnswer ShowSave(const FileDialogRequest&) override { return {}; }
  FileDialogAnswer ShowOpen(const FileDialogRequest&) override { return {}; }
};

CancellingFileDialogService g_cancelling;
FileDialogService* g_service = nullptr;

}  // namespace

void SetFileDialogService(FileDialogService* service) { g_service = service; }

FileDialogService& CurrentFileDialogService() { return g_service ? *g_service : g_cancelling; }

void ScriptedFileDialogService::QueueFile(const std::string& path, std::int32_t filterIndex) {
  FileDialogAnswer answer;
  answer.Cancelled = false;
  answer.FileNames.push_back(path);
  answer.FilterIndex = filterIndex;
  const std::size_t slash = path.rfind('/');
  answer.Folder = slash == std::string::npos ? std::string() : path.substr(0, slash);
  answers_.push_back(std::move(answer));
}

void ScriptedFileDialogService::QueueCancel() { answers_.push_back({}); }

FileDialogAnswer ScriptedFileDialogService::Next(const FileDialogRequest& request) {
  requests_.push_back(request);
  if (answers_.empty()) return {};
  FileDialogAnswer answer = std::move(answers_.front());
  answers_.pop_front();
  return answer;
}

FileDialogAnswer ScriptedFileDialogService::ShowSave(const FileDialogRequest& request) {
  return Next(request);
}

FileDialogAnswer ScriptedFileDialogService::ShowOpen(const FileDialogRequest& request) {
  return Next(request);
}

ScopedFileDialogService::ScopedFileDialogService(FileDialogService& service)
    : previous_(&CurrentFileDialogService()) {
  SetFileDialogService(&service);
}

ScopedFileDialogService::~ScopedFileDialogService() { SetFileDialogService(previous_); }

}  // namespace orvale
