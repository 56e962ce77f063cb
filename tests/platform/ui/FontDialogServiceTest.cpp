#include "platform/ui/FontDialogService.h"

#include <gtest/gtest.h>

namespace orvale {
namespace {

TEST(FontDialogServiceTest, ScriptedAnswersComeInOrderThenCancelAndTheScopeRestores) {
  EXPECT_TRUE(CurrentFontDialogService().ChooseFont({}).Cancelled);  // nobody installed
  ScriptedFontDialogService scripted;
  {
    ScopedFontDialogService installed(scripted);
    const FontChoice bold{"Liberation Sans", 12, true, false, false, 0xFF};
    scripted.QueueChoice(bold);
    scripted.QueueCancel();
    FontDialogRequest request;
    request.Title = "Screen Font";
    request.Flags = cf::kScreenFonts | cf::kEffects;

    const FontDialogAnswer first = CurrentFontDialogService().ChooseFont(request);
    EXPECT_FALSE(first.Cancelled);
    EXPECT_EQ(first.Choice, bold);
    EXPECT_TRUE(CurrentFontDialogService().ChooseFont(request).Cancelled);
    EXPECT_TRUE(CurrentFontDialogService().ChooseFont(request).Cancelled);  // queue empty
    ASSERT_EQ(scripted.Requests().size(), 3u);
    EXPECT_EQ(scripted.Requests()[0].Title, "Screen Font");
    EXPECT_EQ(scripted.Requests()[0].Flags, 0x101u);
  }
  scripted.QueueChoice({});
  EXPECT_TRUE(CurrentFontDialogService().ChooseFont({}).Cancelled);  // not installed now
  EXPECT_EQ(scripted.Requests().size(), 3u);
}

}  // namespace
}  // namespace orvale
