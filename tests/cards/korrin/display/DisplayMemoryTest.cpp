// Frame-buffer access, DIB copies, display probing, palettes and the clip mask.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "KorrinTestBoard.h"
#include "cards/korrin/capture/Acquisition.h"
#include "cards/korrin/display/DisplayMemory.h"
#include "cards/korrin/display/DisplayProbe.h"
#include "cards/korrin/display/Masks.h"
#include "cards/korrin/display/Palettes.h"
#include "cards/korrin/hardware/RegisterEncoding.h"
#include "cards/korrin/hardware/Saa7146.h"
#include "cards/korrin/capture/Surfaces.h"
#include "cards/korrin/capture/VideoWindow.h"
#include "platform/gdi/RecordingDeviceContext.h"
#include "platform/window/FakeWindow.h"

namespace orvale::korrin {
namespace {

using test::TestBoard;

sim::SimOptions Display(int bits) {
  sim::SimOptions options;
  options.displayBits = bits;
  return options;
}

TEST(DisplayMemoryTest, PixelsAndRectanglesStayOnTheDisplay) {
  TestBoard board(Display(16));
  board.StartUp();
  const Surface display = *DisplaySurface(board.lib);
  EXPECT_EQ(SetVgaPixel(board.lib, 1023, 767, 0xABCD), 0);
  EXPECT_EQ(display.At(1023, 767)[0], 0xCD);
  EXPECT_EQ(display.At(1023, 767)[1], 0xAB);
  for (auto [x, y] : {std::pair{1024, 0}, std::pair{0, 768}, std::pair{-1, 5}}) {
    EXPECT_EQ(SetVgaPixel(board.lib, x, y, 1), -1);
  }
  std::memset(display.base, 0, static_cast<std::size_t>(display.pitch) * display.height);
  ASSERT_EQ(SetVgaRect(board.lib, 1020, 765, 10, 10, 0x1111), 0);
  EXPECT_EQ(display.At(1023, 767)[0], 0x11);
  EXPECT_EQ(display.At(1019, 767)[0], 0);
  EXPECT_EQ(board.sim.FrameBuffer()[768 * 2048], 0) << "nothing past the last row";
}

TEST(DisplayMemoryTest, CopiesNeedTheWholeRectangleInsideTheSource) {
  TestBoard board;
  board.StartUp();
  std::vector<std::uint8_t> buffer(4 * 4 * 4 + 8, 0xEE);
  for (int i = 0; i < 64; ++i) buffer[i] = static_cast<std::uint8_t>(i);
  ASSERT_EQ(CopyVgaRect(board.lib, 10, 10, 4, 4, buffer.data(), -1, copydirection::kToDisplay), 0);
  std::vector<std::uint8_t> back(64);
  ASSERT_EQ(CopyVgaRect(board.lib, 10, 10, 4, 4, back.data(), -1, copydirection::kFromDisplay), 0);
  EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + 64), back);
  EXPECT_EQ(CopyVgaRect(board.lib, 1022, 0, 4, 4, back.data(), -1, 1), -1);
  EXPECT_EQ(CopyVgaRect(board.lib, 0, 0, 4, 4, back.data(), 8, 1), -1) << "pitch below a row";
  // From the DMA target, in the colour-space depth, with a wider caller pitch.
  ASSERT_EQ(VideoOffscreen(board.lib, 64, 16, 8, 1), 0);
  board.Card().DmaBuffer()[64 * 2 + 3] = 0x77;
  std::vector<std::uint8_t> wide(3 * 10, 0);
  ASSERT_EQ(CopyVgaRect(board.lib, 0, 0, 4, 3, wide.data(), 10, copydirection::kFromDmaTarget), 0);
  EXPECT_EQ(wide[2 * 10 + 3], 0x77);
  EXPECT_EQ(CopyVgaRect(board.lib, 62, 0, 4, 3, wide.data(), 10, 2), -1);
}

