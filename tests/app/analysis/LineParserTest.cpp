#include <gtest/gtest.h>

#include <deque>
#include <limits>
#include <string>
#include <vector>

#include "app/analysis/LineParser.h"
#include "platform/ui/MessageService.h"

namespace orvale {
namespace {

std::vector<std::string> Tokens(const std::string& line) {
  StringLineSource source(line);
  clsParser parser;
  EXPECT_TRUE(parser.Readline(source));
  std::vector<std::string> tokens;
  for (std::string t = parser.GetToken(); !t.empty(); t = parser.GetToken()) tokens.push_back(t);
  return tokens;
}

using Strings = std::vector<std::string>;

TEST(LineParser, TokenRules) {
  EXPECT_EQ(Tokens("Center, 12.5, 40"), (Strings{"Center", "12.5", "40"}));
  EXPECT_EQ(Tokens(",,;  :"), Strings{});
  EXPECT_EQ(Tokens("a==b"), (Strings{"a", "b"}));
  EXPECT_EQ(Tokens("OpticDescription:=   two  words, here"),
            (Strings{"OpticDescription", "two  words, here"}));
  EXPECT_EQ(Tokens("OpticComments:= a, b; c"), (Strings{"OpticComments", "a, b; c"}));
  EXPECT_EQ(Tokens("Key=5"), (Strings{"Key", "5"}));
  EXPECT_EQ(Tokens("Key:= text"), (Strings{"Key", "text"}));
  EXPECT_EQ(Tokens("Key, = text"), (Strings{"Key", "text"}));
  EXPECT_EQ(Tokens("\tNumFringes, 12 "), (Strings{"NumFringes", "12"}));
  EXPECT_EQ(Tokens("=all of it"), (Strings{"all of it"}));
}

TEST(LineParser, UsedUpLineYieldsNothingUntilReReadLine) {
  StringLineSource source("Zernikes, 1, 2, 3");
  clsParser parser;
  ASSERT_TRUE(parser.Readline(source));
  EXPECT_EQ(parser.GetToken(), "Zernikes");
  EXPECT_EQ(parser.Tokencount(), 4);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(parser.GetToken(), "");
  parser.ReReadLine();
  EXPECT_EQ(parser.GetToken(), "Zernikes");
  parser.SkipLine();
  EXPECT_EQ(parser.GetToken(), "");
}

TEST(LineParser, LinesAndEndOfFile) {
  StringLineSource source("first\r\n\r\nthird");
  clsParser parser;
  EXPECT_EQ(parser.GetToken(), "");  // a new parser has an empty line
  ASSERT_TRUE(parser.Readline(source));
  EXPECT_EQ(parser.GetToken(), "first");
  ASSERT_TRUE(parser.Readline(source));  // an empty line
  EXPECT_EQ(parser.CurrentLine(), "");
  EXPECT_EQ(parser.GetToken(), "");
  EXPECT_EQ(parser.Tokencount(), 0);
  ASSERT_TRUE(parser.Readline(source));
  EXPECT_EQ(parser.GetToken(), "third");
  EXPECT_FALSE(parser.Readline(source));
  EXPECT_EQ(parser.CurrentLine(), "third");  // the end of the file keeps the line
  EXPECT_FALSE(parser.ReadFailed());
}

TEST(LineParser, BooleanParse) {
  const struct { const char* text; bool value; } cases[] = {
      {"0", false},      {"", false},      {"no", false},   {"False", false},
      {"Off", false},    {" true", false}, {"truex", false}, {"0.0", false},
      {"1", true},       {"-1", true},     {"yes", true},   {"On", true},
      {"#TRUE#", true},  {"#true#", true}, {"  1", true},   {"true", true},
      {"TRUE", true},    {"2.5", true},    {"1E400", true},
  };
  for (const auto& c : cases) EXPECT_EQ(clsParser::BooleanParse(c.text), c.value) << c.text;
}

TEST(LineParser, ValueTokens) {
  EXPECT_EQ(TokenAsReal("12.5"), 12.5);
  EXPECT_EQ(TokenAsReal(" .25"), 0.25);
  EXPECT_EQ(TokenAsReal("True"), 0.0);
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
  const struct { const char* text; std::int32_t value; } cases[] = {
      {"2.5", 2},      {"3.5", 4},       {"-2.5", -2},      {" 12 ", 12},
      {"abc", 0},      {"7x", 7},
      // Beyond the 32-bit range: clamped, never undefined.
      {" 1E+20", kMax}, {"-1E+20", kMin}, {"1E400", kMax},   {"2147483647.4", kMax},
      {"-2147483648", kMin},
  };
  for (const auto& c : cases) EXPECT_EQ(TokenAsWhole(c.text), c.value) << c.text;
}

// A line source that fails as often as scripted before giving its lines.
class FailingLineSource final : public LineSource {
 public:
  FailingLineSource(int failures, std::deque<std::string> lines)
      : failures_(failures), lines_(std::move(lines)) {}
  ReadStatus ReadLine(std::string& line, RunError& error) override {
    ++reads;
    if (failures_ > 0) {
      --failures_;
      error = failWith;
      return ReadStatus::Failed;
    }
    if (lines_.empty()) return ReadStatus::EndOfFile;
    line = lines_.front();
    lines_.pop_front();
    return ReadStatus::Line;
  }
  void FailNext(int count) { failures_ = count; }
  RunError failWith = RunError::FromNumber(errnum::kDeviceIOError);
  int reads = 0;

