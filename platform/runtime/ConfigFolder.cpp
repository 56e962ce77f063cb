#include "platform/runtime/ConfigFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace orvale {

std::filesystem::path HalvernConfigFolder() {
  std::filesystem::path base;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || !home[0]) {
      const passwd* user = ::getpwuid(::getuid());
      home = user && user->pw_dir ? user->pw_dir : ".";
    }
    base = std::filesystem::path(home) / ".config";
  }
  return base / "Halvern";
}

}  // namespace orvale
