#include "platform/ui/FontDialogService.h"

namespace orvale {

namespace {

class CancellingFontDialogService final : public FontDialogService {
 public:
  FontDialogAnswer ChooseFont(const FontDialogRequest&) override { return {}; }
};

CancellingFontDialogService g_cancelling;
FontDialogService* g_service = nullptr;

}  // namespace

void SetFontDialogService(FontDialogService* service) { g_service = service; }

FontDialogService& CurrentFontDialogService() { return g_service ? *g_service : g_cancelling; }

FontDialogAnswer ScriptedFontDialogService::ChooseFont(const FontDialogRequest& request) {
  requests_.push_back(request);
  if (answers_.empty()) return {};
  FontDialogAnswer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

ScopedFontDialogService::ScopedFontDialogService(FontDialogService& service)
    : previous_(&CurrentFontDialogService()) {
  SetFontDialogService(&service);
}

ScopedFontDialogService::~ScopedFontDialogService() { SetFontDialogService(previous_); }

}  // namespace orvale
