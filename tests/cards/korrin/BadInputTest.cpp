// Bad input to every export: an unlocated board, null pointers, unknown windows and
// out-of-range indexes, offsets, sizes and operation codes. Each call returns its
// export's failure value, writes nothing to the board and nothing to caller memory,
// and does not crash. Figures at the ends of the coordinate range are accepted: they
// must finish, with nothing to do. The table is checked against the export table, so a new export
// without rows fails here.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "KorrinTestBoard.h"
#include "cards/korrin/ExportTable.h"
#include "cards/korrin/display/Masks.h"

namespace orvale::korrin {
namespace {

using test::TestBoard;

enum class Board { kUnlocated, kStarted };

// Caller memory handed to the exports, filled with a pattern that must survive.
struct Memory {
  static constexpr std::uint8_t kFill = 0xA5;
  Memory() { Fill(); }
  void Fill() {
    bytes.fill(kFill);
    for (auto& w : words) w = static_cast<std::int16_t>(0x5A5A);
  }
  bool Intact() const {
    for (auto b : bytes) if (b != kFill) return false;
    for (auto w : words) if (w != 0x5A5A) return false;
    return true;
  }
  std::array<std::uint8_t, 8192> bytes{};
  std::array<std::int16_t, 4> words{};
  std::uint8_t* Buffer() { return bytes.data(); }
  std::int16_t* Word(int i) { return &words[i]; }
};

struct BadCall {
  std::string why;
  Board board;
  std::function<std::int64_t(Memory&)> call;  // the result, widened
  std::optional<std::int64_t> failure;        // none for exports without a result
};

// Accepted rather than refused.
BadCall Accepted(BadCall row) {
  row.failure = 0;
  return row;
}

// Begins a mask drawing into a buffer of its own, then draws the figure.
std::int32_t FigureInFreshMask(std::int32_t command, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                               std::int32_t y2) {
  static std::vector<std::uint8_t> mask(static_cast<std::size_t>(kMaskRowBytes) * kMaskFrameRows);
  KR_MaskDraw(0, 0, 0, 0, 0, reinterpret_cast<intptr_t>(mask.data()), nullptr);
  return KR_MaskDraw(command, x1, y1, x2, y2, 0, nullptr);
}

template <auto Function, class Call>
BadCall Row(std::string why, Board board, Call call) {
  BadCall row{std::move(why), board, nullptr, std::nullopt};
  using Result = decltype(ExportInfo<Function>::Failure());
  if constexpr (std::is_void_v<Result>) {
    row.call = [call](Memory& m) {
      call(m);
      return std::int64_t{0};
    };
  } else {
    row.call = [call](Memory& m) { return static_cast<std::int64_t>(call(m)); };
    row.failure = static_cast<std::int64_t>(ExportInfo<Function>::Failure());
  }
  return row;
}

constexpr auto U = Board::kUnlocated;
constexpr auto S = Board::kStarted;
KR_Window const kUnknownWindow = reinterpret_cast<KR_Window>(0x1234);
// A misc parameter 2 value that points to no rectangle.
intptr_t g_noRectangle = 0;

std::map<std::string, std::vector<BadCall>> Table() {
  std::map<std::string, std::vector<BadCall>> t;
  auto add = [&](std::string_view name, BadCall row) { t[std::string(name)].push_back(std::move(row)); };
#define BAD(fn, why, board, ...) add(#fn, Row<&fn>(why, board, [](Memory& m) { (void)m; return __VA_ARGS__; }))
#define BAD_VOID(fn, why, board, ...) add(#fn, Row<&fn>(why, board, [](Memory& m) { (void)m; __VA_ARGS__; }))
#define ACCEPTED(fn, why, board, ...) \
  add(#fn, Accepted(Row<&fn>(why, board, [](Memory& m) { (void)m; return __VA_ARGS__; })))

  // board state and device access
  BAD(KR_MultiBoard, "switch without copies", U, KR_MultiBoard(2, 0));
  BAD(KR_MultiBoard, "unknown operation", S, KR_MultiBoard(7, 0));
  BAD(KR_MultiBoard, "no boards", U, KR_MultiBoard(0, 0));
  BAD(KR_MultiBoard, "negative index", U, KR_MultiBoard(3, -1));
  BAD(KR_GetVersionInfo, "null record", S, KR_GetVersionInfo(nullptr));
  BAD(KR_SaveConfig, "never supported", S, KR_SaveConfig(0));
  BAD(KR_SaveConfigToEEPROM, "unlocated", U, KR_SaveConfigToEEPROM(0x5651, 1, 2, 3));
  BAD(KR_SaveConfigToEEPROM, "wrong key", S, KR_SaveConfigToEEPROM(0x1234, 1, 2, 3));
  BAD(KR_PCIConfig, "unlocated", U, KR_PCIConfig(1, 0x110, 0, 0));
  BAD(KR_PCIConfig, "unknown operation", S, KR_PCIConfig(9, 0, 0, 0));
  BAD(KR_PCIConfig, "unknown handle", S, KR_PCIConfig(1, 0x7777, 0, 0));

  // acquisition, interrupts and timing
  BAD(KR_GetFieldType, "unlocated", U, KR_GetFieldType());
  BAD(KR_WaitFieldType, "unlocated", U, KR_WaitFieldType(0));
  BAD(KR_WaitVSync, "unlocated", U, KR_WaitVSync(2));
  BAD(KR_WaitHSync, "unlocated", U, KR_WaitHSync(10));
  BAD(KR_VideoGrab, "unlocated", U, KR_VideoGrab(0, 0, 1, 0));
  BAD(KR_CheckSwitch, "unlocated", U, KR_CheckSwitch(0, 10));
  BAD(KR_EnableIRQ, "unlocated", U, KR_EnableIRQ(0, 0, 1, [] {}));
  BAD(KR_EnableIRQ, "null callback", S, KR_EnableIRQ(0, 0, 1, nullptr));
  BAD(KR_EnableIRQ, "unknown source", S, KR_EnableIRQ(1, 0, 3, nullptr));
  BAD(KR_EnableIRQ, "unknown type", S, KR_EnableIRQ(0, 0, 4, nullptr));
  BAD(KR_ClearIRQ, "unlocated", U, KR_ClearIRQ(0, 0));
  BAD(KR_GetIRQNumber, "unlocated", U, KR_GetIRQNumber());
  BAD(KR_AsyncGrab, "unknown operation", S, KR_AsyncGrab(9, 0, 0));
  BAD(KR_AsyncGrab, "jump past the program", S, KR_AsyncGrab(2, 5, 0));
  BAD(KR_AsyncGrab, "jump before the program", S, KR_AsyncGrab(2, -1, 0));
  BAD(KR_AsyncGrab, "unlocated", U, KR_AsyncGrab(7, 0, 0));

  // I2C, serial port and profile strings
  BAD(KR_SetI2CReg, "unlocated", U, KR_SetI2CReg(0x4A, 1, 1));
  BAD(KR_SetI2CReg, "register out of range", S, KR_SetI2CReg(0x9C, 300, 1));
  BAD(KR_SetI2CReg, "device out of range", S, KR_SetI2CReg(0x14A, 1, 1));
  BAD(KR_SetI2CReg, "0x8A register out of range", S, KR_SetI2CReg(0x8A, 256, 1));
  BAD(KR_GetI2CReg, "unlocated", U, KR_GetI2CReg(0x9C, 1));
  BAD(KR_GetI2CReg, "register out of range", S, KR_GetI2CReg(0x9D, -2));
  BAD(KR_SetupSerial, "unlocated", U, KR_SetupSerial(0, 0, 9600, 8, 0, 1));
  BAD(KR_SetupSerial, "four data bits", S, KR_SetupSerial(0, 0, 9600, 4, 0, 1));
  BAD(KR_ReadSerialBytes, "null buffer", S, KR_ReadSerialBytes(nullptr, 4, 0));
  BAD(KR_ReadSerialBytes, "negative length", S, KR_ReadSerialBytes(m.Buffer(), -4, 0));
  BAD(KR_ReadSerialBytes, "unlocated", U, KR_ReadSerialBytes(m.Buffer(), 4, 0));
  BAD(KR_WriteSerialBytes, "null buffer", S, KR_WriteSerialBytes(nullptr, 4, 0));
  BAD(KR_WriteSerialBytes, "negative length", S, KR_WriteSerialBytes(m.Buffer(), -1, 0));
  BAD(KR_GetSerialReg, "register 8", S, KR_GetSerialReg(8));
  BAD(KR_GetSerialReg, "unlocated", U, KR_GetSerialReg(1));
  BAD(KR_SetSerialReg, "register 16", S, KR_SetSerialReg(16, 0));
  BAD(KR_GetPrivateProfileString, "null buffer", U,
      KR_GetPrivateProfileString("s", "k", "d", nullptr, 10, "bad.ini"));
  BAD(KR_GetPrivateProfileString, "negative size", U,
      KR_GetPrivateProfileString("s", "k", "d", reinterpret_cast<char*>(m.Buffer()), -1, "bad.ini"));
  BAD(KR_GetPrivateProfileString, "null file", U,
      KR_GetPrivateProfileString("s", "k", "d", reinterpret_cast<char*>(m.Buffer()), 10, nullptr));
  BAD(KR_WritePrivateProfileString, "null section", U, KR_WritePrivateProfileString(nullptr, "k", "v", "bad.ini"));
  BAD(KR_WritePrivateProfileString, "null file", U, KR_WritePrivateProfileString("s", "k", "v", nullptr));

  // video decoder and configuration
  BAD(KR_SetVideoConfig, "unlocated", U, KR_SetVideoConfig(0, 0, 1, 0));
  BAD(KR_SetVideoConfig, "type 5", S, KR_SetVideoConfig(5, 0, 0, 0));
  BAD(KR_SetVideoConfig, "source 6", S, KR_SetVideoConfig(0, 0, 6, 0));
  BAD(KR_SetVideoAdjustments, "index 12", S, KR_SetVideoAdjustments(12, 0));
  BAD(KR_SetVideoAdjustments, "index -1", S, KR_SetVideoAdjustments(-1, 0));
  BAD(KR_SetVideoAdjustments, "unlocated", U, KR_SetVideoAdjustments(0, 0));
  BAD(KR_GetVideoAdjustments, "index 12", S, KR_GetVideoAdjustments(12));
  BAD(KR_GetVideoAdjustments, "index -1", S, KR_GetVideoAdjustments(-1));
  BAD(KR_GetSTVideoAdjustments, "standard 2", S, KR_GetSTVideoAdjustments(2, 0, 0));
  BAD(KR_GetSTVideoAdjustments, "type 5", S, KR_GetSTVideoAdjustments(0, 5, 0));
  BAD(KR_GetSTVideoAdjustments, "index 12", S, KR_GetSTVideoAdjustments(0, 0, 12));
  BAD(KR_SetVidFreq, "unlocated", U, KR_SetVidFreq(1, 2));
  BAD(KR_SetVidFreq, "no frequency control", S, KR_SetVidFreq(1, 2));
  BAD(KR_SetIrisLevel, "unlocated", U, KR_SetIrisLevel(0));
  BAD(KR_SetIrisLevel, "level 4096", S, KR_SetIrisLevel(4096));
  BAD(KR_GetMiscParm, "null result", S, KR_GetMiscParm(13, nullptr));
  BAD(KR_GetMiscParm, "id 0", S, KR_GetMiscParm(0, reinterpret_cast<intptr_t*>(m.Buffer())));
  BAD(KR_GetMiscParm, "id 39", S, KR_GetMiscParm(39, reinterpret_cast<intptr_t*>(m.Buffer())));
  BAD(KR_GetMiscParm, "id 23", S, KR_GetMiscParm(23, reinterpret_cast<intptr_t*>(m.Buffer())));
  BAD(KR_GetMiscParm, "null marker rectangle", S, KR_GetMiscParm(2, &g_noRectangle));
  BAD(KR_SetMiscParm, "id 39", S, KR_SetMiscParm(39, 0));
  BAD(KR_SetMiscParm, "null version record", S, KR_SetMiscParm(15, 0));
  BAD(KR_SetMiscParm, "null marker rectangle", S, KR_SetMiscParm(2, 0));
  BAD(KR_SetMiscParm, "channel 2", S, KR_SetMiscParm(34, 2));
  BAD(KR_GetMiscReg, "kind 2", S, KR_GetMiscReg(2, 0xF000));
  BAD(KR_GetMiscReg, "address out of range", S, KR_GetMiscReg(4, 0x10000));
  BAD(KR_GetMiscReg, "unlocated", U, KR_GetMiscReg(4, 0xF100));
  BAD(KR_SetMiscReg, "kind 2", S, KR_SetMiscReg(2, 0, 0));
  BAD(KR_SetMiscReg, "timing register 32", S, KR_SetMiscReg(1, 32, 0));
  BAD(KR_SetMiscReg, "unlocated", U, KR_SetMiscReg(4, 0xF100, 0));
  BAD(KR_GetSAA7146Reg, "offset 0x200", S, KR_GetSAA7146Reg(0x200));
  BAD(KR_GetSAA7146Reg, "offset 3", S, KR_GetSAA7146Reg(3));
  BAD(KR_GetSAA7146Reg, "unlocated", U, KR_GetSAA7146Reg(0));
  BAD(KR_SetSAA7146Reg, "offset 0x200", S, KR_SetSAA7146Reg(0x200, 0));
  BAD(KR_SetSAA7146Reg, "negative offset", S, KR_SetSAA7146Reg(-4, 0));

  // video window, scaler and DMA transfer
  BAD(KR_SetInputOffset, "unlocated", U, KR_SetInputOffset(0, 0));
  BAD(KR_SetInputWindow, "unlocated", U, KR_SetInputWindow(0, 0, 640, 480));
  BAD(KR_SetAcqRect, "unlocated", U, KR_SetAcqRect(140, 12, 640, 480));
  BAD(KR_SetXYDelay, "unlocated", U, KR_SetXYDelay(140, 12));
  BAD(KR_GetVideoRect, "negative selector", S,
      KR_GetVideoRect(-1, m.Word(0), m.Word(1), m.Word(2), m.Word(3)));
  BAD(KR_GetVideoRect, "selector 3", S, KR_GetVideoRect(3, m.Word(0), m.Word(1), m.Word(2), m.Word(3)));
  BAD(KR_GetVideoRect, "null result", S, KR_GetVideoRect(0, nullptr, m.Word(1), m.Word(2), m.Word(3)));
  BAD(KR_SetVideoWindow, "unlocated", U, KR_SetVideoWindow(0, 0, 640, 480, 0));
  BAD(KR_SetVideoWindow, "beyond the display", S, KR_SetVideoWindow(5000, 0, 640, 480, 0));
  BAD(KR_VideoOffscreen, "unlocated", U, KR_VideoOffscreen(640, 480, 24, 0));
  BAD(KR_VideoOffscreen, "larger than any target", S, KR_VideoOffscreen(32767, 32767, 32, 0));
  BAD(KR_SetColorSpace, "unlocated", U, KR_SetColorSpace(-1, 24));
  BAD(KR_VideoLive, "unlocated", U, KR_VideoLive(1, 0));
  BAD(KR_VideoCaptureMem, "null record", S, KR_VideoCaptureMem(nullptr, 0x10000));
  BAD(KR_VideoCaptureMem, "unlocated", U,
      KR_VideoCaptureMem(reinterpret_cast<KR_CaptureRecord*>(m.Buffer()), 0x10000));
  BAD(KR_VideoCaptureMem, "unlock with nothing locked", S,
      KR_VideoCaptureMem(reinterpret_cast<KR_CaptureRecord*>(m.Buffer()), 0x40000));

  // display memory, overlay window, masks and auto-blit
  BAD(KR_SetVGAPixel, "outside the display", S, KR_SetVGAPixel(-1, 0, 0));
  BAD(KR_SetVGAPixel, "far outside the display", S, KR_SetVGAPixel(0, 100000, 0));
  BAD(KR_SetVGAPixel, "unlocated", U, KR_SetVGAPixel(0, 0, 0));
  BAD(KR_SetVGARect, "unlocated", U, KR_SetVGARect(0, 0, 4, 4, 0));
  BAD(KR_CopyVGARect, "null buffer", S, KR_CopyVGARect(0, 0, 4, 4, nullptr, -1, 1));
  BAD(KR_CopyVGARect, "pitch below -1", S, KR_CopyVGARect(0, 0, 4, 4, m.Buffer(), -2, 1));
  BAD(KR_CopyVGARect, "outside the display", S, KR_CopyVGARect(1020, 0, 8, 4, m.Buffer(), -1, 1));
  BAD(KR_CopyVGARect, "unknown direction", S, KR_CopyVGARect(0, 0, 4, 4, m.Buffer(), -1, 3));
  BAD(KR_SetPalette, "unknown operation", S, KR_SetPalette(11, 0));
  BAD(KR_SetPalette, "negative operation", S, KR_SetPalette(-1, 0));
  BAD(KR_SetPalette, "unknown window", S, KR_SetPalette(3, reinterpret_cast<intptr_t>(kUnknownWindow)));
  BAD(KR_ScreenToDIB, "null DIB without allocation", S, KR_ScreenToDIB(0, 0, 8, 8, 0, nullptr));
  BAD(KR_ScreenToDIB, "width below 4", S, KR_ScreenToDIB(0, 0, 3, 8, 0, m.Buffer()));
  BAD(KR_ScreenToDIB, "outside the display", S, KR_ScreenToDIB(1020, 0, 8, 8, 0, m.Buffer()));
  BAD(KR_AutoWindow, "unknown window", S, KR_AutoWindow(kUnknownWindow, 0, 0, 0, 0, 0));
  BAD(KR_AutoWindowInfo, "null record", S, KR_AutoWindowInfo(nullptr));
  BAD(KR_EnableVideoMask, "unlocated", U, KR_EnableVideoMask(1));
  BAD(KR_SetVideoMask, "unlocated", U, KR_SetVideoMask(0, 0, 8, 8, -1, 0));
  BAD(KR_VGARectToMask, "null buffer", S, KR_VGARectToMask(0, 0, 0, 8, 8, nullptr, 1));
  BAD(KR_VGARectToMask, "unlocated", U, KR_VGARectToMask(0, 0, 0, 8, 8, m.Buffer(), 1));
  BAD(KR_MaskDraw, "figure without a begin", S, KR_MaskDraw(6, 0, 0, 4, 4, 0, nullptr));
  BAD(KR_MaskDraw, "unknown command", S, KR_MaskDraw(99, 0, 0, 0, 0, 0, nullptr));
  ACCEPTED(KR_SetVideoMask, "rectangle at INT_MAX", S, KR_SetVideoMask(INT_MAX, INT_MAX, INT_MAX, INT_MAX, -1, 1));
  ACCEPTED(KR_SetVideoMask, "rectangle from INT_MIN", S, KR_SetVideoMask(INT_MIN, INT_MIN, INT_MAX, INT_MAX, -1, 1));
  ACCEPTED(KR_MaskDraw, "line at INT_MAX", S, FigureInFreshMask(6, INT_MAX - 5, INT_MAX - 5, INT_MAX, INT_MAX));
  ACCEPTED(KR_MaskDraw, "line across the range", S, FigureInFreshMask(6, INT_MIN, 0, INT_MAX, INT_MAX));
  ACCEPTED(KR_MaskDraw, "filled at INT_MAX", S, FigureInFreshMask(14, INT_MAX - 1, 0, INT_MAX, INT_MAX));
  ACCEPTED(KR_MaskDraw, "cross at INT_MIN", S, FigureInFreshMask(10, INT_MIN, INT_MIN, INT_MIN + 9, INT_MIN + 9));
  BAD(KR_AutoBlit, "unknown window", S, KR_AutoBlit(kUnknownWindow, 100, 0, 0, 0, 0, 0));

  // image files and pixel conversion
  BAD(KR_LoadFile, "null name", U, KR_LoadFile(nullptr, 0, 0, 0, 0, 0, m.Buffer(), -1));
  BAD(KR_LoadFile, "no such plug-in", U, KR_LoadFile("/nowhere/x.q-q", 0, 0, 0, 0, 0, m.Buffer(), -1));
  BAD(KR_LoadFile, "missing file", U, KR_LoadFile("/nowhere/x.tga", 0, 0, 0, 0, 0, m.Buffer(), -1));
  BAD(KR_SaveFile, "null name", U, KR_SaveFile(nullptr, 0, 0, 4, 4, 24, 0, m.Buffer(), -1));
  BAD(KR_SaveFile, "bits 12", U, KR_SaveFile("/nowhere/x.tga", 0, 0, 4, 4, 12, 0, m.Buffer(), -1));
  BAD(KR_SaveFile, "zero width", U, KR_SaveFile("/nowhere/x.tga", 0, 0, 0, 4, 24, 0, m.Buffer(), -1));
  BAD(KR_FileResInfo, "null results", U, KR_FileResInfo("/nowhere/x.tga", nullptr));
  BAD(KR_FileResInfo, "null name", U, KR_FileResInfo(nullptr, m.Word(0)));
  BAD_VOID(KR_ConvertPixel, "unknown format", U, KR_ConvertPixel(4, 12, 24, m.Buffer(), m.Buffer() + 64, nullptr));
  BAD_VOID(KR_ConvertPixel, "negative count", U, KR_ConvertPixel(-4, 24, 24, m.Buffer(), m.Buffer() + 64, nullptr));

  // callbacks
  BAD(KR_GetImgRowProc, "outside an operation", S, KR_GetImgRowProc(0, m.Buffer()));
  BAD(KR_PutImgRowProc, "outside an operation", S, KR_PutImgRowProc(0, m.Buffer()));
  BAD_VOID(KR_AWTimeProc, "unknown window", S, KR_AWTimeProc(kUnknownWindow, 0x113, 1, 0));
  BAD(HookFilterFunc, "null message", S, HookFilterFunc(0, 0, 0));
  BAD(HookFilterFuncMulti, "null message", S, HookFilterFuncMulti(0, 0, 0));
  BAD_VOID(AutoBlitProc, "unknown window", S, AutoBlitProc(kUnknownWindow, 0x113, 1, 0));
  BAD_VOID(AutoBlitProcMulti, "unknown window", S, AutoBlitProcMulti(kUnknownWindow, 0x113, 1, 0));
#undef BAD
#undef BAD_VOID
#undef ACCEPTED
  return t;
}

// Exports that have no input that could be bad.
const std::set<std::string> kNothingToRefuse = {
    "KR_Locate",        "KR_LoadConfig",        "KR_Init",  // covered below: no board at all
    "KR_Cleanup",       "KR_GetVideoType",      "KR_GetVideoStandard", "KR_GetVideoSource",
    "KR_GetXDelay",     "KR_GetYDelay",         "KR_GetLiveStatus",    "KR_WaitMS",
    "KR_GetVGAMode",    "KR_SetMaskDelay",      "KR_OpenPrivateProfileString",
    "KR_ClosePrivateProfileString",
};

TEST(BadInputTest, EveryExportHasRowsOrHasNothingToRefuse) {
  const auto table = Table();
  for (std::string_view name : kExportedSymbols) {
    std::string key(name);
    if (key == "_GetImgRow") key = "KR_GetImgRowProc";
    if (key == "_PutImgRow") key = "KR_PutImgRowProc";
    if (key == "_AWTimeProc") key = "KR_AWTimeProc";
    EXPECT_TRUE(table.count(key) != 0 || kNothingToRefuse.count(key) != 0) << name << " has no bad-input rows";
  }
}

struct BoardWrites {
  explicit BoardWrites(TestBoard& b)
      : registers(b.Registers().Writes().size()),
        local(b.Card().LocalBus().Writes().size()),
        pci(b.sim.PciWrites().size()),
        eeprom(b.Card().Eeprom().ByteWrites()),
        locks(b.sim.Locks()),
        faults(b.sim.Memory().Faults().size()) {}
  bool operator==(const BoardWrites&) const = default;
  std::size_t registers, local, pci, eeprom, locks, faults;
};

TEST(BadInputTest, EveryBadCallFailsAndTouchesNothing) {
  for (const auto& [name, rows] : Table()) {
    for (const BadCall& row : rows) {
      SCOPED_TRACE(name + ": " + row.why);
      TestBoard board;
      if (row.board == Board::kStarted) {
        board.StartUp();
        ASSERT_TRUE(board.lib.Live().Located());
      }
      Memory memory;
      const BoardWrites before(board);
      const std::int64_t result = row.call(memory);
      if (row.failure) {
        EXPECT_EQ(result, *row.failure);
      }
      EXPECT_TRUE(memory.Intact()) << "caller memory changed";
      EXPECT_EQ(BoardWrites(board), before) << "the board was written";
    }
  }
}

TEST(BadInputTest, WithoutABoardStartUpFails) {
  sim::SimOptions none;
  none.boards = 0;
  TestBoard board(none);
  EXPECT_EQ(KR_Locate(), -1);
  EXPECT_EQ(KR_LoadConfig(0), -1);
  EXPECT_EQ(KR_Init(), -1);
  EXPECT_EQ(KR_Cleanup(), 0);
}

}  // namespace
}  // namespace orvale::korrin
