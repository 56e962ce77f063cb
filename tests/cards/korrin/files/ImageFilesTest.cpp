// Loading and saving image files between files and the display, the DMA target and
// caller buffers; format choice and the plug-in contract.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

#include "ImageFixtures.h"
#include "KorrinTestBoard.h"
#include "cards/korrin/files/ImageFiles.h"
#include "cards/korrin/files/ImageFormats.h"
#include "cards/korrin/session/MiscParams.h"
#include "cards/korrin/capture/Surfaces.h"
#include "korrin32.h"
#include "platform/runtime/TextOutput.h"

namespace orvale::korrin {
namespace {

using test::Bytes;
using test::MakeBmp;
using test::MakeTga;
using test::TgaFields;

class ImageFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             ("korrin-files-" + std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    board.StartUp();
    ASSERT_EQ(board.lib.Settings().displayBits, 32);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::string Path(const std::string& name) const { return (folder / name).string(); }
  std::string Write(const std::string& name, const Bytes& bytes) const {
    std::ofstream(Path(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                     static_cast<std::streamsize>(bytes.size()));
    return Path(name);
  }
  Bytes Read(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }
  Surface Display() { return *DisplaySurface(board.lib); }
  // 24-bit pixels of a caller buffer, loaded from `file` at the given size.
  Bytes LoadRgb(const std::string& file, int width, int rows) {
    SetMiscParm(board.lib, 14, 24);
    Bytes buffer(static_cast<std::size_t>(width) * rows * 3 + 4, 0xAA);
    EXPECT_EQ(LoadFile(board.lib, file.c_str(), 0, 0, width, rows, 0, buffer.data(), -1), 0);
    EXPECT_EQ(buffer.back(), 0xAA) << "nothing past the buffer";
    buffer.resize(buffer.size() - 4);
    return buffer;
  }

  std::filesystem::path folder;
  test::TestBoard board;
};

TEST_F(ImageFilesTest, TheExtensionChoosesTheFormatWhateverItsCase) {
  const std::string file = Write("x.tga", MakeTga({.width = 1, .height = 1, .pixels = {1, 2, 3}}));
  std::filesystem::copy_file(file, Path("x.TGA"));
  std::int16_t info[4] = {};
  EXPECT_EQ(FileResInfo(board.lib, Path("x.TGA").c_str(), info), 0);
  EXPECT_EQ(info[3], 2) << "the TGA image type";
  // The caller's name is read, never changed: a literal works and stays as it was.
  const std::string literalPath = Path("x.tga");
  std::vector<char> name(literalPath.begin(), literalPath.end());
  name.push_back('\0');
  EXPECT_EQ(FileResInfo(board.lib, name.data(), info), 0);
  EXPECT_STREQ(name.data(), literalPath.c_str());
  EXPECT_EQ(FileResInfo(board.lib, Path("x.tga").c_str(), nullptr), -1);
  EXPECT_EQ(FileResInfo(board.lib, nullptr, info), -1);
}

TEST(ImageFormatsTest, TheExtensionComesFromTheLastComponentOnly) {
  EXPECT_EQ(FileExtension("/a.b/file"), "");
  EXPECT_EQ(FileExtension("/a.b/file.tga"), "tga");
  EXPECT_EQ(FileExtension("name"), "");
  EXPECT_EQ(FileExtension("a.b.c.bmp"), "bmp");
  // Only a plain extension of up to three letters and digits names a plug-in.
  const RowCallbacks callbacks{&KR_PutImgRowProc, &KR_GetImgRowProc};
  for (const char* name : {"x.ab-", "x.abcd", "x.a b", "x.a\\b"}) {
    EXPECT_EQ(ChooseImageFormat(name, KORRIN_TEST_PLUGIN_DIR, callbacks), nullptr) << name;
  }
  // A directory that looks like a TGA file does not make its contents one.
  EXPECT_EQ(ChooseImageFormat("/dir.tga/name", KORRIN_TEST_PLUGIN_DIR, callbacks), nullptr);
  EXPECT_NE(ChooseImageFormat("/dir.tga/name.dib", "", callbacks), nullptr);
  EXPECT_NE(ChooseImageFormat("any/where.xyz", KORRIN_TEST_PLUGIN_DIR, callbacks), nullptr);
}

// A FIFO where a plug-in should be is no plug-in: refused at once, never waited on.
TEST(ImageFormatsTest, AFifoNamedAsAPluginIsRefusedAtOnce) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("korrin-fifo-plugin-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  ASSERT_EQ(::mkfifo((folder / "KRVQQQ32.so").c_str(), 0600), 0);
  const RowCallbacks callbacks{&KR_PutImgRowProc, &KR_GetImgRowProc};
  EXPECT_EQ(ChooseImageFormat("picture.qqq", folder, callbacks), nullptr);
  std::filesystem::remove_all(folder);
}

TEST_F(ImageFilesTest, TgaAndBmpFilesRoundTripThroughCallerBuffers) {
  SetMiscParm(board.lib, 14, 24);
  Bytes image(4 * 3 * 3);
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 5);
  for (const char* name : {"round.tga", "round.bmp", "round.dib"}) {
    SCOPED_TRACE(name);
    ASSERT_EQ(SaveFile(board.lib, Path(name).c_str(), 0, 0, 4, 3, 24, 0, image.data(), -1), 0);
    EXPECT_EQ(LoadRgb(Path(name), 4, 3), image);
  }
}

TEST_F(ImageFilesTest, GreyTgaLoadsAsGrey) {
  const std::string file = Write("grey.tga", MakeTga({.type = 3, .width = 2, .height = 1, .depth = 8,
                                                       .pixels = {60, 200}}));
  EXPECT_EQ(LoadRgb(file, 2, 1), (Bytes{60, 60, 60, 200, 200, 200}));
}

TEST_F(ImageFilesTest, MissingRowsAndColumnsAreZeroFilled) {
  const std::string file = Write("small.tga", MakeTga({.width = 1, .height = 1, .pixels = {9, 8, 7}}));
  EXPECT_EQ(LoadRgb(file, 2, 2), (Bytes{9, 8, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(ImageFilesTest, LoadsIntoTheDisplayAreClippedToIt) {
  const Surface display = Display();
  std::memset(display.base, 0x11, static_cast<std::size_t>(display.pitch) * display.height);
  const std::string file = Write("edge.tga", MakeTga({.width = 4, .height = 4, .pixels = Bytes(48, 0xFF)}));
  ASSERT_EQ(LoadFile(board.lib, file.c_str(), display.width - 2, display.height - 2, 0, 0, 0, nullptr, -1), 0);
  EXPECT_EQ(display.At(display.width - 1, display.height - 1)[0], 0xFF);
  EXPECT_EQ(display.At(display.width - 3, display.height - 1)[0], 0x11);
  EXPECT_EQ(display.At(display.width - 1, display.height - 3)[0], 0x11);
  // Negative positions are clipped too.
  ASSERT_EQ(LoadFile(board.lib, file.c_str(), -2, -2, 0, 0, 0, nullptr, -1), 0);
  EXPECT_EQ(display.At(1, 1)[0], 0xFF);
  EXPECT_EQ(display.At(2, 1)[0], 0x11);
}

TEST_F(ImageFilesTest, DisplayPixelsAreReadInTheDisplaysDepth) {
  // A 16-bit display with a 24-bit colour space: a save from the display still reads
  // two bytes a pixel.
  board.lib.Settings().displayBits = 16;
  board.lib.Settings().colourSpaceBits = 24;
  const Surface display = Display();
  ASSERT_EQ(display.bits, 16);
  const std::uint8_t red[2] = {0x00, 0xF8};
  for (int x = 0; x < 4; ++x) std::memcpy(display.At(x, 0), red, 2);
  ASSERT_EQ(SaveFile(board.lib, Path("d.tga").c_str(), 0, 0, 4, 1, 24, 0, nullptr, -1), 0);
  EXPECT_EQ(LoadRgb(Path("d.tga"), 4, 1), (Bytes{0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 255}));
  EXPECT_EQ(SaveFile(board.lib, Path("e.tga").c_str(), display.width - 1, 0, 4, 1, 24, 0, nullptr, -1), -1)
      << "a rectangle outside the display";
}

TEST_F(ImageFilesTest, SaveFlagsReverseMirrorCubeAndDmaTarget) {
  SetMiscParm(board.lib, 14, 24);
  Bytes image(4 * 3 * 3);
  for (int p = 0; p < 12; ++p) {
    image[p * 3] = static_cast<std::uint8_t>(p * 20);  // blue carries the pixel number
  }
  auto blues = [&](const std::string& name) {
    const Bytes rgb = LoadRgb(Path(name), 4, 3);
    Bytes b;
    for (int p = 0; p < 12; ++p) b.push_back(rgb[p * 3]);
    return b;
  };
  ASSERT_EQ(SaveFile(board.lib, Path("rev.tga").c_str(), 0, 0, 4, 3, 24, 0x400, image.data(), -1), 0);
  EXPECT_EQ(blues("rev.tga"), (Bytes{160, 180, 200, 220, 80, 100, 120, 140, 0, 20, 40, 60}));
  ASSERT_EQ(SaveFile(board.lib, Path("mir.tga").c_str(), 0, 0, 4, 3, 24, 0x1000, image.data(), -1), 0);
  EXPECT_EQ(blues("mir.tga"), (Bytes{60, 40, 20, 0, 140, 120, 100, 80, 220, 200, 180, 160}));

  ASSERT_EQ(SaveFile(board.lib, Path("cube.bmp").c_str(), 0, 0, 4, 3, 8, 0x800, image.data(), -1), 0);
  const Bytes bmp = Read("cube.bmp");
  ASSERT_EQ(bmp.size(), 1078u + 12);
  const std::uint8_t* table = bmp.data() + 54;
  const Bytes entry43(table + 43 * 4, table + 43 * 4 + 4);  // b 1, g 1, r 1
  EXPECT_EQ(entry43, (Bytes{42, 42, 42, 0}));
  EXPECT_EQ(table[216 * 4], 0xFF) << "entries past the cube";
  EXPECT_EQ(bmp[1078], (160 * 6) >> 8) << "bottom row first: pixel 8's index";
  EXPECT_EQ(bmp[1078 + 9], (20 * 6) >> 8) << "pixel 1, in the last row stored";

  // From the DMA target, in the colour-space depth.
  board.lib.Settings().colourSpaceBits = 24;
  const Surface target = *DmaTargetSurface(board.lib);
  for (int y = 0; y < 3; ++y) std::memcpy(target.At(0, y), image.data() + y * 12, 12);
  ASSERT_EQ(SaveFile(board.lib, Path("dma.tga").c_str(), 0, 0, 4, 3, 24, 0x8000, nullptr, -1), 0);
  EXPECT_EQ(LoadRgb(Path("dma.tga"), 4, 3), image);
}

// Caller buffers are read in the colour space of the video: 8-bit grey while the video
// runs off-screen in 8 bits, the display's 32 bits again once it is back in the window.
TEST_F(ImageFilesTest, BackInTheWindowCallerBuffersAreReadInTheDisplaysDepth) {
  const Bytes pixels{10, 20, 30, 0, 40, 50, 60, 0, 70, 80, 90, 0, 100, 110, 120, 0};
  auto saved = [&](const std::string& name) {
    EXPECT_EQ(KR_SaveFile(Path(name).c_str(), 0, 0, 4, 1, 24, 0, pixels.data(), -1), 0);
    const Bytes file = Read(name);
    return file.size() < 18 + 12 ? file : Bytes(file.begin() + 18, file.begin() + 18 + 12);  // past the header
  };
  ASSERT_EQ(KR_VideoOffscreen(640, 480, 8, 0), 0);
  EXPECT_EQ(saved("offscreen.tga"), (Bytes{10, 10, 10, 20, 20, 20, 30, 30, 30, 0, 0, 0}));
  ASSERT_EQ(KR_SetVideoWindow(0, 0, 640, 480, 1), 0);
  EXPECT_EQ(saved("window.tga"), (Bytes{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120}));
}

TEST_F(ImageFilesTest, AFailedSaveKeepsTheOldFile) {
  SetMiscParm(board.lib, 14, 24);
  const Bytes old = {1, 2, 3};
  Write("keep.tga", old);
  Write("keep.bmp", old);
  Bytes image(64 * 64 * 3, 7);
  {
    orvale::AtomicWriteFailure full(orvale::AtomicWriteFailure::At::Write, 100);
    EXPECT_EQ(SaveFile(board.lib, Path("keep.tga").c_str(), 0, 0, 64, 64, 24, 0, image.data(), -1), -1);
    EXPECT_EQ(SaveFile(board.lib, Path("keep.bmp").c_str(), 0, 0, 64, 64, 24, 0, image.data(), -1), -1);
  }
  EXPECT_EQ(Read("keep.tga"), old);
  EXPECT_EQ(Read("keep.bmp"), old);
  EXPECT_EQ(SaveFile(board.lib, Path("keep.bmp").c_str(), 0, 0, 3, 64, 24, 0, image.data(), -1), -1)
      << "width 3 is too narrow for BMP";
  EXPECT_EQ(Read("keep.bmp"), old);
}

TEST_F(ImageFilesTest, BadRequestsFail) {
  const std::string file = Write("ok.tga", MakeTga({.width = 1, .height = 1, .pixels = {1, 2, 3}}));
  Bytes buffer(16);
  EXPECT_EQ(LoadFile(board.lib, nullptr, 0, 0, 0, 0, 0, buffer.data(), -1), -1);
  EXPECT_EQ(LoadFile(board.lib, file.c_str(), 0, 0, -1, 0, 0, buffer.data(), -1), -1);
  EXPECT_EQ(LoadFile(board.lib, file.c_str(), 0, 0, 4, 1, 0, buffer.data(), 3), -1) << "pitch too small";
  EXPECT_EQ(LoadFile(board.lib, Path("absent.tga").c_str(), 0, 0, 0, 0, 0, buffer.data(), -1), -1);
  EXPECT_EQ(SaveFile(board.lib, Path("s.tga").c_str(), 0, 0, 1, 1, 12, 0, buffer.data(), -1), -1);
  EXPECT_EQ(SaveFile(board.lib, Path("s.tga").c_str(), 0, 0, 0, 1, 24, 0, buffer.data(), -1), -1);
  EXPECT_FALSE(std::filesystem::exists(Path("s.tga")));
  const std::string wide = Write("wide.tga", MakeTga({.width = 1025, .height = 1, .pixels = Bytes(3075)}));
  std::int16_t info[4] = {};
  EXPECT_EQ(FileResInfo(board.lib, wide.c_str(), info), 0);
  EXPECT_EQ(info[0], 1025);
  Bytes big(1025 * 4);
  EXPECT_EQ(LoadFile(board.lib, wide.c_str(), 0, 0, 0, 0, 0, big.data(), -1), -1);
}

TEST_F(ImageFilesTest, RowCallbacksOutsideAnOperationDoNothing) {
  std::uint8_t row[16] = {};
  EXPECT_EQ(KR_PutImgRowProc(0, row), -1);
  EXPECT_EQ(KR_GetImgRowProc(0, row), -1);
}

void WriteFake(const std::string& path, int width, int height, int bits, const Bytes& rows) {
  std::ofstream out(path, std::ios::binary);
  const std::int16_t header[3] = {static_cast<std::int16_t>(width), static_cast<std::int16_t>(height),
                                  static_cast<std::int16_t>(bits)};
  out.write("FAKE", 4);
  out.write(reinterpret_cast<const char*>(header), sizeof header);
  out.write(reinterpret_cast<const char*>(rows.data()), static_cast<std::streamsize>(rows.size()));
}

TEST_F(ImageFilesTest, PluginsLoadAndSaveThroughTheRowCallbacks) {
  Bytes rows(3 * 2 * 3);
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<std::uint8_t>(i + 1);
  WriteFake(Path("in.xyz"), 3, 2, 24, rows);
  std::int16_t info[4] = {};
  ASSERT_EQ(FileResInfo(board.lib, Path("in.xyz").c_str(), info), 0);
  EXPECT_EQ((std::vector<int>{info[0], info[1], info[2], info[3]}), (std::vector<int>{3, 2, 24, 77}));
  EXPECT_EQ(LoadRgb(Path("in.xyz"), 3, 2), rows);
  ASSERT_EQ(SaveFile(board.lib, Path("out.XYZ").c_str(), 0, 0, 3, 2, 24, 0, rows.data(), -1), 0);
  EXPECT_EQ(LoadRgb(Path("out.XYZ"), 3, 2), rows);
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    EXPECT_EQ(entry.path().string().find(".tmp-"), std::string::npos) << "no temporary file left";
  }
}

TEST_F(ImageFilesTest, BrokenPluginsFailTheOperation) {
  Bytes rows(3, 1);
  WriteFake(Path("a.noe"), 1, 1, 24, rows);
  WriteFake(Path("a.bad"), 1, 1, 24, rows);
  Bytes buffer(3);
  EXPECT_EQ(LoadFile(board.lib, Path("a.noe").c_str(), 0, 0, 0, 0, 0, buffer.data(), -1), -1)
      << "missing entry point";
  EXPECT_EQ(LoadFile(board.lib, Path("a.bad").c_str(), 0, 0, 0, 0, 0, buffer.data(), -1), -1)
      << "LoadInfo fails";
  EXPECT_EQ(LoadFile(board.lib, Path("a.qqq").c_str(), 0, 0, 0, 0, 0, buffer.data(), -1), -1)
      << "no such plug-in";
  // A plug-in that gives up half way leaves the old file alone.
  const Bytes old = {9, 9};
  Write("keep.hlf", old);
  Bytes image(4 * 4 * 3);
  SetMiscParm(board.lib, 14, 24);
  EXPECT_EQ(SaveFile(board.lib, Path("keep.hlf").c_str(), 0, 0, 4, 4, 24, 0, image.data(), -1), -1);
  EXPECT_EQ(Read("keep.hlf"), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 3);
}

TEST_F(ImageFilesTest, ASaveThroughALinkWritesTheFileItNamesAndKeepsTheLink) {
  Bytes rows(4 * 2 * 3);  // 4 wide: the narrowest a bitmap file takes
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<std::uint8_t>(i + 1);
  std::filesystem::create_directory(folder / "kept");
  SetMiscParm(board.lib, 14, 24);
  for (const char* name : {"shot.xyz", "shot.bmp"}) {  // a plug-in's format and a built-in one
    const std::string link = Path(name);
    std::filesystem::create_symlink(std::filesystem::path("kept") / name, link);
    ASSERT_EQ(SaveFile(board.lib, link.c_str(), 0, 0, 4, 2, 24, 0, rows.data(), -1), 0) << name;
    EXPECT_TRUE(std::filesystem::is_symlink(link)) << name;
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "kept" / name)) << name;
    EXPECT_EQ(LoadRgb(link, 4, 2), rows) << name;
  }
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    EXPECT_EQ(entry.path().string().find(".tmp-"), std::string::npos) << "no temporary file left";
  }
}

TEST_F(ImageFilesTest, AFifoIsNeverHandedToAPlugin) {
  // A plug-in opening a FIFO would wait for its writer for good; a writer comes late
  // here, and again for every later wait, so that waiting fails the test instead of
  // hanging it.
  const std::string fifo = Path("pipe.xyz");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::atomic<bool> done{false};
  std::thread writer([&fifo, &done] {
    const auto late = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (!done && std::chrono::steady_clock::now() < late) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    while (!done) {
      const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) ::close(fd);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  const auto start = std::chrono::steady_clock::now();
  std::int16_t info[4] = {};
  Bytes buffer(16);
  EXPECT_EQ(FileResInfo(board.lib, fifo.c_str(), info), -1);
  EXPECT_EQ(LoadFile(board.lib, fifo.c_str(), 0, 0, 0, 0, 0, buffer.data(), -1), -1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  done = true;
  writer.join();
}

}  // namespace
}  // namespace orvale::korrin
