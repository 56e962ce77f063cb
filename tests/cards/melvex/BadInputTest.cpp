// Bad input for every export, in one table: each call gets the code of the first check
// it fails, in the order the export makes its checks, and nothing crashes.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "platform/gdi/RecordingDeviceContext.h"
#include "platform/ui/MessageService.h"
#include "tests/cards/melvex/CardFixture.h"
#include "tests/cards/melvex/DibTestSupport.h"

namespace orvale::melvex {
namespace {

using testing::CardFixture;
using testing::Request;

// How far the card has got when the call is made. Stale and Forged leave no card
// current after ZLP_setActiveCard refused a closed or made-up handle.
enum class State { NoDriver, NoSession, Stale, Forged, Session, Configured, Prepared, Finished, Reading };

struct BadCall {
  const char* exportName;
  const char* what;
  State state;
  std::int32_t expected;
  std::function<std::int32_t(ZelvoLibrary&)> call;
  const char* failingName = nullptr;  // an inner export whose check failed
};

// Scratch arguments the calls point at.
struct Scratch {
  std::int32_t i32 = 0;
  std::int8_t i8 = 0;
  std::uint8_t u8 = 0;
  std::uint16_t u16 = 0;
  void* pointer = nullptr;
  ZLP_HANDLE handle = nullptr;
  ZlpLimits limits{};
  ZlpSnapRequest request = Request(0, 100, 100, 0, 100, 100);
  ZlvConfig config = Configured(7);
  ZlvConfig format6 = Configured(6);
  ZlvConfig grey = Configured(1);
  ZLV_HDIB dib = nullptr;
  gdi::RecordingDeviceContext dc{};
  gdi::RecordingDeviceContext dc16{SixteenColours()};
  ZlvFilter zeroDivisor{3, 3, 0, 0, nullptr};
  ZlvFilter noKernel{3, 3, 9, 0, nullptr};

