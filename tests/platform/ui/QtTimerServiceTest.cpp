#include <gtest/gtest.h>

#include <QTest>

#include <chrono>
#include <thread>

#include "platform/ui/QtTimerService.h"

namespace orvale {
namespace {

// Only a hang runs into this bound: timers of 1 ms tick within milliseconds.
constexpr int kBoundMs = 30000;

TEST(QtTimerServiceTest, RepeatsUntilKilledAlsoFromItsOwnCallback) {
  QtTimerService timers;
  int ticks = 0;
  const TimerId id = timers.Start(1, [&](TimerId self) {
    if (++ticks == 3) {
      EXPECT_TRUE(timers.Kill(self));
    }
  });
  ASSERT_NE(id, 0u);
  ASSERT_TRUE(QTest::qWaitFor([&] { return ticks == 3; }, kBoundMs));
  // A timer of the same interval started now is due after the killed one would be: by
  // its third tick the killed one would have ticked again, however slow the machine.
  int witnessTicks = 0;
  const TimerId witness = timers.Start(1, [&](TimerId) { ++witnessTicks; });
  ASSERT_TRUE(QTest::qWaitFor([&] { return witnessTicks >= 3; }, kBoundMs));
  timers.Kill(witness);
  EXPECT_EQ(ticks, 3);
  EXPECT_FALSE(timers.Kill(id));
}

TEST(QtTimerServiceTest, ProcessDueRunsATimerThatIsDue) {
  QtTimerService timers;
  int ticks = 0;
  const TimerId id = timers.Start(1, [&](TimerId) { ++ticks; });
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  for (int i = 0; i < 100 && ticks == 0; ++i) timers.ProcessDue();
  EXPECT_GE(ticks, 1);
  timers.Kill(id);
}

}  // namespace
}  // namespace orvale
