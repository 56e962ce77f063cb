#pragma once
// Everything zelvo32 keeps for the whole process: the card sessions and the current one,
// the shared line buffer, the error bookkeeping and the conversion tables. The shared
// object holds one instance; tests build their own over a simulated card.
//
// The member functions named after the exports are the exports: each sets the current
// function name on entry (an ExportScope), records it as the last failing name when its
// own check fails, and returns the code. Codes passed through from an inner export keep
// the inner export's name.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "cards/melvex/CardSession.h"
#include "cards/melvex/ConversionTables.h"
#include "cards/melvex/LineFormats.h"
#include "cards/melvex/MelvexDevice.h"
#include "cards/melvex/zelvo32.h"
#include "platform/gdi/Palette.h"
#include "platform/profile/PrivateProfile.h"
#include "platform/runtime/MovableMemory.h"
#include "platform/ui/ClipboardService.h"

namespace orvale::melvex {

class ZelvoLibrary {
 public:
  // DIBs are made in `memory`, which is the process's unless a test gives its own.
  explicit ZelvoLibrary(MelvexDevice& device, MovableMemory& memory = ProcessMemory());
  ~ZelvoLibrary();
  ZelvoLibrary(const ZelvoLibrary&) = delete;
  ZelvoLibrary& operator=(const ZelvoLibrary&) = delete;

  // Consulted before each allocation of the session layer; false makes it fail as if
  // memory ran out. By default every allocation is allowed.
  using AllocationGate = std::function<bool(std::size_t bytes)>;
  void SetAllocationGate(AllocationGate gate) { allocationGate_ = std::move(gate); }

  // Card session and errors.
  std::int32_t ZLP_init();
  std::int32_t ZLP_closedown(std::int32_t mode);
  std::int32_t ZLP_getCurrentCardHandle(ZLP_HANDLE* handle);
  std::int32_t ZLP_setActiveCard(ZLP_HANDLE handle);
  const char* ZLP_errorString(std::int32_t code);
  const char* ZLP_lastErrorFunctionName();
  std::int32_t ZLP_getCardIdStrings(char* buffer, std::uint16_t size);
  std::int32_t ZLP_setControlStatus(std::uint8_t value);
  std::int32_t ZLP_getControlStatus(std::uint8_t* value);
  std::int32_t ZLP_getData(std::uint16_t* word);
  std::int32_t ZLP_windowAddress(void** address);

  // Digitizer set-up, picture adjustments, flash and raw registers.
  std::int32_t ZLP_videoConfig(std::int32_t input, std::int32_t signalType, std::int32_t* standard);
  std::int32_t ZLP_testSignal(std::int32_t* standard);
  std::int32_t ZLP_setBrightness(std::int8_t value);
  std::int32_t ZLP_setContrast(std::int8_t value);
  std::int32_t ZLP_setSaturation(std::int8_t value);
  std::int32_t ZLP_setHue(std::int8_t value);
  std::int32_t ZLP_setGamma(float gamma);
  std::int32_t ZLP_getBrightness(std::int8_t* value);
  std::int32_t ZLP_getContrast(std::int8_t* value);
  std::int32_t ZLP_getSaturation(std::int8_t* value);
  std::int32_t ZLP_getHue(std::int8_t* value);
  std::int32_t ZLP_enableFlash(std::int32_t flashType, ZlpFlashRoutine routine, std::uint16_t delay);
  std::int32_t ZLP_disableFlash();
  std::int32_t ZLP_getLimits(std::int32_t standard, ZlpLimits* limits);
  std::int32_t ZLP_setDigitizerRegister(std::int32_t reg, std::uint8_t value);
  std::int32_t ZLP_getDigitizerRegister(std::int32_t reg, std::uint8_t* value);
  std::int32_t ZLP_setDigitizerRegisters(const std::uint8_t* block);
  std::int32_t ZLP_getDigitizerRegisters(std::uint8_t* block);

  // Snap and readout.
  std::int32_t ZLP_prepareSnap(const ZlpSnapRequest* request);
  std::int32_t ZLP_startSnap();
  std::int32_t ZLP_finishSnap();
  std::int32_t ZLP_flashSnap();
  std::int32_t ZLP_extTrigSnap(std::uint16_t timeoutMs);
  std::int32_t ZLP_startReadout(std::int32_t format, std::uint16_t* lineBytes);
  std::int32_t ZLP_readLine(void* buffer, std::uint16_t firstPixel, std::uint16_t count);
  std::int32_t ZLP_skipLines(std::uint16_t count);
  std::int32_t ZLP_autoCrop(ZlpSnapRequest* request);
  std::int32_t ZLP_convertCbYCrYToBGR24(std::uint8_t* bgr, const std::uint8_t* cbycry,
                                       std::uint16_t count);