  static gdi::DeviceCaps SixteenColours() { return testing::DisplayOfBits(4, 8, 8); }
  static ZlvConfig Configured(int format) {
    ZlvConfig c{};
    c.standard = 1;
    c.requestPAL = Request(0, 100, 100, 0, 100, 100);
    c.outputFormat = format;
    return c;
  }
  char text[16] = {};
  std::uint8_t bytes[512] = {};
};
Scratch s;
alignas(8) unsigned char gForged[256];

const ZlpSnapRequest kZeroWidth = Request(0, 0, 100, 0, 100, 100);
const ZlpSnapRequest kZeroHeight = Request(0, 100, 100, 0, 0, 100);

using L = ZelvoLibrary;
const std::vector<BadCall>& BadCalls() {
  static const std::vector<BadCall> calls = {
      {"ZLP_init", "NoDriver", State::NoDriver, code::kNoDriver, [](L& l) { return l.ZLP_init(); }},
      {"ZLP_closedown", "NoSession", State::NoSession, code::kNotInitialised, [](L& l) { return l.ZLP_closedown(0); }},
      {"ZLP_closedown", "Stale", State::Stale, code::kNotInitialised, [](L& l) { return l.ZLP_closedown(0); }},
      {"ZLP_getCurrentCardHandle", "NullFirst", State::NoSession, code::kBadPointer,
       [](L& l) { return l.ZLP_getCurrentCardHandle(nullptr); }},
      {"ZLP_getCurrentCardHandle", "NoSession", State::NoSession, code::kNotInitialised,
       [](L& l) { return l.ZLP_getCurrentCardHandle(&s.handle); }},
      {"ZLP_setActiveCard", "Null", State::Session, code::kNotInitialised, [](L& l) { return l.ZLP_setActiveCard(nullptr); }},
      {"ZLP_setActiveCard", "Forged", State::Session, code::kNotInitialised,
       [](L& l) { return l.ZLP_setActiveCard(gForged); }},
      {"ZLP_setActiveCard", "Garbage", State::Session, code::kNotInitialised,
       [](L& l) { return l.ZLP_setActiveCard(reinterpret_cast<ZLP_HANDLE>(0x10)); }},
      {"ZLP_getCardIdStrings", "NoSessionFirst", State::NoSession, code::kNotInitialised,
       [](L& l) { return l.ZLP_getCardIdStrings(nullptr, 0); }},
      {"ZLP_getCardIdStrings", "Null", State::Session, code::kBadPointer, [](L& l) { return l.ZLP_getCardIdStrings(nullptr, 0); }},
      {"ZLP_getCardIdStrings", "SizeZero", State::Session, code::kOutOfRange,
       [](L& l) { return l.ZLP_getCardIdStrings(s.text, 0); }},
      {"ZLP_videoConfig", "NoSessionFirst", State::Forged, code::kNotInitialised,
       [](L& l) { return l.ZLP_videoConfig(2, 0, nullptr); }},
      {"ZLP_videoConfig", "NullBeforeRange", State::Session, code::kBadPointer,
       [](L& l) { return l.ZLP_videoConfig(2, 0, nullptr); }},
      {"ZLP_videoConfig", "Input", State::Session, code::kOutOfRange, [](L& l) { return l.ZLP_videoConfig(2, 0, &s.i32); }},
      {"ZLP_videoConfig", "SignalType", State::Session, code::kOutOfRange,
       [](L& l) { return l.ZLP_videoConfig(0, 3, &s.i32); }},
      {"ZLP_testSignal", "NullFirst", State::NoSession, code::kBadPointer, [](L& l) { return l.ZLP_testSignal(nullptr); }},
      {"ZLP_testSignal", "Stale", State::Stale, code::kNotInitialised, [](L& l) { return l.ZLP_testSignal(&s.i32); }},
      {"ZLP_setBrightness", "NoSession", State::NoSession, code::kNotInitialised, [](L& l) { return l.ZLP_setBrightness(1); }},
      {"ZLP_setContrast", "Forged", State::Forged, code::kNotInitialised, [](L& l) { return l.ZLP_setContrast(1); }},
      {"ZLP_setSaturation", "NoSession", State::NoSession, code::kNotInitialised, [](L& l) { return l.ZLP_setSaturation(1); }},
      {"ZLP_setHue", "Stale", State::Stale, code::kNotInitialised, [](L& l) { return l.ZLP_setHue(1); }},
      {"ZLP_setGamma", "NoSession", State::NoSession, code::kNotInitialised, [](L& l) { return l.ZLP_setGamma(1.0f); }},
      {"ZLP_setGamma", "Zero", State::Session, code::kOutOfRange, [](L& l) { return l.ZLP_setGamma(0.0f); }},
      {"ZLP_setGamma", "NaN", State::Session, code::kOutOfRange,
       [](L& l) { return l.ZLP_setGamma(std::numeric_limits<float>::quiet_NaN()); }},
      {"ZLP_getBrightness", "NoSessionFirst", State::NoSession, code::kNotInitialised,
       [](L& l) { return l.ZLP_getBrightness(nullptr); }},
      {"ZLP_getBrightness", "Null", State::Session, code::kBadPointer, [](L& l) { return l.ZLP_getBrightness(nullptr); }},
      {"ZLP_getContrast", "Null", State::Session, code::kBadPointer, [](L& l) { return l.ZLP_getContrast(nullptr); }},
      {"ZLP_getSaturation", "NoSessionFirst", State::Stale, code::kNotInitialised,
       [](L& l) { return l.ZLP_getSaturation(nullptr); }},
      {"ZLP_getHue", "Null", State::Session, code::kBadPointer, [](L& l) { return l.ZLP_getHue(nullptr); }},
      {"ZLP_enableFlash", "NoSession", State::NoSession, code::kNotInitialised,
       [](L& l) { return l.ZLP_enableFlash(1, nullptr, 0); }},
      {"ZLP_enableFlash", "Type", State::Configured, code::kOutOfRange, [](L& l) { return l.ZLP_enableFlash(4, nullptr, 0); }},
      {"ZLP_enableFlash", "Delay", State::Configured, code::kOutOfRange,
       [](L& l) { return l.ZLP_enableFlash(1, nullptr, 0xFFFF); }},
      {"ZLP_disableFlash", "NoSession", State::NoSession, code::kNotInitialised, [](L& l) { return l.ZLP_disableFlash(); }},
      {"ZLP_getLimits", "NoSession", State::NoSession, code::kNotInitialised, [](L& l) { return l.ZLP_getLimits(0, nullptr); }},
      {"ZLP_getLimits", "RangeBeforeNull", State::Session, code::kOutOfRange,
       [](L& l) { return l.ZLP_getLimits(-1, nullptr); }},
      {"ZLP_getLimits", "Null", State::Session, code::kBadPointer, [](L& l) { return l.ZLP_getLimits(2, nullptr); }},
      {"ZLP_prepareSnap", "NoSessionFirst", State::NoSession, code::kNotInitialised,
       [](L& l) { return l.ZLP_prepareSnap(nullptr); }},
      {"ZLP_prepareSnap", "NotConfiguredBeforeNull", State::Session, code::kNotConfigured,
       [](L& l) { return l.ZLP_prepareSnap(nullptr); }},
      {"ZLP_prepareSnap", "Null", State::Configured, code::kBadPointer, [](L& l) { return l.ZLP_prepareSnap(nullptr); }},
      {"ZLP_prepareSnap", "ZeroWidth", State::Configured, code::kWidthOutOfRange,
       [](L& l) { return l.ZLP_prepareSnap(&kZeroWidth); }},
      {"ZLP_prepareSnap", "ZeroHeight", State::Configured, code::kHeightOutOfRange,
       [](L& l) { return l.ZLP_prepareSnap(&kZeroHeight); }},
      {"ZLP_startSnap", "NoSession", State::NoSession, code::kNotInitialised, [](L& l) { return l.ZLP_startSnap(); }},
      {"ZLP_startSnap", "NotPrepared", State::Configured, code::kSnapNotPrepared, [](L& l) { return l.ZLP_startSnap(); }},
      {"ZLP_finishSnap", "NoSession", State::NoSession, code::kNotInitialised, [](L& l) { return l.ZLP_finishSnap(); }},
      {"ZLP_finishSnap", "NotStarted", State::Prepared, code::kSnapNotStarted, [](L& l) { return l.ZLP_finishSnap(); }},
      {"ZLP_flashSnap", "NoSession", State::NoSession, code::kNotInitialised, [](L& l) { return l.ZLP_flashSnap(); }},
      {"ZLP_flashSnap", "NotPrepared", State::Configured, code::kSnapNotPrepared, [](L& l) { return l.ZLP_flashSnap(); }},
      {"ZLP_extTrigSnap", "NoSession", State::NoSession, code::kNotInitialised, [](L& l) { return l.ZLP_extTrigSnap(0); }},
      {"ZLP_extTrigSnap", "NotPrepared", State::Configured, code::kSnapNotPrepared,
       [](L& l) { return l.ZLP_extTrigSnap(10200); }},
      {"ZLP_startReadout", "NoSession", State::NoSession, code::kNotInitialised,
       [](L& l) { return l.ZLP_startReadout(1, nullptr); }},
      {"ZLP_startReadout", "NotFinished", State::Prepared, code::kSnapNotFinished,
       [](L& l) { return l.ZLP_startReadout(0, nullptr); }},
      {"ZLP_startReadout", "FormatZero", State::Finished, code::kOutOfRange,
       [](L& l) { return l.ZLP_startReadout(0, &s.u16); }},
      {"ZLP_startReadout", "FormatTwelve", State::Finished, code::kOutOfRange,
       [](L& l) { return l.ZLP_startReadout(12, &s.u16); }},
      {"ZLP_readLine", "NoSession", State::NoSession, code::kNotInitialised,
       [](L& l) { return l.ZLP_readLine(nullptr, 0, 0); }},
      {"ZLP_readLine", "NotReading", State::Finished, code::kReadoutNotStarted,
       [](L& l) { return l.ZLP_readLine(nullptr, 0, 1); }},
      {"ZLP_readLine", "OutsideBeforeNull", State::Reading, code::kOutsideImage,
       [](L& l) { return l.ZLP_readLine(nullptr, 65535, 65535); }},
      {"ZLP_readLine", "Null", State::Reading, code::kBadPointer, [](L& l) { return l.ZLP_readLine(nullptr, 0, 100); }},
      {"ZLP_skipLines", "NoSession", State::NoSession, code::kNotInitialised, [](L& l) { return l.ZLP_skipLines(1); }},
      {"ZLP_skipLines", "NotReading", State::Finished, code::kReadoutNotStarted, [](L& l) { return l.ZLP_skipLines(1); }},
      {"ZLP_autoCrop", "NoSessionFirst", State::NoSession, code::kNotInitialised,
       [](L& l) { return l.ZLP_autoCrop(nullptr); }},
      {"ZLP_autoCrop", "NotConfiguredBeforeNull", State::Session, code::kNotConfigured,
       [](L& l) { return l.ZLP_autoCrop(nullptr); }},
      {"ZLP_autoCrop", "Null", State::Configured, code::kBadPointer, [](L& l) { return l.ZLP_autoCrop(nullptr); }},
      {"ZLP_convertCbYCrYToBGR24", "NoSessionFirst", State::NoSession, code::kNotInitialised,
       [](L& l) { return l.ZLP_convertCbYCrYToBGR24(nullptr, nullptr, 1); }},
      {"ZLP_convertCbYCrYToBGR24", "NullOutput", State::Session, code::kBadPointer,
       [](L& l) { return l.ZLP_convertCbYCrYToBGR24(nullptr, s.bytes, 1); }},
      {"ZLP_convertCbYCrYToBGR24", "NullInput", State::Session, code::kBadPointer,
       [](L& l) { return l.ZLP_convertCbYCrYToBGR24(s.bytes, nullptr, 1); }},
      {"ZLP_setControlStatus", "Stale", State::Stale, code::kNotInitialised, [](L& l) { return l.ZLP_setControlStatus(0); }},
      {"ZLP_getControlStatus", "NullFirst", State::NoSession, code::kBadPointer,
       [](L& l) { return l.ZLP_getControlStatus(nullptr); }},
      {"ZLP_getControlStatus", "NoSession", State::NoSession, code::kNotInitialised,
       [](L& l) { return l.ZLP_getControlStatus(&s.u8); }},
      {"ZLP_getData", "NullFirst", State::NoSession, code::kBadPointer, [](L& l) { return l.ZLP_getData(nullptr); }},
      {"ZLP_getData", "Forged", State::Forged, code::kNotInitialised, [](L& l) { return l.ZLP_getData(&s.u16); }},
      {"ZLP_setDigitizerRegister", "NoSession", State::NoSession, code::kNotInitialised,
       [](L& l) { return l.ZLP_setDigitizerRegister(10, 0); }},
      {"ZLP_setDigitizerRegister", "NoSuchRegister", State::Session, code::kLostContact,
       [](L& l) { return l.ZLP_setDigitizerRegister(1 << 20, 0); }},
      {"ZLP_getDigitizerRegister", "NoSessionFirst", State::NoSession, code::kNotInitialised,
       [](L& l) { return l.ZLP_getDigitizerRegister(10, nullptr); }},
      {"ZLP_getDigitizerRegister", "Null", State::Session, code::kBadPointer,
       [](L& l) { return l.ZLP_getDigitizerRegister(10, nullptr); }},
      {"ZLP_setDigitizerRegisters", "NoSessionFirst", State::NoSession, code::kNotInitialised,
       [](L& l) { return l.ZLP_setDigitizerRegisters(nullptr); }},
      {"ZLP_setDigitizerRegisters", "Null", State::Session, code::kBadPointer,
       [](L& l) { return l.ZLP_setDigitizerRegisters(nullptr); }},
      {"ZLP_getDigitizerRegisters", "NoSessionFirst", State::Stale, code::kNotInitialised,
       [](L& l) { return l.ZLP_getDigitizerRegisters(nullptr); }},
      {"ZLP_getDigitizerRegisters", "Null", State::Session, code::kBadPointer,
       [](L& l) { return l.ZLP_getDigitizerRegisters(nullptr); }},
      {"ZLP_windowAddress", "NullFirst", State::NoSession, code::kBadPointer,
       [](L& l) { return l.ZLP_windowAddress(nullptr); }},
      {"ZLP_windowAddress", "Stale", State::Stale, code::kNotInitialised,
       [](L& l) { return l.ZLP_windowAddress(&s.pointer); }},
      {"ZLV_defaultConfig", "NullFirst", State::NoSession, code::kBadPointer,
       [](L& l) { return l.ZLV_defaultConfig(nullptr); }},
      {"ZLV_defaultConfig", "NoSession", State::NoSession, code::kNotInitialised,
       [](L& l) { return l.ZLV_defaultConfig(&s.config); }, "ZLP_getLimits"},
      {"ZLV_prepare", "NullFirst", State::NoSession, code::kBadPointer, [](L& l) { return l.ZLV_prepare(nullptr, 1); }},
      {"ZLV_prepare", "Stale", State::Stale, code::kNotInitialised, [](L& l) { return l.ZLV_prepare(&s.config, 0); },
       "ZLP_signalPresent"},
      {"ZLV_snap", "NullFirst", State::NoSession, code::kBadPointer, [](L& l) { return l.ZLV_snap(nullptr); }},
      {"ZLV_snap", "NotConfigured", State::Session, code::kNotConfigured, [](L& l) { return l.ZLV_snap(&s.config); },
       "ZLP_prepareSnap"},
      {"ZLV_readoutDIB", "NullConfig", State::Reading, code::kBadPointer,
       [](L& l) { return l.ZLV_readoutDIB(nullptr, &s.dib); }},
      {"ZLV_readoutDIB", "NullResult", State::Reading, code::kBadPointer,
       [](L& l) { return l.ZLV_readoutDIB(&s.config, nullptr); }},
      {"ZLV_readoutDIB", "NotFinished", State::Prepared, code::kSnapNotFinished,
       [](L& l) { return l.ZLV_readoutDIB(&s.config, &s.dib); }, "ZLP_startReadout"},
      {"ZLV_readoutDIB", "NoDibFormat", State::Finished, code::kOutOfRange,
       [](L& l) { return l.ZLV_readoutDIB(&s.format6, &s.dib); }},
      {"ZLV_readoutDIBToFile", "NullName", State::Finished, code::kBadPointer,
       [](L& l) { return l.ZLV_readoutDIBToFile(&s.config, nullptr); }},
      {"ZLV_readoutDIBToFile", "NoDibFormat", State::Finished, code::kOutOfRange,
       [](L& l) { return l.ZLV_readoutDIBToFile(&s.format6, "unused.bmp"); }},
      {"ZLV_saveDIBToFile", "NullDib", State::NoSession, code::kBadPointer,
       [](L& l) { return l.ZLV_saveDIBToFile(nullptr, "unused.bmp"); }},
      {"ZLV_saveDIBToFile", "UnknownDib", State::NoSession, code::kNoMemory,
       [](L& l) { return l.ZLV_saveDIBToFile(gForged, "unused.bmp"); }},
      {"ZLV_copyDIB", "NullResult", State::NoSession, code::kBadPointer,
       [](L& l) { return l.ZLV_copyDIB(gForged, nullptr); }},
      {"ZLV_copyDIB", "UnknownDib", State::NoSession, code::kNoMemory, [](L& l) { return l.ZLV_copyDIB(gForged, &s.dib); }},
      {"ZLV_filterDIB", "NullFilter", State::NoSession, code::kBadPointer,
       [](L& l) { return l.ZLV_filterDIB(gForged, nullptr); }},
      {"ZLV_filterDIB", "ZeroDivisor", State::NoSession, code::kOutOfRange,
       [](L& l) { return l.ZLV_filterDIB(gForged, &s.zeroDivisor); }},
      {"ZLV_filterDIB", "NullKernel", State::NoSession, code::kBadPointer,
       [](L& l) { return l.ZLV_filterDIB(gForged, &s.noKernel); }},
      {"ZLV_filterDIB", "UnknownDib", State::NoSession, code::kNoMemory,
       [](L& l) { return l.ZLV_filterDIB(gForged, l.ZLV_getFilter(1)); }},
      {"ZLV_draw", "NullConfig", State::Finished, code::kBadPointer,
       [](L& l) { return l.ZLV_draw(&s.dc, nullptr, 0, 0, 0, 0); }},
      {"ZLV_draw", "NullSurface", State::Finished, code::kBadPointer,
       [](L& l) { return l.ZLV_draw(nullptr, &s.config, 0, 0, 0, 0); }},
      {"ZLV_draw", "NotFinished", State::Prepared, code::kSnapNotFinished,
       [](L& l) { return l.ZLV_draw(&s.dc, &s.config, 0, 0, 0, 0); }, "ZLP_startReadout"},
      {"ZLV_drawDIB", "NullSurface", State::NoSession, code::kBadPointer,
       [](L& l) { return l.ZLV_drawDIB(nullptr, gForged, 0, 0, 0, 0); }},
      {"ZLV_drawDIB", "NullDib", State::NoSession, code::kBadPointer,
       [](L& l) { return l.ZLV_drawDIB(&s.dc, nullptr, 0, 0, 0, 0); }},
      {"ZLV_drawDIB", "UnknownDib", State::NoSession, code::kNoMemory,
       [](L& l) { return l.ZLV_drawDIB(&s.dc, gForged, 0, 0, 0, 0); }},
      {"ZLV_readoutDIBToClipboard", "NullConfig", State::Finished, code::kBadPointer,
       [](L& l) { return l.ZLV_readoutDIBToClipboard(nullptr); }, "ZLV_readoutDIB"},
      {"ZLV_readoutDIBToClipboard", "NoClipboard", State::Finished, code::kBadPointer,
       [](L& l) { return l.ZLV_readoutDIBToClipboard(&s.config); }, "ZLV_saveDIBToClipboard"},
      {"ZLV_saveDIBToClipboard", "NullDib", State::NoSession, code::kBadPointer,
       [](L& l) { return l.ZLV_saveDIBToClipboard(nullptr); }},
      {"ZLV_saveDIBToClipboard", "UnknownDib", State::NoSession, code::kNoMemory,
       [](L& l) { return l.ZLV_saveDIBToClipboard(gForged); }},
      {"ZLV_defaultPalette", "NullSurface", State::NoSession, code::kBadPointer,
       [](L& l) { return l.ZLV_defaultPalette(nullptr, 0); }},
      {"ZLV_defaultPalette", "SixteenColours", State::NoSession, code::kBadPointer,
       [](L& l) { return l.ZLV_defaultPalette(&s.dc16, 0); }},
      {"ZLV_snapAverageDIB", "NullConfig", State::Configured, code::kBadPointer,
       [](L& l) { return l.ZLV_snapAverageDIB(nullptr, &s.dib, 1, 1); }},
      {"ZLV_snapAverageDIB", "CountZero", State::Configured, code::kOutOfRange,
       [](L& l) { return l.ZLV_snapAverageDIB(&s.grey, &s.dib, 0x100, 1); }},
      {"ZLV_snapAverageDIB", "DivisorZero", State::Configured, code::kOutOfRange,
       [](L& l) { return l.ZLV_snapAverageDIB(&s.grey, &s.dib, 1, 0); }},
      {"ZLV_snapAverageDIB", "Format", State::Configured, code::kOutOfRange,
       [](L& l) { return l.ZLV_snapAverageDIB(&s.format6, &s.dib, 1, 1); }},
      {"ZLV_snapAverageDIB", "NotConfigured", State::Session, code::kNotConfigured,
       [](L& l) { return l.ZLV_snapAverageDIB(&s.grey, &s.dib, 1, 1); }, "ZLP_prepareSnap"},
      {"ZLV_readIniFile", "NullName", State::NoSession, code::kBadPointer,
       [](L& l) { return l.ZLV_readIniFile(nullptr, "S", &s.config); }},
      {"ZLV_readIniFile", "NullSection", State::NoSession, code::kBadPointer,
       [](L& l) { return l.ZLV_readIniFile("x.ini", nullptr, &s.config); }},
      {"ZLV_readIniFile", "NullRecord", State::NoSession, code::kBadPointer,
       [](L& l) { return l.ZLV_readIniFile("x.ini", "S", nullptr); }},
      {"ZLV_saveIniFile", "NullName", State::NoSession, code::kBadPointer,
       [](L& l) { return l.ZLV_saveIniFile(nullptr, "S", &s.config); }},
      {"ZLV_saveIniFile", "NullRecord", State::NoSession, code::kBadPointer,
       [](L& l) { return l.ZLV_saveIniFile("x.ini", "S", nullptr); }},
      {"ZLV_saveIniFile", "SectionNameBreaksTheFile", State::NoSession, code::kFileError,
       [](L& l) { return l.ZLV_saveIniFile("x.ini", "a]\nb", &s.config); }},
      {"ZLV_formatDialogBox", "NullRecord", State::Session, -1,
       [](L& l) { return l.ZLV_formatDialogBox(nullptr, nullptr, nullptr); }},
      {"ZLV_formatDialogBox", "NoWindowSystem", State::Session, -1,
       [](L& l) { return l.ZLV_formatDialogBox(nullptr, nullptr, &s.config); }},
      {"ZLV_getFilter", "Zero", State::NoSession, 1, [](L& l) { return l.ZLV_getFilter(0) == nullptr ? 1 : 0; }},
      {"ZLV_getFilter", "Nine", State::NoSession, 1, [](L& l) { return l.ZLV_getFilter(9) == nullptr ? 1 : 0; }},
      {"ZLV_getFilter", "Negative", State::NoSession, 1, [](L& l) { return l.ZLV_getFilter(-1) == nullptr ? 1 : 0; }},
      {"ZLV_lockDIB", "Unknown", State::NoSession, 1, [](L& l) { return l.ZLV_lockDIB(gForged) == nullptr ? 1 : 0; }},
      {"ZLV_unlockDIB", "Unknown", State::NoSession, code::kBadPointer, [](L& l) { return l.ZLV_unlockDIB(gForged); }},
      {"ZLV_sizeDIB", "Unknown", State::NoSession, 0, [](L& l) { return static_cast<std::int32_t>(l.ZLV_sizeDIB(gForged)); }},
      {"ZLV_freeDIB", "Unknown", State::NoSession, code::kBadPointer, [](L& l) { return l.ZLV_freeDIB(gForged); }},
  };
  return calls;
}

// Exports that have no failing input.
const std::set<std::string> kCannotFail = {"ZLP_errorString", "ZLP_lastErrorFunctionName", "ZLV_releasePalette"};

class BadInputTest : public CardFixture, public ::testing::WithParamInterface<BadCall> {
 protected:
  ScriptedMessageService messages;
  ScopedMessageService scopedMessages{messages};

