#pragma once
// One call inside the library at a time. The application calls in, and so do the
// interrupt workers' callbacks and the window system's timers and hooks; the gate lets
// one thread in, and that thread in again (a format plug-in's row callback during a
// file load). Nothing inside ever waits for another thread while it holds the gate:
// joining a worker or waiting out a callback happens outside it, so a callback that is
// calling in meanwhile can finish. A wait on the board lets a caller that is waiting to
// come in go first between its polls.
//
// Usage: `std::lock_guard inside(lib.Gate());` around a call;
// `gate.WaitOutside([&] { worker.Join(); });` to wait for another thread.
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace orvale::korrin {

class CallGate {
 public:
  // Enter and leave (the names let std::lock_guard do both).
  void lock();
  void unlock();

  // Lets a thread that is waiting to come in have its call first. Nothing when none
  // waits or when the caller is not inside.
  void Yield();

  // Runs `wait` with the gate open to others, then comes back in as deep as before. A
  // caller that is not inside just runs `wait`.
  template <class Wait>
  void WaitOutside(Wait&& wait) {
    struct ComeBack {
      CallGate& gate;
      int depth;
      ~ComeBack() { gate.Reenter(depth); }
    } back{*this, Leave()};
    wait();
  }

 private:
  // Leaves however deep the caller is inside; returns that depth (0 when not inside).
  int Leave();
  // Comes back in `depth` deep once the gate is free (nothing for 0).
  void Reenter(int depth);
  // Waits for the gate to be free and takes it, `depth` deep.
  void Take(std::unique_lock<std::mutex>& lock, int depth);

  std::mutex mutex_;
  std::condition_variable freed_;
  std::thread::id owner_;
  int depth_ = 0;
  int waiting_ = 0;          // threads waiting to come in
  std::uint64_t entries_ = 0;  // times the gate was taken, so a yielder sees the others' turn
};

}  // namespace orvale::korrin
