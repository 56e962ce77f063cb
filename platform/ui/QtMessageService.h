#pragma once
// The message service of the program: Qt message boxes with the buttons, icon and
// default button of the style bits.
#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/ui/MessageService.h"

namespace orvale {

// The handle by which a widget is named as a message box owner.
WindowHandle HandleOf(QWidget* widget);

// Builds the box for `flags` without showing it, owned by `owner` (may be null). The box
// is a child of its owner: release it before the owner goes. While it is open, a window
// of its owner that gets the activation hands it on to the box, so the box keeps the
// keys whichever of the owner's windows the user was in.
std::unique_ptr<QMessageBox> BuildMessageBox(QWidget* owner, const std::string& text,
                                             const std::string& title, std::uint32_t flags);

// The idbutton answer for a pressed standard button; 0 for a button no style offers.
int AnswerOf(QMessageBox::StandardButton button);

class QtMessageService final : public MessageService {
 public:
  QtMessageService();
  ~QtMessageService() override;
  // The widget that owns boxes addressed to kMainWindowOwner; until one is set (or after
  // it is destroyed) those boxes have no owner.
  void SetMainWindow(QWidget* mainWindow);
  // kMainWindowOwner: the main window; 0: none; anything else is a HandleOf() a widget.
  QWidget* OwnerWidget(WindowHandle owner) const;

  int MessageBox(WindowHandle owner, const std::string& text, const std::string& title,
                 std::uint32_t flags) override;
  // A box that is no modal window: it waits for nothing and holds no automation call up,
  // and goes when the user closes it or its owner goes. One for the main window before
  // that window is on screen waits for it, so that it is not left behind the window.
  void Notice(WindowHandle owner, const std::string& text, const std::string& title,
              std::uint32_t flags) override;

 private:
  class HeldNotices;
  QPointer<QWidget> mainWindow_;
  std::unique_ptr<HeldNotices> held_;
};

}  // namespace orvale
