#pragma once
// The worker that waits for a board's interrupt event and calls the caller's callback.
// Its board session owns it. Stopping is two steps: RequestStop, after which no new
// callback starts, and Join, which waits for the thread to end and is never called on
// the worker itself. A stop asked from inside the callback takes effect once the
// callback returns; until then the worker touches nothing but the state it shares with
// this object, so the session may go meanwhile.
#include <atomic>
#include <latch>
#include <memory>
#include <mutex>
#include <thread>

#include "cards/korrin/core/CallGate.h"
#include "cards/korrin/core/DeviceAccess.h"
#include "korrin32.h"

namespace orvale::korrin {

class IrqMachinery {
 public:
  // Returns once the worker waits for the first interrupt.
  IrqMachinery(DeviceSession& session, KR_IrqCallback callback);
  // Stops the worker and joins it; on the worker itself (a session nobody ended, let go
  // from its own callback) it can only leave the thread to end alone.
  ~IrqMachinery();
  IrqMachinery(const IrqMachinery&) = delete;
  IrqMachinery& operator=(const IrqMachinery&) = delete;

  // Calls `callback` from the next interrupt on.
  void SetCallback(KR_IrqCallback callback);
  // Returns once no callback is running that began before this call (at once on the
  // worker itself), waiting outside `gate`: that callback may be calling in.
  void WaitOutCallback(CallGate& gate) const;

  void RequestStop();
  void Join();
  // True on the worker thread itself (inside the callback).
  bool OnWorker() const { return std::this_thread::get_id() == thread_.get_id(); }

 private:
  // What the worker reads after a callback returns: owned by both, so it outlives a
  // machinery that is gone before its thread has ended.
  struct Shared {
    std::latch ready{1};
    std::atomic<bool> stop{false};
    std::mutex running;  // held while the callback runs
    std::atomic<KR_IrqCallback> callback{nullptr};
  };
  static void Run(DeviceSession& session, std::shared_ptr<Shared> shared);

  DeviceSession& session_;
  std::shared_ptr<Shared> shared_;
  std::thread thread_;
};

}  // namespace orvale::korrin
