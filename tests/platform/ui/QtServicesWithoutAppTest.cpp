// The Qt services inside a program that has no Qt application (a C program using a card
// library): they fail cleanly instead of crashing.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "platform/ui/LiveWidget.h"
#include "platform/ui/QtClipboardService.h"
#include "platform/ui/QtTimerService.h"
#include "tests/platform/ui/DibFixture.h"

namespace orvale {
namespace {

TEST(QtServicesWithoutAppTest, TimersCannotStart) {
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  QtTimerService timers;
  EXPECT_EQ(timers.Start(10, [](TimerId) {}), 0u);
  EXPECT_FALSE(timers.Kill(1));
  timers.ProcessDue();
}

TEST(QtServicesWithoutAppTest, TheClipboardCannotBeHad) {
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  QtClipboardService clipboard;
  EXPECT_FALSE(clipboard.PutDib(testing::MakePackedDib({})));
  EXPECT_FALSE(clipboard.GetDib());
  EXPECT_TRUE(clipboard.GetPalette().empty());
}

TEST(QtServicesWithoutAppTest, NoAddressNamesAWidget) {
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  int notAWidget = 0;
  EXPECT_FALSE(OnWidgetThread());
  EXPECT_EQ(LiveWidget(&notAWidget), nullptr);
}

}  // namespace
}  // namespace orvale
