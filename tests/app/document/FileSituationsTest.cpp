// Documents in the files users keep: saved over a hard-linked, a read-only or another
// user's file, and opened from a file whose read blocks.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "DocumentFilesTestSupport.h"
#include "tests/support/BoundedChild.h"
#include "tests/support/WrittenFileSituations.h"

namespace orvale {
namespace {

namespace fs = std::filesystem;

class FileSituationsTest : public testing::DocumentFilesTest {};

TEST_F(FileSituationsTest, ADocumentSaveInEveryFileSituation) {
  clsDocument& doc = NewImageDocument(40, 30);
  testing::ExpectWritesInEveryFileSituation(
      "mirror.ovd",
      [&doc](const char* file) {
        doc.DocDirty = doc.BMPDirty = true;
        return SaveFile((fs::current_path() / file).string(), doc);
      },
      "HasImageFile, True", false);
}

// /proc/kmsg is a regular file of size 0 whose read waits for the kernel's next message:
// opened as a document or a picture it is refused with the usual file error, and as a
// document's picture it is passed over as a missing one, all at once.
TEST_F(FileSituationsTest, AFileWhoseReadBlocksIsRefusedAtOnce) {
  if (::access("/proc/kmsg", R_OK) != 0) GTEST_SKIP() << "/proc/kmsg is not readable here (it needs root)";
  for (const char* name : {"k.bmp", "k.ovd", "x.bmp"}) fs::create_symlink("/proc/kmsg", Path(name));
  WriteText("x.ovd", "FileVersion, 100\r\nHasImageFile, True\r\nImageXSize, 64\r\nImageYSize, 48\r\n");
  EXPECT_TRUE(testing::RunsWithinBounds([this] {
    for (const char* name : {"k.bmp", "k.ovd", "x.ovd"}) Open({File(name)});  // each error aborts its call
    std::string reported;
    for (const std::string& text : Texts()) reported += text + "\n";
    if (table_.NumDocuments != 1 || !Newest()->BlankImage || Texts().size() != 2 ||
        reported.find("k.bmp") == std::string::npos || reported.find("k.ovd") == std::string::npos) {
      std::fprintf(stderr, "%d documents; %s\n", table_.NumDocuments, reported.c_str());
      throw 1;
    }
  }));
}

}  // namespace
}  // namespace orvale
