#include "cards/korrin/core/IrqMachinery.h"

#include <functional>

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
    : session_(session), shared_(std::make_shared<Shared>()) {
  shared_->callback.store(callback);
  thread_ = std::thread(&IrqMachinery::Run, std::ref(session), shared_);
}

IrqMachinery::~IrqMachinery() {
  Stop();
  // From inside the callback the worker cannot be joined; it ends on its own once the
  // callback returns, touching nothing but the shared state.
  if (thread_.joinable()) thread_.detach();
}

void IrqMachinery::SetCallback(KR_IrqCallback callback) {
  // The callback swapping itself already holds the lock; from outside, waiting for it
  // means the old callback is not running once this returns.
  if (OnWorker()) {
    shared_->callback.store(callback);
    return;
  }
  std::lock_guard lock(shared_->callbackMutex);
  shared_->callback.store(callback);
}

void IrqMachinery::Stop() {
  shared_->stop.store(true);
  session_.WakeIrq();
  if (!OnWorker() && thread_.joinable()) thread_.join();
}

void IrqMachinery::Run(DeviceSession& session, std::shared_ptr<Shared> shared) {
  // The session is used only while not stopped: a stop comes before the session goes.
  while (!shared->stop.load()) {
    const bool signalled = session.WaitIrq(kWaitSliceMs);
    if (shared->stop.load()) break;
    if (!signalled) continue;
    std::lock_guard lock(shared->callbackMutex);
    const KR_IrqCallback callback = shared->callback.load();
    if (!shared->stop.load() && callback != nullptr) callback();
  }
}

}  // namespace orvale::korrin
