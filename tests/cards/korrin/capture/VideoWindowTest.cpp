// The video window, the scaler and video DMA on the simulated board: every layout puts
// the picture exactly into its window and nowhere else.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "KorrinTestBoard.h"
#include "cards/korrin/capture/Acquisition.h"
#include "cards/korrin/capture/AsyncCapture.h"
#include "cards/korrin/session/MiscParams.h"
#include "cards/korrin/hardware/RegisterEncoding.h"
#include "cards/korrin/capture/Surfaces.h"
#include "cards/korrin/capture/VideoWindow.h"
#include "cards/korrin/sim/SimVideoDma.h"

namespace orvale::korrin {
namespace {

using test::TestBoard;
constexpr std::uint8_t kSentinel = 0xEE;

sim::SimOptions Display(int bits, std::uint32_t adapter = 0x01231002) {
  sim::SimOptions options;
  options.displayBits = bits;
  options.displayAdapterId = adapter;
  return options;
}

// A board whose DMA buffer holds 100000 bytes.
sim::SimOptions SmallDmaBuffer() {
  sim::SimOptions options;
  options.dmaBufferSize = 100000;
  return options;
}

// Lets `fields` fields pass.
void RunFields(TestBoard& board, int fields) { board.clock.Advance(static_cast<std::uint32_t>(fields) * 17 + 1); }

// Which bytes of a surface-like region were written: each row of `rows`, `rowBytes`
// wide at `pitch`, must be all written inside [x0, x1) bytes and untouched outside.
struct Region {
  const std::uint8_t* base;
  std::int64_t pitch;
  int rows;
  std::int64_t rowBytes;
};

// True when exactly the window (byte columns [x0, x1) of rows [y0, y1)) was written.
::testing::AssertionResult ExactlyWritten(const Region& r, int y0, int y1, std::int64_t x0, std::int64_t x1) {
  for (int y = 0; y < r.rows; ++y) {
    for (std::int64_t x = 0; x < r.rowBytes; ++x) {
      const bool inside = y >= y0 && y < y1 && x >= x0 && x < x1;
      const bool written = r.base[y * r.pitch + x] != kSentinel;
      if (inside != written) {
        return ::testing::AssertionFailure() << "byte " << x << " of row " << y
                                             << (inside ? " not written" : " written outside the window");
      }
    }
  }
  return ::testing::AssertionSuccess();
}

// Sets the video window up on the display, or off-screen in `bits`, fills the memory it
// goes to with sentinels, and captures four fields into it.
::testing::AssertionResult CaptureFourFields(TestBoard& board, bool offscreen, const Rect16& window, int bits) {
  const std::int32_t set = offscreen ? VideoOffscreen(board.lib, window.width, window.height, bits, 1)
                                     : SetVideoWindow(board.lib, window.x, window.y, window.width, window.height, 1);
  if (set != 0) return ::testing::AssertionFailure() << "window refused";
  std::vector<std::uint8_t>& memory = offscreen ? board.Card().DmaBuffer() : board.sim.FrameBuffer();
  std::fill(memory.begin(), memory.end(), kSentinel);
  if (VideoLive(board.lib, 1, 3) != 0) return ::testing::AssertionFailure() << "not live";
  RunFields(board, 4);
  VideoLive(board.lib, 0, 0);
  if (!board.sim.Memory().Faults().empty()) return ::testing::AssertionFailure() << "bus faults";
  return ::testing::AssertionSuccess();
}

TEST(VideoWindowTest, WindowsAreRoundedForTheDisplay) {
  for (int bits : {8, 16, 32}) {
    SCOPED_TRACE(bits);
    TestBoard board(Display(bits));
    board.StartUp();
    ASSERT_EQ(SetVideoWindow(board.lib, 1, 0, 641, 480, 0), 0);
    EXPECT_EQ(board.lib.Settings().geometry.window, (Rect16{0, 0, 640, 480}));
    for (int size : {3, 0, -5}) {
      ASSERT_EQ(SetVideoWindow(board.lib, 8, 8, size, size, 1), -1) << "a 4 x 4 window cannot be scaled to";
      EXPECT_EQ(board.lib.Settings().geometry.window, (Rect16{8, 8, 4, 4})) << size;
    }
  }
}

TEST(VideoWindowTest, OffscreenWidthsAreRoundedByFormat) {
  TestBoard board;
  board.StartUp();
  struct Row {
    int bits;
    int width;
    int expected;
  };
  // Widths too small to scale to fail, but are stored rounded all the same.
  for (const Row row : {Row{24, 641, 640}, Row{32, 643, 642}, Row{16, 642, 640}, Row{8, 7, 4}, Row{15, -9, 4}}) {
    VideoOffscreen(board.lib, row.width, 20, row.bits, 1);
    EXPECT_EQ(board.lib.Settings().geometry.window.width, row.expected) << row.bits;
  }
}

struct LayoutRow {
  const char* name;
  bool offscreen;
  int mode;
  int channel;
  int bits;  // display depth on-screen, colour space off-screen
  Rect16 window;
  std::uint32_t adapter = 0x01231002;
};

TEST(VideoWindowTest, EveryLayoutFillsExactlyItsWindow) {
  const LayoutRow rows[] = {
      {"on-screen fields 32", false, 1, 0, 32, {100, 40, 320, 240}},
      {"on-screen frames interleaved 16", false, 2, 0, 16, {8, 6, 640, 480}},
      {"on-screen frames one field 8", false, 2, 0, 8, {16, 10, 320, 200}},
      {"on-screen single field 32", false, 3, 0, 32, {0, 0, 160, 120}},
      {"on-screen wide-line adapter", false, 1, 0, 16, {40, 30, 320, 240}, 0x8A205333},
      {"on-screen channel 3", false, 1, 1, 32, {20, 20, 320, 240}},
      {"off-screen 24 fields", true, 1, 0, 24, {0, 0, 320, 240}},
      {"off-screen 32 frames", true, 2, 0, 32, {0, 0, 640, 480}},
      {"off-screen 8 single field", true, 3, 0, 8, {0, 0, 320, 240}},
      {"off-screen 16 channel 3", true, 1, 1, 16, {0, 0, 320, 240}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TestBoard board(Display(row.offscreen ? 32 : row.bits, row.adapter));
    board.StartUp();
    BoardSettings& s = board.lib.Settings();
    s.misc.acquisitionMode = row.mode;
    ASSERT_EQ(SetMiscParm(board.lib, 34, row.channel), 0);
    ASSERT_TRUE(CaptureFourFields(board, row.offscreen, row.window, row.bits));
    const int bpp = row.bits <= 8 ? 1 : row.bits <= 16 ? 2 : row.bits / 8;
    const std::vector<std::uint8_t>& memory = row.offscreen ? board.Card().DmaBuffer() : board.sim.FrameBuffer();
    if (row.offscreen) {
      const std::int64_t line = std::int64_t{row.window.width} * bpp;
      const Region r{memory.data(), line, row.window.height + 2, line};
      EXPECT_TRUE(ExactlyWritten(r, 0, row.window.height, 0, line));
    } else {
      const std::int64_t pitch = row.adapter == 0x8A205333 ? 8192 : std::int64_t{1024} * bpp;
      const Region r{memory.data(), pitch, row.window.y + row.window.height + 4,
                     std::int64_t{row.window.x + row.window.width + 8} * bpp};
      EXPECT_TRUE(ExactlyWritten(r, row.window.y, row.window.y + row.window.height,
                                 std::int64_t{row.window.x} * bpp,
                                 std::int64_t{row.window.x + row.window.width} * bpp));
    }
  }
}

// Channel 3 divides lines and fields by whole numbers: a window that is no such part of
// the input gets what the divisors give, from its corner on, and nothing outside it.
TEST(VideoWindowTest, ChannelThreeKeepsEveryNthPixelAndLine) {
  struct Row {
    const char* name;
    bool offscreen;
    Rect16 window;
    int width;  // pixels and lines written
    int lines;
  };
  const Row rows[] = {
      {"on-screen, halves", false, {40, 20, 400, 300}, 320, 240},
      {"on-screen, quarters cut by the window", false, {40, 20, 200, 100}, 160, 100},
      {"off-screen, quarters", true, {0, 0, 300, 200}, 160, 120},
      {"off-screen, eighths", true, {0, 0, 100, 60}, 80, 60},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TestBoard board(Display(16));
    board.StartUp();
    ASSERT_EQ(SetMiscParm(board.lib, 34, 1), 0);
    ASSERT_TRUE(CaptureFourFields(board, row.offscreen, row.window, 16));
    const std::vector<std::uint8_t>& memory = row.offscreen ? board.Card().DmaBuffer() : board.sim.FrameBuffer();
    const std::int64_t pitch = row.offscreen ? std::int64_t{row.window.width} * 2 : 1024 * 2;
    const std::int64_t rowBytes = row.offscreen ? pitch : std::int64_t{row.window.x + row.window.width + 4} * 2;
    const Region r{memory.data(), pitch, row.window.y + row.window.height + 2, rowBytes};
    EXPECT_TRUE(ExactlyWritten(r, row.window.y, row.window.y + row.lines, std::int64_t{row.window.x} * 2,
                               std::int64_t{row.window.x + row.width} * 2));
  }
  // Narrower than an eighth of the input, its lines would run past the window.
  TestBoard board(Display(16));
  board.StartUp();
  ASSERT_EQ(SetMiscParm(board.lib, 34, 1), 0);
  EXPECT_EQ(SetVideoWindow(board.lib, 40, 20, 76, 60, 1), -1);
  EXPECT_EQ(VideoOffscreen(board.lib, 76, 60, 16, 1), -1);
}

TEST(VideoWindowTest, InterleavedFieldsTakeAlternateLines) {
  TestBoard board;
  board.StartUp();
  board.lib.Settings().misc.acquisitionMode = 2;
  // Frame mode lays out channel 3 too, which divides by eight at most: 80 is the
  // narrowest window of a 640-pixel input.
  ASSERT_EQ(VideoOffscreen(board.lib, 80, 480, 8, 1), 0);
  ASSERT_TRUE(board.lib.Settings().geometry.interleave);
  EXPECT_EQ(board.Registers().Peek(0x0C), 160u) << "pitch: two lines";
  EXPECT_EQ(board.Registers().Peek(0x04), board.Registers().Peek(0x00) + 80) << "even base: one line on";
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  const std::uint64_t before = board.Card().FieldsSeen();
  RunFields(board, 2);
  VideoLive(board.lib, 0, 0);
  const std::uint64_t last = board.Card().FieldsSeen();
  ASSERT_GE(last, before + 2);
  // The latest field's parity decides which window rows it wrote.
  const int lastField = static_cast<int>(last % 2);  // field 1 after an odd count of toggles
  const auto& target = board.Card().DmaBuffer();
  const int row = lastField == 1 ? 2 * 5 : 2 * 5 + 1;
  EXPECT_EQ(target[row * 80 + 3], sim::PatternByte(last / 2, lastField, 5, 3, 0));
}

TEST(VideoWindowTest, LayoutsThatDoNotFitAreRefused) {
  TestBoard board(SmallDmaBuffer());
  board.StartUp();
  ASSERT_EQ(VideoOffscreen(board.lib, 160, 120, 16, 1), 0);
  const auto writes = board.Registers().Writes().size();
  const auto target = board.lib.Live().resources.dmaTarget;
  EXPECT_EQ(VideoOffscreen(board.lib, 320, 240, 16, 1), -1) << "larger than the DMA buffer";
  EXPECT_EQ(VideoOffscreen(board.lib, 32767, 32767, 32, 1), -1);
  EXPECT_EQ(board.Registers().Writes().size(), writes);
  EXPECT_EQ(board.lib.Settings().geometry.window.width, 160);
  EXPECT_EQ(board.lib.Live().resources.dmaTarget.linear, target.linear);
  // An offset that pushes the frame past the end: refused, the old one stays.
  EXPECT_EQ(SetMiscParm(board.lib, 8, 70000), -1);
  EXPECT_EQ(board.lib.Settings().dmaOffset, 0);
  EXPECT_EQ(SetMiscParm(board.lib, 8, 1000), 0);
  EXPECT_EQ(board.Registers().Peek(0x00), board.Card().DmaBufferAddress() + 1000);
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  RunFields(board, 3);
  EXPECT_TRUE(board.sim.Memory().Faults().empty());
  // A window beyond the display.
  EXPECT_EQ(SetVideoWindow(board.lib, 900, 0, 320, 240, 1), -1);
  EXPECT_EQ(SetVideoWindow(board.lib, 0, -2, 320, 240, 1), -1);
}

TEST(VideoWindowTest, TheAcquisitionModeReprogramsInputFormatAndLayout) {
  TestBoard board(SmallDmaBuffer());
  board.StartUp();
  ASSERT_EQ(VideoOffscreen(board.lib, 160, 480, 8, 1), 0);
  ASSERT_FALSE(board.lib.Settings().geometry.interleave);
  const std::size_t from = board.Registers().Writes().size();
  ASSERT_EQ(SetMiscParm(board.lib, 30, 2), 0);
  std::vector<std::uint32_t> offsets;
  for (const auto& w : board.Registers().Writes()) offsets.push_back(w.offset);
  const auto format = std::find(offsets.begin() + static_cast<std::ptrdiff_t>(from), offsets.end(), 0x54u);
  const auto pitch = std::find(offsets.begin() + static_cast<std::ptrdiff_t>(from), offsets.end(), 0x0Cu);
  ASSERT_NE(format, offsets.end()) << "the input format is programmed again";
  EXPECT_LT(format, pitch) << "before the layout";
  EXPECT_TRUE(board.lib.Settings().geometry.interleave);
  EXPECT_EQ(board.Registers().Peek(0x0C), 320u) << "both fields on alternate lines";
  // A second offset that only frame mode's second channel uses: field mode takes it, a
  // change to frame mode is refused and leaves the board in field mode.
  ASSERT_EQ(SetMiscParm(board.lib, 30, 1), 0);
  ASSERT_EQ(SetMiscParm(board.lib, 9, 60000), 0);
  const std::uint32_t channel3 = board.Registers().Peek(0x30);
  EXPECT_EQ(SetMiscParm(board.lib, 30, 2), -1);
  std::intptr_t mode = 0;
  ASSERT_EQ(GetMiscParm(board.lib, 30, &mode), 0);
  EXPECT_EQ(mode, 1);
  EXPECT_FALSE(board.lib.Settings().geometry.interleave);
  EXPECT_EQ(board.Registers().Peek(0x30), channel3);
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  RunFields(board, 3);
  EXPECT_TRUE(board.sim.Memory().Faults().empty());
}

TEST(VideoWindowTest, AScaleThatCannotBeMadeLeavesTheScaler) {
  TestBoard board;
  board.StartUp();
  const std::uint32_t scaler = board.Registers().Peek(encoding::kScalerHorizontal);
  EXPECT_EQ(SetInputWindow(board.lib, 0, 0, 760, 480), 0);
  const std::uint32_t fitted = board.Registers().Peek(encoding::kScalerHorizontal);
  EXPECT_NE(fitted, scaler);
  EXPECT_EQ(SetVideoWindow(board.lib, 0, 0, 4, 480, 0), -1) << "a prescale above 64";
  EXPECT_EQ(board.Registers().Peek(encoding::kScalerHorizontal), fitted);
  EXPECT_EQ(board.lib.Settings().geometry.window.width, 4) << "stored for a later call";
  EXPECT_EQ(SetInputWindow(board.lib, 0, 0, 8, 480), 0) << "now it fits";
}

TEST(VideoWindowTest, LiveVideoNeedsALayout) {
  TestBoard board;
  ASSERT_EQ(Locate(board.lib), 0);
  EXPECT_EQ(VideoLive(board.lib, 1, 3), -1);
  board.StartUp();
  EXPECT_EQ(VideoLive(board.lib, 1, 3), 0);
  EXPECT_EQ(board.lib.Settings().liveState, 1);
}

TEST(VideoWindowTest, VideoRectSelectorsAndRefusals) {
  TestBoard board;
  board.StartUp();
  std::int16_t x = 7, y = 7, w = 7, h = 7;
  EXPECT_EQ(GetVideoRect(board.lib, 0, &x, &y, &w, &h), 0);
  EXPECT_EQ((std::vector<int>{x, y, w, h}), (std::vector<int>{140, 12, 640, 480}));
  x = y = w = h = 7;
  EXPECT_EQ(GetVideoRect(board.lib, -1, &x, &y, &w, &h), -1);
  EXPECT_EQ(GetVideoRect(board.lib, 3, &x, &y, &w, &h), -1);
  EXPECT_EQ(GetVideoRect(board.lib, 2, &x, nullptr, &w, &h), -1);
  EXPECT_EQ((std::vector<int>{x, y, w, h}), (std::vector<int>{7, 7, 7, 7}));
}

// A page-aligned allocation with sentinels on both sides of the buffer inside it.
struct CallerBuffer {
  explicit CallerBuffer(std::size_t size, std::size_t offset, std::size_t pages = 4)
      : storage(static_cast<std::uint8_t*>(std::aligned_alloc(4096, pages * 4096))), data(storage + offset),
        size(size) {
    std::memset(storage, kSentinel, pages * 4096);
  }
  ~CallerBuffer() { std::free(storage); }
  std::uint8_t* storage;
  std::uint8_t* data;
  std::size_t size;
};

TEST(VideoWindowTest, CaptureIntoALockedCallerBufferThroughThePageTable) {
  TestBoard board;
  board.StartUp();
  CallerBuffer buffer(2 * 4096 + 1000, 3000);  // three pages, unaligned
  KR_CaptureRecord record{};
  record.buffer = buffer.data;
  record.size = static_cast<std::uint32_t>(buffer.size);
  ASSERT_EQ(VideoCaptureMem(board.lib, &record, 0x20000), 0);
  ASSERT_EQ(VideoOffscreen(board.lib, 64, 100, 8, 1), 0);
  EXPECT_EQ(board.Registers().Peek(0x10) & encoding::kPageTableEnable, encoding::kPageTableEnable);
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  RunFields(board, 2);
  EXPECT_TRUE(board.sim.Memory().Faults().empty());
  EXPECT_TRUE(ExactlyWritten({buffer.storage, 4 * 4096, 1, 4 * 4096}, 0, 1, 3000, 3000 + 6400));

  // Unlocking while live moves DMA back to the driver's buffer before the pages go.
  ASSERT_EQ(VideoCaptureMem(board.lib, &record, 0x40000), 0);
  std::memset(buffer.storage, kSentinel, 4 * 4096);
  RunFields(board, 3);
  EXPECT_TRUE(board.sim.Memory().Faults().empty());
  EXPECT_TRUE(ExactlyWritten({buffer.storage, 4 * 4096, 1, 4 * 4096}, 0, 0, 0, 0));
  EXPECT_EQ(board.lib.Settings().liveState, 1);
  EXPECT_EQ(board.Registers().Peek(0x10), 0u);

  KR_CaptureRecord info{};
  ASSERT_EQ(VideoCaptureMem(board.lib, &info, 0x10000), 0);
  EXPECT_EQ(info.buffer, board.Card().DmaBuffer().data());
  EXPECT_EQ(info.frameBytes, 6400);
  EXPECT_EQ(info.displaySize, 0x400000u);
  EXPECT_EQ(VideoCaptureMem(board.lib, nullptr, 0x10000), -1);
}

KR_CaptureRecord RecordFor(const CallerBuffer& buffer) {
  KR_CaptureRecord record{};
  record.buffer = buffer.data;
  record.size = static_cast<std::uint32_t>(buffer.size);
  return record;
}

// A frame that fits the caller's buffer but not the driver's: unlocking cannot move the
// DMA back, so it fails and nothing runs through the unlocked pages any more.
TEST(VideoWindowTest, UnlockingAFrameTheDriverBufferCannotHoldStopsTheVideo) {
  TestBoard board(SmallDmaBuffer());
  board.StartUp();
  CallerBuffer buffer(40 * 4096, 0, 40);
  KR_CaptureRecord record = RecordFor(buffer);
  ASSERT_EQ(VideoCaptureMem(board.lib, &record, 0x20000), 0);
  ASSERT_EQ(VideoOffscreen(board.lib, 320, 200, 16, 1), 0);  // 128000 bytes
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  RunFields(board, 2);
  ASSERT_TRUE(board.sim.Memory().Faults().empty());

  EXPECT_EQ(VideoCaptureMem(board.lib, &record, 0x40000), -1);
  std::memset(buffer.storage, kSentinel, 40 * 4096);
  RunFields(board, 3);
  EXPECT_TRUE(board.sim.Memory().Faults().empty());
  EXPECT_TRUE(ExactlyWritten({buffer.storage, 40 * 4096, 1, 40 * 4096}, 0, 0, 0, 0));
  EXPECT_EQ(board.lib.Settings().liveState, 0);
  EXPECT_EQ(VideoLive(board.lib, 1, 3), -1);
  RunFields(board, 2);
  EXPECT_TRUE(board.sim.Memory().Faults().empty());

  // A frame that fits again brings the video back, into the driver's buffer.
  ASSERT_EQ(VideoOffscreen(board.lib, 64, 100, 8, 1), 0);
  EXPECT_EQ(VideoLive(board.lib, 1, 3), 0);
  RunFields(board, 2);
  EXPECT_TRUE(board.sim.Memory().Faults().empty());
}

// Locking a buffer the frame does not fit fails and keeps the earlier target, lock and
// layout; a buffer it fits then replaces the earlier lock.
TEST(VideoWindowTest, ALockTheFrameDoesNotFitKeepsTheEarlierTarget) {
  TestBoard board;
  board.StartUp();
  ASSERT_EQ(VideoOffscreen(board.lib, 64, 100, 8, 1), 0);  // 6400 bytes
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  const std::uint32_t layoutWord = board.Registers().Peek(0x10);
  CallerBuffer small(4000, 0);
  KR_CaptureRecord tooSmall = RecordFor(small);
  EXPECT_EQ(VideoCaptureMem(board.lib, &tooSmall, 0x20000), -1);
  EXPECT_EQ(board.Registers().Peek(0x10), layoutWord);
  KR_CaptureRecord info{};
  ASSERT_EQ(VideoCaptureMem(board.lib, &info, 0x10000), 0);
  EXPECT_EQ(info.buffer, board.Card().DmaBuffer().data());
  EXPECT_EQ(board.lib.Settings().liveState, 1);

  CallerBuffer first(2 * 4096, 0);
  KR_CaptureRecord firstRecord = RecordFor(first);
  ASSERT_EQ(VideoCaptureMem(board.lib, &firstRecord, 0x20000), 0);
  EXPECT_EQ(VideoCaptureMem(board.lib, &tooSmall, 0x20000), -1);
  std::memset(first.storage, kSentinel, 4 * 4096);
  RunFields(board, 2);
  EXPECT_TRUE(board.sim.Memory().Faults().empty());
  EXPECT_TRUE(ExactlyWritten({first.storage, 4 * 4096, 1, 4 * 4096}, 0, 1, 0, 6400));
  EXPECT_TRUE(ExactlyWritten({small.storage, 4 * 4096, 1, 4 * 4096}, 0, 0, 0, 0));
  ASSERT_EQ(VideoCaptureMem(board.lib, &info, 0x10000), 0);
  EXPECT_EQ(info.buffer, first.data);

  // Locking over a lock: the earlier buffer is unlocked and no longer written.
  CallerBuffer second(2 * 4096, 0);
  KR_CaptureRecord secondRecord = RecordFor(second);
  ASSERT_EQ(VideoCaptureMem(board.lib, &secondRecord, 0x20000), 0);
  std::memset(first.storage, kSentinel, 4 * 4096);
  RunFields(board, 2);
  EXPECT_TRUE(board.sim.Memory().Faults().empty());
  EXPECT_TRUE(ExactlyWritten({first.storage, 4 * 4096, 1, 4 * 4096}, 0, 0, 0, 0));
  EXPECT_TRUE(ExactlyWritten({second.storage, 4 * 4096, 1, 4 * 4096}, 0, 1, 0, 6400));
  const LockRows& rows = board.lib.Live().resources.session->Locks();
  EXPECT_EQ(std::count_if(rows.begin(), rows.end(), [](const auto& row) { return row.has_value(); }), 1);
}

// An unlock names its buffer: only the locked one is unlocked. A buffer that is not
// locked (never, or no longer) fails, and the target, the lock and the running video
// stay as they were, not even paused.
TEST(VideoWindowTest, UnlockingABufferThatIsNotLockedFailsAndChangesNothing) {
  TestBoard board;
  board.StartUp();
  ASSERT_EQ(KR_VideoOffscreen(64, 100, 8, 1), 0);  // 6400 bytes
  CallerBuffer a(2 * 4096, 0);
  CallerBuffer b(2 * 4096, 0);
  KR_CaptureRecord recordA = RecordFor(a);
  KR_CaptureRecord recordB = RecordFor(b);
  EXPECT_EQ(KR_VideoCaptureMem(&recordB, 0x40000), -1) << "nothing is locked";
  ASSERT_EQ(KR_VideoCaptureMem(&recordA, 0x20000), 0);
  ASSERT_EQ(KR_VideoLive(1, 3), 0);
  const std::size_t locks = board.sim.Locks();
  const std::size_t writes = board.Registers().Writes().size();
  EXPECT_EQ(KR_VideoCaptureMem(&recordB, 0x40000), -1) << "B was never locked";
  EXPECT_EQ(board.Registers().Writes().size(), writes);
  EXPECT_EQ(board.sim.Locks(), locks);
  KR_CaptureRecord info{};
  ASSERT_EQ(KR_VideoCaptureMem(&info, 0x10000), 0);
  EXPECT_EQ(info.buffer, a.data);
  std::memset(a.storage, kSentinel, 4 * 4096);
  RunFields(board, 2);
  EXPECT_TRUE(board.sim.Memory().Faults().empty());
  EXPECT_TRUE(ExactlyWritten({a.storage, 4 * 4096, 1, 4 * 4096}, 0, 1, 0, 6400)) << "the video still fills A";

  ASSERT_EQ(KR_VideoCaptureMem(&recordA, 0x40000), 0);
  EXPECT_EQ(board.sim.Locks(), locks - 1);
  EXPECT_EQ(KR_VideoCaptureMem(&recordA, 0x40000), -1) << "A is unlocked already";
  ASSERT_EQ(KR_VideoCaptureMem(&info, 0x10000), 0);
  EXPECT_EQ(info.buffer, board.Card().DmaBuffer().data());
  EXPECT_EQ(KR_GetLiveStatus(), 1);
}

TEST(VideoWindowTest, AsyncFramesLandOneAfterAnother) {
  TestBoard board;
  board.StartUp();
  ASSERT_EQ(VideoOffscreen(board.lib, 32, 16, 8, 1), 0);
  board.lib.Settings().misc.acquisitionMode = 1;
  ASSERT_EQ(ApplyAcquisition(board.lib), true);
  auto& target = board.Card().DmaBuffer();
  std::fill(target.begin(), target.end(), kSentinel);
  ASSERT_EQ(AsyncGrab(board.lib, 1, 3, 0), 0);
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  RunFields(board, 9);
  EXPECT_TRUE(board.sim.Memory().Faults().empty());
  for (int frame = 0; frame < 3; ++frame) EXPECT_NE(target[frame * 512 + 7], kSentinel) << frame;
  EXPECT_EQ(target[3 * 512 + 7], kSentinel) << "no fourth frame";
  EXPECT_FALSE(board.Card().Program().Running()) << "stopped after the last frame";
  EXPECT_EQ(board.Card().Program().Signals(), 1u);
}

TEST(VideoWindowTest, RingProgramsWrapAndReportTheirFrame) {
  TestBoard board;
  board.StartUp();
  ASSERT_EQ(VideoOffscreen(board.lib, 32, 16, 8, 1), 0);
  ASSERT_EQ(AsyncGrab(board.lib, 1, 4, 0x10000000), 0);
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  std::vector<int> frames;
  for (int i = 0; i < 12; ++i) {
    RunFields(board, 1);
    frames.push_back(AsyncGrab(board.lib, 3, 0, 0));
  }
  EXPECT_TRUE(std::find(frames.begin(), frames.end(), 3) != frames.end());
  EXPECT_TRUE(board.Card().Program().Running());
  EXPECT_EQ(AsyncGrab(board.lib, 2, 4, 0), -1) << "past the program";
  EXPECT_EQ(AsyncGrab(board.lib, 2, 1, 0), 0);
  EXPECT_EQ(AsyncGrab(board.lib, 3, 0, 0), 1) << "the program goes on at frame 1";
  std::intptr_t fields = 0;
  RunFields(board, 1);
  ASSERT_EQ(GetMiscParm(board.lib, 38, &fields), 0);
  EXPECT_EQ(fields, 2 * AsyncGrab(board.lib, 3, 0, 0));
  EXPECT_TRUE(board.sim.Memory().Faults().empty());
}

TEST(VideoWindowTest, AsyncCountsBeyondTheTargetOrThePageFail) {
  TestBoard board;
  board.StartUp();
  ASSERT_EQ(VideoOffscreen(board.lib, 320, 240, 16, 1), 0);
  const std::int32_t fit = FramesThatFit(board.lib);
  ASSERT_GT(fit, 0);
  ASSERT_EQ(AsyncGrab(board.lib, 1, fit + 1, 0), 0);
  EXPECT_EQ(VideoLive(board.lib, 1, 3), -1);
  ASSERT_EQ(VideoOffscreen(board.lib, 64, 4, 8, 1), 0);
  ASSERT_GT(FramesThatFit(board.lib), ProgramCapacity(false));
  ASSERT_EQ(AsyncGrab(board.lib, 1, ProgramCapacity(false) + 1, 0), 0);
  EXPECT_EQ(VideoLive(board.lib, 1, 3), -1);
}

TEST(VideoWindowTest, AWaitOnAProgramThatNeverEndsTimesOut) {
  TestBoard board;
  board.StartUp();
  ASSERT_EQ(VideoOffscreen(board.lib, 32, 16, 8, 1), 0);
  ASSERT_EQ(AsyncGrab(board.lib, 1, 2, 0x10000000 | 0x20000000), 0);
  const std::uint64_t start = board.clock.ElapsedMs();
  EXPECT_EQ(VideoLive(board.lib, 1, 3), -1);
  EXPECT_GE(board.clock.ElapsedMs() - start, 5000u);
  EXPECT_FALSE(board.Card().Program().Running());
}

}  // namespace
}  // namespace orvale::korrin
