#include <gtest/gtest.h>

#include <QTest>

#include <chrono>
#include <thread>

#include "platform/ui/QtTimerService.h"

namespace orvale {
namespace {

TEST(QtTimerServiceTest, RepeatsUntilKilledAlsoFromItsOwnCallback) {
  QtTimerService timers;
  int ticks = 0;
  const TimerId id = timers.Start(1, [&](TimerId self) {
    if (++ticks == 3) {
      EXPECT_TRUE(timers.Kill(self));
    }
  });
  ASSERT_NE(id, 0u);
  ASSERT_TRUE(QTest::qWaitFor([&] { return ticks == 3; }));
  QTest::qWait(20);
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
