#include "app/automation/AutomationCall.h"

#include <cstdio>
#include <string>

namespace orvale {

void LogAutomation(std::string_view text) {
  // One line per entry: the line ends of a message's text become blanks.
  std::string line(text);
  for (char& c : line)
    if (c == '\r' || c == '\n') c = ' ';
  std::fprintf(stderr, "orvale automation: %s\n", line.c_str());
  std::fflush(stderr);
}

int AutomationCall::LoggedMessages::MessageBox(WindowHandle owner, const std::string& text,
                                               const std::string& title, std::uint32_t flags) {
  LogAutomation(title.empty() ? text : title + ": " + text);
  return answered_.MessageBox(owner, text, title, flags);
}

AutomationCall::AutomationCall() = default;

}  // namespace orvale
