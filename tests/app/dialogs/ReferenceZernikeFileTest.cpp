#include "app/dialogs/ReferenceZernikeFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "AnalyzeTestSupport.h"
#include "platform/runtime/NumberText.h"

namespace orvale::testing {
namespace {

using ReferenceZernikeFileTest = AnalyzeTest;

std::vector<double> Values(int count) {
  std::vector<double> values;
  for (int i = 1; i <= count; ++i) values.push_back(i * 0.25);
  return values;
}

std::string Joined(int count, const std::string& separator) {
  std::string text;
  for (int i = 1; i <= count; ++i) text += (i > 1 ? separator : "") + FormatGeneral(i * 0.25);
  return text;
}

TEST_F(ReferenceZernikeFileTest, ReadsTheFormatsAndRefusesWhatIsNotAReference) {
  const std::string ovdHead = "FileVersion, 2 \r\nHasImageFile, True\r\n\r\n";
  const struct {
    const char* name;
    std::string text;
    bool valid;
  } cases[] = {
      {"36 lines.zrn", ZrnText(Values(36)), true},
      {"LF lines.zrn", Joined(36, "\n") + "\n", true},
      {"commas and lines.zrn", Joined(20, ", ") + "\r\n" + Joined(16, " ,") + "\r\n", true},
      {"blank lines.zrn", "\r\n" + ZrnText(Values(18)) + "\r\n  \r\n" + ZrnText(Values(18)), true},
      {"40 values.zrn", ZrnText(Values(40)), true},
      {"upper case.ZRN", ZrnText(Values(36)), true},
      {"35 values.zrn", ZrnText(Values(35)), false},
      {"letters.zrn", ZrnText(Values(10)) + "abc\r\n" + ZrnText(Values(25)), false},
      {"trailing letters.zrn", ZrnText(Values(10)) + "1.5x\r\n" + ZrnText(Values(25)), false},
      {"huge value.zrn", ZrnText(Values(10)) + "1E400\r\n" + ZrnText(Values(25)), false},
      {"empty.zrn", "", false},
      {"40 values.ovd", ovdHead + ZernikesLine(40) + "\r\n", true},
      {"36 values.ovd", ovdHead + ZernikesLine(36) + "\r\n", true},
      {"35 values.ovd", ovdHead + ZernikesLine(35) + "\r\n", false},
      {"no line.ovd", ovdHead + "RMS, .5\r\n", false},
      {"huge value.ovd", ovdHead + "Zernikes, 1E400" + ZernikesLine(35).substr(8) + "\r\n", false},
      {"other extension.txt", ZernikesLine(36) + "\n", true},
  };
  for (const auto& c : cases) {
    ZernikeVector z{};
    EXPECT_EQ(LoadReferenceFile(WriteFile(c.name, c.text), z), c.valid) << c.name;
  }
}

TEST_F(ReferenceZernikeFileTest, TakesTheValuesInOrderAndIgnoresTheRest) {
  ZernikeVector z{};
  ASSERT_TRUE(LoadReferenceFile(WriteFile("r.zrn", ZrnText(Values(40))), z));
  for (int i = 1; i <= 36; ++i) EXPECT_DOUBLE_EQ(z[i], i * 0.25) << i;

  // Each comma starts a value, read up to the first character that cannot continue it.
  const std::string line = "zernikesX, 1.5 junk,-2E-3,,7" + std::string(31, ',') + ",8,99";
  ASSERT_TRUE(LoadReferenceFile(WriteFile("r.ovd", line + "\r\n"), z));
  EXPECT_DOUBLE_EQ(z[1], 1.5);
  EXPECT_DOUBLE_EQ(z[2], -0.002);
  EXPECT_DOUBLE_EQ(z[3], 0.0);
  EXPECT_DOUBLE_EQ(z[4], 7.0);
  EXPECT_DOUBLE_EQ(z[5], 0.0);
  EXPECT_DOUBLE_EQ(z[36], 8.0);  // the 37th value is ignored
}

TEST_F(ReferenceZernikeFileTest, TheFirstLineStartingWithZernikesIsTheOneRead) {
  const std::string text = "zernikes\r\n" + ZernikesLine(36) + "\r\nZernikesViewVisible, True\r\n";
  ZernikeVector z{};
  EXPECT_FALSE(LoadReferenceFile(WriteFile("early.ovd", text), z));

  ZernikeVector w{};
  ASSERT_TRUE(LoadReferenceFile(
      WriteFile("saved.ovd", ZernikesLine(36) + "\r\nZernikesViewVisible, True\r\n"), w));
  EXPECT_DOUBLE_EQ(w[1], 0.5);
  EXPECT_DOUBLE_EQ(w[36], 35.5);
}

TEST_F(ReferenceZernikeFileTest, MissingFoldersAndUnreadableFilesAreRefused) {
  ZernikeVector z{};
  EXPECT_FALSE(LoadReferenceFile((dir_ / "absent.zrn").string(), z));
  EXPECT_FALSE(LoadReferenceFile("", z));
  std::filesystem::create_directories(dir_ / "folder.zrn");
  EXPECT_FALSE(LoadReferenceFile((dir_ / "folder.zrn").string(), z));

  const std::string locked = WriteFile("locked.zrn", ZrnText(Values(36)));
  ::chmod(locked.c_str(), 0);
  if (::access(locked.c_str(), R_OK) != 0) {  // root reads it all the same
    EXPECT_FALSE(LoadReferenceFile(locked, z));
  }
  ::chmod(locked.c_str(), 0600);
}

}  // namespace
}  // namespace orvale::testing
