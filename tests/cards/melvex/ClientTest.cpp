// A client program linked against the shared object, with the simulated card switched on
// the way the README tells users to.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "cards/melvex/zelvo32.h"
#include "tests/support/FileNearTheLimit.h"
#include "tests/support/TempConfigHome.h"
#include "tests/support/WrittenFileSituations.h"

namespace {

// Set before the library makes its instance, which it does on the first call.
const bool kSimulated = setenv("ORVALE_MELVEX_DEVICE", "sim", 1) == 0;

TEST(ClientTest, SnapsAndReadsOutOnTheSimulatedCard) {
  ASSERT_TRUE(kSimulated);
  ASSERT_EQ(ZLP_init(), 0);
  std::int32_t standard = -1;
  ASSERT_EQ(ZLP_videoConfig(0, 0, &standard), 0);
  EXPECT_EQ(standard, 1);
  ZlpLimits limits{};
  ASSERT_EQ(ZLP_getLimits(standard, &limits), 0);
  const ZlpSnapRequest request{0, limits.xMax, 320, 0, limits.yMax, 240, 1, 0};
  ASSERT_EQ(ZLP_prepareSnap(&request), 0);
  ASSERT_EQ(ZLP_startSnap(), 0);
  ASSERT_EQ(ZLP_finishSnap(), 0);
  std::uint16_t lineBytes = 0;
  ASSERT_EQ(ZLP_startReadout(7, &lineBytes), 0);
  EXPECT_EQ(lineBytes, 960);
  std::vector<std::uint8_t> line(lineBytes);
  for (int n = 0; n < 240; ++n) ASSERT_EQ(ZLP_readLine(line.data(), 0, 320), 0) << n;
  EXPECT_EQ(ZLP_readLine(line.data(), 0, 320), 13);
  EXPECT_STREQ(ZLP_errorString(13), "Attempt to read outside snapped image");
  EXPECT_STREQ(ZLP_lastErrorFunctionName(), "ZLP_readLine");
  EXPECT_EQ(ZLP_closedown(0), 0);
}

TEST(ClientTest, AKeptFailingNameStaysValid) {
  ASSERT_TRUE(kSimulated);
  std::int32_t standard = 0;
  ASSERT_EQ(ZLP_testSignal(nullptr), 17);
  const char* first = ZLP_lastErrorFunctionName();
  ASSERT_EQ(ZLP_getCurrentCardHandle(nullptr), 17);
  const char* second = ZLP_lastErrorFunctionName();
  ASSERT_EQ(ZLP_videoConfig(0, 0, &standard), 5);
  EXPECT_STREQ(first, "ZLP_signalPresent");
  EXPECT_STREQ(second, "ZLP_getCurrentCardHandle");
  EXPECT_STREQ(ZLP_lastErrorFunctionName(), "ZLP_videoConfig");
}

// A save that the writer's CR LF line ends would take past the size limit fails with a
// file error and leaves the file as it was, byte for byte.
TEST(ClientTest, ASaveThatWouldPassTheLimitFailsAndKeepsTheFile) {
  orvale::testing::TempConfigHome home;
  const std::filesystem::path file = home.Folder() / "large.ini";
  const std::string original = orvale::testing::LfTextOneByteUnderTheLimit();
  std::ofstream(file, std::ios::binary) << original;
  const ZlvConfig config{};
  EXPECT_EQ(ZLV_saveIniFile(file.c_str(), "Camera", &config), 20);
  EXPECT_STREQ(ZLP_lastErrorFunctionName(), "ZLV_saveIniFile");
  EXPECT_TRUE(orvale::testing::FileText(file) == original);
}

}  // namespace
