#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/clock/Deadline.h"
#include "platform/clock/VirtualClock.h"
#include "platform/ui/TimerService.h"

namespace orvale {
namespace {

class PumpedTimerServiceTest : public ::testing::Test {
 protected:
  PumpedTimerServiceTest() { clock_.SetPollStep(0); }
  VirtualClock clock_;
  PumpedTimerService timers_{clock_};
};

TEST_F(PumpedTimerServiceTest, FiresOnlyWhenPumpedAndDueAndLateTicksRunAsOne) {
  int ticks = 0;
  const TimerId id = timers_.Start(1000, [&](TimerId) { ++ticks; });
  ASSERT_NE(id, 0u);
  clock_.Advance(999);
  timers_.ProcessDue();
  EXPECT_EQ(ticks, 0);
  clock_.Advance(1);
  EXPECT_EQ(ticks, 0) << "time passing alone fires nothing";
  timers_.ProcessDue();
  EXPECT_EQ(ticks, 1);
  timers_.ProcessDue();
  EXPECT_EQ(ticks, 1);
  clock_.Advance(5000);
  timers_.ProcessDue();
  EXPECT_EQ(ticks, 2);
  EXPECT_TRUE(timers_.Kill(id));
  EXPECT_FALSE(timers_.Kill(id));
  clock_.Advance(5000);
  timers_.ProcessDue();
  EXPECT_EQ(ticks, 2);
}

TEST_F(PumpedTimerServiceTest, DueTimersRunInOrderAndCallbacksMayStartAndKillTimers) {
  std::vector<std::string> log;
  TimerId later = 0, started = 0;
  const TimerId first = timers_.Start(10, [&](TimerId self) {
    log.push_back("first");
    timers_.Kill(self);
    started = timers_.Start(1, [&](TimerId) { log.push_back("started"); });
  });
  later = timers_.Start(30, [&](TimerId) { log.push_back("later"); });
  const TimerId killed = timers_.Start(20, [&](TimerId) { log.push_back("killed"); });
  timers_.Start(25, [&](TimerId) {
    log.push_back("killer");
    timers_.Kill(killed);
  });
  clock_.Advance(40);
  timers_.ProcessDue();
  // Due at 10, 20, 25, 30: the killer ran after "killed" was due, so both ran.
  EXPECT_EQ(log, (std::vector<std::string>{"first", "killed", "killer", "later"}));
  EXPECT_FALSE(timers_.IsActive(first));
  EXPECT_FALSE(timers_.IsActive(killed));
  EXPECT_TRUE(timers_.IsActive(started));
  EXPECT_TRUE(timers_.IsActive(later));

  log.clear();
  clock_.Advance(1);
  timers_.ProcessDue();
  EXPECT_EQ(log, (std::vector<std::string>{"started"}));
}

TEST_F(PumpedTimerServiceTest, FireRunsATimerAtOnceAndRestartsItsInterval) {
  int ticks = 0;
  const TimerId id = timers_.Start(0, [&](TimerId) { ++ticks; });
  EXPECT_EQ(timers_.IntervalMs(id), 1u);  // as short as a timer gets
  const TimerId slow = timers_.Start(100, [&](TimerId) { ticks += 10; });
  clock_.Advance(60);
  EXPECT_TRUE(timers_.Fire(slow));
  EXPECT_EQ(ticks, 10);
  clock_.Advance(60);
  timers_.ProcessDue();  // only the 1 ms timer: the slow one fired 60 ms ago
  EXPECT_EQ(ticks, 11);
  EXPECT_FALSE(timers_.Fire(999));
  EXPECT_EQ(timers_.IntervalMs(999), 0u);
  EXPECT_EQ(timers_.ActiveCount(), 2u);
}

TEST(PumpedTimerServiceWaitTest, CodeThatPumpsForATickGetsOneAcrossTheClocksWrap) {
  VirtualClock clock(0xFFFFFF00u);  // every clock read moves 1 ms
  PumpedTimerService timers(clock);
  int ticks = 0;
  timers.Start(400, [&](TimerId) { ++ticks; });
  // How a library waits for the next tick: pump until it comes or twice the period passed.
  Deadline deadline(clock, 800);
  while (ticks == 0 && !deadline.Expired()) timers.ProcessDue();
  EXPECT_EQ(ticks, 1);
  EXPECT_LT(deadline.ElapsedMs(), 800u);
}

}  // namespace
}  // namespace orvale
