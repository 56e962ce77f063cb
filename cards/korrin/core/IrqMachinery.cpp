#include "cards/korrin/core/IrqMachinery.h"

#include "cards/korrin/core/BoardState.h"

namespace orvale::korrin {

template <>
void ResourceDeleter<IrqMachinery>::operator()(IrqMachinery* irq) const {
  delete irq;
}

namespace {

// The worker looks at its stop flag at least this often, even without a wake-up.
constexpr std::uint32_t kWaitSliceMs = 100;

}  // namespace

IrqMachinery::IrqMachinery(DeviceSession& session, KR_IrqCallback callback)
    : session_(session), callback_(callback), thread_([this] { Run(); }) {}

IrqMachinery::~IrqMachinery() {
  Stop();
  if (thread_.joinable()) {
    if (OnWorker()) {
      thread_.detach();  // never: the owner destroys it from another thread
    } else {
      thread_.join();
    }
  }
}

void IrqMachinery::SetCallback(KR_IrqCallback callback) {
  std::lock_guard lock(callbackMutex_);
  callback_ = callback;
}

void IrqMachinery::Stop() {
  stop_.store(true);
  session_.WakeIrq();
  if (!OnWorker() && thread_.joinable()) thread_.join();
}

void IrqMachinery::Run() {
  while (!stop_.load()) {
    const bool signalled = session_.WaitIrq(kWaitSliceMs);
    if (stop_.load()) break;
    if (!signalled) continue;
    std::lock_guard lock(callbackMutex_);
    if (!stop_.load() && callback_ != nullptr) callback_();
  }
}

}  // namespace orvale::korrin
