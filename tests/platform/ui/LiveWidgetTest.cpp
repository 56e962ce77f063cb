#include <gtest/gtest.h>

#include <QObject>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <thread>

#include "platform/ui/LiveWidget.h"

namespace orvale {
namespace {

TEST(LiveWidgetTest, FindsALiveWidgetOnTheApplicationThread) {
  QWidget widget;
  QWidget child(&widget);
  EXPECT_EQ(LiveWidget(&widget), &widget);
  EXPECT_EQ(LiveWidget(&child), &child);
  EXPECT_EQ(LiveWidget(nullptr), nullptr);
}

TEST(LiveWidgetTest, RefusesWhatNamesNoWidget) {
  auto deleted = std::make_unique<QWidget>();
  const void* stale = deleted.get();
  deleted.reset();
  QObject notAWidget;
  const std::uintptr_t forged[8] = {0x1234, 0x5678};  // plain memory, no object of Qt's
  for (const void* handle : {stale, static_cast<const void*>(&notAWidget), static_cast<const void*>(forged)})
    EXPECT_EQ(LiveWidget(handle), nullptr) << handle;
}

TEST(LiveWidgetTest, RefusesCallsFromAnotherThread) {
  QWidget widget;
  const QWidget* found = &widget;
  bool onWidgetThread = true;
  std::thread([&] {
    onWidgetThread = OnWidgetThread();
    found = LiveWidget(&widget);
  }).join();
  EXPECT_FALSE(onWidgetThread);
  EXPECT_EQ(found, nullptr);
  EXPECT_TRUE(OnWidgetThread());
}

}  // namespace
}  // namespace orvale
