#pragma once
// The message boxes of the shared object. Nothing installs a message service for it, so
// it answers its own: a Qt message box when the program runs a QApplication, otherwise a
// line on stderr, so that no message is lost silently.
#include "platform/ui/MessageService.h"

namespace orvale::melvex {

class LibraryMessageService final : public MessageService {
 public:
  int MessageBox(WindowHandle owner, const std::string& text, const std::string& title,
                 std::uint32_t flags) override;
};

}  // namespace orvale::melvex
