#include <gtest/gtest.h>

#include "app/document/TextEscapes.h"

namespace orvale {
namespace {

TEST(TextEscapes, LineBreaksOfCommentsTravelAsBackslashR) {
  std::string text = "line 1\r\nline 2\nlone\r";
  EscapeNewLines(text);
  EXPECT_EQ(text, "line 1\\rline 2\nlone\r");
  UnescapeNewLines(text);
  EXPECT_EQ(text, "line 1\r\nline 2\nlone\r");
}

TEST(TextEscapes, PlainTextsKeepThePlainForm) {
  EXPECT_FALSE(NeedsFullEscape("Newtonian 200/1200, f/6", false));
  EXPECT_FALSE(NeedsFullEscape("two\r\nlines", true));
  EXPECT_TRUE(NeedsFullEscape("two\r\nlines", false));
  EXPECT_TRUE(NeedsFullEscape("lone\nfeed", true));
  EXPECT_TRUE(NeedsFullEscape("lone\rreturn", true));
  EXPECT_TRUE(NeedsFullEscape("ends in return\r", true));
  EXPECT_TRUE(NeedsFullEscape("C:\\data", true));
  EXPECT_TRUE(NeedsFullEscape(" leading blank", false));
}

TEST(TextEscapes, EveryTextComesBackAsItWas) {
  const char* texts[] = {
      "",
      "plain",
      "a\r\nb",
      "a\nb",
      "a\rb",
      "\\",
      "\\r typed",
      "C:\\new\\report",
      " lead",
      "  two",
      "x\nRMS, 5\nOpticDate:= never",
      "end\\",
      "\r\n\r\n",
      "\\\\r",
  };
  for (const std::string text : texts) {
    const std::string escaped = EscapeText(text);
    EXPECT_EQ(escaped.find_first_of("\r\n"), std::string::npos) << escaped;
    EXPECT_FALSE(!escaped.empty() && escaped.front() == ' ') << escaped;
    EXPECT_EQ(UnescapeText(escaped), text) << escaped;
  }
  EXPECT_EQ(EscapeText(" a\\b\r\nc\nd\re"), "\\sa\\\\b\\rc\\nd\\ce");
  // A backslash that starts no escape stays as it is.
  EXPECT_EQ(UnescapeText("a\\qb\\"), "a\\qb\\");
}

}  // namespace
}  // namespace orvale