TEST(DisplayMemoryTest, ScreenToDibWritesABottomUpBitmap) {
  TestBoard board;
  board.StartUp();
  const Surface display = *DisplaySurface(board.lib);
  // Row 0 red, the last row blue (32-bit display: blue, green, red, unused).
  for (int x = 0; x < 640; ++x) {
    display.At(x, 0)[2] = 200;
    display.At(x, 9)[0] = 100;
  }
  std::vector<std::uint8_t> dib(DibSize(640, 10, false));
  ASSERT_EQ(ScreenToDib(board.lib, 0, 0, 641, 10, 0, dib.data()), 0);
  std::int32_t width, height;
  std::memcpy(&width, &dib[4], 4);
  std::memcpy(&height, &dib[8], 4);
  EXPECT_EQ(width, 640) << "rounded down to a multiple of 4";
  EXPECT_EQ(height, 10);
  EXPECT_EQ(dib[0], 40);
  EXPECT_EQ(dib[12], 1);
  EXPECT_EQ(dib[14], 24);
  for (int i = 16; i < 40; ++i) EXPECT_EQ(dib[i], 0) << i;
  EXPECT_EQ(dib[40], 100) << "the bottom row first";
  EXPECT_EQ(dib[40 + 9 * 640 * 3 + 2], 200);
  EXPECT_EQ(ScreenToDib(board.lib, 0, 0, 3, 10, 0, dib.data()), -1);
  EXPECT_EQ(ScreenToDib(board.lib, 1020, 0, 8, 10, 0, dib.data()), -1);
  EXPECT_EQ(ScreenToDib(board.lib, 0, 0, 8, 10, 0, nullptr), -1);
}

TEST(DisplayMemoryTest, AnAllocatedGreyDibGoesToTheClipboard) {
  TestBoard board;
  board.StartUp();
  ASSERT_EQ(ScreenToDib(board.lib, 0, 0, 4, 4, dibflag::kAllocate | dibflag::kGrey, nullptr), 0);
  const auto dib = board.clipboard.GetDib();
  ASSERT_TRUE(dib.has_value());
  EXPECT_EQ(dib->size(), 40u + 1024 + 16);
  EXPECT_EQ((*dib)[14], 8);
  EXPECT_EQ((*dib)[40 + 4 * 200], 200) << "grey colour table";
}

TEST(DisplayMemoryTest, DisplayProbeAndModeCodes) {
  struct Row {
    int bits;
    int greens;  // distinct greens the nearest-colour answer gives
    int width;
    std::int32_t mode;
  };
  for (const Row row : {Row{16, 64, 1024, (16 << 8) | 56}, Row{16, 32, 800, (15 << 8) | 48},
                        Row{32, 0, 1600, (32 << 8) | 64}, Row{8, 0, 700, (8 << 8) | 47}}) {
    TestBoard board(Display(row.bits));
    board.sim.Display().SetMode(row.width, 600, row.bits);
    if (row.greens != 0) {
      const int step = 256 / row.greens;
      board.sim.Display().SetNearestColor([step](std::uint32_t c) { return ((c >> 8) & 0xFF) / step * step << 8; });
    }
    EXPECT_EQ(GetVgaMode(board.lib, 0), row.mode) << row.bits << " " << row.greens;
    EXPECT_EQ(GetVgaMode(board.lib, 1), 0);
  }
}

TEST(DisplayMemoryTest, PaletteOperations) {
  TestBoard board;
  board.StartUp();
  ASSERT_EQ(SetPalette(board.lib, 0, 0), 0);
  const auto grey = gdi::PaletteEntries(board.lib.greyPalette);
  ASSERT_TRUE(grey.has_value());
  EXPECT_EQ((*grey)[100], (gdi::PaletteEntry{100, 100, 100, gdi::PC_NOCOLLAPSE}));
  EXPECT_EQ((*grey)[0], gdi::SystemPalette()[0]);
  gdi::RecordingDeviceContext dc;
  EXPECT_EQ(SetPalette(board.lib, 5, reinterpret_cast<std::intptr_t>(&dc)), 0);
  EXPECT_NE(dc.Log().find("Palette"), std::string::npos);
  EXPECT_EQ(SetPalette(board.lib, 2, 12345), -1) << "not a palette";
  EXPECT_EQ(SetPalette(board.lib, 1, 0), 0);
  EXPECT_FALSE(gdi::IsPalette(*&board.lib.greyPalette));
  // Output lookup tables: loaded while bit 0 of 0xF900 is clear.
  auto& bus = board.Card().LocalBus();
  bus.Write(0xF900, 1);
  board.lib.Settings().localBus.pageShadow[9] = 1;
  const std::size_t before = bus.Writes().size();
  ASSERT_EQ(SetPalette(board.lib, 8, 1), 0);
  const auto& writes = bus.Writes();
  std::vector<std::uint32_t> data;
  for (std::size_t i = before; i < writes.size(); ++i) {
    if (writes[i].address == kLutData) data.push_back(writes[i].value);
  }
  ASSERT_EQ(data.size(), 256u);
  EXPECT_EQ(data[0], 10u);
  EXPECT_EQ(data[128], 128u);
  EXPECT_EQ(data[255], 245u);
  EXPECT_EQ(writes[before].address, 0xF900u);
  EXPECT_EQ(writes[before].value & 1, 0u);
  EXPECT_EQ(writes.back().value & 1, 1u) << "bit 0 set again after the load";
  EXPECT_EQ(SetPalette(board.lib, 11, 0), -1);
}

