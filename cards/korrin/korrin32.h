/* korrin32: the library for Korrin PCI frame-grabber boards (Philips SAA7146).
 *
 * This header is the ABI of libkorrin32.so. It is plain C; C++ callers include it too.
 *
 * Results. Every export except KR_ConvertPixel returns int32_t. A status is 0 for
 * success and -1 for failure: all bits set, so the low 16 bits read 0xFFFF and a caller
 * comparing with -1 sees the failure too. Exports that return a value return -1 for
 * failure unless their row in korrin32_exports.inc gives another failure value (the
 * serial transfers and the profile-string exports fail with 0, as counts and Booleans).
 * No export lets a failure escape in any other way.
 *
 * A call that needs the board (registers, I2C, DMA) on a board that is not located
 * fails and touches nothing. A null record or result pointer fails. Out-of-range
 * indexes, offsets, sizes and operation codes fail.
 *
 * 64-bit ABI. Every argument or record field that carries an address, a window, a
 * device context or a buffer is pointer-sized; physical (bus) addresses stay 32-bit.
 * Misc-parameter values are intptr_t because some of them carry pointers:
 *   id 2   pointer to four int16_t {left, top, width, height}, in the video picture's
 *          own coordinates: set takes it as the value; get takes it from *value and
 *          writes the rectangle there, leaving *value as it is;
 *   id 3   the DMA target's linear address (get);
 *   id 11  pointer to a caller's mask of 95-byte rows, or 0 for none (set and get);
 *   id 15  pointer to a KR_VersionInfo whose EEPROM words are taken (set).
 *
 * Choices where the board's original description leaves a value open:
 *   KR_GetI2CReg    returns 0 after a failed bus transfer; -1 is reserved (no device is
 *                   ever locked by this library).
 *   KR_FileResInfo  fills {width, height, bits, extra}; extra is the TGA image type for
 *                   TGA files, 0 for BMP files, and the plug-in's value otherwise.
 *   KR_LoadFile     flag 0x8000 loads into the DMA target; other bits are ignored.
 *                   8-bit files load through their own palette (a grey ramp when the
 *                   file has none). The file name is never changed.
 *
 * The board. No Linux driver exists for Korrin boards. Without one, KR_Locate fails as
 * it does when the driver is missing. With ORVALE_KORRIN_DEVICE=sim in the environment
 * the library drives a simulated board, in process, whose waits run on a virtual
 * clock. */
#ifndef KORRIN32_H
#define KORRIN32_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define KR_API __attribute__((visibility("default")))
#else
#define KR_API
#endif

/* A window. A Qt program passes its QWidget*: a live widget of its QApplication, on the
 * application's thread. The library wraps each widget once in a tracked window of its
 * own, which lives as long as the widget or until the library is unloaded (a program
 * then unloads it on the application's thread); a window that goes away ends the
 * library's use of it. A program that links the library's core rather than this shared
 * object passes a TrackedWindow handle of that core instead. 0 means none. Any other
 * pointer given as a window fails (-1) and is never read through.
 *
 * Handles the library gives back (KR_AutoWindowInfoRecord.window, the window argument of
 * the timer callbacks) are its tracked windows, not the widget's address; they may be
 * passed back while the widget lives.
 *
 * KR_SetPalette operations 3 and 4 take a window. KR_MaskDraw's last argument is the
 * window at begin; for a figure drawn on the display (screen coordinates) it is a window,
 * whose own context takes the figure in client coordinates, or a device context, which
 * the library cannot check. */
typedef void* KR_Window;

/* Filled by KR_GetVersionInfo; the offsets are those of the board's 34-byte record. */
typedef struct KR_VersionInfo {
  uint16_t libraryWords[8]; /* 37, 0, 0, 1, 0, 50, 0, 0 */
  uint32_t configId;        /* +16: 0x319 when the EEPROM is not valid */
  uint32_t eepromValue32;   /* +20 */
  uint16_t eepromValue16;   /* +24 */
  uint16_t word26;          /* +26: 3 */
  uint16_t word28;          /* +28: 0 */
  uint16_t boardKind;       /* +30: 2 once located */
  uint16_t eepromByte2;     /* +32 */
  /* Two bytes of padding follow; the library never writes them. */
} KR_VersionInfo;

/* KR_VideoCaptureMem's record. Flags: 0x20000 lock `buffer`/`size` as the DMA target,
 * 0x40000 unlock it, 0x80000 take dmaOffset, 0x100000 take dmaOffset2, 0x10000 fill the
 * record with the current values. An unlock names the locked buffer: any other `buffer`,
 * or one unlocked already, gives -1 and changes nothing. The frame must fit the new
 * target, else -1: a lock then leaves the earlier target locked and in use; an unlock
 * still unlocks, and video stays stopped until a frame that fits the driver's buffer is
 * set. */
