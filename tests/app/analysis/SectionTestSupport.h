#pragma once
// Helpers for the keyword-section tests: an output whose n-th write fails once, and
// the lines of a written text.
#include <string>
#include <vector>

#include "platform/runtime/TextOutput.h"
#include "platform/ui/MessageService.h"

namespace orvale {

class FailingTextOutput final : public TextOutput {
 public:
  // The `failingWrite`-th call of Write (from 1) fails with "Disk full".
  explicit FailingTextOutput(int failingWrite) : failingWrite_(failingWrite) {}
  bool Write(std::string_view text, RunError& error) override {
    if (++writes_ == failingWrite_) {
      error = RunError::FromNumber(errnum::kDiskFull);
      return false;
    }
    text_ += text;
    return true;
  }
  const std::string& Text() const { return text_; }

 private:
  int failingWrite_;
  int writes_ = 0;
  std::string text_;
};

// The lines of `text`, each with its CR LF.
inline std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    const std::size_t next = end == std::string::npos ? text.size() : end + 2;
    lines.push_back(text.substr(start, next - start));
    start = next;
  }
  return lines;
}

}  // namespace orvale