TEST(MaskTest, HardwareRowsReverseEveryWordIncludingTheLast) {
  std::array<std::uint8_t, kMaskRowBytes> software{};
  for (int pixel : {0, 31, 32, 759}) software[pixel / 8] |= static_cast<std::uint8_t>(1u << (pixel % 8));
  std::array<std::uint8_t, kHardwareRowBytes> hardware{};
  ToHardwareMask(software, hardware);
  auto word = [&](int i) {
    std::uint32_t w;
    std::memcpy(&w, &hardware[i * 4], 4);
    return w;
  };
  EXPECT_EQ(word(0), 0x80000001u) << "pixels 0 and 31";
  EXPECT_EQ(word(1), 0x80000000u) << "pixel 32";
  EXPECT_EQ(word(23), 1u << (31 - 759 % 32)) << "pixel 759 in the padded last word";
  for (int i = 2; i < 23; ++i) EXPECT_EQ(word(i), 0u);
}

TEST(MaskTest, EnablingTwiceAddsTheMaskFormatOnce) {
  TestBoard board;
  board.StartUp();
  ASSERT_EQ(EnableVideoMask(board.lib, 1), 0);
  const std::uint32_t format = board.Registers().Peek(saa::kFormat);
  ASSERT_EQ(EnableVideoMask(board.lib, 1), 0);
  EXPECT_EQ(board.Registers().Peek(saa::kFormat), format);
  EXPECT_TRUE(encoding::FormatMaskOn(format));
  ASSERT_EQ(EnableVideoMask(board.lib, 0), 0);
  EXPECT_FALSE(encoding::FormatMaskOn(board.Registers().Peek(saa::kFormat)));
}

TEST(MaskTest, KeyComparisonFollowsTheDisplayDepth) {
  struct Row {
    int bits;
    std::uint32_t pixel;
    std::uint32_t key;
    bool shown;
  };
  const Row rows[] = {
      {32, 0x00102030, 0x102030, true},  {32, 0x00FF2030, 0x102030, false},  // red differs
      {24, 0x00102030, 0x102030, true},  {16, 0xF81F, 0xF81F, true},
      {16, 0x781F, 0xF81F, false},       {15, 0xFC1F, 0x7C1F, true},  // top bit ignored
      {8, 0x37, 0x37, true},             {8, 0x38, 0x37, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.bits << " " << std::hex << row.pixel);
    TestBoard board(Display(row.bits == 15 ? 16 : row.bits));
    board.StartUp();
    board.lib.Settings().displayBits = row.bits;
    ASSERT_EQ(SetVgaPixel(board.lib, 5, 4, row.pixel), 0);
    std::vector<std::uint8_t> mask(2 + 1, 0xAA);
    ASSERT_EQ(VgaRectToMask(board.lib, row.key, 0, 4, 16, 1, mask.data(), 2), 0);
    EXPECT_EQ(((mask[0] >> 5) & 1) == 0, row.shown);
    EXPECT_EQ(mask[2], 0xAA) << "only the rows written";
    ASSERT_EQ(VgaRectToMask(board.lib, row.key | 0x80000000u, 0, 4, 16, 1, mask.data(), 2), 0);
    EXPECT_EQ(((mask[0] >> 5) & 1) == 0, !row.shown) << "inverted";
  }
}

TEST(MaskTest, MaskRectanglesAreClippedToTheMask) {
  TestBoard board;
  board.StartUp();
  const int rows = MaskRows(board.lib.Settings());
  EXPECT_EQ(SetVideoMask(board.lib, 700, rows - 2, 200, 10, -1, 1), 0);
  const std::uint8_t* area = board.lib.Live().resources.session->Dma()->Base() + kHardwareMaskAt;
  std::uint32_t lastWord;
  std::memcpy(&lastWord, area + (rows - 1) * kHardwareRowBytes + 92, 4);
  EXPECT_NE(lastWord, 0u);
  EXPECT_EQ(area[rows * kHardwareRowBytes], 0) << "nothing past the last row";
  EXPECT_EQ(SetVideoMask(board.lib, 0, 0, -8, 4, -1, 1), -1);
}

