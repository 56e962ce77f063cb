#include "app/dialogs/NumberInput.h"

namespace orvale {

namespace {

class CancellingNumberInput final : public NumberInputService {
 public:
  NumberInputAnswer Ask(const NumberInputRequest&) override { return {}; }
};

CancellingNumberInput g_cancelling;
NumberInputService* g_service = nullptr;

}  // namespace

void SetNumberInputService(NumberInputService* service) { g_service = service; }

NumberInputService& CurrentNumberInputService() {
  return g_service != nullptr ? *g_service : g_cancelling;
}

NumberInputAnswer ScriptedNumberInputService::Ask(const NumberInputRequest& request) {
  requests_.push_back(request);
  if (answers_.empty()) return {};
  NumberInputAnswer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

}  // namespace orvale
