#pragma once
// All state of one board. Settings are plain values and are copied between boards;
// resources (the board's session, timers) are move-only and always have exactly one
// owner.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "cards/korrin/hardware/BoardData.h"
#include "cards/korrin/session/BoardSession.h"
#include "cards/korrin/hardware/DeviceAccess.h"
#include "cards/korrin/hardware/EepromImage.h"
#include "cards/korrin/session/KrgIni.h"

namespace orvale::korrin {

inline constexpr std::int16_t kBoardKind = 2;

// Configuration-identifier bits that gate board features.
namespace config {
inline constexpr std::uint32_t kVideoFrequency = 0x04;
inline constexpr std::uint32_t kIris = 0x08;
inline constexpr std::uint32_t kControllerGate = 0x20;  // no types >= 2; gate via controller
inline constexpr std::uint32_t kNoDetection = 0x40;
inline constexpr std::uint32_t kSecondTimingSet = 0x400;
}  // namespace config

struct FrameSettings {
  bool located = false;
  std::uint16_t configSignature = 0;  // kEepromSignature once the configuration is loaded
  std::int16_t boardKind = 0;
  std::uint16_t saaHandle = 0;
  std::uint32_t displayAdapterId = 0;
  KrgIniSettings ini;
  EepromImage eeprom;  // the board's image, or the built-in one
  std::uint32_t configId = 0;
  std::uint32_t value32 = 0;
  std::uint16_t value16 = 0;
  std::int32_t maskDelay = 0;
  std::int32_t irqNumber = -1;
  bool ConfigLoaded() const { return configSignature == kEepromSignature; }
};

// The on-board controller, when the board has one (it answers at I2C 0xD6).
struct ControllerSettings {
  bool present = false;
  std::uint8_t status = 0;
  std::int32_t timeoutMs = 10000;
  std::optional<std::int32_t> lastByteTimeout;  // last per-byte time-out sent
};

struct VideoSelection {
  int type = 0;
  int standard = 0;
  int source = 1;
  int fourth = 0;
  bool configured = false;
  friend bool operator==(const VideoSelection&, const VideoSelection&) = default;
};

// The row of the per-source tables: with type 2 the fourth selector picks the
// alternate inputs, counted from 3.
inline int EffectiveSource(const VideoSelection& v) {
  return v.type == 2 && v.fourth != 0 ? v.source + 3 : v.source;
}

struct DecoderSettings {
  // Register sets per (standard index, type); the one of the current selection is the
  // decoder shadow.
  std::array<std::array<DecoderTable, kVideoTypes>, kVideoStandards> tables{};
  // The same, as derived from the EEPROM, for KR_GetSTVideoAdjustments.
  std::array<std::array<DecoderTable, kVideoTypes>, kVideoStandards> stored{};
  // Per (standard index, source): brightness and contrast offsets of the three colours,
  // and the source's own contrast and brightness values of the gain spreading.
  std::array<std::array<SourceGainOffsets, kSourcesPerType>, kVideoStandards> offsets{};
  std::array<std::array<int, kSourcesPerType>, kVideoStandards> sourceContrast{};
  std::array<std::array<int, kSourcesPerType>, kVideoStandards> sourceBrightness{};
  std::uint8_t address = 0x9C;
  int timingWord1 = 156;
  int timingWord2 = 500;
  bool installed = false;
};

struct MiscSettings {
  std::int32_t word6 = 0;
  std::int32_t word29 = 0;
  std::int32_t fileBits = 0;            // misc 14
  std::int32_t decoderFlag13 = 0;       // misc 19
  std::int32_t flashLine = -1;          // misc 20, low word
  std::int32_t flashMargin = -1;        // misc 20, high word
  std::int32_t colourFlag = 1;          // misc 21
  std::int32_t uartBank = 1;            // misc 22
  std::int32_t colourMode = 0;          // misc 24
  std::int32_t markerLineWidth = 2;     // misc 25
  std::uint32_t colourKey = 0xFFFFFF;   // misc 26
  std::int32_t noRepaint = 0;           // misc 28
  std::int32_t acquisitionMode = 1;     // misc 30
  std::int32_t horizontalHalving = 0;   // misc 31
  std::int32_t fullFrameMask = 1;       // misc 32
  std::int32_t channel = 0;             // misc 34
  std::int32_t switchSource = 0;        // misc 35
  std::int32_t triggerMode = 0;         // misc 18
  std::int32_t gatedCapture = 0;        // misc 16
  std::int32_t settleTime = 0;
  std::int32_t detectionResult = 0;
  std::int16_t vidFreq1 = 118;
  std::int16_t vidFreq2 = 36;
};

struct LocalBusSettings {
  std::array<std::uint32_t, 16> pageShadow{};  // by address bits 8-11
};

struct Rect16 {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const Rect16&, const Rect16&) = default;
};