// Rectangles reaching to the ends of the coordinate range visit only the mask.
TEST(MaskTest, MaskRectanglesAtExtremeCoordinatesFinish) {
  TestBoard board;
  board.StartUp();
  const int rows = MaskRows(board.lib.Settings());
  const std::uint8_t* area = board.lib.Live().resources.session->Dma()->Base() + kHardwareMaskAt;
  EXPECT_EQ(SetVideoMask(board.lib, INT_MAX, INT_MAX, INT_MAX, INT_MAX, -1, 1), 0);
  EXPECT_EQ(SetVideoMask(board.lib, INT_MIN, INT_MIN, INT_MAX, INT_MAX, -1, 1), 0);
  EXPECT_EQ(area[0], 0);
  EXPECT_EQ(SetVideoMask(board.lib, -8, -8, INT_MAX, INT_MAX, -1, 1), 0);
  std::uint32_t first, last;
  std::memcpy(&first, area, 4);
  std::memcpy(&last, area + (rows - 1) * kHardwareRowBytes + 92, 4);
  EXPECT_NE(first, 0u);
  EXPECT_NE(last, 0u);
  EXPECT_EQ(area[rows * kHardwareRowBytes], 0) << "nothing past the last row";
}

// A mask-draw buffer with a sentinel after it.
struct DrawBuffer {
  explicit DrawBuffer(int rows) : bytes(static_cast<std::size_t>(rows) * kMaskRowBytes + 16, 0xEE), rows(rows) {}
  bool Cleared(int x, int row) const { return ((bytes[row * kMaskRowBytes + x / 8] >> (x % 8)) & 1) == 0; }
  std::vector<std::uint8_t> bytes;
  int rows;
};

// A started board with a window at the origin and a mask per frame.
void StartWithAFrameMask(TestBoard& board) {
  board.StartUp();
  ASSERT_EQ(SetVideoWindow(board.lib, 0, 0, 640, 480, 1), 0);
  board.lib.Settings().misc.acquisitionMode = 2;
  ASSERT_TRUE(ApplyAcquisition(board.lib));
  ASSERT_FALSE(MaskPerField(board.lib.Settings()));
}

TEST(MaskTest, MaskDrawFigures) {
  TestBoard board;
  ASSERT_NO_FATAL_FAILURE(StartWithAFrameMask(board));
  EXPECT_EQ(MaskDraw(board.lib, 6, 0, 0, 4, 4, 0, nullptr), -1) << "no begin";
  DrawBuffer frame(kMaskFrameRows);
  ASSERT_EQ(MaskDraw(board.lib, 0, 0, 0, 0, 0, reinterpret_cast<std::intptr_t>(frame.bytes.data()), nullptr), 0);
  ASSERT_EQ(MaskDraw(board.lib, 3, 0, 0, 0, 0, 0xFF, nullptr), 0);
  ASSERT_EQ(MaskDraw(board.lib, 6, 10, 10, 20, 15, 0, nullptr), 0);  // a line
  EXPECT_TRUE(frame.Cleared(10, 10));
  EXPECT_TRUE(frame.Cleared(20, 15));
  EXPECT_TRUE(frame.Cleared(10, 11)) << "the next mask row too";
  EXPECT_FALSE(frame.Cleared(10, 12));
  ASSERT_EQ(MaskDraw(board.lib, 6, 30, 30, 30, 30, 0, nullptr), 0);  // zero length
  EXPECT_TRUE(frame.Cleared(30, 30));
  ASSERT_EQ(MaskDraw(board.lib, 8, 100, 100, 110, 108, 0, nullptr), 0);  // outline
  EXPECT_TRUE(frame.Cleared(100, 104));
  EXPECT_FALSE(frame.Cleared(105, 104));
  ASSERT_EQ(MaskDraw(board.lib, 10, 200, 200, 210, 210, 0, nullptr), 0);  // cross
  EXPECT_TRUE(frame.Cleared(205, 200));
  EXPECT_TRUE(frame.Cleared(200, 205));
  EXPECT_FALSE(frame.Cleared(201, 201));
  ASSERT_EQ(MaskDraw(board.lib, 14, 750, 565, 900, 900, 0, nullptr), 0);  // filled, past the edge
  EXPECT_TRUE(frame.Cleared(759, 569));
  EXPECT_EQ(frame.bytes[kMaskFrameRows * kMaskRowBytes], 0xEE) << "clipped to the buffer";
  ASSERT_EQ(MaskDraw(board.lib, 4, 0, 0, 0, 0, 0, nullptr), 0);
  EXPECT_EQ(board.lib.Settings().maskOverlay, reinterpret_cast<std::intptr_t>(frame.bytes.data()));
  EXPECT_EQ(MaskDraw(board.lib, 14, 0, 0, 1, 1, 0, nullptr), -1) << "closed";

  // Per field: a mask row stands for two display rows.
  board.lib.Settings().misc.fullFrameMask = 0;
  DrawBuffer field(kMaskFrameRows / 2);
  ASSERT_EQ(MaskDraw(board.lib, 0, 0, 0, 0, 0, reinterpret_cast<std::intptr_t>(field.bytes.data()), nullptr), 0);
  ASSERT_EQ(MaskDraw(board.lib, 3, 0, 0, 0, 0, 0xFF, nullptr), 0);
  ASSERT_EQ(MaskDraw(board.lib, 14, 0, 569, 759, 600, 0, nullptr), 0);
  EXPECT_TRUE(field.Cleared(0, 284));
  EXPECT_EQ(field.bytes[field.rows * kMaskRowBytes], 0xEE);
  EXPECT_EQ(MaskDraw(board.lib, 2, 0, 0, 0, 0, 0, nullptr), 0) << "the choice did not change";
}

