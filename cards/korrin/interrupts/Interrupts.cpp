#include "cards/korrin/interrupts/Interrupts.h"

#include <algorithm>
#include <vector>

#include "cards/korrin/interrupts/IrqMachinery.h"
#include "cards/korrin/hardware/Saa7146.h"
#include "cards/korrin/session/Status.h"

namespace orvale::korrin {
namespace {

constexpr std::uint32_t kFieldBit = 0x100;

// Keeps `worker` among the stopped ones until it is joined.
void StopWorker(Library& lib, std::unique_ptr<IrqMachinery> worker) {
  worker->RequestStop();
  lib.stoppedWorkers.push_back({++lib.workersStopped, std::move(worker)});
}

bool AnyStoppedRunning(const Library& lib) {
  return std::ranges::any_of(lib.stoppedWorkers, [](const auto& s) { return !s.worker->Ended(); });
}

// Before a worker may start: a stopped worker that still waits for the board's event would
// lose the wake that stops it to the new one, and wait on. The gate is open meanwhile. A
// worker waits for none, but the worker it may have stopped is its own, in its callback,
// not waiting.
void WaitForStoppedWorkers(Library& lib) {
  while (!IrqMachinery::OnAnyWorker() && AnyStoppedRunning(lib)) JoinStoppedWorkers(lib);
}

std::uint32_t SourceBit(const BoardSettings& s, std::int32_t source) {
  if (source == 0) return kFieldBit;
  return s.controller.present ? 0x20 : 0x08;
}

void SwitchSource(Library& lib, std::int32_t source, std::int32_t argument, bool on) {
  BoardSettings& s = lib.Settings();
  RegisterWindow& regs = lib.Live().Registers();
  if (source == 2) {
    const std::uint32_t gpio = s.controller.present ? (on ? 0x200000u : 0u) : (on ? 0x50500020u : 0x50500000u);
    regs.Write32(saa::kGpio, gpio);
  }
  const std::uint32_t bit = SourceBit(s, source);
  DeviceSession& device = lib.Live().resources.session->Device();
  if (on) {
    regs.Write32(saa::kIrqStatus, bit);
    regs.Write32(saa::kIrqEnable, bit);
    device.EnableIrq(source, argument);
  } else {
    device.DisableIrq(source);
    regs.Write32(saa::kIrqEnable, 0);
    regs.Write32(saa::kIrqStatus, bit);
  }
}

}  // namespace

std::int32_t EnableIrq(Library& lib, std::int32_t source, std::int32_t argument, std::int32_t type,
                       KR_IrqCallback callback) {
  if (type == 1) WaitForStoppedWorkers(lib);
  if (!lib.Live().Located() || (source != 0 && source != 2) || type < 0 || type > 3) return kFail;
  if (type == 1 && callback == nullptr) return kFail;
  BoardSession& session = *lib.Live().resources.session;
  std::unique_ptr<IrqMachinery>& worker = session.Worker();
  switch (type) {
    case 3:
      SwitchSource(lib, source, argument, true);
      return kOk;
    case 2:
      SwitchSource(lib, source, argument, false);
      return kOk;
    case 1: {
      // In a forked child the parent's worker is not there to take the callback.
      if (worker && worker->ThreadLost()) RetireWorker(lib, std::move(worker));
      const bool swapped = worker != nullptr;
      if (swapped) {
        worker->SetCallback(callback);
      } else {
        worker = std::make_unique<IrqMachinery>(session.Device(), callback);
      }
      SwitchSource(lib, source, argument, true);
      // Last, as they wait outside the gate: the old callback is not running once this
      // returns, and workers that stopped themselves are joined.
      if (swapped) worker->WaitOutCallback(lib.Gate());
      JoinStoppedWorkers(lib);
      return kOk;
    }
    default:
      SwitchSource(lib, source, argument, false);
      RetireWorker(lib, std::move(worker));
      return kOk;
  }
}

std::int32_t ClearIrq(Library& lib, std::int32_t source, std::int32_t) {
  if (!lib.Live().Located()) return kFail;
  lib.Live().Registers().Write32(saa::kIrqStatus, 0x1F8);
  return StatusOf(lib.Live().resources.session->Device().ClearIrq(source));
}

std::int32_t GetIrqNumber(Library& lib) {
  BoardSettings& s = lib.Settings();
  if (!lib.Live().Located()) return kFail;
  if (s.frame.irqNumber < 0 && s.frame.saaHandle != 0) {
    if (const auto dword = lib.Device().ReadConfigDword(s.frame.saaHandle, saa::kPciInterruptLine)) {
      s.frame.irqNumber = static_cast<std::int32_t>(*dword & 0xF);
    }
  }
  return s.frame.irqNumber;
}

void SwitchInterruptsOff(Library& lib) {
  if (!lib.Live().Located() || !lib.Live().resources.session->Worker()) return;
  SwitchSource(lib, 0, 0, false);
  lib.Live().resources.session->Device().DisableIrq(2);
}

void RetireWorker(Library& lib, std::unique_ptr<IrqMachinery> worker) {
  if (worker) StopWorker(lib, std::move(worker));
  auto& stopped = lib.stoppedWorkers;
  // A worker waits for no worker, its own or another: two workers each waiting for the
  // other would wait for ever. A thread that is no worker waits for every worker stopped
  // so far to end, with the gate open: a callback still running may be calling in. They
  // stay on the list meanwhile, so a fork knows every worker that may still be waiting.
  if (!IrqMachinery::OnAnyWorker()) {
    const std::uint64_t upTo = lib.workersStopped;
    for (;;) {
      const std::uint32_t ends = IrqMachinery::EndsSoFar();
      const bool running = std::ranges::any_of(
          stopped, [&](const Library::StoppedWorker& s) { return s.number <= upTo && !s.worker->Ended(); });
      if (!running) break;
      lib.Gate().WaitOutside([&] { IrqMachinery::WaitForAnEndAfter(ends); });
    }
  }
  // Whoever is inside joins the workers that have ended, a worker too: a callback that
  // restarts its own worker again and again leaves no thread behind.
  std::erase_if(stopped, [](Library::StoppedWorker& s) {
    if (!s.worker->Ended()) return false;
    s.worker->Join();
    return true;
  });
}

void JoinStoppedWorkers(Library& lib) { RetireWorker(lib, nullptr); }

WorkersPaused PauseWorkers(Library& lib) {
  WorkersPaused paused;
  if (IrqMachinery::OnAnyWorker()) {
    paused.all = false;
    return paused;
  }
  // Joining lets other calls in, and they may start workers: until none runs.
  for (;;) {
    std::vector<BoardState*> boards{&lib.Live()};
    for (auto& copy : lib.Copies()) boards.push_back(copy.get());
    bool any = !lib.stoppedWorkers.empty();
    for (BoardState* board : boards) {
      const auto& session = board->resources.session;
      if (!session || !session->Worker()) continue;
      paused.running.emplace_back(session, session->Worker()->Callback());
      StopWorker(lib, std::move(session->Worker()));
      any = true;
    }
    if (!any) return paused;
    JoinStoppedWorkers(lib);
  }
}

void ResumeWorkers(Library& lib, WorkersPaused paused) {
  for (auto& [session, callback] : paused.running) {
    // Only a board that is still held, by a record that has not started a worker since.
    bool held = lib.Live().resources.session == session;
    for (auto& copy : lib.Copies()) held = held || copy->resources.session == session;
    if (held && !session->Worker()) session->Worker() = std::make_unique<IrqMachinery>(session->Device(), callback);
  }
}

}  // namespace orvale::korrin
