#pragma once
// No exception may leave a window-system handler, a D-Bus call or a plug-in call: each
// runs its body through GuardHandler, which reports a failure in a message box titled
// "Error" and returns.
#include <exception>
#include <string>
#include <utility>

namespace orvale {

// Shows `description` titled "Error" with an OK button and a stop icon; never throws.
void ReportHandlerFailure(const std::string& description) noexcept;

// Runs `handler`; true when it ended normally, false when it failed (reported).
template <class Handler>
bool GuardHandler(Handler&& handler) noexcept {
  try {
    std::forward<Handler>(handler)();
    return true;
  } catch (const std::exception& e) {
    ReportHandlerFailure(e.what());
  } catch (...) {
    ReportHandlerFailure("Unknown error");
  }
  return false;
}

}  // namespace orvale