// A window of one field has a mask row for each of its rows, as the video reads the
// mask: figures and key areas land on the rows they were drawn at.
TEST(MaskTest, AWindowOfOneFieldHasAMaskRowForEachOfItsRows) {
  TestBoard board;
  board.StartUp();
  ASSERT_EQ(SetVideoWindow(board.lib, 0, 0, 320, 240, 1), 0);
  board.lib.Settings().misc.acquisitionMode = 2;
  ASSERT_TRUE(ApplyAcquisition(board.lib));
  ASSERT_TRUE(MaskPerField(board.lib.Settings()));
  DrawBuffer field(kMaskFrameRows / 2);
  ASSERT_EQ(MaskDraw(board.lib, 0, 0, 0, 0, 0, reinterpret_cast<std::intptr_t>(field.bytes.data()), nullptr), 0);
  ASSERT_EQ(MaskDraw(board.lib, 3, 0, 0, 0, 0, 0xFF, nullptr), 0);
  ASSERT_EQ(MaskDraw(board.lib, 14, 40, 100, 47, 109, 0, nullptr), 0);
  EXPECT_TRUE(field.Cleared(40, 100));
  EXPECT_TRUE(field.Cleared(47, 109));
  EXPECT_FALSE(field.Cleared(40, 50)) << "not at half height";
  EXPECT_FALSE(field.Cleared(40, 99));

  TestBoard keyed(Display(32));
  keyed.StartUp();
  ASSERT_EQ(SetVideoWindow(keyed.lib, 0, 0, 320, 240, 1), 0);
  ASSERT_TRUE(ApplyAcquisition(keyed.lib));
  ASSERT_EQ(SetVgaPixel(keyed.lib, 5, 7, 0x102030), 0);
  std::vector<std::uint8_t> mask(2 * 10, 0xAA);
  ASSERT_EQ(VgaRectToMask(keyed.lib, 0x102030, 0, 0, 16, 10, mask.data(), 2), 0);
  EXPECT_EQ((mask[7 * 2] >> 5) & 1, 0) << "the key's row is mask row 7";
  EXPECT_EQ(mask[3 * 2], 0xFF);
}

