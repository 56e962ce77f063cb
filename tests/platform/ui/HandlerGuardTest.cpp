#include "platform/ui/HandlerGuard.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/ui/MessageService.h"

namespace orvale {
namespace {

TEST(HandlerGuardTest, AFailingHandlerIsReportedTitledErrorAndGoesNoFurther) {
  ScriptedMessageService messages;
  ScopedMessageService scope(messages);

  EXPECT_TRUE(GuardHandler([] {}));
  EXPECT_FALSE(GuardHandler([] { throw std::runtime_error("Disk full"); }));
  EXPECT_FALSE(GuardHandler([] { throw 42; }));

  ASSERT_EQ(messages.Messages().size(), 2u);
  EXPECT_EQ(messages.Messages()[0].text, "Disk full");
  EXPECT_EQ(messages.Messages()[0].title, "Error");
  EXPECT_EQ(messages.Messages()[0].flags, mb::kOk | mb::kIconStop);
  EXPECT_EQ(messages.Messages()[1].text, "Unknown error");
}

}  // namespace
}  // namespace orvale
