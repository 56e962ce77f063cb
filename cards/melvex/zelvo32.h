/* zelvo32: the toolkit of the Melvex LZ471/LZ472 imaging cards.
 *
 * Every function returns an error code from 0 to 20 (0 = success) unless it says
 * otherwise; ZLP_errorString gives its text and ZLP_lastErrorFunctionName the export
 * that failed last. Functions are not thread-safe: callers serialise their calls.
 *
 * No Linux driver exists for the card. By default ZLP_init therefore reports error 3
 * ("No Melvex Imaging Card driver detected"); with ORVALE_MELVEX_DEVICE=sim in the
 * environment the library drives a simulated card instead.
 *
 * Images are DIBs in movable memory blocks that the caller owns. Linux has no global
 * memory functions, so the library adds ZLV_lockDIB, ZLV_unlockDIB, ZLV_sizeDIB and
 * ZLV_freeDIB for them, and zelvo32_procAddress to look an export up by its ordinal.
 * These have no ordinal of their own. ZLV_lockDIB gives null and ZLV_sizeDIB 0 when
 * they fail.
 *
 * ZLP_readLine in format 10 writes whole Cb, Y, Cr, Y pairs: with an odd count it writes
 * two bytes past count x 2. */
#ifndef ZELVO32_H
#define ZELVO32_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define ZELVO32_API __attribute__((visibility("default")))
#else
#define ZELVO32_API
#endif

/* A card session. Opaque: only its address is meaningful. */
typedef void* ZLP_HANDLE;

/* A flash routine, called with phase 1 (before the exposure) or 2 (at its start). */
typedef void (*ZlpFlashRoutine)(int32_t phase);

/* Crop and output size of one snap. Offsets and active sizes are in digitizer samples
 * and lines; xPixels x yPixels is the output image. A non-zero flag counts as set. */
typedef struct ZlpSnapRequest {
  uint16_t xOffset;
  uint16_t xActive;
  uint16_t xPixels;
  uint16_t yOffset;
  uint16_t yActive;
  uint16_t yPixels;
  int32_t interlaced;
  int32_t monochrome;
} ZlpSnapRequest;

/* Crop limits of a video standard. An output size may be no smaller than
 * active size x scaleNum / scaleDen. */
typedef struct ZlpLimits {
  uint16_t xMax;
  uint16_t xPixelsMax;
  uint16_t xScaleDen;
  uint16_t xScaleNum;
  uint16_t yMax;
  uint16_t yPixelsMax;
  uint16_t yScaleDen;
  uint16_t yScaleNum;
} ZlpLimits;

/* A whole capture set-up. standard: 0 = 525-line, 1 = 625-line, 2 = no signal.
 * outputFormat: 1 = 256 grey, 2 = 16 grey, 3 = 256 colours, 4 = 32k colours,
 * 5 = 64k colours, 7 = 16M colours, 8 = 32-bit colours. */
typedef struct ZlvConfig {
  int32_t standard;
  int32_t signalType;
  int32_t inputChannel;
  int32_t brightness;
  int32_t contrast;
  int32_t saturation;
  float gamma;
  int32_t hue;
  ZlpSnapRequest requestNTSC;
  ZlpSnapRequest requestPAL;
  int32_t outputFormat;
  int32_t extTrig;
  int32_t flash;
  int32_t extTrigEnable;
  int32_t flashEnable;
  int32_t gray16Enable;
  int32_t gray256Enable;
  int32_t color256Enable;
  int32_t color16MEnable;
  int32_t color32kEnable;
  int32_t color64kEnable;
  int32_t color32bitEnable;
} ZlvConfig;

/* A convolution kernel of width x height signed bytes in row order. */
#pragma pack(push, 1)
typedef struct ZlvFilter {
  uint8_t width;
  uint8_t height;
  int32_t divisor;
  int32_t absolute;
  const int8_t* kernel;
} ZlvFilter;
#pragma pack(pop)

/* A movable memory block holding a DIB: 40-byte header, colour table or masks, rows
 * bottom-up padded to 4 bytes. The functions that take a caller's DIB also read one stored
 * from the top (negative height) and 32-bit DIBs with bit-field masks. */
typedef void* ZLV_HDIB;

/* A drawing surface: the address of the caller's orvale::gdi::DeviceContext. The parent
 * window of ZLV_formatDialogBox is a QWidget* (null for none); the dialog needs a
 * QApplication and a call on its thread, and returns -1 without one, from another thread
 * or when the parent is no live widget of the application. */
typedef void* ZLV_HDC;

#define ZELVO_EXPORT(ordinal, name, errorName, ret, params, args) ZELVO32_API ret name params;
#define ZELVO_HELPER(name, errorName, ret, params, args) ZELVO32_API ret name params;
#include "zelvo32_exports.inc"
#undef ZELVO_EXPORT
#undef ZELVO_HELPER

/* The export with the given ordinal, as a lookup by ordinal would give it; null for an
 * ordinal the library does not have. */
ZELVO32_API void* zelvo32_procAddress(uint32_t ordinal);

#ifdef __cplusplus
}
#endif

#endif
