#pragma once
// What runs around every automation call. Nobody sits at the server to answer a
// message box, and a box must never hold a call up: each message is answered with its
// default button (Abort for a failed file operation, Yes for "erase the fringes?") and
// its text goes to stderr, and every file dialog is cancelled. The services are the
// call's only while it runs.
#include <string_view>
#include <vector>

#include "platform/ui/FileDialogService.h"
#include "platform/ui/MessageService.h"

namespace orvale {

// One line on stderr about automation: "orvale automation: <text>".
void LogAutomation(std::string_view text);

class AutomationCall {
 public:
  AutomationCall();
  AutomationCall(const AutomationCall&) = delete;
  AutomationCall& operator=(const AutomationCall&) = delete;

  // The messages answered so far.
  const std::vector<ScriptedMessageService::Shown>& Messages() const { return messages_.Messages(); }

 private:
  class LoggedMessages final : public MessageService {
   public:
    int MessageBox(WindowHandle owner, const std::string& text, const std::string& title,
                   std::uint32_t flags) override;
    const std::vector<ScriptedMessageService::Shown>& Messages() const { return answered_.Messages(); }

   private:
    ScriptedMessageService answered_;
  };

  LoggedMessages messages_;
  ScopedMessageService installedMessages_{messages_};
  ScriptedFileDialogService dialogs_;  // nothing queued: every dialog is cancelled
  ScopedFileDialogService installedDialogs_{dialogs_};
};

}  // namespace orvale
