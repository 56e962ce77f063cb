#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <optional>
#include <vector>

#include "cards/melvex/ConfigRules.h"
#include "cards/melvex/DeviceRequests.h"
#include "cards/melvex/DibLayout.h"
#include "cards/melvex/DigitizerLimits.h"
#include "platform/runtime/ByteFields.h"
#include "platform/runtime/TextOutput.h"
#include "platform/ui/MessageService.h"
#include "tests/cards/melvex/CardFixture.h"
#include "tests/cards/melvex/DibTestSupport.h"

namespace orvale::melvex {
namespace {

using testing::BlockBytes;
using testing::CardFixture;
using testing::FileBytes;
using testing::Request;
using testing::TempFolder;
using Bytes = std::vector<std::uint8_t>;

class DibReadoutTest : public CardFixture {
 protected:
  void SetUp() override {
    // A bright first line marks the top of the picture.
    Card().Input(0).scene = std::make_shared<sim::FunctionScene>([](int x, int y, std::uint32_t) {
      return sim::SceneSample{static_cast<std::uint8_t>(y == 0 ? 235 : 40 + x), 128, 128};
    });
    InitAndConfigure(1);
    config = DefaultConfig(LimitsOf(0), LimitsOf(1));
    config.standard = 1;
    config.requestPAL = Request(0, 5, 5, 0, 3, 3);
    ASSERT_EQ(Lib().ZLV_snap(&config), code::kOk);
  }
  std::optional<Bytes> Readout(int format) {
    config.outputFormat = format;
    ZLV_HDIB dib = nullptr;
    if (Lib().ZLV_readoutDIB(&config, &dib) != code::kOk) return std::nullopt;
    Bytes bytes = BlockBytes(memory, dib);
    EXPECT_EQ(Lib().ZLV_freeDIB(dib), code::kOk);
    return bytes;
  }

