// The profile-string exports on the shared profile files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "KorrinTestBoard.h"
#include "cards/korrin/session/ProfileStrings.h"

namespace orvale::korrin {
namespace {

TEST(ProfileStringsTest, WrittenValuesReadBack) {
  test::TestBoard board;
  ASSERT_EQ(WriteProfileString(board.lib, "Camera", "Gain", "12", "app.ini"), 1);
  ASSERT_EQ(WriteProfileString(board.lib, "Camera", "Mode", "live", "app.ini"), 1);
  char buffer[32];
  EXPECT_EQ(GetProfileString(board.lib, "camera", "GAIN", "x", buffer, sizeof buffer, "app.ini"), 2);
  EXPECT_STREQ(buffer, "12");
  EXPECT_EQ(GetProfileString(board.lib, "Camera", "Other", "none", buffer, sizeof buffer, "app.ini"), 4);
  EXPECT_STREQ(buffer, "none");
  // A null key lists the section's keys, each ended by a NUL, then one more.
  const std::int32_t n = GetProfileString(board.lib, "Camera", nullptr, "", buffer, sizeof buffer, "app.ini");
  EXPECT_EQ(std::string(buffer, n), std::string("Gain\0Mode\0", 10));
  EXPECT_EQ(buffer[n], '\0');
}

TEST(ProfileStringsTest, TinyAndInvalidBuffers) {
  test::TestBoard board;
  WriteProfileString(board.lib, "S", "K", "value", "app.ini");
  char buffer[4] = {'#', '#', '#', '#'};
  EXPECT_EQ(GetProfileString(board.lib, "S", "K", "", buffer, 0, "app.ini"), 0);
  EXPECT_EQ(buffer[0], '#');
  EXPECT_EQ(GetProfileString(board.lib, "S", "K", "", buffer, -5, "app.ini"), 0);
  EXPECT_EQ(buffer[0], '#');
  EXPECT_EQ(GetProfileString(board.lib, "S", "K", "", buffer, 1, "app.ini"), 0);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(buffer[1], '#');
  EXPECT_EQ(GetProfileString(board.lib, "S", "K", "", nullptr, 10, "app.ini"), 0);
  EXPECT_EQ(GetProfileString(board.lib, "S", "K", "", buffer, 4, nullptr), 0);
  EXPECT_EQ(WriteProfileString(board.lib, nullptr, "K", "v", "app.ini"), 0);
}

}  // namespace
}  // namespace orvale::korrin
