#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/clock/Deadline.h"
#include "platform/clock/VirtualClock.h"

namespace orvale {
namespace {

TEST(VirtualClockTest, NowMsStepsByThePollStepAndPeekDoesNot) {
  VirtualClock clock(500);
  EXPECT_EQ(clock.PeekMs(), 500u);
  EXPECT_EQ(clock.NowMs(), 501u);
  EXPECT_EQ(clock.NowMs(), 502u);
  EXPECT_EQ(clock.PeekMs(), 502u);
  clock.SetPollStep(5);
  EXPECT_EQ(clock.NowMs(), 507u);
  clock.SetPollStep(0);
  EXPECT_EQ(clock.NowMs(), 507u);
  clock.SleepMs(70000);
  EXPECT_EQ(clock.PeekMs(), 70507u);
  EXPECT_EQ(clock.ElapsedMs(), 70007u);
}

TEST(VirtualClockTest, EventsRunInTimeOrderAtTheirDueTime) {
  VirtualClock clock(1000);
  std::vector<std::string> log;
  const auto note = [&](const char* name) {
    return [&, name] { log.push_back(std::string(name) + "@" + std::to_string(clock.PeekMs())); };
  };
  clock.ScheduleAfter(30, note("c"));
  clock.ScheduleAt(1010, note("a"));
  clock.ScheduleAfter(10, note("b"));  // same time as "a": runs after it
  clock.ScheduleAfter(80, note("late"));
  // An event that schedules another inside the same move.
  clock.ScheduleAfter(20, [&] {
    log.push_back("chain@" + std::to_string(clock.PeekMs()));
    clock.ScheduleAfter(5, note("chained"));
  });

  clock.Advance(50);
  EXPECT_EQ(log, (std::vector<std::string>{"a@1010", "b@1010", "chain@1020", "chained@1025",
                                           "c@1030"}));
  EXPECT_EQ(clock.PeekMs(), 1050u);
  EXPECT_EQ(clock.PendingEvents(), 1u);

  // Polls move time too, and run what falls due on the way.
  log.clear();
  PollUntil(clock, 1000, [&] { return !log.empty(); });
  EXPECT_EQ(log, (std::vector<std::string>{"late@1080"}));
}

TEST(VirtualClockTest, PastTimesRunAtTheNextMoveAndCancelledEventsNever) {
  VirtualClock clock(100);
  int past = 0, cancelled = 0;
  clock.ScheduleAt(90, [&] { ++past; });
  const auto id = clock.ScheduleAfter(5, [&] { ++cancelled; });
  EXPECT_EQ(past, 0);
  EXPECT_TRUE(clock.Cancel(id));
  EXPECT_FALSE(clock.Cancel(id));
  clock.Advance(0);
  EXPECT_EQ(past, 1);
  clock.Advance(100);
  EXPECT_EQ(cancelled, 0);
  EXPECT_EQ(clock.PendingEvents(), 0u);
}

TEST(VirtualClockTest, EventsAndDeadlinesWorkAcrossTheWrap) {
  VirtualClock clock(0xFFFFFFF0u);
  bool fired = false;
  clock.ScheduleAt(0x10, [&] { fired = true; });  // 32 ms ahead, beyond the wrap
  clock.SetPollStep(0);
  Deadline deadline(clock, 40);
  clock.Advance(31);
  EXPECT_FALSE(fired);
  clock.Advance(1);
  EXPECT_TRUE(fired);
  EXPECT_EQ(clock.PeekMs(), 0x10u);
  EXPECT_EQ(deadline.ElapsedMs(), 32u);
  EXPECT_FALSE(deadline.Expired());
  clock.Advance(9);
  EXPECT_TRUE(deadline.Expired());
}

TEST(VirtualClockTest, TimeCannotBeMovedFromInsideAnEvent) {
  VirtualClock clock;
  std::uint32_t seen = 0;
  clock.ScheduleAfter(10, [&] { seen = clock.NowMs(); });  // reads without stepping
  clock.Advance(10);
  EXPECT_EQ(seen, 10u);
  clock.ScheduleAfter(10, [&] { clock.Advance(1); });
  EXPECT_THROW(clock.Advance(10), std::logic_error);
  // The clock is usable afterwards.
  clock.Advance(5);
  EXPECT_EQ(clock.PeekMs(), 25u);
}

TEST(VirtualClockTest, APollFromAnotherThreadDuringAMoveReadsWithoutWaiting) {
  VirtualClock clock;
  std::uint32_t seen = 0;
  // The worker's poll would deadlock if it waited for the move that is running the event.
  clock.ScheduleAfter(10, [&] { std::thread([&] { seen = clock.NowMs(); }).join(); });
  clock.Advance(10);
  EXPECT_EQ(seen, 10u);
  EXPECT_EQ(clock.PeekMs(), 10u);
}

TEST(VirtualClockTest, WatchdogStopsAnUnboundedWait) {
  VirtualClock clock;
  std::vector<std::string> reports;
  clock.SetWatchdog(1000, [&](const std::string& message) { reports.push_back(message); });
  EXPECT_THROW(PollUntil(clock, 0xFFFFFFFFu, [] { return false; }), WatchdogExpired);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("watchdog"), std::string::npos);
  EXPECT_EQ(clock.ElapsedMs(), 1000u);
  // Every later move fails too, without a second report.
  EXPECT_THROW(clock.Advance(1), WatchdogExpired);
  EXPECT_EQ(reports.size(), 1u);
}

TEST(VirtualClockDeathTest, WatchdogDefaultsToOneHourAndAborts) {
  EXPECT_DEATH(
      {
        VirtualClock clock;
        clock.Advance(3'600'000);  // exactly an hour is allowed
        clock.Advance(1);
      },
      "watchdog");
}

TEST(VirtualClockTest, WaitEndsOnSignalOrWhenTimePassesItsTimeOut) {
  VirtualClock clock;
  auto event = clock.MakeEvent();
  const auto parkWorker = [&](bool& result) {
    std::thread worker([&] { result = event->Wait(100); });
    while (clock.WaitingThreads() == 0) std::this_thread::yield();
    return worker;
  };

  // Woken by hardware: an event scheduled on the clock signals it.
  bool signalled = false;
  std::thread worker = parkWorker(signalled);
  clock.ScheduleAfter(70, [&] { event->Signal(); });
  clock.Advance(99);
  worker.join();
  EXPECT_TRUE(signalled);

  // Timed out: only time passing ends it, at 100 ms and not before.
  bool timedOutResult = true;
  worker = parkWorker(timedOutResult);
  clock.Advance(99);
  EXPECT_EQ(clock.WaitingThreads(), 1u);
  clock.Advance(1);
  worker.join();
  EXPECT_FALSE(timedOutResult);
}

TEST(VirtualClockTest, SignalBeforeWaitIsKeptOnceAndAZeroTimeOutOnlyLooks) {
  VirtualClock clock;
  auto event = clock.MakeEvent();
  event->Signal();
  event->Signal();
  EXPECT_TRUE(event->Wait(0));
  EXPECT_FALSE(event->Wait(0));
  // A scheduled event cannot block on the clock it runs on.
  clock.ScheduleAfter(1, [&] { event->Wait(10); });
  EXPECT_THROW(clock.Advance(1), std::logic_error);
}

}  // namespace
}  // namespace orvale
