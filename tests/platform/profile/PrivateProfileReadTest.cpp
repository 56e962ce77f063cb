#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <random>
#include <string>

#include "platform/profile/PrivateProfile.h"

namespace orvale {
namespace {

using namespace std::string_literals;

// One file read in every way the tests below ask.
constexpr std::string_view kFile =
    "; settings\n"
    "orphan=before any section\n"
    "[Board]\r\n"
    "Latency = 32\r\n"
    "  Padded   =   x y   \r\n"
    "Quoted=\"  spaced  \"\r\n"
    "Single='one'\r\n"
    "Odd='mismatched\"\r\n"
    "Empty=\r\n"
    "no equals sign\r\n"
    "; Commented=1\r\n"
    "latency=second one loses\r\n"
    "\r\n"
    "[Other]\r"
    "Key=v\r"
    "[board]\n"
    "Late=duplicate section loses\n";

std::unique_ptr<PrivateProfile> MakeProfile() {
  auto files = std::make_shared<MemoryProfileFiles>();
  auto profile = std::make_unique<PrivateProfile>(files);
  profile->SetRoot("/root");
  files->SetText("/root/test.ini", std::string(kFile));
  return profile;
}

struct GetCase {
  const char* name;
  const char* section;
  const char* key;
  const char* defaultValue;
  std::uint32_t size;
  std::string written;  // the bytes written at the start of the buffer
  std::uint32_t result;
  friend void PrintTo(const GetCase& c, std::ostream* out) { *out << c.name; }
};

class GetStringTest : public ::testing::TestWithParam<GetCase> {};

TEST_P(GetStringTest, FollowsTheWindowsBufferRules) {
  const GetCase& c = GetParam();
  const auto profile = MakeProfile();
  std::string buffer(c.size + 8, '#');
  EXPECT_EQ(profile->GetString(c.section, c.key, c.defaultValue, buffer.data(), c.size,
                              "test.ini"),
            c.result);
  EXPECT_EQ(buffer.substr(0, c.written.size()), c.written);
  EXPECT_EQ(buffer.substr(c.size), std::string(8, '#')) << "written past the buffer";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GetStringTest,
    ::testing::Values(
        GetCase{"value", "Board", "Latency", "", 16, "32\0"s, 2},
        GetCase{"any case, first key wins", "BOARD", "LATENCY", "", 16, "32\0"s, 2},
        GetCase{"blanks trimmed", "Board", "Padded", "", 16, "x y\0"s, 3},
        GetCase{"quotes removed", "Board", "Quoted", "", 16, "  spaced  \0"s, 10},
        GetCase{"single quotes removed", "Board", "Single", "", 16, "one\0"s, 3},
        GetCase{"mismatched quotes kept", "Board", "Odd", "", 16, "'mismatched\"\0"s, 12},
        GetCase{"empty value is not the default", "Board", "Empty", "dflt", 16, "\0"s, 0},
        GetCase{"missing key: default without trailing blanks", "Board", "Nope", " dflt \t ",
                16, " dflt\0"s, 5},
        GetCase{"missing section", "Gone", "Latency", "d", 16, "d\0"s, 1},
        GetCase{"null default", "Board", "Nope", nullptr, 16, "\0"s, 0},
        GetCase{"comment is no key", "Board", "; Commented", "d", 16, "d\0"s, 1},
        GetCase{"line without '=' is no key", "Board", "no equals sign", "d", 16, "d\0"s, 1},
        GetCase{"no key before the first section", "", "orphan", "d", 16, "d\0"s, 1},
        GetCase{"duplicate section not read", "Board", "Late", "d", 16, "d\0"s, 1},
        GetCase{"CR line ends", "Other", "Key", "", 16, "v\0"s, 1},
        GetCase{"value cut to size - 1", "Board", "Padded", "", 3, "x \0"s, 2},
        GetCase{"default cut to size - 1", "Board", "Nope", "default", 4, "def\0"s, 3},
        GetCase{"size 1", "Board", "Latency", "", 1, "\0"s, 0},
        GetCase{"size 0 writes nothing", "Board", "Latency", "", 0, ""s, 0},
        GetCase{"section names", nullptr, "ignored", "", 32, "Board\0Other\0\0"s, 12},
        GetCase{"section names cut", nullptr, nullptr, "", 9, "Board\0O\0\0"s, 7},
        GetCase{"section names, size 2", nullptr, nullptr, "", 2, "\0\0"s, 0},
        GetCase{"section names, size 1", nullptr, nullptr, "", 1, "\0"s, 0},
        GetCase{"keys of a section", "board", nullptr, "", 64,
                "Latency\0Padded\0Quoted\0Single\0Odd\0Empty\0\0"s, 39},
        GetCase{"keys cut", "Board", nullptr, "", 12, "Latency\0Pa\0\0"s, 10},
        GetCase{"keys of a missing section", "Gone", nullptr, "", 8, "\0"s, 0}));

TEST(PrivateProfileReadTest, AMissingFileGivesDefaultsAndEmptyLists) {
  PrivateProfile profile(std::make_shared<MemoryProfileFiles>());
  char buffer[8];
  EXPECT_EQ(profile.GetString("S", "K", "abc", buffer, sizeof buffer, "none.ini"), 3u);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(profile.GetString(nullptr, nullptr, "", buffer, sizeof buffer, "none.ini"), 0u);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(profile.GetString("S", "K", "abc", buffer, sizeof buffer, nullptr), 3u);
  EXPECT_EQ(profile.GetInt("S", "K", -4, "none.ini"), -4);
  EXPECT_FALSE(profile.Value("S", "K", "none.ini"));
}

TEST(PrivateProfileReadTest, GetIntTakesTheLeadingDecimalNumber) {
  const struct {
    const char* value;
    int expected;
  } cases[] = {{"42", 42},          {" -7 ", -7},        {"+5", 5},
               {"12abc", 12},       {"'8'", 8},          {"abc", 99},
               {"", 99},            {"-", 99},           {"+-3", 99},
               {"2147483647", 2147483647},               {"2147483648", 99},
               {"-2147483648", -2147483647 - 1},         {"0x10", 0}};
  auto files = std::make_shared<MemoryProfileFiles>();
  PrivateProfile profile(files);
  profile.SetRoot("/r");
  for (const auto& c : cases) {
    files->SetText("/r/n.ini", "[S]\nK=" + std::string(c.value) + "\n");
    EXPECT_EQ(profile.GetInt("S", "K", 99, "n.ini"), c.expected) << '"' << c.value << '"';
  }
  EXPECT_EQ(profile.GetInt("S", "Missing", 99, "n.ini"), 99);
}

TEST(PrivateProfileReadTest, BinaryGarbageAndHugeLinesReadAsMissing) {
  auto files = std::make_shared<MemoryProfileFiles>();
  PrivateProfile profile(files);
  profile.SetRoot("/r");
  std::string garbage = "[S]\nKey=good\n";
  garbage += std::string(1 << 20, 'x') + "=" + std::string(1 << 20, 'y') + "\n";
  garbage += "Nul=a"s + '\0' + "b\n" + "\xff\xfe[\x01]=\x02\n" + std::string(300, '\0');
  files->SetText("/r/g.ini", garbage);
  EXPECT_EQ(profile.Value("S", "Key", "g.ini"), "good");
  EXPECT_EQ(profile.Value("S", "Nul", "g.ini"), "a");  // a NUL ends what is read

  // Random bytes never make a read misbehave, whatever is asked.
  std::mt19937 random(7);
  std::uniform_int_distribution<int> byte(0, 255);
  const std::string alphabet = "[]=;\"' \r\n\tSKsk";
  for (int round = 0; round < 200; ++round) {
    std::string text(static_cast<std::size_t>(byte(random)), '\0');
    for (char& c : text) {
      const int b = byte(random);
      c = b < 128 ? alphabet[static_cast<std::size_t>(b) % alphabet.size()] : static_cast<char>(b);
    }
    files->SetText("/r/f.ini", text);
    char buffer[16];
    for (const char* section : {static_cast<const char*>(nullptr), "S", "s"}) {
      for (const char* key : {static_cast<const char*>(nullptr), "K", "k"}) {
        for (std::uint32_t size : {1u, 2u, 3u, 16u}) {
          const std::uint32_t n = profile.GetString(section, key, "d", buffer, size, "f.ini");
          ASSERT_LT(n, size);
        }
      }
    }
  }
}

}  // namespace
}  // namespace orvale
