// The layouts of the public records are part of the binary contract with C callers;
// the suite does not build when one moves.
#include <cstddef>

#include "cards/melvex/zelvo32.h"

namespace {

static_assert(sizeof(ZLP_HANDLE) == sizeof(void*));
static_assert(sizeof(ZlpFlashRoutine) == sizeof(void*));

static_assert(sizeof(ZlpSnapRequest) == 20);
static_assert(offsetof(ZlpSnapRequest, xOffset) == 0);
static_assert(offsetof(ZlpSnapRequest, xActive) == 2);
static_assert(offsetof(ZlpSnapRequest, xPixels) == 4);
static_assert(offsetof(ZlpSnapRequest, yOffset) == 6);
static_assert(offsetof(ZlpSnapRequest, yActive) == 8);
static_assert(offsetof(ZlpSnapRequest, yPixels) == 10);
static_assert(offsetof(ZlpSnapRequest, interlaced) == 12);
static_assert(offsetof(ZlpSnapRequest, monochrome) == 16);

static_assert(sizeof(ZlpLimits) == 16);
static_assert(offsetof(ZlpLimits, xMax) == 0);
static_assert(offsetof(ZlpLimits, xPixelsMax) == 2);
static_assert(offsetof(ZlpLimits, xScaleDen) == 4);
static_assert(offsetof(ZlpLimits, xScaleNum) == 6);
static_assert(offsetof(ZlpLimits, yMax) == 8);
static_assert(offsetof(ZlpLimits, yPixelsMax) == 10);
static_assert(offsetof(ZlpLimits, yScaleDen) == 12);
static_assert(offsetof(ZlpLimits, yScaleNum) == 14);

static_assert(sizeof(ZlvConfig) == 120);
static_assert(offsetof(ZlvConfig, standard) == 0);
static_assert(offsetof(ZlvConfig, signalType) == 4);
static_assert(offsetof(ZlvConfig, inputChannel) == 8);
static_assert(offsetof(ZlvConfig, brightness) == 12);
static_assert(offsetof(ZlvConfig, contrast) == 16);
static_assert(offsetof(ZlvConfig, saturation) == 20);
static_assert(offsetof(ZlvConfig, gamma) == 24);
static_assert(offsetof(ZlvConfig, hue) == 28);
static_assert(offsetof(ZlvConfig, requestNTSC) == 32);
static_assert(offsetof(ZlvConfig, requestPAL) == 52);
static_assert(offsetof(ZlvConfig, outputFormat) == 72);
static_assert(offsetof(ZlvConfig, extTrig) == 76);
static_assert(offsetof(ZlvConfig, flash) == 80);
static_assert(offsetof(ZlvConfig, extTrigEnable) == 84);
static_assert(offsetof(ZlvConfig, flashEnable) == 88);
static_assert(offsetof(ZlvConfig, gray16Enable) == 92);
static_assert(offsetof(ZlvConfig, gray256Enable) == 96);
static_assert(offsetof(ZlvConfig, color256Enable) == 100);
static_assert(offsetof(ZlvConfig, color16MEnable) == 104);
static_assert(offsetof(ZlvConfig, color32kEnable) == 108);
static_assert(offsetof(ZlvConfig, color64kEnable) == 112);
static_assert(offsetof(ZlvConfig, color32bitEnable) == 116);

static_assert(sizeof(ZlvFilter) == 10 + sizeof(void*));
static_assert(offsetof(ZlvFilter, width) == 0);
static_assert(offsetof(ZlvFilter, height) == 1);
static_assert(offsetof(ZlvFilter, divisor) == 2);
static_assert(offsetof(ZlvFilter, absolute) == 6);
static_assert(offsetof(ZlvFilter, kernel) == 10);

}  // namespace
