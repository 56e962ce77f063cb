#include <gtest/gtest.h>

#include "platform/ui/MessageService.h"

namespace orvale {
namespace {

class MessageServiceTest : public ::testing::Test {
 protected:
  ScriptedMessageService scripted_;
  ScopedMessageService installed_{scripted_};
};

TEST_F(MessageServiceTest, AFileErrorOffersAbortRetryIgnore) {
  scripted_.QueueAnswer(idbutton::kRetry);
  EXPECT_EQ(FileErrorPrompt(RunError::FromNumber(errnum::kFileNotFound)), idbutton::kRetry);
  ASSERT_EQ(scripted_.Messages().size(), 1u);
  const auto& shown = scripted_.Messages()[0];
  EXPECT_EQ(shown.title, "Error");
  EXPECT_EQ(shown.text, "File not found");
  EXPECT_EQ(shown.flags & mb::kButtonsMask, mb::kAbortRetryIgnore);
  EXPECT_EQ(shown.owner, kMainWindowOwner);
}

TEST_F(MessageServiceTest, AnyOtherErrorShowsOkAndAnswersAbort) {
  for (auto* prompt : {&FileErrorPrompt, &ErrorPrompt}) {
    scripted_.Clear();
    scripted_.QueueAnswer(idbutton::kOk);
    EXPECT_EQ(prompt(RunError::FromNumber(errnum::kOverflow)), idbutton::kAbort);
    ASSERT_EQ(scripted_.Messages().size(), 1u);
    EXPECT_EQ(scripted_.Messages()[0].flags & mb::kButtonsMask, mb::kOk);
    EXPECT_EQ(scripted_.Messages()[0].title, "Error");
  }
}

TEST(DefaultButtonTest, IsTheFirstButtonUnlessTheStyleNamesAnother) {
  const std::pair<std::uint32_t, int> cases[] = {
      {mb::kOk, idbutton::kOk},
      {mb::kOkCancel, idbutton::kOk},
      {mb::kOkCancel | mb::kDefButton2, idbutton::kCancel},
      {mb::kAbortRetryIgnore | mb::kDefButton3, idbutton::kIgnore},
      {mb::kYesNoCancel | mb::kDefButton2 | mb::kIconQuestion, idbutton::kNo},
      {mb::kYesNo, idbutton::kYes},
      {mb::kRetryCancel | mb::kDefButton2, idbutton::kCancel},
  };
  for (const auto& [flags, expected] : cases) EXPECT_EQ(DefaultButton(flags), expected) << flags;
}

TEST(DefaultButtonTest, WithoutAServiceEveryMessageTakesItsDefault) {
  SetMessageService(nullptr);
  EXPECT_EQ(ShowMessage("Save changes?", mb::kYesNoCancel | mb::kDefButton3, "Orvale"),
            idbutton::kCancel);
}

}  // namespace
}  // namespace orvale
