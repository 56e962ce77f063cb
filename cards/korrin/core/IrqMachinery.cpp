#include "cards/korrin/core/IrqMachinery.h"

#include <functional>

namespace orvale::korrin {
namespace {

// The worker looks at its stop flag at least this often, even without a wake-up.
constexpr std::uint32_t kWaitSliceMs = 100;

}  // namespace

IrqMachinery::IrqMachinery(DeviceSession& session, KR_IrqCallback callback)
    : session_(session), shared_(std::make_shared<Shared>()) {
  shared_->callback.store(callback);
  thread_ = std::thread(&IrqMachinery::Run, std::ref(session), shared_);
  shared_->ready.wait();
}

IrqMachinery::~IrqMachinery() {
  RequestStop();
  if (!thread_.joinable()) return;
  if (OnWorker()) {
    thread_.detach();
  } else {
    thread_.join();
  }
}

void IrqMachinery::SetCallback(KR_IrqCallback callback) { shared_->callback.store(callback); }

void IrqMachinery::WaitOutCallback(CallGate& gate) const {
  if (OnWorker()) return;
  // The shared state stays while this waits, whatever happens to the machinery.
  const std::shared_ptr<Shared> shared = shared_;
  gate.WaitOutside([&] { std::lock_guard passed(shared->running); });
}

void IrqMachinery::RequestStop() {
  if (shared_->stop.exchange(true)) return;
  // Inside the callback the worker is not waiting; waking it would only leave a signal
  // for the next worker on this board.
  if (!OnWorker()) session_.WakeIrq();
}

void IrqMachinery::Join() {
  if (!OnWorker() && thread_.joinable()) thread_.join();
}

void IrqMachinery::Run(DeviceSession& session, std::shared_ptr<Shared> shared) {
  shared->ready.count_down();
  // The session is used only while not stopped: a stop comes before the session goes.
  while (!shared->stop.load()) {
    const bool signalled = session.WaitIrq(kWaitSliceMs);
    if (shared->stop.load()) break;
    if (!signalled) continue;
    std::lock_guard running(shared->running);
    const KR_IrqCallback callback = shared->callback.load();
    if (!shared->stop.load() && callback != nullptr) callback();
  }
}

}  // namespace orvale::korrin