  ZlvConfig config{};
  ScriptedMessageService messages;
  ScopedMessageService scopedMessages{messages};
};

TEST_F(DibReadoutTest, EachFormatMakesItsDib) {
  struct Case {
    int format, bits;
    std::uint32_t compression, colours, stride;
  };
  const Case cases[] = {{1, 8, 0, 256, 8}, {2, 4, 0, 16, 4},  {3, 8, 0, 256, 8}, {4, 16, 0, 0, 12},
                        {5, 16, 3, 3, 12}, {7, 24, 0, 0, 16}, {8, 32, 0, 0, 20}};
  for (const Case& c : cases) {
    const std::optional<Bytes> dib = Readout(c.format);
    ASSERT_TRUE(dib) << c.format;
    const std::uint8_t* p = dib->data();
    EXPECT_EQ(ReadLE32(p), 40u);
    EXPECT_EQ(ReadLE32(p + 4), 5u);
    EXPECT_EQ(ReadLE32(p + 8), 3u);
    EXPECT_EQ(ReadLE16(p + 12), 1);
    EXPECT_EQ(ReadLE16(p + 14), c.bits) << c.format;
    EXPECT_EQ(ReadLE32(p + 16), c.compression) << c.format;
    EXPECT_EQ(ReadLE32(p + 20), 3 * c.stride) << c.format;
    EXPECT_EQ(ReadLE32(p + 24), 5905u);
    EXPECT_EQ(ReadLE32(p + 28), 5905u);
    EXPECT_EQ(ReadLE32(p + 32), c.colours) << c.format;
    EXPECT_EQ(ReadLE32(p + 36), c.colours) << c.format;
    const std::size_t table = c.format == 5 ? 12 : 4 * c.colours;
    EXPECT_EQ(dib->size(), 40 + table + 3 * c.stride) << c.format;
  }
  // Tables: greys, 16 greys, 3:3:2; masks for 5:6:5.
  const Bytes grey = *Readout(1);
  EXPECT_EQ(Bytes(grey.begin() + 40 + 4 * 200, grey.begin() + 40 + 4 * 201), (Bytes{200, 200, 200, 0}));
  const Bytes grey16 = *Readout(2);
  EXPECT_EQ(Bytes(grey16.begin() + 40 + 4 * 15, grey16.begin() + 40 + 4 * 16), (Bytes{255, 255, 255, 0}));
  const Bytes colour = *Readout(3);
  // Entry 0b101'011'10: red 5 x 73 / 2 = 182, green 3 x 73 / 2 = 109, blue 2 x 85 = 170.
  EXPECT_EQ(Bytes(colour.begin() + 40 + 4 * 0xAE, colour.begin() + 40 + 4 * 0xAF), (Bytes{170, 109, 182, 0}));
  const Bytes masks = *Readout(5);
  EXPECT_EQ(ReadLE32(masks.data() + 40), 0xF800u);
  EXPECT_EQ(ReadLE32(masks.data() + 44), 0x07E0u);
  EXPECT_EQ(ReadLE32(masks.data() + 48), 0x001Fu);
}

TEST_F(DibReadoutTest, FirstCardLineIsTheTopRow) {
  const Bytes dib = *Readout(1);
  const std::size_t bits = 40 + 1024;
  const std::uint8_t top = Lib().Tables().luminance[235];
  for (int x = 0; x < 5; ++x) {
    EXPECT_EQ(dib[bits + 2 * 8 + x], top) << x;  // the last row of the block
    EXPECT_EQ(dib[bits + x], Lib().Tables().luminance[40 + x]) << x;
  }
  EXPECT_EQ(dib[bits + 5], 0);  // row padding
}

TEST_F(DibReadoutTest, FormatsWithoutADibAreRefused) {
  for (int format : {0, 6, 9, 10, 11}) {
    config.outputFormat = format;
    ZLV_HDIB dib = reinterpret_cast<ZLV_HDIB>(0x1);
    EXPECT_EQ(Lib().ZLV_readoutDIB(&config, &dib), code::kOutOfRange) << format;
    EXPECT_EQ(dib, nullptr);
  }
  EXPECT_STREQ(Lib().ZLP_lastErrorFunctionName(), "ZLV_readoutDIB");
  EXPECT_EQ(memory.LiveBlocks(), 0u);
}

TEST_F(DibReadoutTest, ALineOutsideTheSnapFreesTheDib) {
  config.requestPAL = Request(0, 5, 6, 0, 3, 3);  // one pixel wider than the snap
  config.outputFormat = 7;
  ZLV_HDIB dib = nullptr;
  EXPECT_EQ(Lib().ZLV_readoutDIB(&config, &dib), code::kOutsideImage);
  EXPECT_EQ(dib, nullptr);
  EXPECT_EQ(memory.LiveBlocks(), 0u);
  config.requestPAL = Request(0, 5, 5, 0, 3, 4);  // one line more
  EXPECT_EQ(Lib().ZLV_readoutDIB(&config, &dib), code::kOutsideImage);
  EXPECT_EQ(memory.LiveBlocks(), 0u);
}

TEST_F(DibReadoutTest, MemoryFailuresShowTheirMessageAndLeakNothing) {
  struct Case {
    void (*plan)(MovableMemory&);
    const char* message;
  };
  const Case cases[] = {
      {[](MovableMemory& m) { m.FailAlloc(1); }, "Can't allocate memory !"},
      {[](MovableMemory& m) { m.FailLock(1); }, "Can't allocate memory !"},
      {[](MovableMemory& m) { m.FailAlloc(2); }, "Can't lock memory !"},
      {[](MovableMemory& m) { m.FailLock(2); }, "Can't lock memory !"},
  };
  for (const Case& c : cases) {
    messages.Clear();
    c.plan(memory);
    config.outputFormat = 7;
    ZLV_HDIB dib = nullptr;
    EXPECT_EQ(Lib().ZLV_readoutDIB(&config, &dib), code::kNoMemory);
    EXPECT_EQ(memory.LiveBlocks(), 0u);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, c.message);
    EXPECT_EQ(messages.Messages()[0].title, "Error");
    EXPECT_EQ(messages.Messages()[0].owner, 0u);
    EXPECT_EQ(messages.Messages()[0].flags, mb::kOk);
  }
}

class DibFileTest : public DibReadoutTest {
 protected:
  TempFolder folder;
};

TEST_F(DibFileTest, SmallBmpFilesAreByteExact) {
  struct Case {
    int format;
    std::uint32_t bitsOffset, stride, rowBytes;
  };
  for (const Case c : {Case{1, 1078, 8, 5}, Case{5, 66, 12, 10}}) {
    config.outputFormat = c.format;
    const std::filesystem::path path = folder / "frame.bmp";
    ASSERT_EQ(Lib().ZLV_readoutDIBToFile(&config, path.c_str()), code::kOk) << c.format;
    const Bytes file = FileBytes(path);
    ASSERT_EQ(file.size(), c.bitsOffset + 3 * c.stride) << c.format;
    const std::uint8_t* p = file.data();
    EXPECT_EQ(p[0], 'B');
    EXPECT_EQ(p[1], 'M');
    EXPECT_EQ(ReadLE32(p + 2), file.size());
    EXPECT_EQ(ReadLE32(p + 6), 0u);
    EXPECT_EQ(ReadLE32(p + 10), c.bitsOffset);
    EXPECT_EQ(ReadLE32(p + 14 + 24), 11810u);
    EXPECT_EQ(ReadLE32(p + 14 + 28), 11810u);
    for (int row = 0; row < 3; ++row) {
      for (std::uint32_t pad = c.rowBytes; pad < c.stride; ++pad) EXPECT_EQ(p[c.bitsOffset + row * c.stride + pad], 0);
    }
    // The same pixels as a DIB read out and saved, but for the pixels per metre.
    ZLV_HDIB dib = nullptr;
    ASSERT_EQ(Lib().ZLV_readoutDIB(&config, &dib), code::kOk);
    const std::filesystem::path saved = folder / "saved.bmp";
    ASSERT_EQ(Lib().ZLV_saveDIBToFile(dib, saved.c_str()), code::kOk);
    Bytes other = FileBytes(saved);
    ASSERT_EQ(other.size(), file.size());
    EXPECT_EQ(ReadLE32(other.data() + 14 + 24), 5905u);
    WriteLE32(other.data() + 14 + 24, 11810);
    WriteLE32(other.data() + 14 + 28, 11810);
    EXPECT_EQ(other, file) << c.format;
    EXPECT_EQ(Lib().ZLV_freeDIB(dib), code::kOk);
  }
}

TEST_F(DibFileTest, AFailedWriteKeepsTheOldFile) {
  const std::filesystem::path path = folder / "frame.bmp";
  config.outputFormat = 1;
  // In the file header, the colour table, and the rows; and at the final rename.
  for (std::uint64_t after : {std::uint64_t{10}, std::uint64_t{600}, std::uint64_t{1090}}) {
    { std::ofstream(path, std::ios::binary) << "old"; }
    messages.Clear();
    {
      AtomicWriteFailure failure(AtomicWriteFailure::At::Write, after);
      EXPECT_EQ(Lib().ZLV_readoutDIBToFile(&config, path.c_str()), code::kFileError) << after;
    }
    EXPECT_EQ(FileBytes(path), (Bytes{'o', 'l', 'd'})) << after;
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, "An error occurred when writing to file");
    EXPECT_EQ(folder.Entries(), 1u);
  }
  {
    AtomicWriteFailure failure(AtomicWriteFailure::At::Commit);
    EXPECT_EQ(Lib().ZLV_readoutDIBToFile(&config, path.c_str()), code::kFileError);
  }
  EXPECT_EQ(FileBytes(path), (Bytes{'o', 'l', 'd'}));
}

TEST_F(DibFileTest, AReadoutErrorMidwayLeavesNoPartialFile) {
  const std::filesystem::path path = folder / "frame.bmp";
  config.outputFormat = 5;
  Card().AddFault(sim::RequestFault::Failing(request::kReadColourMemory, {}, 2));
  EXPECT_EQ(Lib().ZLV_readoutDIBToFile(&config, path.c_str()), code::kLostContact);
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(folder.Entries(), 0u);
  EXPECT_TRUE(messages.Messages().empty());
}

}  // namespace
}  // namespace orvale::melvex
