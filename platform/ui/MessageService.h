#pragma once
// Every question and message of the program goes through one message service: the
// program installs one that shows Qt message boxes, tests and automation install one
// with scripted answers, so that nothing can block a test.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/runtime/RunError.h"

namespace orvale {

// An owner window handle. kMainWindowOwner means the main window, 0 no owner.
using WindowHandle = std::uintptr_t;
inline constexpr WindowHandle kMainWindowOwner = 0x7FFFFFFF;

// Button and icon style bits of a message box.
namespace mb {
inline constexpr std::uint32_t kOk = 0x0;
inline constexpr std::uint32_t kOkCancel = 0x1;
inline constexpr std::uint32_t kAbortRetryIgnore = 0x2;
inline constexpr std::uint32_t kYesNoCancel = 0x3;
inline constexpr std::uint32_t kYesNo = 0x4;
inline constexpr std::uint32_t kRetryCancel = 0x5;
inline constexpr std::uint32_t kButtonsMask = 0xF;
inline constexpr std::uint32_t kIconStop = 0x10;
inline constexpr std::uint32_t kIconQuestion = 0x20;
inline constexpr std::uint32_t kIconExclamation = 0x30;
inline constexpr std::uint32_t kIconInformation = 0x40;
inline constexpr std::uint32_t kIconMask = 0xF0;
inline constexpr std::uint32_t kDefButton2 = 0x100;
inline constexpr std::uint32_t kDefButton3 = 0x200;
inline constexpr std::uint32_t kDefButtonMask = 0xF00;
inline constexpr std::uint32_t kTaskModal = 0x2000;
}  // namespace mb

// The button a message box returns.
namespace idbutton {
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kAbort = 3;
inline constexpr int kRetry = 4;
inline constexpr int kIgnore = 5;
inline constexpr int kYes = 6;
inline constexpr int kNo = 7;
}  // namespace idbutton

class MessageService {
 public:
  virtual ~MessageService() = default;
  // Shows `text` with the style `flags` and returns the button pressed (idbutton).
  virtual int MessageBox(WindowHandle owner, const std::string& text, const std::string& title,
                         std::uint32_t flags) = 0;
  // Tells `text`, which needs no answer, without waiting for the user: the program, and
  // automation calls, go on while it is shown. By default a message box whose answer
  // is dropped.
  virtual void Notice(WindowHandle owner, const std::string& text, const std::string& title,
                      std::uint32_t flags) {
    MessageBox(owner, text, title, flags);
  }
};

// Installs `service` for the whole program (nullptr restores the default, which answers
// every message with its default button without showing anything). The caller keeps
// ownership and must uninstall a service before destroying it.
void SetMessageService(MessageService* service);
MessageService& CurrentMessageService();

// The message box of the program: owned by `owner`, or by the main window for
// kMainWindowOwner. Returns the button pressed.
int ShowMessage(const std::string& prompt, std::uint32_t flags, const std::string& title,
                WindowHandle owner = kMainWindowOwner);

// A notice through the installed service (MessageService::Notice).
void ShowNotice(const std::string& text, std::uint32_t flags, const std::string& title,
                WindowHandle owner = kMainWindowOwner);

// Reports a failed file operation: file and device errors are offered Abort, Retry and
// Ignore and the answer is returned (3, 4 or 5); any other error is shown with OK and
// the answer is 3 (abort). Titled "Error", owned by the main window.
int FileErrorPrompt(const RunError& error);

// The same report for run-time errors inside long commands.
int ErrorPrompt(const RunError& error);

// The button a box with `flags` answers when nobody is there to press one: its default
// button (the first unless a kDefButton bit says otherwise).
int DefaultButton(std::uint32_t flags);

// Scripted answers for tests and automation: each message takes the next queued
// answer, or its default button when the queue is empty; every message is recorded.
class ScriptedMessageService final : public MessageService {
 public:
  struct Shown {
    WindowHandle owner;
    std::string text;
    std::string title;
    std::uint32_t flags;
  };
  void QueueAnswer(int button) { answers_.push_back(button); }
  int MessageBox(WindowHandle owner, const std::string& text, const std::string& title,
                 std::uint32_t flags) override;
  const std::vector<Shown>& Messages() const { return shown_; }
  void Clear() { shown_.clear(); answers_.clear(); }

 private:
  std::deque<int> answers_;
  std::vector<Shown> shown_;
};

// Installs a service for the lifetime of a scope and restores the previous one.
class ScopedMessageService {
 public:
  explicit ScopedMessageService(MessageService& service);
  ~ScopedMessageService();
  ScopedMessageService(const ScopedMessageService&) = delete;
  ScopedMessageService& operator=(const ScopedMessageService&) = delete;

 private:
  MessageService* previous_;
};

}  // namespace orvale
