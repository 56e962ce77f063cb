#include "cards/melvex/so/LibraryMessageService.h"

#include <QApplication>
#include <cstdio>

#include "platform/ui/QtMessageService.h"

namespace orvale::melvex {

int LibraryMessageService::MessageBox(WindowHandle owner, const std::string& text, const std::string& title,
                                      std::uint32_t flags) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
    return QtMessageService().MessageBox(owner, text, title, flags);
  }
  std::fprintf(stderr, "zelvo32: %s: %s\n", title.c_str(), text.c_str());
  return DefaultButton(flags);
}

}  // namespace orvale::melvex
