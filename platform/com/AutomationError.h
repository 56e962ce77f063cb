#pragma once
// The error an automation member raises: a numeric code, the name of the object that
// raised it and an English description, as scripts receive them. The first failed
// check of a call raises it and ends the call; the server turns it into the reply's
// error.
#include <cstdint>
#include <exception>
#include <string>
#include <utility>

namespace orvale {

// The code of a failure that is not one of the object's own errors (E_FAIL).
inline constexpr std::uint32_t kAutomationFailure = 0x80004005;

class AutomationError : public std::exception {
 public:
  AutomationError(std::uint32_t code, std::string source, std::string description)
      : code_(code), source_(std::move(source)), description_(std::move(description)) {}

  std::uint32_t Code() const { return code_; }
  const std::string& Source() const { return source_; }
  const std::string& Description() const { return description_; }
  const char* what() const noexcept override { return description_.c_str(); }

 private:
  std::uint32_t code_;
  std::string source_;
  std::string description_;
};

}  // namespace orvale
