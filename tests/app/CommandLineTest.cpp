#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvale {
namespace {

struct Case {
  std::vector<std::string> arguments;
  bool embedding;
  std::string path;
};

TEST(CommandLineTest, OneLineIsOnePathOrTheAutomationMarker) {
  const Case cases[] = {
      {{"-Embedding"}, true, ""},
      {{"-embedding"}, false, "-embedding"},         // another case is a file name
      {{"\"/d/a b.jpg\""}, false, "/d/a b.jpg"},      // quoted, a blank inside
      {{"/d/a b.jpg"}, false, "/d/a b.jpg"},          // as the shell hands it over
      {{"\"/d/a b.jpg"}, false, "/d/a b.jpg"},        // no closing quote
      {{"/d/a", "b.jpg"}, false, "/d/a b.jpg"},       // two arguments, one path
      {{"\"/d/a.jpg\" more"}, false, "/d/a.jpg"},     // cut at the closing quote
      {{"-Embedding", "x"}, false, "-Embedding x"},
      {{}, false, ""},
      {{"/d/\xE9t\xE9.jpg"}, false, "/d/\xE9t\xE9.jpg"},  // not UTF-8: bytes kept
  };
  for (const Case& c : cases) {
    const CommandLine parsed = ParseCommandLine(c.arguments);
    EXPECT_EQ(parsed.Embedding, c.embedding) << c.path;
    EXPECT_EQ(parsed.Path, c.path);
  }
}

}  // namespace
}  // namespace orvale
