#pragma once
// The worker that waits for a board's interrupt event and calls the caller's callback.
// It lives on the heap at one address for its whole life, so moving the board record
// between multi-board slots never touches what the worker uses. Stopping wakes the
// worker and joins it: after Stop returns on another thread no callback runs. A stop
// from inside the callback only asks the worker to end once the callback returns.
#include <atomic>
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
  bool Stopped() const { return stop_.load(); }
  // True on the worker thread itself (inside the callback).
  bool OnWorker() const { return std::this_thread::get_id() == thread_.get_id(); }

 private:
  void Run();

  DeviceSession& session_;
  std::atomic<bool> stop_{false};
  std::mutex callbackMutex_;  // held while the callback runs, and to change it
  KR_IrqCallback callback_;
  std::thread thread_;
};

}  // namespace orvale::korrin
