#include <gtest/gtest.h>

#include "LoadInChild.h"
#include "LyingPictures.h"
#include "tests/app/document/DocumentTestSupport.h"

namespace orvale {
namespace {

namespace fs = std::filesystem;

using ImageLoaderTest = testing::ScratchFolderTest;

// A picture whose claim is within the limits may need much of a huge file, and its data
// runs on to the end without one: the file is read as far as the picture can need, into
// no more memory than that and in one pass, and refused for its missing end. It reads
// about a gigabyte, so it runs alone, with no bound on its time but ctest's.
TEST_F(ImageLoaderTest, AHugeFileThatThePictureCanNeedIsReadIntoNoMoreMemoryThanThat) {
  std::vector<std::uint8_t> endless = testing::JpegClaiming(16000, 15000);
  endless.resize(endless.size() - 2);  // no end-of-image marker: the scan runs on
  const auto path = Path("endless.jpg");
  testing::WriteBytes(path, endless);
  fs::resize_file(path, std::uintmax_t{2} << 30);
  // 4 bytes a pixel of its one component can be scan data: about 1 GB is read.
  EXPECT_EQ(testing::LoadWithLittleMemory(path, std::size_t{1200} << 20, 0), "Could not open image file " + path.string());
  fs::remove(path);
}

}  // namespace
}  // namespace orvale
