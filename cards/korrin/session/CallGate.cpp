#include "cards/korrin/session/CallGate.h"

namespace orvale::korrin {

const void* CallGate::Self() {
  static thread_local const char self = 0;
  return &self;
}

void CallGate::lock() {
  if (Inside()) {
    ++depth_;
    return;
  }
  Take(1);
}

void CallGate::unlock() {
  if (--depth_ > 0) return;
  Release();
}

void CallGate::Yield() {
  if (!Inside() || !OthersWaiting()) return;
  const int depth = depth_;
  // The new place in line comes first, behind every thread that is waiting now: the
  // thread let in then sees this one waiting and lets it in again at its next Yield.
  const std::uint32_t ticket = TakeTicket();
  Release();
  WaitForTurn(ticket, depth);
}

void CallGate::ForgetOtherThreads() {
  serving_.store(next_.load(std::memory_order_relaxed) - 1, std::memory_order_relaxed);
  outside_.store(0, std::memory_order_relaxed);
}

int CallGate::Leave() {
  if (!Inside()) return 0;
  const int depth = depth_;
  outside_.fetch_add(1, std::memory_order_relaxed);
  Release();
  return depth;
}

void CallGate::Reenter(int depth) {
  if (depth == 0) return;
  Take(depth);
  outside_.fetch_sub(1, std::memory_order_relaxed);
}

void CallGate::Take(int depth) { WaitForTurn(TakeTicket(), depth); }

std::uint32_t CallGate::TakeTicket() { return next_.fetch_add(1, std::memory_order_relaxed); }

void CallGate::WaitForTurn(std::uint32_t ticket, int depth) {
  for (std::uint32_t serving; (serving = serving_.load(std::memory_order_acquire)) != ticket;) {
    serving_.wait(serving, std::memory_order_acquire);
  }
  owner_.store(Self(), std::memory_order_relaxed);
  depth_ = depth;
}

void CallGate::Release() {
  depth_ = 0;
  owner_.store(nullptr, std::memory_order_relaxed);
  serving_.fetch_add(1, std::memory_order_release);
  serving_.notify_all();
  if (const auto hook = handedOnForTests.load(std::memory_order_relaxed)) hook();
}

}  // namespace orvale::korrin