 private:
  int failures_;
  std::deque<std::string> lines_;
};

class ReadlineFailure : public ::testing::Test {
 protected:
  ScriptedMessageService messages;
  ScopedMessageService installed{messages};
  FailingLineSource source{0, {"Center, 1, 2", "Radius, 5"}};
  clsParser parser;
};

TEST_F(ReadlineFailure, AbortEndsTheReading) {
  ASSERT_TRUE(parser.Readline(source));
  source.FailNext(1);
  messages.QueueAnswer(idbutton::kAbort);
  EXPECT_FALSE(parser.Readline(source));
  ASSERT_EQ(messages.Messages().size(), 1u);
  const auto& shown = messages.Messages()[0];
  EXPECT_EQ(shown.title, "Error");
  EXPECT_EQ(shown.flags & mb::kButtonsMask, mb::kAbortRetryIgnore);
  EXPECT_EQ(shown.owner, kMainWindowOwner);
  EXPECT_EQ(shown.text, source.failWith.Description);
  // The reading stays ended, and says so: the file was not read to its end.
  EXPECT_TRUE(parser.ReadFailed());
  const int reads = source.reads;
  EXPECT_FALSE(parser.Readline(source));
  EXPECT_EQ(source.reads, reads);
}

TEST_F(ReadlineFailure, RetryReadsAgain) {
  source.FailNext(2);
  messages.QueueAnswer(idbutton::kRetry);
  messages.QueueAnswer(idbutton::kRetry);
  ASSERT_TRUE(parser.Readline(source));
  EXPECT_EQ(parser.GetToken(), "Center");
  EXPECT_EQ(source.reads, 3);
  EXPECT_EQ(messages.Messages().size(), 2u);
}

TEST_F(ReadlineFailure, IgnoreGoesOnWithoutRepeatingTheLine) {
  ASSERT_TRUE(parser.Readline(source));
  EXPECT_EQ(parser.GetToken(), "Center");
  source.FailNext(1);
  messages.QueueAnswer(idbutton::kIgnore);
  ASSERT_TRUE(parser.Readline(source));
  // The previous line is not handed back: its values would be read twice.
  EXPECT_EQ(parser.CurrentLine(), "");
  EXPECT_EQ(parser.GetToken(), "");
  ASSERT_TRUE(parser.Readline(source));
  EXPECT_EQ(parser.GetToken(), "Radius");
}

TEST_F(ReadlineFailure, OtherErrorsOnlyOfferOk) {
  source.failWith = RunError::FromNumber(errnum::kOutOfMemory);
  source.FailNext(1);
  EXPECT_FALSE(parser.Readline(source));
  ASSERT_EQ(messages.Messages().size(), 1u);
  EXPECT_EQ(messages.Messages()[0].flags & mb::kButtonsMask, mb::kOk);
  EXPECT_TRUE(parser.ReadFailed());
}

}  // namespace
}  // namespace orvale
