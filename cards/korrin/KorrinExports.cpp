// The C exports of korrin32: each runs the core's function for it against the live
// board, as the one call inside the library (an interrupt callback may call in while
// the application does), guarded so that no exception crosses into the caller: a call
// whose board changed under it while it waited (BoardChanged) fails.
#include <mutex>
#include <type_traits>

#include "cards/korrin/ExportTable.h"
#include "cards/korrin/LibraryInstance.h"
#include "cards/korrin/WidgetWindows.h"
#include "cards/korrin/capture/AsyncCapture.h"
#include "cards/korrin/display/AutoBlit.h"
#include "cards/korrin/display/AutoWindow.h"
#include "cards/korrin/session/BoardFrame.h"
#include "cards/korrin/display/DisplayMemory.h"
#include "cards/korrin/display/DisplayProbe.h"
#include "cards/korrin/hardware/Eeprom.h"
#include "cards/korrin/hardware/I2cRegisters.h"
#include "cards/korrin/interrupts/Interrupts.h"
#include "cards/korrin/files/ImageFiles.h"
#include "cards/korrin/display/Masks.h"
#include "cards/korrin/session/MiscParams.h"
#include "cards/korrin/display/Palettes.h"
#include "cards/korrin/session/ProfileStrings.h"
#include "cards/korrin/hardware/RegisterAccess.h"
#include "cards/korrin/hardware/SerialPort.h"
#include "cards/korrin/session/Startup.h"
#include "cards/korrin/session/Status.h"
#include "cards/korrin/interrupts/SwitchState.h"
#include "cards/korrin/capture/VideoConfig.h"
#include "cards/korrin/capture/VideoGrab.h"
#include "cards/korrin/capture/VideoWindow.h"
#include "cards/korrin/interrupts/Waits.h"
#include "cards/korrin/image/PixelConvert.h"
#include "korrin32.h"