  // Configuration record: defaults, bringing the card in line with a record (writing only
  // what changed since the last record applied) and snapping with it.
  std::int32_t ZLV_defaultConfig(ZlvConfig* config);
  std::int32_t ZLV_prepare(ZlvConfig* config, std::int32_t force);
  std::int32_t ZLV_snap(const ZlvConfig* config);

  // DIBs: reading a snap out into one, into a BMP file, saving, copying and filtering,
  // and the movable-block calls a caller needs for the DIBs it owns.
  std::int32_t ZLV_readoutDIB(const ZlvConfig* config, ZLV_HDIB* dib);
  std::int32_t ZLV_readoutDIBToFile(const ZlvConfig* config, const char* fileName);
  std::int32_t ZLV_saveDIBToFile(ZLV_HDIB dib, const char* fileName);
  std::int32_t ZLV_copyDIB(ZLV_HDIB dib, ZLV_HDIB* copy);
  std::int32_t ZLV_snapAverageDIB(const ZlvConfig* config, ZLV_HDIB* dib, std::int32_t count,
                                  std::int32_t divisor);
  std::int32_t ZLV_filterDIB(ZLV_HDIB dib, const ZlvFilter* filter);
  const ZlvFilter* ZLV_getFilter(std::int32_t n);
  void* ZLV_lockDIB(ZLV_HDIB dib);
  std::int32_t ZLV_unlockDIB(ZLV_HDIB dib);
  std::size_t ZLV_sizeDIB(ZLV_HDIB dib);
  std::int32_t ZLV_freeDIB(ZLV_HDIB dib);

  // Drawing, the library palette for 256-colour displays, and the clipboard. A drawing
  // surface (ZLV_HDC) is a gdi::DeviceContext.
  std::int32_t ZLV_draw(ZLV_HDC hdc, const ZlvConfig* config, std::int32_t x, std::int32_t y,
                        std::int32_t width, std::int32_t height);
  std::int32_t ZLV_drawDIB(ZLV_HDC hdc, ZLV_HDIB dib, std::int32_t x, std::int32_t y, std::int32_t width,
                           std::int32_t height);
  std::int32_t ZLV_defaultPalette(ZLV_HDC hdc, std::int32_t grey);
  std::int32_t ZLV_releasePalette();
  std::int32_t ZLV_readoutDIBToClipboard(const ZlvConfig* config);
  std::int32_t ZLV_saveDIBToClipboard(ZLV_HDIB dib);

  // Where images go on ZLV_saveDIBToClipboard; none (every copy fails) unless set.
  void SetClipboard(ClipboardService* clipboard) { clipboard_ = clipboard; }
  gdi::PaletteHandle Palette() const { return palette_; }

  // The record in a private profile file, under a section of the caller's choosing.
  std::int32_t ZLV_readIniFile(const char* fileName, const char* section, ZlvConfig* config);
  std::int32_t ZLV_saveIniFile(const char* fileName, const char* section, const ZlvConfig* config);
  // Where INI files are read and written; files on disk unless a test gives another.
  void SetProfile(PrivateProfile& profile) { profile_ = &profile; }

  // The modal "Image Format" dialog over the record; 1 for OK, 2 for Cancel, -1 when it
  // cannot be shown. The dialog itself is Qt's business: the shared object (or a test)
  // gives the library a runner for it; without one nothing can be shown.
  std::int32_t ZLV_formatDialogBox(void* reserved, void* parentWindow, ZlvConfig* config);
  static constexpr std::int32_t kFormatDialogNotShown = -1;
  using FormatDialogRunner = std::function<std::int32_t(void* parentWindow, ZlvConfig& config)>;
  void SetFormatDialog(FormatDialogRunner runner) { formatDialog_ = std::move(runner); }

  // Sets the current function name for the life of an export call and restores the
  // outer one afterwards, so nested exports report the innermost failure. The name must
  // live as long as the library: an export_name constant, or the export table's own text.
  class ExportScope {
   public:
    ExportScope(ZelvoLibrary& library, const char* name);
    ~ExportScope();
    ExportScope(const ExportScope&) = delete;
    ExportScope& operator=(const ExportScope&) = delete;

   private:
    ZelvoLibrary& library_;
    const char* outer_;
  };
  // Copies the current function name into the last failing name.
  void RecordFailure() { lastFailing_ = currentName_; }

  // For tests: the live sessions and whether the device is open.
  std::size_t SessionCount() const { return sessions_.size(); }
  bool DeviceOpen() const { return deviceOpen_; }
  const ConversionTables& Tables() const { return tables_; }
  MovableMemory& Memory() { return memory_; }

 private:
  std::int32_t Fail(std::int32_t code) {
    RecordFailure();
    return code;
  }
  bool Allow(std::size_t bytes) const { return !allocationGate_ || allocationGate_(bytes); }
  // An image function's block that could not be had: its message, and 19.
  std::int32_t OutOfMemory(const char* message);