  void Reach(State state) {
    if (state == State::NoDriver) Card().SetDriverPresent(false);
    if (state <= State::NoSession) return;
    ASSERT_EQ(Lib().ZLP_init(), code::kOk);
    if (state == State::Stale || state == State::Forged) {
      ZLP_HANDLE stale = nullptr;
      ASSERT_EQ(Lib().ZLP_getCurrentCardHandle(&stale), code::kOk);
      if (state == State::Stale) {
        ASSERT_EQ(Lib().ZLP_closedown(0), code::kOk);
      }
      // A record of the caller's that carries the marker at every offset.
      for (std::size_t i = 0; i + 1 < sizeof(gForged); i += 2) {
        gForged[i] = 0x34;
        gForged[i + 1] = 0x12;
      }
      ASSERT_EQ(Lib().ZLP_setActiveCard(state == State::Stale ? stale : gForged), code::kNotInitialised);
      return;
    }
    if (state == State::Session) return;
    InitAndConfigure(1);
    if (state == State::Configured) return;
    ASSERT_EQ(Lib().ZLP_prepareSnap(&s.request), code::kOk);
    if (state == State::Prepared) return;
    ASSERT_EQ(Lib().ZLP_startSnap(), code::kOk);
    ASSERT_EQ(Lib().ZLP_finishSnap(), code::kOk);
    if (state == State::Finished) return;
    ASSERT_EQ(Lib().ZLP_startReadout(7, nullptr), code::kOk);
  }
};

TEST_P(BadInputTest, GivesTheCodeOfItsFirstFailingCheck) {
  const BadCall& c = GetParam();
  Reach(c.state);
  EXPECT_EQ(c.call(Lib()), c.expected);
  std::string name = c.failingName != nullptr ? c.failingName : c.exportName;
  if (name == "ZLP_testSignal") name = "ZLP_signalPresent";
  if (name == "ZLP_windowAddress") name = "ZLP_ioWindowAddress";
  EXPECT_EQ(Lib().ZLP_lastErrorFunctionName(), name);
}

INSTANTIATE_TEST_SUITE_P(EveryExport, BadInputTest, ::testing::ValuesIn(BadCalls()),
                         [](const ::testing::TestParamInfo<BadCall>& info) {
                           return std::string(info.param.exportName) + "_" + info.param.what;
                         });

TEST(BadInputTableTest, CoversEveryExport) {
  std::set<std::string> covered;
  for (const BadCall& c : BadCalls()) covered.insert(c.exportName);
#define ZELVO_EXPORT(ordinal, name, errorName, ret, params, args) \
  EXPECT_TRUE(covered.count(#name) != 0 || kCannotFail.count(#name) != 0) << #name;
#define ZELVO_HELPER(name, errorName, ret, params, args) ZELVO_EXPORT(0, name, errorName, ret, params, args)
#include "cards/melvex/zelvo32_exports.inc"
#undef ZELVO_EXPORT
#undef ZELVO_HELPER
}

}  // namespace
}  // namespace orvale::melvex