// Figures reaching to the ends of the coordinate range are clipped before they are
// walked: they finish, and clear what lies inside the mask as a smaller figure would.
TEST(MaskTest, MaskDrawFiguresAtExtremeCoordinates) {
  TestBoard board;
  ASSERT_NO_FATAL_FAILURE(StartWithAFrameMask(board));
  struct Point {
    int x, row;
  };
  const struct {
    const char* what;
    int command, x1, y1, x2, y2;
    std::vector<Point> cleared, kept;
  } figures[] = {
      {"diagonal to INT_MAX", 6, 0, 0, INT_MAX, INT_MAX, {{0, 0}, {100, 100}, {100, 101}, {568, 568}}, {{101, 100}}},
      {"diagonal across the range", 6, INT_MIN, INT_MIN, INT_MAX, INT_MAX, {{0, 0}, {300, 300}}, {{301, 300}}},
      {"long flat line", 6, 0, 5, INT_MAX, 5, {{0, 5}, {759, 5}}, {{0, 7}}},
      {"line outside", 6, INT_MAX - 10, INT_MAX - 10, INT_MAX, INT_MAX, {}, {{0, 0}, {759, 569}}},
      {"filled, everything", 14, INT_MIN, INT_MIN, INT_MAX, INT_MAX, {{0, 0}, {759, 569}}, {}},
      {"filled, outside", 14, INT_MAX - 1, INT_MIN, INT_MAX, INT_MAX, {}, {{759, 0}}},
      {"outline", 8, INT_MIN, INT_MIN, INT_MAX, INT_MAX, {}, {{0, 0}, {400, 300}}},
      {"cross", 10, INT_MIN, INT_MIN, INT_MAX, INT_MAX, {{0, 300}, {400, 0}}, {{400, 300}}},
  };
  for (const auto& f : figures) {
    SCOPED_TRACE(f.what);
    DrawBuffer frame(kMaskFrameRows);
    ASSERT_EQ(MaskDraw(board.lib, 0, 0, 0, 0, 0, reinterpret_cast<std::intptr_t>(frame.bytes.data()), nullptr), 0);
    ASSERT_EQ(MaskDraw(board.lib, 3, 0, 0, 0, 0, 0xFF, nullptr), 0);
    EXPECT_EQ(MaskDraw(board.lib, f.command, f.x1, f.y1, f.x2, f.y2, 0, nullptr), 0);
    for (const Point& p : f.cleared) EXPECT_TRUE(frame.Cleared(p.x, p.row)) << p.x << "," << p.row;
    for (const Point& p : f.kept) EXPECT_FALSE(frame.Cleared(p.x, p.row)) << p.x << "," << p.row;
    EXPECT_EQ(frame.bytes[kMaskFrameRows * kMaskRowBytes], 0xEE);
    ASSERT_EQ(MaskDraw(board.lib, 4, 0, 0, 0, 0, 0, nullptr), 0);
  }

  // Drawn through a DC, a figure stops at the 16-bit coordinate range.
  DrawBuffer frame(kMaskFrameRows);
  ASSERT_EQ(MaskDraw(board.lib, 0, 0, 0, 0, 0, reinterpret_cast<std::intptr_t>(frame.bytes.data()), nullptr), 0);
  gdi::RecordingDeviceContext dc;
  ASSERT_EQ(MaskDraw(board.lib, 13, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0x0000FF, &dc), 0);
  ASSERT_EQ(dc.Records().size(), 1u);
  EXPECT_EQ(dc.Records()[0].rect, (gdi::Rect{INT16_MIN, INT16_MIN, INT16_MAX + 1, INT16_MAX + 1}));
  ASSERT_EQ(MaskDraw(board.lib, 5, 0, 0, INT_MAX, 0, 0x0000FF, &dc), 0);
  EXPECT_EQ(dc.Records().size(), 1u + INT16_MAX + 1);
}

// Figures come in screen coordinates: a caller's DC takes them as they are, a tracked
// window's own context in its client coordinates.
TEST(MaskTest, MaskDrawFiguresThroughADcOrAWindow) {
  TestBoard board;
  board.StartUp();
  DrawBuffer frame(kMaskFrameRows);
  ASSERT_EQ(MaskDraw(board.lib, 0, 0, 0, 0, 0, reinterpret_cast<std::intptr_t>(frame.bytes.data()), nullptr), 0);
  gdi::RecordingDeviceContext dc;
  FakeWindow window({100, 50, 420, 290});
  const struct {
    void* target;
    gdi::RecordingDeviceContext& records;
    gdi::Rect drawn;
  } cases[] = {
      {&dc, dc, {120, 70, 131, 81}},
      {window.Handle(), window.Recording(), {20, 20, 31, 31}},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(MaskDraw(board.lib, 13, 120, 70, 130, 80, 0x0000FF, c.target), 0);
    ASSERT_EQ(c.records.Records().size(), 1u);
    EXPECT_EQ(c.records.Records()[0].call, "FillRect");
    EXPECT_EQ(c.records.Records()[0].rect, c.drawn);
  }
  EXPECT_EQ(MaskDraw(board.lib, 13, 120, 70, 130, 80, 0x0000FF, nullptr), -1) << "nowhere to draw";
}

}  // namespace
}  // namespace orvale::korrin
