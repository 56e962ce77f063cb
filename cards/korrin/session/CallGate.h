#pragma once
// One call inside the library at a time. The application calls in, and so do the
// interrupt workers' callbacks and the window system's timers and hooks; the gate lets
// one thread in, and that thread in again (a format plug-in's row callback during a
// file load). Threads come in in the order they arrived: a call that waits to come in
// waits only for the calls ahead of it, however fast the others call back to back.
// Nothing inside ever waits for another thread while it holds the gate: joining a worker
// or waiting out a callback happens outside it, so a callback that is calling in
// meanwhile can finish. A wait on the board lets the calls that wait to come in go first
// (Yield) between its polls.
//
// The gate is made of atomics only and has nothing to tear down, so a process-wide gate
// can outlive what it guards: a call that comes after the library was torn down still
// finds the gate, and there learns that the library is closed.
//
// Usage: `std::lock_guard inside(lib.Gate());` around a call;
// `gate.WaitOutside([&] { worker.Join(); });` to wait for another thread.
#include <atomic>
#include <cstdint>

namespace orvale::korrin {

class CallGate {
 public:
  constexpr CallGate() = default;

  // Enter and leave (the names let std::lock_guard do both).
  void lock();
  void unlock();

  // True on the thread inside.
  bool Inside() const { return owner_.load(std::memory_order_relaxed) == Self(); }
  // Inside: true when another thread waits to come in.
  bool OthersWaiting() const {
    return next_.load(std::memory_order_relaxed) - serving_.load(std::memory_order_relaxed) > 1;
  }
  // Inside: true when no other thread is in a call, waiting to come in or waiting
  // outside to come back.
  bool Alone() const { return !OthersWaiting() && outside_.load(std::memory_order_relaxed) == 0; }

  // Lets every thread that waits to come in now have its call first, in arrival order,
  // then comes back in as deep as before. Nothing when none waits or when the caller is
  // not inside.
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

  // In the child of a fork, where the caller is the only thread: the others that were
  // waiting to come in, or waiting outside, do not exist here. The caller is inside.
  void ForgetOtherThreads();

  // Tests: when set, runs on the thread that hands a gate on, right after it has, so a
  // test can look at the gate as the thread let in finds it.
  static inline std::atomic<void (*)()> handedOnForTests{nullptr};

 private:
  // Any address unique to the calling thread.
  static const void* Self();
  // Leaves however deep the caller is inside; returns that depth (0 when not inside).
  int Leave();
  // Comes back in `depth` deep once it is this thread's turn (nothing for 0).
  void Reenter(int depth);
  // Takes the next ticket, waits for its turn and comes in `depth` deep.
  void Take(int depth);
  std::uint32_t TakeTicket();
  void WaitForTurn(std::uint32_t ticket, int depth);
  // Hands the gate to the next ticket.
  void Release();

  std::atomic<std::uint32_t> next_{0};     // the ticket the next thread to arrive takes
  std::atomic<std::uint32_t> serving_{0};  // the ticket whose thread is inside
  std::atomic<const void*> owner_{nullptr};
  int depth_ = 0;                     // the owner's only
  std::atomic<int> outside_{0};       // threads in WaitOutside, to come back
};

}  // namespace orvale::korrin
