#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "app/analysis/ZernikeTerms.h"
#include "app/document/ExportFormats.h"
#include "platform/runtime/Markers.h"

namespace orvale {
namespace {

std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  EXPECT_EQ(start, text.size()) << "text after the last line end";
  return lines;
}

TEST(ExportFormats, MapIsOneHundredLinesOfOneHundredValues) {
  std::vector<double> map(kSurfaceMapPoints);
  for (int i = 0; i < kSurfaceMapPoints; ++i) map[i] = (i % 100) * 0.25 - (i / 100);
  map[0] = kBlankValue;  // a blank corner
  map[9999] = kBlankValue;
  map[101] = 1.5E-07;
  const std::vector<std::string> lines = CrLfLines(SurfaceMapCsvText(map));
  ASSERT_EQ(lines.size(), 100u);
  for (const auto& line : lines) {
    EXPECT_EQ(std::count(line.begin(), line.end(), ','), 99) << line;
    EXPECT_EQ(line.find(' '), std::string::npos) << line;
  }
  EXPECT_TRUE(lines[0].starts_with("0,0.25,0.5,0.75,1,"));
  EXPECT_TRUE(lines[1].starts_with("-1,1.5E-07,-0.5,"));
  EXPECT_TRUE(lines[99].ends_with(",-74.5,0"));
}

TEST(ExportFormats, ZernikeListHasThirtySixLinesInTheGeneralForm) {
  ZernikeVector z{};
  z[1] = 0.25;
  z[2] = -1.5;
  z[3] = 1.5E-07;
  z[36] = 12;
  const std::vector<std::string> lines = CrLfLines(ZernikeListText(z));
  ASSERT_EQ(lines.size(), 36u);
  EXPECT_EQ(lines[0], "0.25");
  EXPECT_EQ(lines[1], "-1.5");
  EXPECT_EQ(lines[2], "1.5E-07");
  EXPECT_EQ(lines[3], "0");
  EXPECT_EQ(lines[35], "12");
}

}  // namespace
}  // namespace orvale