// What the caller set of the video geometry, and what was made of it.
struct VideoGeometry {
  Rect16 input{0, 0, 640, 480};   // offset and size in the digitised picture
  Rect16 window{0, 0, 640, 480};  // on the display, or the off-screen frame's size
  bool limitFlag = true;          // scale limit: the full size, else the window's own
  int fullWidth = 640;            // the full size of the standard
  int fullHeight = 480;
  bool offscreen = false;
  int inputFormat = 0;
  bool interleave = false;  // both fields on alternate lines (decided at apply time)
  bool dmaBaseSet = false;  // a layout has been programmed
  friend bool operator==(const VideoGeometry&, const VideoGeometry&) = default;
};

// The overlay marker of misc parameter 2: a box, a cross or a filled rectangle.
struct OverlayMarker {
  bool shown = false;
  std::int16_t left = 0, top = 0, width = 0, height = 0;
  int shape = 0;  // 0 box outline, 1 cross, 2 filled
};

// KR_MaskDraw between its begin and end commands.
struct MaskDrawState {
  bool open = false;
  std::uint8_t* buffer = nullptr;  // the caller's mask, 95-byte rows
  void* window = nullptr;
  bool loadAsMask = false;   // end loads it as the video mask (else: the mask overlay)
  bool directDraw = false;   // display figures are written into the frame buffer
  bool perFrame = true;
};

// Camera timing (misc parameters 17 and 18); its timer is a resource of the board.
struct CameraTimingState {
  std::int32_t periodMs = 0;
  std::uint64_t ticks = 0;
};

// The asynchronous multi-frame capture program while it runs.
struct AsyncProgramState {
  bool running = false;
  std::uint32_t start = 0;  // bus address of its first word
  int frames = 0;
  int wordsPerEntry = 9;
};

// The parts of one channel's set-up that follow the channel selector.
using DescriptorSet = std::array<std::uint32_t, kDescriptorWords>;

struct BoardSettings {
  FrameSettings frame;
  ControllerSettings controller;
  VideoSelection video;
  DecoderSettings decoder;
  MiscSettings misc;
  LocalBusSettings localBus;
  std::array<DescriptorSet, 2> descriptors{};
  VideoGeometry geometry;
  int xDelay = 140;
  int yDelay = 12;
  std::uint32_t asyncWord = 0;
  std::int32_t displayBits = 0;
  std::int32_t colourSpaceBits = 0;
  std::int32_t liveState = 0;
  bool transferOn = false;  // the video DMA is enabled (live state may be paused)
  AsyncProgramState async;
  bool maskEnabled = false;
  std::intptr_t maskOverlay = 0;  // misc 11: a caller's mask ORed into the clip mask
  OverlayMarker marker;
  CameraTimingState cameraTiming;
  MaskDrawState maskDraw;
  std::int32_t dmaOffset = 0;
  std::int32_t dmaOffset2 = 0;
  std::uint32_t uartBase = 0xE0;
  std::uint32_t triggerOutput = 0;
  std::int32_t switchWord = 0;  // kept by KR_CheckSwitch, no effect
};

// Resources whose classes the record only names; each is deleted where it is defined.
template <class T>
struct ResourceDeleter {
  void operator()(T* resource) const;
};
class AutoWindow;
class AutoBlit;
template <>
void ResourceDeleter<AutoWindow>::operator()(AutoWindow* resource) const;
template <>
void ResourceDeleter<AutoBlit>::operator()(AutoBlit* resource) const;

struct BoardResources {
  // The attached board; a call waiting on it may share it (see BoardSession).
  std::shared_ptr<BoardSession> session;
  MemoryRegion dmaTarget;  // the driver's DMA buffer, or a locked caller buffer
  bool callerTarget = false;
  std::unique_ptr<AutoWindow, ResourceDeleter<AutoWindow>> autoWindow;
  std::unique_ptr<AutoBlit, ResourceDeleter<AutoBlit>> autoBlit;
  std::uint32_t cameraTimer = 0;  // the camera-timing window timer (a TimerId)
};

struct BoardState {
  BoardSettings settings;
  BoardResources resources;

  bool Located() const { return settings.frame.located && resources.session != nullptr; }
  RegisterWindow& Registers() { return resources.session->Registers(); }
};

}  // namespace orvale::korrin
