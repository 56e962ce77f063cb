#include "cards/korrin/sim/SimProgram.h"

#include "cards/korrin/hardware/RegisterEncoding.h"
#include "cards/korrin/hardware/Saa7146.h"

namespace orvale::korrin::sim {
namespace {

namespace program = encoding::program;
constexpr std::uint32_t kProgramCounter = 0x104;
// Commands a run may execute without waiting; a program that never waits is stopped.
constexpr int kMaxStepsPerRun = 100000;

}  // namespace

void SimProgram::OnControl() {
  const bool enabled = (registers_.Peek(saa::kMainControl1) & encoding::kEnableProgram) != 0;
  if (enabled && !running_) {
    running_ = true;
    wait_ = Wait::kNone;
    Run();
  } else if (!enabled && running_) {
    running_ = false;
    wait_ = Wait::kNone;
  }
}

void SimProgram::OnField() {
  if (!running_) return;
  if (wait_ == Wait::kField || (wait_ == Wait::kPin && pin_(pinCondition_))) {
    wait_ = Wait::kNone;
    Run();
  }
}

void SimProgram::Halt() {
  running_ = false;
  wait_ = Wait::kNone;
  registers_.Poke(saa::kMainControl1, registers_.Peek(saa::kMainControl1) & ~encoding::kEnableProgram);
}

std::optional<std::uint32_t> SimProgram::Fetch() {
  const std::uint32_t pc = registers_.Peek(kProgramCounter);
  const std::uint8_t* word = memory_.Translate(pc, 4);
  if (word == nullptr) {
    memory_.LogFault(pc, 4, "program fetch");
    return std::nullopt;
  }
  registers_.Poke(kProgramCounter, pc + 4);
  return word[0] | (word[1] << 8) | (word[2] << 16) | (std::uint32_t{word[3]} << 24);
}

void SimProgram::Run() {
  if (inRun_) return;  // a register write of the program itself re-entered us
  inRun_ = true;
  for (int step = 0; step < kMaxStepsPerRun && running_ && wait_ == Wait::kNone; ++step) {
    const auto word = Fetch();
    if (!word) {
      Halt();
      break;
    }
    const std::uint32_t command = *word & program::kCommandMask;
    if (*word == program::kStop) {
      Halt();
    } else if (*word == program::kNop) {
    } else if (command == program::kWait) {
      if ((*word & ~program::kCommandMask) == program::kFieldDone) {
        wait_ = Wait::kField;
      } else if (!pin_(*word)) {
        wait_ = Wait::kPin;
        pinCondition_ = *word;
      }
    } else if (*word == program::kSignal) {
      ++signals_;
      signal_();
    } else if (command == program::kUpload) {
      upload_(*word & 0xFFFF);
    } else if (command == program::kJump) {
      const auto target = Fetch();
      if (!target) {
        Halt();
        break;
      }
      registers_.Poke(kProgramCounter, *target);
    } else if (command == program::kWrite) {
      const std::uint32_t count = (*word >> 8) & 0xFF;
      const std::uint32_t first = (*word & 0xFF) * 4;
      for (std::uint32_t i = 0; i < count && running_; ++i) {
        const auto value = Fetch();
        if (!value) {
          Halt();
          break;
        }
        registers_.Write32(first + i * 4, *value);
      }
    } else {
      memory_.LogFault(registers_.Peek(kProgramCounter) - 4, 4, "unknown program command");
      Halt();
    }
  }
  if (running_ && wait_ == Wait::kNone) Halt();  // never waited: stopped as runaway
  inRun_ = false;
}

}  // namespace orvale::korrin::sim
