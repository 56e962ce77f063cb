#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

class SilentMessageService final : public MessageService {
 public:
  int MessageBox(WindowHandle, const std::string&, const std::string&,
                 std::uint32_t flags) override {
    return DefaultButton(flags);
  }
};

SilentMessageService g_silent;
MessageService* g_service = nullptr;

int ButtonAt(std::uint32_t buttons, int index) {
  static const int table[6][3] = {
      {idbutton::kOk, idbutton::kOk, idbutton::kOk},
      {idbutton::kOk, idbutton::kCancel, idbutton::kCancel},
      {idbutton::kAbort, idbutton::kRetry, idbutton::kIgnore},
      {idbutton::kYes, idbutton::kNo, idbutton::kCancel},
      {idbutton::kYes, idbutton::kNo, idbutton::kNo},
      {idbutton::kRetry, idbutton::kCancel, idbutton::kCancel},
  };
  if (buttons > 5) buttons = 0;
  return table[buttons][index];
}

int ReportError(const RunError& error) {
  if (error.IsFileError())
    return ShowMessage(error.Description, mb::kAbortRetryIgnore, "Error", kMainWindowOwner);
  ShowMessage(error.Description, mb::kOk, "Error", kMainWindowOwner);
  return idbutton::kAbort;
}

}  // namespace

int DefaultButton(std::uint32_t flags) {
  const std::uint32_t def = (flags & mb::kDefButtonMask) >> 8;
  return ButtonAt(flags & mb::kButtonsMask, def > 2 ? 0 : static_cast<int>(def));
}

void SetMessageService(MessageService* service) { g_service = service; }

MessageService& CurrentMessageService() { return g_service ? *g_service : g_silent; }

int ShowMessage(const std::string& prompt, std::uint32_t flags, const std::string& title,
                WindowHandle owner) {
  return CurrentMessageService().MessageBox(owner, prompt, title, flags);
}

void ShowNotice(const std::string& text, std::uint32_t flags, const std::string& title,
                WindowHandle owner) {
  CurrentMessageService().Notice(owner, text, title, flags);
}

int FileErrorPrompt(const RunError& error) { return ReportError(error); }

int ErrorPrompt(const RunError& error) { return ReportError(error); }

int ScriptedMessageService::MessageBox(WindowHandle owner, const std::string& text,
                                       const std::string& title, std::uint32_t flags) {
  shown_.push_back({owner, text, title, flags});
  if (answers_.empty()) return DefaultButton(flags);
  const int answer = answers_.front();
  answers_.pop_front();
  return answer;
}

ScopedMessageService::ScopedMessageService(MessageService& service)
    : previous_(&CurrentMessageService()) {
  SetMessageService(&service);
}

ScopedMessageService::~ScopedMessageService() { SetMessageService(previous_); }

}  // namespace orvale
