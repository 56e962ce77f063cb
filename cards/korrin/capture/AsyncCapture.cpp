#include "cards/korrin/capture/AsyncCapture.h"

#include <algorithm>
#include <cstring>

#include "cards/korrin/capture/Acquisition.h"
#include "cards/korrin/dma/DmaArea.h"
#include "cards/korrin/hardware/RegisterEncoding.h"
#include "cards/korrin/hardware/Saa7146.h"
#include "cards/korrin/session/Status.h"
#include "cards/korrin/interrupts/YieldingWait.h"

namespace orvale::korrin {
namespace {

namespace program = encoding::program;

constexpr int kStopWords = 13;  // disable, re-point at frame 0, upload, signal, stop
constexpr int kRingWords = 2;   // jump back
constexpr std::uint32_t kWaitTimeoutMs = 5000;
constexpr std::uint32_t kProgramAddressRegister = 0x104;

void AppendBases(std::vector<std::uint32_t>& w, std::uint32_t base, std::uint32_t even, std::uint32_t protection) {
  w.insert(w.end(), {program::Write(0x00), base, program::Write(0x04), even, program::Write(0x08), protection});
}

}  // namespace

int ProgramCapacity(bool trigger) {
  const int words = static_cast<int>(kProgramBytes / 4) - kStopWords;
  return words / (trigger ? kTriggeredEntryWords : kEntryWords);
}

std::vector<std::uint32_t> BuildAsyncProgram(const AsyncProgramPlan& plan) {
  std::vector<std::uint32_t> w;
  const std::uint32_t upload = program::kUpload | (encoding::kUploadChannel1 & 0xFFFF);
  for (int i = 0; i < plan.frames; ++i) {
    const std::size_t entryStart = w.size();
    if (plan.trigger) {
      // Wait for the trigger, pulse the output pin, and go on.
      w.push_back(program::kPinConditions[std::clamp(plan.triggerCode, 0, 2)]);
      w.insert(w.end(), {program::Write(0xE0), 0x50500001, program::Write(0xE0), 0x50500000});
    }
    const std::uint32_t shift = static_cast<std::uint32_t>(i) * plan.frameBytes;
    AppendBases(w, plan.base + shift, plan.evenBase + shift, plan.protection + shift);
    w.push_back(upload);
    w.push_back(program::kWait | program::kFieldDone);
    w.push_back(program::kWait | program::kFieldDone);
    // Entries keep the board's fixed sizes, so a program counter names its frame.
    const std::size_t size = plan.trigger ? kTriggeredEntryWords : kEntryWords;
    while (w.size() - entryStart < size) w.push_back(program::kNop);
  }
  if (plan.ring) {
    w.insert(w.end(), {program::kJump, plan.start});
    return w;
  }
  w.insert(w.end(), {program::Write(saa::kMainControl1), 0x00400000});
  AppendBases(w, plan.base, plan.evenBase, plan.protection);
  w.insert(w.end(), {upload, program::kSignal, program::kStop, program::kNop});
  return w;
}

std::int32_t StartAsyncProgram(Library& lib, std::uint32_t asyncWord) {
  BoardState& board = lib.Live();
  BoardSettings& s = board.settings;
  if (!board.Located() || !board.resources.session->Dma()) return kFail;
  const bool trigger = (asyncWord & asyncbit::kTrigger) != 0;
  int frames = static_cast<int>(asyncWord & 0xFFFF);
  const int fit = FramesThatFit(lib);
  if (frames == 0) frames = fit;
  // Neither past the program page nor past the target.
  if (frames < 1 || frames > ProgramCapacity(trigger) || frames > fit) return kFail;
  const auto layout = LayoutFor(lib, 0, frames);
  if (!layout) return kFail;

  AsyncProgramPlan plan;
  plan.frames = frames;
  plan.trigger = trigger;
  plan.triggerCode = static_cast<int>((asyncWord >> 24) & 3);
  plan.ring = (asyncWord & asyncbit::kRing) != 0;
  plan.start = board.resources.session->Dma()->PhysicalAt(kProgramsAt);
  plan.base = layout->base;
  plan.evenBase = layout->evenBase;
  plan.protection = layout->protection;
  plan.frameBytes = static_cast<std::uint32_t>(layout->frameBytes);
  const std::vector<std::uint32_t> words = BuildAsyncProgram(plan);
  std::uint8_t* page = board.resources.session->Dma()->Base() + kProgramsAt;
  std::memset(page, 0, kProgramBytes);
  std::memcpy(page, words.data(), words.size() * 4);

  RegisterWindow& regs = board.Registers();
  regs.Write32(0xD4, 0);
  regs.Write32(kProgramAddressRegister, plan.start);
  regs.Write32(0xC4, 1);
  // Channel 1 captures; the program moves it from frame to frame and ends by
  // switching it off.
  regs.Write32(saa::kMainControl1, 0x00400000 | encoding::kEnableChannel1);
  regs.Write32(saa::kMainControl1, 0x10000000 | encoding::kEnableProgram);
  s.async = {true, plan.start, frames, trigger ? kTriggeredEntryWords : kEntryWords};
  s.transferOn = true;
  if (asyncWord & asyncbit::kWait) {
    const bool done = WaitUntil(lib, kWaitTimeoutMs, [&] {
      return (regs.Read32(saa::kMainControl1) & encoding::kEnableProgram) == 0;
    });
    if (!done) {
      StopAsyncProgram(lib);
      s.transferOn = false;
      return kFail;
    }
  }
  return kOk;
}

void StopAsyncProgram(Library& lib) {
  lib.Live().Registers().Write32(saa::kMainControl1, 0x30000000);
  lib.Settings().async.running = false;
}

std::int32_t AsyncCurrentFrame(Library& lib) {
  const AsyncProgramState& a = lib.Settings().async;
  if (!lib.Live().Located() || !a.running) return kFail;
  const std::uint32_t pc = lib.Live().Registers().Read32(kProgramAddressRegister);
  const std::int64_t frame = ((std::int64_t{pc} - a.start - 4) / 4) / a.wordsPerEntry;
  return frame < 0 || frame >= a.frames ? 0 : static_cast<std::int32_t>(frame);
}

std::int32_t AsyncJumpToFrame(Library& lib, std::int32_t frame) {
  const AsyncProgramState& a = lib.Settings().async;
  if (!lib.Live().Located() || !a.running || frame < 0 || frame >= a.frames) return kFail;
  RegisterWindow& regs = lib.Live().Registers();
  regs.Write32(saa::kMainControl1, 0x10000000);
  regs.Write32(kProgramAddressRegister, a.start + static_cast<std::uint32_t>(frame * a.wordsPerEntry * 4));
  regs.Write32(saa::kMainControl1, 0x10000000 | encoding::kEnableProgram);
  return kOk;
}

std::int32_t AsyncGrab(Library& lib, std::int32_t operation, std::int32_t a, std::int32_t b) {
  BoardSettings& s = lib.Settings();
  switch (operation) {
    case 0:
      s.asyncWord = 0;
      return kOk;
    case 1:
      s.asyncWord = (static_cast<std::uint32_t>(b) & 0x3F000000) | (static_cast<std::uint32_t>(a) & 0xFFFF) |
                    asyncbit::kArmed;
      return kOk;
    case 2:
      return AsyncJumpToFrame(lib, a);
    case 4:
      return a < 0 ? kFail : AsyncJumpToFrame(lib, a / 2);
    case 3:
      return AsyncCurrentFrame(lib);
    case 5: {
      const std::int32_t frame = AsyncCurrentFrame(lib);
      return frame < 0 ? frame : frame * 2;
    }
    default:
      break;
  }
  RegisterWindow* regs = lib.LocatedRegisters();
  if (regs == nullptr) return kFail;
  switch (operation) {
    case 6:
      return static_cast<std::int32_t>((regs->Read32(saa::kMainControl1) >> 6) & 1);
    case 7:
      regs->Write32(saa::kMainControl2, 0x10000000);
      regs->Write32(saa::kMainControl2, 0x08000800);
      return kOk;
    case 8:
      regs->Write32(saa::kMainControl2, 0x08000000);
      return kOk;
    default:
      return kFail;
  }
}

}  // namespace orvale::korrin
