#include "platform/ui/PrintDialogService.h"

#include <QPageSize>

namespace orvale {

namespace {

class CancellingPrintDialogService final : public PrintDialogService {
 public:
  PrintDialogAnswer Show(const PrintDialogRequest&) override { return {}; }
};

CancellingPrintDialogService g_cancelling;
PrintDialogService* g_service = nullptr;

constexpr std::int32_t kScriptedResolution = 300;

}  // namespace

void SetPrintDialogService(PrintDialogService* service) { g_service = service; }

PrintDialogService& CurrentPrintDialogService() { return g_service ? *g_service : g_cancelling; }

void ScriptedPrintDialogService::QueueFile(const std::string& path) {
  PrintDialogAnswer answer;
  answer.Cancelled = false;
  answer.PrintToFile = true;
  answer.OutputFile = path;
  QueueAnswer(std::move(answer));
}

void ScriptedPrintDialogService::QueuePrinter(const std::string& name, std::int32_t copies) {
  PrintDialogAnswer answer;
  answer.Cancelled = false;
  answer.PrinterName = name;
  answer.Copies = copies;
  QueueAnswer(std::move(answer));
}

void ScriptedPrintDialogService::QueueCancel() { answers_.push_back({}); }

void ScriptedPrintDialogService::QueueAnswer(PrintDialogAnswer answer,
                                             std::function<void()> whileOpen) {
  answers_.push_back({std::move(answer), std::move(whileOpen)});
}

PrintDialogAnswer ScriptedPrintDialogService::Show(const PrintDialogRequest& request) {
  requests_.push_back(request);
  if (answers_.empty()) return {};
  Entry entry = std::move(answers_.front());
  answers_.pop_front();
  if (entry.WhileOpen) entry.WhileOpen();
  PrintDialogAnswer& answer = entry.Answer;
  if (answer.Cancelled) return answer;
  if (!answer.PageLayout.isValid()) {
    answer.PageLayout = request.PageLayout.value_or(
        QPageLayout(QPageSize(QPageSize::Letter), request.Orientation,
                    QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch));
    answer.PageLayout.setOrientation(request.Orientation);
  }
  if (answer.Resolution <= 0) answer.Resolution = kScriptedResolution;
  return answer;
}

ScopedPrintDialogService::ScopedPrintDialogService(PrintDialogService& service)
    : previous_(&CurrentPrintDialogService()) {
  SetPrintDialogService(&service);
}

ScopedPrintDialogService::~ScopedPrintDialogService() { SetPrintDialogService(previous_); }

}  // namespace orvale