  // The start of a readout into a DIB of the record's format and size: 14 for a format
  // without a DIB or an empty size, the readout's own code otherwise.
  struct DibReadout {
    int format = 0;
    int width = 0;
    int height = 0;
    std::size_t stride = 0;
    std::size_t bitsOffset = 0;
  };
  std::int32_t StartDibReadout(const ZlvConfig& config, DibReadout& readout);

  // Session layer.
  std::int32_t FailInit(std::int32_t code);
  void ReleaseAttachment(std::uint32_t driverCardHandle, std::uint32_t word);
  void CloseDeviceWhenUnused();
  void DestroySession(CardSession* session);
  CardSession* Current() const { return current_; }

  // Register and memory transfers. WriteDigitizerRegs gives -1 for a failed request, -2
  // when the driver wrote another count, else the count; ReadDigitizerRegs the bytes read
  // (-1 on failure). The control/status routines record the running export as failing
  // when their transfer fails; a failed read gives 0x12.
  int WriteDigitizerRegs(std::uint32_t first, const std::uint8_t* bytes, std::uint32_t count);
  int ReadDigitizerRegs(std::uint32_t first, std::uint8_t* bytes, std::uint32_t count);
  bool WriteRegisters(std::uint32_t first, std::initializer_list<std::uint8_t> bytes);
  bool ReadRegister(std::uint32_t reg, std::uint8_t& value);
  // Brightness and hue: one signed byte each, checked as their exports check.
  std::int32_t SetSignedRegister(std::uint32_t reg, std::int8_t value);
  std::int32_t GetSignedRegister(std::uint32_t reg, std::int8_t* value);
  bool WriteControlStatus(std::uint8_t value);
  std::uint8_t ReadControlStatus(bool* ok = nullptr);
  bool ReadCardMemory(std::uintptr_t cardAddress, std::uint32_t count, std::span<std::uint8_t> out);
  bool ReadCardMemory2(std::uintptr_t cardAddress, std::uint32_t count,
                       std::span<std::uint8_t> out);

  // Snap: the wait unit (n x ticks per unit of the status tick), the bounded waits on a
  // status bit (false after 100 units), the capture writes and the end of every snap.
  void WaitTicks(int units);
  bool WaitWhileStatus(std::uint8_t mask, bool set);
  bool WriteControlSequence(std::initializer_list<std::uint8_t> values);
  bool ResetReadoutPointer();
  bool AdvanceReadoutPointer();
  void CallFlash(CardSession& session, int phase);
  std::int32_t BeginSnap(CardSession*& session);
  std::int32_t WaitNotBusyAndFinish(CardSession& session);

  // Readout: moving the card's readout pointer, fetching and stretching one card line,
  // and assembling output line lineCounter (interpolated when the card made fewer lines).
  bool SeekCardLine(CardSession& session, int line);
  bool FetchCardLine(CardSession& session, int line, bool grey, std::uint8_t* dest);
  std::int32_t AssembleLine(CardSession& session, bool grey, const std::uint8_t*& line, int& pixels);
  // The checks of a line read (as ZLP_readLine makes them) and the assembled line behind
  // output line lineCounter, whose number is given back as the counter moves on.
  std::int32_t NextReadoutLine(const void* buffer, int firstPixel, int count, CardLine& line,
                               int& lineNumber);
  // The next line of a colour readout copied into `buffer` unconverted: the CbYCrY bytes
  // from pixel 0 in the card's own chroma phase (the line may hold one pixel more than
  // `count`, up to a whole pair). `line` says how ZLP_readLine would convert it.
  std::int32_t ReadRawColourLine(std::uint8_t* buffer, std::uint16_t count, CardLine& line);

  MelvexDevice& device_;
  MovableMemory& memory_;
  AllocationGate allocationGate_;
  bool deviceOpen_ = false;
  std::map<CardSession*, std::unique_ptr<CardSession>> sessions_;
  CardSession* current_ = nullptr;
  std::vector<std::uint8_t> lineBuffer_;  // shared by all sessions
  const char* currentName_ = "";
  // Both point to export names in static storage, never to a copy, so a last failing name
  // a caller keeps stays valid and unchanged for the life of the library.
  const char* lastFailing_ = "";
  ConversionTables tables_;
  // The last record ZLV_prepare applied, and whether the next one must be applied whole
  // (at load, and whenever the current session changes).
  ZlvConfig applied_{};
  bool applyAll_ = true;
  gdi::PaletteHandle palette_ = gdi::PaletteHandle::None;  // at most one for the library
  ClipboardService* clipboard_ = nullptr;
  FormatDialogRunner formatDialog_;
  PrivateProfile diskProfile_;
  PrivateProfile* profile_ = &diskProfile_;
};

}  // namespace orvale::melvex
