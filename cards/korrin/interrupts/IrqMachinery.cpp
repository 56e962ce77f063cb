#include "cards/korrin/interrupts/IrqMachinery.h"

#include <unistd.h>

#include <functional>

namespace orvale::korrin {
namespace {

// The worker looks at its stop flag at least this often, even without a wake-up.
constexpr std::uint32_t kWaitSliceMs = 100;

thread_local bool t_onWorker = false;
// Counts the workers that have ended; never torn down.
constinit std::atomic<std::uint32_t> g_ends{0};

}  // namespace

IrqMachinery::IrqMachinery(DeviceSession& session, KR_IrqCallback callback)
    : session_(session), shared_(std::make_shared<Shared>()), process_(::getpid()) {
  shared_->callback.store(callback);
  thread_ = std::thread(&IrqMachinery::Run, std::ref(session), shared_);
  shared_->ready.wait();
}

IrqMachinery::~IrqMachinery() {
  RequestStop();
  if (!thread_.joinable()) return;
  if (ThreadLost()) {
    Abandon();
  } else if (OnAnyWorker() && !Ended()) {
    // Stopped and woken, it ends alone, touching only the state it shares.
    thread_.detach();
  } else {
    thread_.join();
  }
}

bool IrqMachinery::OnAnyWorker() { return t_onWorker; }

bool IrqMachinery::ThreadLost() const { return ::getpid() != process_; }

void IrqMachinery::SetCallback(KR_IrqCallback callback) { shared_->callback.store(callback); }

void IrqMachinery::WaitOutCallback(CallGate& gate) const {
  if (OnAnyWorker() || ThreadLost()) return;
  // The shared state stays while this waits, whatever happens to the machinery.
  const std::shared_ptr<Shared> shared = shared_;
  gate.WaitOutside([&] { std::lock_guard passed(shared->running); });
}

void IrqMachinery::RequestStop() {
  if (shared_->stop.exchange(true)) return;
  // Inside the callback the worker is not waiting; waking it would only leave a signal
  // for the next worker on this board. A lost thread waits on nothing here.
  if (!OnWorker() && !ThreadLost()) session_.WakeIrq();
}

bool IrqMachinery::Ended() const { return ThreadLost() || shared_->ended.load(std::memory_order_acquire); }

std::uint32_t IrqMachinery::EndsSoFar() { return g_ends.load(std::memory_order_acquire); }

void IrqMachinery::WaitForAnEndAfter(std::uint32_t ends) { g_ends.wait(ends, std::memory_order_acquire); }

void IrqMachinery::Join() {
  if (!thread_.joinable() || (OnAnyWorker() && !Ended())) return;
  if (ThreadLost()) {
    Abandon();
  } else {
    thread_.join();
  }
}

void IrqMachinery::Abandon() {
  // Neither joinable nor detachable here; the handle is left as it is.
  new std::thread(std::move(thread_));
}

void IrqMachinery::Run(DeviceSession& session, std::shared_ptr<Shared> shared) {
  t_onWorker = true;
  CallBackUntilStopped(session, *shared);
  // Whoever joins this thread now waits for nothing more of it.
  shared->ended.store(true, std::memory_order_release);
  g_ends.fetch_add(1, std::memory_order_release);
  g_ends.notify_all();
}

void IrqMachinery::CallBackUntilStopped(DeviceSession& session, Shared& shared) {
  const std::function<void()> parked = [&] { shared.ready.count_down(); };
  bool first = true;
  // The session is used only while not stopped: a stop comes before the session goes.
  while (!shared.stop.load()) {
    const bool signalled = session.WaitIrq(kWaitSliceMs, first ? parked : std::function<void()>());
    first = false;
    if (shared.stop.load()) break;
    if (!signalled) continue;
    std::lock_guard running(shared.running);
    const KR_IrqCallback callback = shared.callback.load();
    if (!shared.stop.load() && callback != nullptr) callback();
  }
  // A stop before the first wait: the start is not left waiting.
  if (first) shared.ready.count_down();
}

}  // namespace orvale::korrin