// Every definition below must have exactly the type the table declares.
#define KR_NO_RESULT
#define KR_EXPORT(ret, name, params, failure) \
  static_assert(std::is_same_v<decltype(&::name), ret(*) params>, #name);
#define KR_CALLBACK(ret, symbol, cname, params, failure) \
  static_assert(std::is_same_v<decltype(&::cname), ret(*) params>, #symbol);
#include "korrin32_exports.inc"
#undef KR_EXPORT
#undef KR_CALLBACK
#undef KR_NO_RESULT

namespace {

using orvale::korrin::Guarded;
using orvale::korrin::Library;
namespace kr = orvale::korrin;

Library& L() { return kr::TheLibrary(); }

template <auto Function, class Body>
auto Exclusive(Body&& body) noexcept {
  return Guarded<Function>([&] {
    kr::LibraryCall call;
    return body();
  });
}

}  // namespace

extern "C" {

// board state and device access

int32_t KR_MultiBoard(int16_t operation, int32_t countOrIndex) {
  return Exclusive<&KR_MultiBoard>([&] { return kr::MultiBoard(L(), operation, countOrIndex); });
}
int32_t KR_Locate(void) { return Exclusive<&KR_Locate>([] { return kr::Locate(L()); }); }
int32_t KR_LoadConfig(int32_t) { return Exclusive<&KR_LoadConfig>([] { return kr::LoadConfig(L()); }); }
int32_t KR_Init(void) { return Exclusive<&KR_Init>([] { return kr::Init(L()); }); }
int32_t KR_Cleanup(void) { return Exclusive<&KR_Cleanup>([] { return kr::Cleanup(L()); }); }
int32_t KR_GetVersionInfo(KR_VersionInfo* info) {
  return Exclusive<&KR_GetVersionInfo>([&] { return kr::GetVersionInfo(L(), info); });
}
int32_t KR_SaveConfig(int32_t) { return kr::kFail; }  // saving to a file is not supported
int32_t KR_SaveConfigToEEPROM(int16_t key, int16_t value16, int32_t value32, int32_t configId) {
  return Exclusive<&KR_SaveConfigToEEPROM>(
      [&] { return kr::SaveConfigToEeprom(L(), key, value16, value32, configId); });
}
int32_t KR_PCIConfig(int32_t operation, int32_t a, int32_t b, int32_t c) {
  return Exclusive<&KR_PCIConfig>([&] { return kr::PciConfig(L(), operation, a, b, c); });
}

// acquisition, interrupts and timing

int32_t KR_GetFieldType(void) { return Exclusive<&KR_GetFieldType>([] { return kr::GetFieldType(L()); }); }
int32_t KR_WaitFieldType(int32_t fieldType) {
  return Exclusive<&KR_WaitFieldType>([&] { return kr::WaitFieldType(L(), fieldType); });
}
int32_t KR_WaitVSync(int32_t fields) {
  return Exclusive<&KR_WaitVSync>([&] { return kr::WaitVSync(L(), fields); });
}
int32_t KR_WaitHSync(int32_t lines) {
  return Exclusive<&KR_WaitHSync>([&] { return kr::WaitHSync(L(), lines); });
}
int32_t KR_WaitMS(int32_t milliseconds) {
  return Exclusive<&KR_WaitMS>([&] { return kr::WaitMs(L(), milliseconds); });
}
int32_t KR_VideoGrab(int32_t fieldAndWindow, int32_t modeAndFlags, int32_t fields, int32_t lines) {
  return Exclusive<&KR_VideoGrab>(
      [&] { return kr::VideoGrab(L(), fieldAndWindow, modeAndFlags, fields, lines); });
}
int32_t KR_CheckSwitch(int32_t word, int32_t timeoutMs) {
  return Exclusive<&KR_CheckSwitch>([&] { return kr::CheckSwitch(L(), word, timeoutMs); });
}
int32_t KR_EnableIRQ(int32_t source, int32_t argument, int32_t type, KR_IrqCallback callback) {
  return Exclusive<&KR_EnableIRQ>([&] { return kr::EnableIrq(L(), source, argument, type, callback); });
}
int32_t KR_ClearIRQ(int32_t source, int32_t argument) {
  return Exclusive<&KR_ClearIRQ>([&] { return kr::ClearIrq(L(), source, argument); });
}
int32_t KR_GetIRQNumber(void) { return Exclusive<&KR_GetIRQNumber>([] { return kr::GetIrqNumber(L()); }); }
int32_t KR_AsyncGrab(int32_t operation, int32_t a, int32_t b) {
  return Exclusive<&KR_AsyncGrab>([&] { return kr::AsyncGrab(L(), operation, a, b); });
}

// I2C, serial port and profile strings

int32_t KR_SetI2CReg(int32_t device, int32_t reg, int32_t value) {
  return Exclusive<&KR_SetI2CReg>([&] { return kr::SetI2cReg(L(), device, reg, value); });
}
int32_t KR_GetI2CReg(int32_t device, int32_t reg) {
  return Exclusive<&KR_GetI2CReg>([&] { return kr::GetI2cReg(L(), device, reg); });
}
int32_t KR_SetupSerial(int32_t, int32_t, int32_t baud, int32_t dataBits, int32_t parity,
                       int32_t stopBits) {
  return Exclusive<&KR_SetupSerial>(
      [&] { return kr::SetupSerial(L(), baud, dataBits, parity, stopBits); });
}
int32_t KR_ReadSerialBytes(uint8_t* buffer, int32_t length, int32_t timeoutMs) {
  return Exclusive<&KR_ReadSerialBytes>(
      [&] { return kr::ReadSerialBytes(L(), buffer, length, timeoutMs); });
}
int32_t KR_WriteSerialBytes(const uint8_t* buffer, int32_t length, int32_t timeoutMs) {
  return Exclusive<&KR_WriteSerialBytes>(
      [&] { return kr::WriteSerialBytes(L(), buffer, length, timeoutMs); });
}
int32_t KR_GetSerialReg(int32_t reg) {
  return Exclusive<&KR_GetSerialReg>([&] { return kr::GetSerialReg(L(), reg); });
}
int32_t KR_SetSerialReg(int32_t reg, int32_t value) {
  return Exclusive<&KR_SetSerialReg>([&] { return kr::SetSerialReg(L(), reg, value); });
}
int32_t KR_GetPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                                   char* buffer, int32_t size, const char* fileName) {
  return Exclusive<&KR_GetPrivateProfileString>([&] {
    return kr::GetProfileString(L(), section, key, defaultValue, buffer, size, fileName);
  });
}
int32_t KR_WritePrivateProfileString(const char* section, const char* key, const char* value,
                                     const char* fileName) {
  return Exclusive<&KR_WritePrivateProfileString>(
      [&] { return kr::WriteProfileString(L(), section, key, value, fileName); });
}
int32_t KR_OpenPrivateProfileString(int32_t, int32_t) {
  return Exclusive<&KR_OpenPrivateProfileString>([] {
    L().profileOpen = true;
    return 1;
  });
}
int32_t KR_ClosePrivateProfileString(int32_t) {
  return Exclusive<&KR_ClosePrivateProfileString>([] {
    L().profileOpen = false;
    return 1;
  });
}

// video decoder and configuration

int32_t KR_SetVideoConfig(int32_t type, int32_t standard, int32_t source, int32_t fourth) {
  return Exclusive<&KR_SetVideoConfig>(
      [&] { return kr::SetVideoConfig(L(), type, standard, source, fourth); });
}
int32_t KR_GetVideoType(void) {
  return Exclusive<&KR_GetVideoType>([] { return L().Settings().video.type; });
}
int32_t KR_GetVideoStandard(void) {
  return Exclusive<&KR_GetVideoStandard>([] { return L().Settings().video.standard; });
}
int32_t KR_GetVideoSource(void) {
  return Exclusive<&KR_GetVideoSource>([] { return L().Settings().video.source; });
}
int32_t KR_SetVideoAdjustments(int32_t index, int32_t value) {
  return Exclusive<&KR_SetVideoAdjustments>([&] { return kr::SetVideoAdjustment(L(), index, value); });
}
int32_t KR_GetVideoAdjustments(int32_t index) {
  return Exclusive<&KR_GetVideoAdjustments>([&] { return kr::GetVideoAdjustment(L(), index); });
}
int32_t KR_GetSTVideoAdjustments(int32_t standard, int32_t type, int32_t index) {
  return Exclusive<&KR_GetSTVideoAdjustments>(
      [&] { return kr::GetStoredVideoAdjustment(L(), standard, type, index); });
}
int32_t KR_SetVidFreq(int16_t first, int16_t second) {
  return Exclusive<&KR_SetVidFreq>([&] { return kr::SetVidFreq(L(), first, second); });
}
int32_t KR_SetIrisLevel(int32_t level) {
  return Exclusive<&KR_SetIrisLevel>([&] { return kr::SetIrisLevel(L(), level); });
}
int32_t KR_GetMiscParm(int16_t id, intptr_t* value) {
  return Exclusive<&KR_GetMiscParm>([&] { return kr::GetMiscParm(L(), id, value); });
}
int32_t KR_SetMiscParm(int16_t id, intptr_t value) {
  return Exclusive<&KR_SetMiscParm>([&] { return kr::SetMiscParm(L(), id, value); });
}
int32_t KR_GetMiscReg(int32_t kind, int32_t address) {
  return Exclusive<&KR_GetMiscReg>([&] { return kr::GetMiscReg(L(), kind, address); });
}
int32_t KR_SetMiscReg(int32_t kind, int32_t reg, int32_t value) {
  return Exclusive<&KR_SetMiscReg>([&] { return kr::SetMiscReg(L(), kind, reg, value); });
}
int32_t KR_GetSAA7146Reg(int32_t offset) {
  return Exclusive<&KR_GetSAA7146Reg>([&] { return kr::GetSaaRegister(L(), offset); });
}
int32_t KR_SetSAA7146Reg(int32_t offset, uint32_t value) {
  return Exclusive<&KR_SetSAA7146Reg>([&] { return kr::SetSaaRegister(L(), offset, value); });
}

// video window, scaler and DMA transfer

int32_t KR_SetInputOffset(int32_t x, int32_t y) {
  return Exclusive<&KR_SetInputOffset>([&] { return kr::SetInputOffset(L(), x, y); });
}
int32_t KR_SetInputWindow(int32_t x, int32_t y, int32_t width, int32_t height) {
  return Exclusive<&KR_SetInputWindow>([&] { return kr::SetInputWindow(L(), x, y, width, height); });
}
int32_t KR_SetAcqRect(int32_t xDelay, int32_t yDelay, int32_t width, int32_t height) {
  return Exclusive<&KR_SetAcqRect>([&] { return kr::SetAcqRect(L(), xDelay, yDelay, width, height); });
}
int32_t KR_SetXYDelay(int32_t xDelay, int32_t yDelay) {
  return Exclusive<&KR_SetXYDelay>([&] { return kr::SetXYDelay(L(), xDelay, yDelay); });
}
int32_t KR_GetXDelay(void) { return Exclusive<&KR_GetXDelay>([] { return L().Settings().xDelay; }); }
int32_t KR_GetYDelay(void) { return Exclusive<&KR_GetYDelay>([] { return L().Settings().yDelay; }); }
int32_t KR_GetVideoRect(int32_t selector, int16_t* x, int16_t* y, int16_t* width, int16_t* height) {
  return Exclusive<&KR_GetVideoRect>([&] { return kr::GetVideoRect(L(), selector, x, y, width, height); });
}
int32_t KR_SetVideoWindow(int32_t x, int32_t y, int32_t width, int32_t height, int32_t limit) {
  return Exclusive<&KR_SetVideoWindow>(
      [&] { return kr::SetVideoWindow(L(), x, y, width, height, limit); });
}
int32_t KR_VideoOffscreen(int32_t width, int32_t height, int32_t bits, int32_t limit) {
  return Exclusive<&KR_VideoOffscreen>([&] { return kr::VideoOffscreen(L(), width, height, bits, limit); });
}
int32_t KR_SetColorSpace(int32_t inputFormat, int32_t outputFormat) {
  return Exclusive<&KR_SetColorSpace>([&] { return kr::SetColorSpace(L(), inputFormat, outputFormat); });
}
int32_t KR_VideoLive(int32_t state, int32_t flags) {
  return Exclusive<&KR_VideoLive>([&] { return kr::VideoLive(L(), state, flags); });
}
int32_t KR_GetLiveStatus(void) {
  return Exclusive<&KR_GetLiveStatus>([] { return L().Settings().liveState; });
}
int32_t KR_VideoCaptureMem(KR_CaptureRecord* record, int32_t flags) {
  return Exclusive<&KR_VideoCaptureMem>([&] { return kr::VideoCaptureMem(L(), record, flags); });
}

// display memory, overlay window, masks and auto-blit

int32_t KR_GetVGAMode(int32_t flag) {
  return Exclusive<&KR_GetVGAMode>([&] { return kr::GetVgaMode(L(), flag); });
}
int32_t KR_SetVGAPixel(int32_t x, int32_t y, uint32_t value) {
  return Exclusive<&KR_SetVGAPixel>([&] { return kr::SetVgaPixel(L(), x, y, value); });
}
int32_t KR_SetVGARect(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t value) {
  return Exclusive<&KR_SetVGARect>([&] { return kr::SetVgaRect(L(), x, y, width, height, value); });
}
int32_t KR_CopyVGARect(int32_t x, int32_t y, int32_t width, int32_t height, uint8_t* buffer, int32_t pitch,
                       int32_t direction) {
  return Exclusive<&KR_CopyVGARect>(
      [&] { return kr::CopyVgaRect(L(), x, y, width, height, buffer, pitch, direction); });
}
int32_t KR_SetPalette(int32_t operation, intptr_t argument) {
  return Exclusive<&KR_SetPalette>([&] {
    // Operations 3 and 4 select into a window's device context.
    if (operation == 3 || operation == 4)
      argument = reinterpret_cast<intptr_t>(kr::TrackedHandleOf(reinterpret_cast<KR_Window>(argument)));
    return kr::SetPalette(L(), operation, argument);
  });
}
int32_t KR_ScreenToDIB(int32_t x, int32_t y, int32_t width, int32_t height, int32_t flags, uint8_t* dib) {
  return Exclusive<&KR_ScreenToDIB>([&] { return kr::ScreenToDib(L(), x, y, width, height, flags, dib); });
}
int32_t KR_AutoWindow(KR_Window window, int32_t left, int32_t top, int32_t right, int32_t bottom,
                      uint32_t flags) {
  return Exclusive<&KR_AutoWindow>(
      [&] {
        return kr::AutoWindowAttach(L(), kr::TrackedHandleOf(window), left, top, right, bottom,
                                    flags);
      });
}
int32_t KR_AutoWindowInfo(KR_AutoWindowInfoRecord* info) {
  return Exclusive<&KR_AutoWindowInfo>([&] { return kr::AutoWindowInfo(L(), info); });
}
int32_t KR_EnableVideoMask(int32_t on) {
  return Exclusive<&KR_EnableVideoMask>([&] { return kr::EnableVideoMask(L(), on); });
}
int32_t KR_SetVideoMask(int32_t x, int32_t y, int32_t width, int32_t height, int32_t stride, intptr_t bits) {
  return Exclusive<&KR_SetVideoMask>(
      [&] { return kr::SetVideoMask(L(), x, y, width, height, stride, bits); });
}
int32_t KR_VGARectToMask(uint32_t key, int32_t x, int32_t y, int32_t width, int32_t height, uint8_t* mask,
                         int32_t stride) {
  return Exclusive<&KR_VGARectToMask>(
      [&] { return kr::VgaRectToMask(L(), key, x, y, width, height, mask, stride); });
}
int32_t KR_SetMaskDelay(int32_t delay) {
  return Exclusive<&KR_SetMaskDelay>([&] {
    L().Settings().frame.maskDelay = delay;
    return kr::kOk;
  });
}
int32_t KR_MaskDraw(int32_t command, int32_t x1, int32_t y1, int32_t x2, int32_t y2, intptr_t fill,
                    void* windowOrDc) {
  return Exclusive<&KR_MaskDraw>([&] {
    return kr::MaskDraw(L(), command, x1, y1, x2, y2, fill, kr::TrackedHandleOf(windowOrDc));
  });
}
int32_t KR_AutoBlit(KR_Window window, int32_t periodOrCommand, int32_t x, int32_t y, int32_t right,
                    int32_t bottom, int32_t flags) {
  return Exclusive<&KR_AutoBlit>(
      [&] {
        return kr::AutoBlitSet(L(), kr::TrackedHandleOf(window), periodOrCommand, x, y, right,
                               bottom, flags);
      });
}

// image files and pixel conversion

int32_t KR_LoadFile(const char* fileName, int32_t x, int32_t y, int32_t width, int32_t rows,
                    int32_t flags, uint8_t* buffer, int32_t pitch) {
  return Exclusive<&KR_LoadFile>(
      [&] { return kr::LoadFile(L(), fileName, x, y, width, rows, flags, buffer, pitch); });
}
int32_t KR_SaveFile(const char* fileName, int32_t x, int32_t y, int32_t width, int32_t height,
                    int32_t bits, int32_t flags, const uint8_t* buffer, int32_t pitch) {
  return Exclusive<&KR_SaveFile>(
      [&] { return kr::SaveFile(L(), fileName, x, y, width, height, bits, flags, buffer, pitch); });
}
int32_t KR_FileResInfo(const char* fileName, int16_t* results) {
  return Exclusive<&KR_FileResInfo>([&] { return kr::FileResInfo(L(), fileName, results); });
}
void KR_ConvertPixel(int32_t count, int32_t fromBits, int32_t toBits, const void* source,
                     void* destination, const uint8_t* palette) {
  Guarded<&KR_ConvertPixel>([&] {
    kr::ConvertPixels(count, fromBits, toBits, static_cast<const uint8_t*>(source),
                      static_cast<uint8_t*>(destination), palette);
  });
}

// callbacks

int32_t KR_GetImgRowProc(int32_t row, uint8_t* pixels) {
  return Exclusive<&KR_GetImgRowProc>([&] { return kr::GetImageRow(L(), row, pixels); });
}
int32_t KR_PutImgRowProc(int32_t row, const uint8_t* pixels) {
  return Exclusive<&KR_PutImgRowProc>([&] { return kr::PutImageRow(L(), row, pixels); });
}
void KR_AWTimeProc(KR_Window window, uint32_t, uintptr_t, uint32_t) {
  Exclusive<&KR_AWTimeProc>([&] { kr::OnTrackingTimer(L(), window); });
}
intptr_t HookFilterFunc(int32_t, uintptr_t, intptr_t lParam) {
  return Exclusive<&HookFilterFunc>([&]() -> intptr_t {
    if (const auto* message = reinterpret_cast<const KR_HookMessage*>(lParam)) {
      kr::OnHookMessage(L(), *message, false);
    }
    return 0;
  });
}
intptr_t HookFilterFuncMulti(int32_t, uintptr_t, intptr_t lParam) {
  return Exclusive<&HookFilterFuncMulti>([&]() -> intptr_t {
    if (const auto* message = reinterpret_cast<const KR_HookMessage*>(lParam)) {
      kr::OnHookMessage(L(), *message, true);
    }
    return 0;
  });
}
void AutoBlitProc(KR_Window, uint32_t, uintptr_t, uint32_t) {
  Exclusive<&AutoBlitProc>([] { kr::OnBlitTimer(L(), false); });
}
void AutoBlitProcMulti(KR_Window, uint32_t, uintptr_t, uint32_t) {
  Exclusive<&AutoBlitProcMulti>([] { kr::OnBlitTimer(L(), true); });
}

}  // extern "C"
