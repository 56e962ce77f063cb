#pragma once
// The program's small number input box as its callers use it: ask with a caption, a
// prompt, a proposed text and the rules; get back whether the user cancelled, the
// number and whether it had to be clamped. The program installs the input box; tests
// install scripted answers, so that nothing blocks a test.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace orvale {

struct NumberInputRequest {
  std::string Caption;
  std::string Prompt;
  std::string Text;  // shown in the field, all of it selected
  bool NumberOnly = true;
  bool IntegerOnly = true;
  bool PositiveIntegerOnly = false;
  std::int32_t MinimumL = 0;
  std::int32_t MaximumL = 0;
  double MinimumD = 0.0;
  double MaximumD = 0.0;
};

struct NumberInputAnswer {
  bool Escaped = true;
  bool OutofRange = false;
  std::int32_t ValueL = 0;
  double ValueD = 0.0;
  std::string Text;  // what the field held when the box closed
};

class NumberInputService {
 public:
  virtual ~NumberInputService() = default;
  virtual NumberInputAnswer Ask(const NumberInputRequest& request) = 0;
};

// Installs `service` for the whole program (nullptr restores the default, which
// cancels every question). The caller keeps ownership.
void SetNumberInputService(NumberInputService* service);
NumberInputService& CurrentNumberInputService();

// Scripted answers: each question takes the next queued answer, or is cancelled when
// the queue is empty; every request is recorded.
class ScriptedNumberInputService final : public NumberInputService {
 public:
  void QueueAnswer(const NumberInputAnswer& answer) { answers_.push_back(answer); }
  NumberInputAnswer Ask(const NumberInputRequest& request) override;
  const std::vector<NumberInputRequest>& Requests() const { return requests_; }

 private:
  std::deque<NumberInputAnswer> answers_;
  std::vector<NumberInputRequest> requests_;
};

}  // namespace orvale
