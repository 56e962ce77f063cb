#include "DocumentFilesTestSupport.h"

#include "app/document/OpenFiles.h"
#include "platform/runtime/LineInput.h"

namespace orvale::testing {

std::vector<std::uint8_t> Ramp(std::int32_t width, std::int32_t height) {
  std::vector<std::uint8_t> data(static_cast<std::size_t>(width) * height);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7 % 251);
  return data;
}

std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(lines.back().find_first_of("\r\n"), std::string::npos) << lines.back();
  }
  EXPECT_EQ(start, text.size()) << "text after the last line end";
  return lines;
}

clsDocument& DocumentFilesTest::NewImageDocument(std::int32_t width, std::int32_t height) {
  clsDocument* doc = nullptr;
  EXPECT_TRUE(table_.NewDocument(doc));
  EXPECT_TRUE(doc->SetImageData(Ramp(width, height), width, height));
  return *doc;
}

clsDocument& DocumentFilesTest::ReadDocument(const std::string& text, DocumentReadStatus expected) {
  clsDocument* doc = nullptr;
  EXPECT_TRUE(table_.NewDocument(doc));
  StringLineSource source(text);
  EXPECT_EQ(ReadDocumentText(*doc, source), expected);
  return *doc;
}

void DocumentFilesTest::Open(const std::vector<std::string>& paths, bool quiet) {
  OpenFiles(table_, recent_, paths, quiet);
}

clsDocument* DocumentFilesTest::Newest() const {
  for (std::int32_t i = DocumentTable::kMaxDocuments; i >= 1; --i)
    if (table_.DocumentInUse[i]) return table_.Documents[i].get();
  return nullptr;
}

void DocumentFilesTest::ExpectTableConsistent() const {
  std::int32_t inUse = 0;
  EXPECT_FALSE(table_.DocumentInUse[0]);
  for (std::int32_t i = 1; i <= DocumentTable::kMaxDocuments; ++i) {
    const clsDocument* doc = table_.Documents[i].get();
    ASSERT_EQ(table_.DocumentInUse[i], doc != nullptr) << i;
    if (!doc) continue;
    ++inUse;
    EXPECT_EQ(doc->ovDocIndex, i);
    EXPECT_TRUE(HasValidImageSize(*doc)) << i;
    std::int32_t width = 0, height = 0;
    doc->GetImageSize(width, height);
    if (doc->BlankImage) {
      EXPECT_EQ(doc->ImageData().size(), 1u) << i;
    } else {
      EXPECT_EQ(doc->ImageData().size(), static_cast<std::size_t>(width) * height) << i;
    }
  }
  EXPECT_EQ(table_.NumDocuments, inUse);
}

std::vector<std::string> DocumentFilesTest::RecentPaths() const {
  std::vector<std::string> paths;
  for (int k = 0; k < recent_.NumRecentFiles(); ++k) paths.push_back(recent_.Path(k));
  return paths;
}

}  // namespace orvale::testing
