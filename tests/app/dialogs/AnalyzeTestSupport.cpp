#include "AnalyzeTestSupport.h"

#include <fstream>
#include <memory>

#include "platform/runtime/NumberText.h"

namespace orvale::testing {

bool LoggingViews::CreateOutputViews(clsDocument& doc, double theta, double phi,
                                     std::int32_t angle) {
  calls.push_back("CreateOutputViews");
  if (createFails) return false;
  return DocumentViews::CreateOutputViews(doc, theta, phi, angle);
}

void LoggingViews::OutputViews_Load(clsDocument&, bool TileViews) {
  calls.push_back(std::string("OutputViews_Load ") + (TileViews ? "1" : "0"));
}

void LoggingViews::OutputViews_UpdateVisibility(clsDocument&, bool Activate) {
  calls.push_back(std::string("OutputViews_UpdateVisibility ") + (Activate ? "1" : "0"));
}

void LoggingViews::OutputViews_Refresh() {
  calls.push_back("OutputViews_Refresh");
  if (onRefresh) onRefresh();
}

ZernikeVector AnalyzeTestWavefront() {
  ZernikeVector z{};
  z[1] = 1.0;
  z[3] = 1.5;
  z[4] = 0.3;
  return z;
}

void AnalyzeTest::SetUp() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  dir_ = std::filesystem::path(::testing::TempDir()) /
         (std::string("analyze_") + info->test_suite_name() + "_" + info->name());
  std::filesystem::remove_all(dir_);
  std::filesystem::create_directories(dir_);

  ASSERT_TRUE(table_.NewDocument(doc_));
  auto views = std::make_unique<LoggingViews>();
  views_ = views.get();
  doc_->SetViews(std::move(views));
  GiveImageAndAperture(*doc_, pupil_);
  ASSERT_TRUE(doc_->CreateView(1));
  points_ = AddContourFringes(*doc_, pupil_, AnalyzeTestWavefront());
  table_.ActiveDocIndex = doc_->ovDocIndex;
}

void AnalyzeTest::TearDown() { std::filesystem::remove_all(dir_); }

std::string AnalyzeTest::WriteFile(const std::string& name, const std::string& text) const {
  const std::filesystem::path path = dir_ / name;
  std::ofstream(path, std::ios::binary) << text;
  return path.string();
}

std::vector<std::string> AnalyzeTest::Texts() const {
  std::vector<std::string> texts;
  for (const auto& shown : messages_.Messages()) texts.push_back(shown.text);
  return texts;
}

std::string AnalyzeTest::ZrnText(const std::vector<double>& values) {
  std::string text;
  for (double v : values) text += FormatGeneral(v) + "\r\n";
  return text;
}

std::string AnalyzeTest::ZernikesLine(int count) {
  std::string line = "Zernikes";
  for (int i = 0; i < count; ++i) line += "," + FormatDecimalField(i + 0.5);
  return line;
}

}  // namespace orvale::testing
