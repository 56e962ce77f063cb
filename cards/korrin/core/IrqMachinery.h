#pragma once
// The worker that waits for a board's interrupt event and calls the caller's callback.
// It lives on the heap at one address for its whole life, so moving the board record
// between multi-board slots never touches what the worker uses. Stopping wakes the
// worker and joins it: after Stop returns on another thread no callback runs. A stop
// from inside the callback only asks the worker to end once the callback returns; the
// callback may also swap itself, and destroying the machinery from inside it (a clean-up
// there) leaves the worker, detached, only the state it shares with it.
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include "cards/korrin/core/DeviceAccess.h"
#include "korrin32.h"

namespace orvale::korrin {

class IrqMachinery {
 public:
  IrqMachinery(DeviceSession& session, KR_IrqCallback callback);
  ~IrqMachinery();
  IrqMachinery(const IrqMachinery&) = delete;
  IrqMachinery& operator=(const IrqMachinery&) = delete;

  void SetCallback(KR_IrqCallback callback);
  void Stop();
  bool Stopped() const { return shared_->stop.load(); }
  // True on the worker thread itself (inside the callback).
  bool OnWorker() const { return std::this_thread::get_id() == thread_.get_id(); }

 private:
  // What the worker reads after a callback returns: owned by both, so it outlives a
  // machinery destroyed from inside the callback.
  struct Shared {
    std::atomic<bool> stop{false};
    std::mutex callbackMutex;  // held while the callback runs, and to change it from outside
    std::atomic<KR_IrqCallback> callback{nullptr};
  };
  static void Run(DeviceSession& session, std::shared_ptr<Shared> shared);

  DeviceSession& session_;
  std::shared_ptr<Shared> shared_;
  std::thread thread_;
};

}  // namespace orvale::korrin
