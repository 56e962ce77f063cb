#pragma once
// A text output whose n-th write fails once with "Disk full", for the write-failure
// paths of the section writers.
#include <string>
#include <string_view>

#include "platform/runtime/RunError.h"
#include "platform/runtime/TextOutput.h"

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

}  // namespace orvale
