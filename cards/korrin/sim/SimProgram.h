#pragma once
// The simulated board's register-programming sequencer: it runs the asynchronous
// capture program from bus memory, word by word, until it waits for a field or the
// trigger pin, jumps, or stops. Its program counter shows in register 0x104.
#include <cstdint>
#include <functional>
#include <optional>

#include "cards/korrin/sim/SimMemory.h"
#include "cards/korrin/sim/SimRegisters.h"

namespace orvale::korrin::sim {

class SimProgram {
 public:
  using Uploader = std::function<void(std::uint32_t bits)>;
  using Signal = std::function<void()>;
  using Pin = std::function<bool(std::uint32_t condition)>;

  SimProgram(SimRegisters& registers, SimMemory& memory, Uploader upload, Signal signal, Pin pin)
      : registers_(registers), memory_(memory), upload_(std::move(upload)), signal_(std::move(signal)),
        pin_(std::move(pin)) {}

  // Main control 1 changed: the sequencer starts or stops with its enable bit.
  void OnControl();
  // A field has been captured: a wait for it ends.
  void OnField();
  bool Running() const { return running_; }
  std::uint64_t Signals() const { return signals_; }

 private:
  enum class Wait { kNone, kField, kPin };
  void Run();
  void Halt();
  std::optional<std::uint32_t> Fetch();

  SimRegisters& registers_;
  SimMemory& memory_;
  Uploader upload_;
  Signal signal_;
  Pin pin_;
  bool running_ = false;
  bool inRun_ = false;
  Wait wait_ = Wait::kNone;
  std::uint32_t pinCondition_ = 0;
  std::uint64_t signals_ = 0;
};

}  // namespace orvale::korrin::sim
