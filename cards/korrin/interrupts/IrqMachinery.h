#pragma once
// The worker that waits for a board's interrupt event and calls the caller's callback.
// Its board session owns it. Stopping is two steps: RequestStop, after which no new
// callback starts, and Join once the thread has ended. Only a thread that is no worker
// waits for a thread to end: a worker never waits for a worker, its own or another, but
// it may join one that has ended already (so a callback that restarts its own worker
// leaves no thread behind). A stop asked from inside the callback takes effect once the
// callback returns; until then the worker touches nothing but the state it shares with
// this object, so the session may go meanwhile.
//
// In the child of a fork the worker's thread does not exist: a machinery there neither
// wakes nor joins it, and leaves it behind.
#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <latch>
#include <memory>
#include <mutex>
#include <thread>

#include "cards/korrin/session/CallGate.h"
#include "cards/korrin/hardware/DeviceAccess.h"
#include "korrin32.h"

namespace orvale::korrin {

class IrqMachinery {
 public:
  // Returns once the worker waits for its first interrupt: an interrupt from then on
  // reaches the callback.
  IrqMachinery(DeviceSession& session, KR_IrqCallback callback);
  // Stops the worker and joins it; on a worker (a session nobody ended, let go from a
  // callback) it leaves the thread to end alone.
  ~IrqMachinery();
  IrqMachinery(const IrqMachinery&) = delete;
  IrqMachinery& operator=(const IrqMachinery&) = delete;

  // Calls `callback` from the next interrupt on.
  void SetCallback(KR_IrqCallback callback);
  KR_IrqCallback Callback() const { return shared_->callback.load(); }
  // Returns once no callback is running that began before this call, waiting outside
  // `gate`: that callback may be calling in. On a worker it returns at once.
  void WaitOutCallback(CallGate& gate) const;

  void RequestStop();
  // True once the thread has stopped and waits on nothing any more (or is lost to a fork).
  bool Ended() const;
  // How many worker threads of the process have ended so far, and a wait until more
  // have (only on a thread that is no worker). Waiting on these holds nothing of any
  // machinery, so another thread may join and free them meanwhile, and a fork leaves the
  // child nothing owned by a thread it does not have.
  static std::uint32_t EndsSoFar();
  static void WaitForAnEndAfter(std::uint32_t ends);
  // Joins the thread: on a worker only once Ended() (else nothing), on any other thread
  // waiting for it to end. Only one thread at a time may join a machinery.
  void Join();
  // True on this machinery's worker thread (inside its callback).
  bool OnWorker() const { return std::this_thread::get_id() == thread_.get_id(); }
  // True on any interrupt worker's thread.
  static bool OnAnyWorker();
  // True in the child of a fork: the worker's thread is not in this process.
  bool ThreadLost() const;

 private:
  // What the worker reads after a callback returns: owned by both, so it outlives a
  // machinery that is gone before its thread has ended.
  struct Shared {
    std::latch ready{1};
    std::atomic<bool> stop{false};
    std::mutex running;  // held while the callback runs
    std::atomic<KR_IrqCallback> callback{nullptr};
    std::atomic<bool> ended{false};  // the last thing the thread does
  };
  static void Run(DeviceSession& session, std::shared_ptr<Shared> shared);
  static void CallBackUntilStopped(DeviceSession& session, Shared& shared);
  // Gives up the thread without joining it (it is not in this process).
  void Abandon();

  DeviceSession& session_;
  std::shared_ptr<Shared> shared_;
  std::thread thread_;
  pid_t process_;
};

}  // namespace orvale::korrin
