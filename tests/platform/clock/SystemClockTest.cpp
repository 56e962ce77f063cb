#include <gtest/gtest.h>

#include <thread>

#include "platform/clock/Deadline.h"
#include "platform/clock/SystemClock.h"

namespace orvale {
namespace {

TEST(SystemClockTest, MovesWithRealTime) {
  SystemClock clock;
  Deadline deadline(clock, 1000);
  clock.SleepMs(2);
  EXPECT_GE(deadline.ElapsedMs(), 2u);
  EXPECT_FALSE(deadline.Expired());
}

TEST(SystemClockTest, EventWakesAWaiterOnAnotherThread) {
  SystemClock clock;
  auto event = clock.MakeEvent();
  EXPECT_FALSE(event->Wait(0));
  bool woken = false;
  std::thread worker([&] { woken = event->Wait(60'000); });  // woken long before that
  event->Signal();
  worker.join();
  EXPECT_TRUE(woken);
  EXPECT_FALSE(event->Wait(1));
}

}  // namespace
}  // namespace orvale
