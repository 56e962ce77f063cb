#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

#include "DocumentTestSupport.h"
#include "app/document/BitmapFile.h"
#include "app/pictures/DWordAlign.h"
#include "app/pictures/ImageLoader.h"

namespace orvale {
namespace {

namespace fs = std::filesystem;

using testing::ReadBytes;
using testing::ScratchFolderTest;
using testing::WriteBytes;

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

TEST(DWordAlignTest, RoundsUpToMultiplesOfFour) {
  const std::pair<std::int64_t, std::int64_t> cases[] = {{0, 0}, {1, 4}, {3, 4}, {4, 4}, {5, 8}, {6, 8}};
  for (const auto& [n, aligned] : cases) {
    EXPECT_EQ(AlignToDWord(n), aligned) << n;
    std::int64_t padding = -1;
    EXPECT_EQ(GetDWordPadding(n, padding), aligned) << n;
    EXPECT_EQ(padding, aligned - n) << n;
  }
}

class BitmapFileTest : public ScratchFolderTest {};

TEST_F(BitmapFileTest, ThreePixelWideImageIsWrittenByteExact) {
  // Rows from the top: 10 11 12 / 20 21 22.
  const std::vector<std::uint8_t> data{10, 11, 12, 20, 21, 22};
  const auto path = Path("a.bmp");
  ASSERT_TRUE(SaveDataBufferToBMP(path, data, 3, 2, false));
  const auto b = ReadBytes(path);

  ASSERT_EQ(b.size(), 1078u + 4 * 2);
  EXPECT_EQ(b[0], 'B');
  EXPECT_EQ(b[1], 'M');
  EXPECT_EQ(U32(b, 2), 1078u + 8);
  EXPECT_EQ(U32(b, 6), 0u);  // both reserved words
  EXPECT_EQ(U32(b, 10), 1078u);
  EXPECT_EQ(U32(b, 14), 40u);
  EXPECT_EQ(U32(b, 18), 3u);
  EXPECT_EQ(U32(b, 22), 2u);
  EXPECT_EQ(U16(b, 26), 1);
  EXPECT_EQ(U16(b, 28), 8);
  EXPECT_EQ(U32(b, 30), 0u);
  EXPECT_EQ(U32(b, 34), 8u);
  for (std::size_t at = 38; at < 54; at += 4) EXPECT_EQ(U32(b, at), 0u) << at;
  for (std::size_t i = 0; i < 256; ++i) {
    const std::size_t at = 54 + 4 * i;
    ASSERT_EQ(b[at], i);
    ASSERT_EQ(b[at + 1], i);
    ASSERT_EQ(b[at + 2], i);
    ASSERT_EQ(b[at + 3], 0);
  }
  // The top row comes last; each row ends in one zero pad byte.
  const std::vector<std::uint8_t> rows(b.begin() + 1078, b.end());
  EXPECT_EQ(rows, (std::vector<std::uint8_t>{20, 21, 22, 0, 10, 11, 12, 0}));
}

TEST_F(BitmapFileTest, FourPixelWideImageHasNoPadding) {
  const std::vector<std::uint8_t> data{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  const auto path = Path("b.bmp");
  ASSERT_TRUE(SaveDataBufferToBMP(path, data, 4, 3, false));
  const auto b = ReadBytes(path);
  ASSERT_EQ(b.size(), 1078u + 4 * 3);
  EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + 1078, b.end()),
            (std::vector<std::uint8_t>{9, 10, 11, 12, 5, 6, 7, 8, 1, 2, 3, 4}));
}

TEST_F(BitmapFileTest, BlankOrEmptyImagesWriteNothing) {
  const std::vector<std::uint8_t> data{1, 2, 3, 4};
  struct Case {
    std::int32_t w, h;
    bool blank;
  };
  for (const Case& c : {Case{2, 2, true}, Case{0, 2, false}, Case{2, 0, false}, Case{-2, -2, false},
                        Case{3, 3, false} /* buffer too small */}) {
    EXPECT_FALSE(SaveDataBufferToBMP(Path("c.bmp"), data, c.w, c.h, c.blank)) << c.w << "x" << c.h;
    EXPECT_FALSE(fs::exists(Path("c.bmp")));
  }
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(BitmapFileTest, WrittenBitmapReadsBackAsTheSameImage) {
  std::vector<std::uint8_t> data(7 * 5);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7);
  const auto path = Path("round.bmp");
  ASSERT_TRUE(SaveDataBufferToBMP(path, data, 7, 5, false));

  LoadedImage image;
  ASSERT_EQ(LoadFileIntoDataBuffer(path, false, image), ImageLoadStatus::Loaded);
  EXPECT_EQ(image.Width, 7);
  EXPECT_EQ(image.Height, 5);
  EXPECT_EQ(image.Data, data);

  std::vector<std::uint8_t> dib;
  LoadFileIntoDIB(path, dib);
  const auto file = ReadBytes(path);
  EXPECT_EQ(dib, std::vector<std::uint8_t>(file.begin() + 14, file.end()));
}

TEST_F(BitmapFileTest, LoadFileIntoDibLeavesTheBufferForOtherFiles) {
  WriteBytes(Path("text.bmp"), {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!', '!', '!', '!'});
  WriteBytes(Path("header-only.bmp"), {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  const std::vector<std::uint8_t> before{7, 7};
  for (const char* name : {"text.bmp", "header-only.bmp"}) {
    std::vector<std::uint8_t> dib = before;
    LoadFileIntoDIB(Path(name), dib);
    EXPECT_EQ(dib, before) << name;
  }
  messages_.QueueAnswer(idbutton::kAbort);
  std::vector<std::uint8_t> dib = before;
  LoadFileIntoDIB(Path("missing.bmp"), dib);
  EXPECT_EQ(dib, before);
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].flags & mb::kButtonsMask, mb::kAbortRetryIgnore);
}

TEST_F(BitmapFileTest, RetryAfterAFailedOpenWritesTheFile) {
  // The folder is missing at first; the "user" creates it before answering Retry.
  struct CreateFolderThenRetry : MessageService {
    fs::path folder;
    int shown = 0;
    int MessageBox(WindowHandle, const std::string&, const std::string&, std::uint32_t) override {
      ++shown;
      fs::create_directories(folder);
      return idbutton::kRetry;
    }
  } service;
  service.folder = Path("later");
  ScopedMessageService scoped(service);
  const std::vector<std::uint8_t> data{1, 2, 3, 4};
  EXPECT_TRUE(SaveDataBufferToBMP(service.folder / "d.bmp", data, 2, 2, false));
  EXPECT_EQ(service.shown, 1);
  EXPECT_EQ(ReadBytes(service.folder / "d.bmp").size(), 1078u + 8);
}

// Writing past a file-size limit fails like a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limited = previous_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit previous_{};
  void (*previousHandler_)(int) = nullptr;
};

TEST_F(BitmapFileTest, AFailedSaveKeepsTheOldFile) {
  const auto path = Path("keep.bmp");
  const std::vector<std::uint8_t> old{'o', 'l', 'd'};
  WriteBytes(path, old);
  const std::vector<std::uint8_t> data(100 * 100, 9);
  for (int answer : {idbutton::kAbort, idbutton::kIgnore}) {
    messages_.Clear();
    messages_.QueueAnswer(answer);
    messages_.QueueAnswer(answer);
    {
      FileSizeLimit limit(4096);
      EXPECT_FALSE(SaveDataBufferToBMP(path, data, 100, 100, false)) << answer;
    }
    ASSERT_FALSE(messages_.Messages().empty());
    EXPECT_EQ(messages_.Messages()[0].flags & mb::kButtonsMask, mb::kAbortRetryIgnore);
    EXPECT_EQ(ReadBytes(path), old) << answer;
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1) << answer;
  }
}

}  // namespace
}  // namespace orvale
