// The Qt services inside a program that has no Qt application (a C program using a card
// library): they fail cleanly instead of crashing.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "platform/ui/QtTimerService.h"

namespace orvale {
namespace {

TEST(QtServicesWithoutAppTest, TimersCannotStart) {
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  QtTimerService timers;
  EXPECT_EQ(timers.Start(10, [](TimerId) {}), 0u);
  EXPECT_FALSE(timers.Kill(1));
  timers.ProcessDue();
}

}  // namespace
}  // namespace orvale
