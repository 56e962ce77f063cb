#include "platform/ui/HelpContents.h"

#include <gtest/gtest.h>

namespace orvale {
namespace {

TEST(HelpContentsTest, TheContentsPageIsInTheHelpFolderAndAMissingOneIsIgnored) {
  EXPECT_EQ(HelpContentsPage("/opt/orvale"), "/opt/orvale/help/index.html");
  EXPECT_FALSE(ShowHelpContents("/nonexistent/orvale"));
}

}  // namespace
}  // namespace orvale