typedef struct KR_CaptureRecord {
  void* buffer;
  uint32_t size;
  int32_t dmaOffset;
  int32_t dmaOffset2;
  uint32_t physical;
  int32_t frameBytes;
  void* displayLinear;
  uint32_t displaySize; /* 0x400000 */
  uint32_t displayPhysical;
  void* maskArea;
} KR_CaptureRecord;

/* Filled by KR_AutoWindowInfo. */
typedef struct KR_AutoWindowInfoRecord {
  KR_Window window;
  uint8_t* maskBuffer;
  int32_t maskBytesPerRow;
  int32_t maskRows;
  int32_t overlayVisible;
  int32_t desiredLive;
  uint8_t* lastFrameDib;
  int32_t maskDelay;
  void* watchHandle;
} KR_AutoWindowInfoRecord;

/* What HookFilterFunc's lParam points to: one message sent to a window. */
typedef struct KR_HookMessage {
  intptr_t lParam;
  uintptr_t wParam;
  uint32_t message;
  KR_Window window;
} KR_HookMessage;

/* Window hooks and window timers, as the window system calls them. */
typedef intptr_t (*KR_HookProc)(int32_t code, uintptr_t wParam, intptr_t lParam);
typedef void (*KR_TimerProc)(KR_Window window, uint32_t message, uintptr_t timerId, uint32_t time);

/* Called on the library's interrupt thread, once per interrupt. It may call any export,
 * KR_EnableIRQ (to swap, stop or restart itself) and KR_Cleanup included.
 *
 * The library takes one call at a time, in the order the calls arrive: a call from the
 * callback waits at most until the program's call in progress returns. A call that waits
 * lets the callback's call in meanwhile, between its polls of the board or the clock:
 *   KR_WaitFieldType, KR_WaitVSync, KR_WaitHSync, KR_WaitMS, KR_CheckSwitch (with a
 *   time-out), KR_VideoGrab, KR_ReadSerialBytes, KR_WriteSerialBytes, KR_SetupSerial,
 *   KR_VideoLive (also while it waits for an asynchronous grab's frames), every call that
 *   waits for a field before it changes the video (KR_SetVideoConfig, KR_VideoOffscreen
 *   and the other calls that set the capture window, format or source), and the
 *   library's timer procedures (camera timing, auto-window, auto-blit).
 * Every other call runs to its end without letting the callback in, and so does every
 * transfer inside one command to the board's controller or over its I2C bus (on boards
 * with the controller the serial transfers and grab mode 1 are such commands). The
 * callback's own waiting calls let the program's calls in the same way.
 *
 * After letting the callback in, a call goes on only if its board is still the located
 * live board (not let go with KR_Cleanup, nor switched away with KR_MultiBoard) with the
 * same capture memory (KR_VideoCaptureMem) and video geometry. Otherwise it answers its
 * failure value at once (-1; 0 for the serial transfers) and touches nothing more: no
 * register, no buffer, no setting. KR_WaitMS on no located board has nothing to lose.
 *
 * A callback may end the process with exit(): a call of the program's in progress then
 * fails, as does every call after the library's teardown. A fork() waits for the call in
 * progress; the child has no interrupt thread until it calls KR_EnableIRQ itself. */
typedef void (*KR_IrqCallback)(void);

/* Format plug-ins KRV<EXT>32.so, loaded from the library's own folder, export
 * <EXT>_LoadInfo, <EXT>_LoadImg and <EXT>_SaveImg with these types. Each returns -1 on
 * failure. Palettes are 256 entries of blue, green, red. */
typedef int32_t (*KR_GetRowProc)(int32_t row, uint8_t* pixels);
typedef int32_t (*KR_PutRowProc)(int32_t row, const uint8_t* pixels);
typedef int32_t (*KR_PluginLoadInfo)(const char* fileName, int16_t* width, int16_t* height,
                                     int16_t* bits, int16_t* extra);
typedef int32_t (*KR_PluginLoadImg)(const char* fileName, uint8_t* paletteOut,
                                    const uint8_t* paletteIn, KR_PutRowProc putRow);
typedef int32_t (*KR_PluginSaveImg)(const char* fileName, int32_t width, int32_t height,
                                    int32_t bits, const uint8_t* palette, int32_t flags,
                                    KR_GetRowProc getRow);

#define KR_NO_RESULT
#define KR_EXPORT(ret, name, params, failure) KR_API ret name params;
#if defined(__GNUC__)
#define KR_CALLBACK(ret, symbol, cname, params, failure) \
  KR_API ret cname params __asm__(#symbol);
#else
#define KR_CALLBACK(ret, symbol, cname, params, failure) KR_API ret cname params;
#endif
#include "korrin32_exports.inc"
#undef KR_EXPORT
#undef KR_CALLBACK
#undef KR_NO_RESULT

#ifdef __cplusplus
}
#endif

#endif /* KORRIN32_H */
