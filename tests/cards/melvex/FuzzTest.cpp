// Hostile DIB blocks and INI files: every call answers with a code and nothing crashes.
// The run is short here; set ZELVO_FUZZ_ITERATIONS for a longer one by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <random>
#include <set>
#include <string>

#include "cards/melvex/DibLayout.h"
#include "cards/melvex/ErrorCodes.h"
#include "cards/melvex/ZelvoLibrary.h"
#include "cards/melvex/sim/SimulatedCard.h"
#include "platform/gdi/RecordingDeviceContext.h"
#include "platform/profile/PrivateProfile.h"
#include "platform/runtime/ByteFields.h"
#include "platform/ui/ClipboardService.h"
#include "platform/ui/MessageService.h"
#include "tests/cards/melvex/DibTestSupport.h"

namespace orvale::melvex {
namespace {

int Iterations(int byDefault) {
  const char* text = std::getenv("ZELVO_FUZZ_ITERATIONS");
  return text != nullptr ? std::max(1, std::atoi(text)) : byDefault;
}

class FuzzTest : public ::testing::Test {
 protected:
  std::mt19937 random{20240612};
  int Below(int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); }

  MovableMemory memory;
  sim::SimulatedCard card;
  ZelvoLibrary library{card, memory};
  ScriptedMessageService messages;
  ScopedMessageService scopedMessages{messages};
};

// A DIB of a format the toolkit makes, then bent: header fields set to extremes, bytes
// flipped, the block cut short or grown.
MemoryHandle HostileDib(MovableMemory& memory, std::mt19937& random) {
  const auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  static const int kFormats[] = {1, 2, 3, 4, 5, 7, 8};
  const int format = kFormats[below(7)];
  const DibLayout layout = *DibLayoutFor(format);
  const int width = 1 + below(12);
  const int height = 1 + below(6);
  std::vector<std::uint8_t> bytes(40 + layout.tableBytes + static_cast<std::size_t>(DibRowBytes(width, layout.bitCount) * height));
  WriteDibStart(bytes.data(), format, layout, width, height, kMemoryPixelsPerMetre);
  for (std::size_t i = 40 + layout.tableBytes; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(random());
  static const std::uint32_t kExtremes[] = {0, 1, 2, 3, 4, 16, 40, 255, 256, 300, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
  for (int n = below(4); n > 0; --n) {
    const std::size_t field = 4 * static_cast<std::size_t>(below(10));
    WriteLE32(bytes.data() + field, kExtremes[below(13)]);
  }
  for (int n = below(4); n > 0; --n) bytes[static_cast<std::size_t>(below(static_cast<int>(bytes.size())))] ^= static_cast<std::uint8_t>(1 << below(8));
  if (below(3) == 0) bytes.resize(static_cast<std::size_t>(below(static_cast<int>(bytes.size()) + 1)));
  if (below(5) == 0) bytes.resize(bytes.size() + static_cast<std::size_t>(below(64)), 0);
  const MemoryHandle handle = memory.Alloc(bytes.size());
  std::copy(bytes.begin(), bytes.end(), static_cast<std::uint8_t*>(memory.Lock(handle)));
  memory.Unlock(handle);
  return handle;
}

TEST_F(FuzzTest, DibFunctionsSurviveHostileBlocks) {
  testing::TempFolder folder;
  MemoryClipboard clipboard;
  library.SetClipboard(&clipboard);
  const std::set<std::int32_t> answers = {code::kOk, code::kOutOfRange, code::kNoMemory, code::kBadPointer};
  const int iterations = Iterations(400);
  for (int i = 0; i < iterations; ++i) {
    const MemoryHandle dib = HostileDib(memory, random);
    ZLV_HDIB copy = nullptr;
    const std::int32_t copied = library.ZLV_copyDIB(dib, &copy);
    ASSERT_TRUE(answers.count(copied)) << i;
    if (copied == code::kOk) memory.Free(copy);
    gdi::RecordingDeviceContext dc(gdi::DisplayCaps(16, 8), true);
    ASSERT_TRUE(answers.count(library.ZLV_drawDIB(&dc, dib, Below(8) - 4, Below(8) - 4, Below(20), Below(20)))) << i;
    if (i % 16 == 0) {
      const std::string path = (folder / ("f" + std::to_string(i) + ".bmp")).string();
      const std::int32_t saved = library.ZLV_saveDIBToFile(dib, path.c_str());
      ASSERT_TRUE(answers.count(saved) && saved != code::kBadPointer) << i;
    }
    ASSERT_TRUE(answers.count(library.ZLV_filterDIB(dib, library.ZLV_getFilter(1 + Below(8))))) << i;
    clipboard.SetAvailable(Below(2) == 0);
    const std::int32_t clipped = library.ZLV_saveDIBToClipboard(dib);
    ASSERT_TRUE(answers.count(clipped)) << i;
    if (memory.IsLive(dib)) memory.Free(dib);
  }
  EXPECT_EQ(memory.LiveBlocks(), 0u);
}

TEST_F(FuzzTest, IniReadingSurvivesHostileFiles) {
  auto files = std::make_shared<MemoryProfileFiles>();
  PrivateProfile profile(files);
  library.SetProfile(profile);
  ZlvConfig record{};
  ASSERT_EQ(library.ZLV_saveIniFile("cam.ini", "Camera", &record), code::kOk);
  const std::filesystem::path path = profile.Resolve("cam.ini");
  const std::string good = *files->Text(path);
  static const char kPieces[] = "[]=;\r\n\t \"'0123456789-+.eE,xX\0\xFF";
  const int iterations = Iterations(400);
  for (int i = 0; i < iterations; ++i) {
    std::string text = good;
    for (int n = 1 + Below(12); n > 0; --n) {
      const std::size_t at = static_cast<std::size_t>(Below(static_cast<int>(text.size()) + 1));
      switch (Below(4)) {
        case 0: text.insert(at, 1, kPieces[Below(sizeof(kPieces) - 1)]); break;
        case 1: if (at < text.size()) text.erase(at, 1 + static_cast<std::size_t>(Below(8))); break;
        case 2: if (at < text.size()) text[at] = static_cast<char>(random()); break;
        default: text.insert(at, std::string(static_cast<std::size_t>(Below(300)), kPieces[Below(sizeof(kPieces) - 1)]));
      }
    }
    files->SetText(path, text);
    const std::int32_t rc = library.ZLV_readIniFile("cam.ini", "Camera", &record);
    ASSERT_TRUE(rc == code::kOk || rc == code::kFileError) << i;
    ASSERT_FALSE(std::isnan(record.gamma)) << i;
  }
}

}  // namespace
}  // namespace orvale::melvex
