// The gate's line: a thread that lets others go first keeps its own place in line.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "cards/korrin/session/CallGate.h"

namespace orvale::korrin {
namespace {

std::atomic<bool> g_checked{false};
thread_local bool t_yielding = false;

// On the yielding thread: holds it just after it has let the gate go, until the thread
// let in has looked at the line.
void HoldTheYielder() {
  if (!t_yielding) return;
  g_checked.wait(false);
}

TEST(CallGateTest, AThreadLetInByAYieldFindsTheYielderAlreadyInLine) {
  CallGate gate;
  g_checked = false;
  CallGate::handedOnForTests = &HoldTheYielder;
  gate.lock();
  bool sawTheYielder = false;
  std::thread letIn([&] {
    gate.lock();
    // What a wait looks at between its polls: whether to let another in.
    sawTheYielder = gate.OthersWaiting();
    g_checked = true;
    g_checked.notify_all();
    gate.unlock();
  });
  while (!gate.OthersWaiting()) std::this_thread::yield();
  t_yielding = true;
  gate.Yield();
  t_yielding = false;
  EXPECT_TRUE(gate.Inside());
  gate.unlock();
  letIn.join();
  CallGate::handedOnForTests = nullptr;
  EXPECT_TRUE(sawTheYielder) << "the thread let in saw nobody in line and would run on alone";
}

}  // namespace
}  // namespace orvale::korrin
