#include "cards/korrin/session/MiscParams.h"

#include <array>

#include "cards/korrin/capture/Acquisition.h"
#include "cards/korrin/capture/AsyncCapture.h"
#include "cards/korrin/display/AutoWindow.h"
#include "cards/korrin/hardware/BoardController.h"
#include "cards/korrin/capture/CameraTiming.h"
#include "cards/korrin/capture/CaptureGate.h"
#include "cards/korrin/dma/Descriptors.h"
#include "cards/korrin/hardware/Decoder.h"
#include "cards/korrin/hardware/I2cBus.h"
#include "cards/korrin/hardware/I2cRegisters.h"
#include "cards/korrin/hardware/LocalBus.h"
#include "cards/korrin/display/OverlayMarker.h"
#include "cards/korrin/capture/SourceDetection.h"
#include "cards/korrin/session/Status.h"
#include "cards/korrin/capture/TriggerOutput.h"
#include "cards/korrin/capture/VideoConfig.h"
#include "cards/korrin/capture/VideoWindow.h"
#include "korrin32.h"

namespace orvale::korrin {
namespace {

using Getter = std::int32_t (*)(Library&, std::intptr_t&);
using Setter = std::int32_t (*)(Library&, std::intptr_t);

struct MiscParam {
  Getter get = nullptr;
  Setter set = nullptr;
};

constexpr std::uint32_t kDetectionFailed = 0x10000;

std::int32_t GetDetection(Library& lib, std::intptr_t& value) {
  const auto found = DetectSource(lib);
  value = found.value_or(kDetectionFailed);
  return found ? kOk : kFail;
}

std::int32_t GetSignal(Library& lib, std::intptr_t& value) {
  if (!lib.Live().Located()) return kFail;
  value = SignalPresent(lib) ? 1 : 0;
  return kOk;
}

std::int32_t GetControllerTimeout(Library& lib, std::intptr_t& value) {
  value = lib.Settings().controller.timeoutMs;
  return kOk;
}
std::int32_t SetControllerTimeout(Library& lib, std::intptr_t value) {
  lib.Settings().controller.timeoutMs = static_cast<std::int32_t>(value);
  return kOk;
}

std::int32_t GetFileBits(Library& lib, std::intptr_t& value) {
  value = lib.Settings().misc.fileBits;
  return kOk;
}
std::int32_t SetFileBits(Library& lib, std::intptr_t value) {
  lib.Settings().misc.fileBits = static_cast<std::int32_t>(value);
  return kOk;
}

// The EEPROM words of a caller's version record.
std::int32_t SetEepromValues(Library& lib, std::intptr_t value) {
  const auto* info = reinterpret_cast<const KR_VersionInfo*>(value);
  if (info == nullptr) return kFail;
  FrameSettings& frame = lib.Settings().frame;
  frame.configId = info->configId;
  frame.value32 = info->eepromValue32;
  frame.value16 = info->eepromValue16;
  return kOk;
}

std::int32_t GetDecoderFlag(Library& lib, std::intptr_t& value) {
  value = lib.Settings().misc.decoderFlag13;
  return kOk;
}
std::int32_t SetDecoderFlag(Library& lib, std::intptr_t value) {
  lib.Settings().misc.decoderFlag13 = value != 0 ? 1 : 0;
  return SetVideoAdjustment(lib, 8, value != 0 ? 1 : 0) == kFail ? kFail : kOk;
}

std::int32_t GetColourFlag(Library& lib, std::intptr_t& value) {
  value = lib.Settings().misc.colourFlag;
  return kOk;
}
std::int32_t SetColourFlag(Library& lib, std::intptr_t value) {
  BoardSettings& s = lib.Settings();
  s.misc.colourFlag = value != 0 ? 1 : 0;
  if (!lib.Live().Located()) return kOk;
  const std::uint8_t patched = SourcePatch(s.video.type, EffectiveSource(s.video))[2];
  return SetI2cReg(lib, 0x9C, 34, s.misc.colourFlag ? patched : patched & 0x3F);
}

std::int32_t GetUartBank(Library& lib, std::intptr_t& value) {
  value = lib.Settings().misc.uartBank;
  return kOk;
}
std::int32_t SetUartBank(Library& lib, std::intptr_t value) {
  BoardSettings& s = lib.Settings();
  s.misc.uartBank = value != 0 ? 1 : 0;
  s.uartBase = value != 0 ? 0xE0 : 0xC0;
  if (s.controller.present && lib.Live().Located()) {
    return StatusOf(ControllerOutputs(lib, value != 0 ? 32 : 0, 32));
  }
  return kOk;
}

std::int32_t GetColourMode(Library& lib, std::intptr_t& value) {
  value = lib.Settings().misc.colourMode;
  return kOk;
}
std::int32_t SetColourMode(Library& lib, std::intptr_t value) {
  lib.Settings().misc.colourMode = static_cast<std::int32_t>(value);
  if (!lib.Live().Located()) return kOk;
  for (int index : {3, 1}) SetVideoAdjustment(lib, index, GetVideoAdjustment(lib, index));
  return kOk;
}

std::int32_t GetLocalInputs(Library& lib, std::intptr_t& value) {
  if (!lib.Live().Located()) return kFail;
  value = static_cast<std::intptr_t>(LocalBus(lib).Read(0xF100));
  return kOk;
}
// Masked write of local register 0xF200: the high word selects the bits that change.
std::int32_t SetLocalOutputs(Library& lib, std::intptr_t value) {
  if (!lib.Live().Located()) return kFail;
  LocalBus bus(lib);
  const auto word = static_cast<std::uint32_t>(value);
  const std::uint32_t mask = word >> 16;
  bus.Write(0xF200, (bus.Read(0xF200) & ~mask & 0xFFFF) | (word & mask));
  return kOk;
}

std::int32_t GetControllerStatus(Library& lib, std::intptr_t& value) {
  if (!lib.Live().Located() || !lib.Settings().controller.present) return kFail;
  const auto status = ControllerStatus(lib);
  if (!status) return kFail;
  value = *status;
  return kOk;
}
std::int32_t SetAuxOutput(Library& lib, std::intptr_t value) {
  if (!lib.Live().Located()) return kFail;
  BoardSettings& s = lib.Settings();
  if (s.frame.configId & config::kControllerGate) {
    I2cBus bus(lib.Live().Registers(), lib.GetClock());
    return StatusOf(bus.Write(kGainDevice, 245, value != 0 ? 63 : 0));
  }
  LocalBus bus(lib);
  const std::uint32_t current = bus.Read(0xFB00);
  bus.Write(0xFB00, value != 0 ? current | 0x80 : current & ~0x80u);
  return kOk;
}

std::int32_t GetTargetAddress(Library& lib, std::intptr_t& value) {
  if (!lib.Live().Located()) return kFail;
  value = reinterpret_cast<std::intptr_t>(lib.Live().resources.dmaTarget.linear);
  return kOk;
}
std::int32_t GetTargetSize(Library& lib, std::intptr_t& value) {
  if (!lib.Live().Located()) return kFail;
  value = lib.Live().resources.dmaTarget.size;
  return kOk;
}
std::int32_t GetFramesThatFit(Library& lib, std::intptr_t& value) {
  if (!lib.Live().Located()) return kFail;
  value = FramesThatFit(lib);
  return kOk;
}
std::int32_t GetTargetPhysical(Library& lib, std::intptr_t& value) {
  if (!lib.Live().Located()) return kFail;
  value = lib.Live().resources.dmaTarget.physical;
  return kOk;
}

// Words 6 and 29 are kept for the caller; setting one re-applies the acquisition.
template <std::int32_t MiscSettings::*Word>
std::int32_t GetWord(Library& lib, std::intptr_t& value) {
  value = lib.Settings().misc.*Word;
  return kOk;
}
template <std::int32_t MiscSettings::*Word>
std::int32_t SetReapplied(Library& lib, std::intptr_t value) {
  lib.Settings().misc.*Word = static_cast<std::int32_t>(value);
  if (!lib.Live().Located() || !lib.Settings().geometry.dmaBaseSet) return kOk;
  return StatusOf(ApplyAcquisition(lib));
}

std::int32_t GetOffset(Library& lib, std::intptr_t& value) {
  value = lib.Settings().dmaOffset;
  return kOk;
}
std::int32_t SetOffset(Library& lib, std::intptr_t value) {
  return SetDmaOffset(lib, 1, static_cast<std::int32_t>(value));
}
std::int32_t GetOffset2(Library& lib, std::intptr_t& value) {
  value = lib.Settings().dmaOffset2;
  return kOk;
}
std::int32_t SetOffset2(Library& lib, std::intptr_t value) {
  return SetDmaOffset(lib, 2, static_cast<std::int32_t>(value));
}

// The input format and the acquisition follow the mode. A mode whose layout does not
// fit its target (the second channel's in frame mode, say) is refused and the old one
// stays, on the board too.
std::int32_t SetAcquisitionMode(Library& lib, std::intptr_t value) {
  if (value < 1 || value > 3) return kFail;
  BoardSettings& s = lib.Settings();
  const std::int32_t before = s.misc.acquisitionMode;
  s.misc.acquisitionMode = static_cast<std::int32_t>(value);
  if (!lib.Live().Located()) return kOk;
  ProgramInputFormat(lib);
  if (!s.geometry.dmaBaseSet || ApplyAcquisition(lib)) return kOk;
  s.misc.acquisitionMode = before;
  ProgramInputFormat(lib);
  ApplyAcquisition(lib);
  return kFail;
}

std::int32_t GetChannel(Library& lib, std::intptr_t& value) {
  value = lib.Settings().misc.channel;
  return kOk;
}
std::int32_t SetChannel(Library& lib, std::intptr_t value) {
  if (value < 0 || value > 1) return kFail;
  return SelectChannel(lib, static_cast<std::int32_t>(value));
}

// Asynchronous capture position: 36 in frames, 38 in fields (as KR_AsyncGrab 4 and 5).
std::int32_t GetAsyncFrame(Library& lib, std::intptr_t& value) {
  value = AsyncCurrentFrame(lib);
  return value < 0 ? kFail : kOk;
}
std::int32_t SetAsyncFrame(Library& lib, std::intptr_t value) {
  return AsyncJumpToFrame(lib, static_cast<std::int32_t>(value));
}
std::int32_t GetAsyncField(Library& lib, std::intptr_t& value) {
  const std::int32_t frame = AsyncCurrentFrame(lib);
  value = frame < 0 ? frame : frame * 2;
  return frame < 0 ? kFail : kOk;
}
std::int32_t SetAsyncField(Library& lib, std::intptr_t value) {
  return value < 0 ? kFail : AsyncJumpToFrame(lib, static_cast<std::int32_t>(value / 2));
}

// Flash line (low word) and margin (high word) of the brightness trigger; -1 each for
// the defaults (half the window height, 16).
std::int32_t GetFlash(Library& lib, std::intptr_t& value) {
  const MiscSettings& m = lib.Settings().misc;
  value = static_cast<std::intptr_t>((static_cast<std::uint32_t>(m.flashMargin) << 16) |
                                     (static_cast<std::uint32_t>(m.flashLine) & 0xFFFF));
  return kOk;
}
std::int32_t SetFlash(Library& lib, std::intptr_t value) {
  MiscSettings& m = lib.Settings().misc;
  m.flashLine = static_cast<std::int16_t>(value & 0xFFFF);
  m.flashMargin = static_cast<std::int16_t>((value >> 16) & 0xFFFF);
  return kOk;
}

// Writes the trigger output from bit 0.
std::int32_t SetTriggerOutput(Library& lib, std::intptr_t value) {
  if (!lib.Live().Located()) return kFail;
  return StatusOf(WriteTriggerOutput(lib, static_cast<std::uint32_t>(value)));
}

std::int32_t GetTriggerMode(Library& lib, std::intptr_t& value) {
  value = lib.Settings().misc.triggerMode;
  return kOk;
}
std::int32_t SetTriggerMode(Library& lib, std::intptr_t value) {
  // 3 is the short form of timed exposure with a second pulse.
  lib.Settings().misc.triggerMode = value == 3 ? 0x4020 : static_cast<std::int32_t>(value);
  return kOk;
}

// The overlay marker: a pointer to four int16_t {left, top, width, height}.
std::int32_t GetMarker(Library& lib, std::intptr_t& value) {
  auto* rect = reinterpret_cast<std::int16_t*>(value);
  if (rect == nullptr) return kFail;
  const OverlayMarker& m = lib.Settings().marker;
  rect[0] = m.left;
  rect[1] = m.top;
  rect[2] = m.width;
  rect[3] = m.height;
  return kOk;
}
std::int32_t SetMarker(Library& lib, std::intptr_t value) {
  const auto* rect = reinterpret_cast<const std::int16_t*>(value);
  if (rect == nullptr) return kFail;
  lib.Settings().marker = MarkerFrom(rect);
  OverlayMarkerChanged(lib);
  return kOk;
}

std::int32_t GetMaskOverlay(Library& lib, std::intptr_t& value) {
  value = lib.Settings().maskOverlay;
  return kOk;
}
// A caller's mask ORed into the clip mask; 0 for none. The video is placed again and,
// unless misc parameter 28 says not to, the window repainted.
std::int32_t SetMaskOverlay(Library& lib, std::intptr_t value) {
  lib.Settings().maskOverlay = value;
  MaskOverlayChanged(lib);
  return kOk;
}

template <std::int32_t MiscSettings::*Word>
std::int32_t SetWord(Library& lib, std::intptr_t value) {
  lib.Settings().misc.*Word = static_cast<std::int32_t>(value);
  return kOk;
}

std::int32_t GetColourKey(Library& lib, std::intptr_t& value) {
  value = static_cast<std::intptr_t>(lib.Settings().misc.colourKey);
  return kOk;
}
std::int32_t SetColourKey(Library& lib, std::intptr_t value) {
  lib.Settings().misc.colourKey = static_cast<std::uint32_t>(value) & 0xFFFFFF;
  return kOk;
}

// The clip state rebuilt now; a non-zero value loads the mask even when the visible
// parts have not changed.
std::int32_t SetRebuild(Library& lib, std::intptr_t value) {
  if (!lib.Live().Located()) return kFail;
  RebuildAutoWindowClip(lib, value != 0);
  return kOk;
}

// Gated capture: live video starts and stops at the board's gate. The transfer is
// restarted the new way; ending it leaves the gate open, so that every field passes.
std::int32_t SetGatedCapture(Library& lib, std::intptr_t value) {
  BoardSettings& s = lib.Settings();
  const bool gated = value != 0;
  if (!lib.Live().Located()) {
    s.misc.gatedCapture = gated ? 1 : 0;
    return kOk;
  }
  const bool wasGated = s.misc.gatedCapture != 0;
  const bool wasOn = TransferOn(lib);
  if (wasOn) StopTransfer(lib);
  s.misc.gatedCapture = gated ? 1 : 0;
  // Ungated, or gated while live, the gate must be open; if it cannot be opened the
  // earlier choice stays.
  bool gateOk = true;
  if (gated != wasGated && (!gated || wasOn)) gateOk = GateCapture(lib, true);
  if (!gateOk) s.misc.gatedCapture = wasGated ? 1 : 0;
  if (wasOn && StartTransfer(lib, 3) != kOk) return kFail;
  return gateOk ? kOk : kFail;
}

std::int32_t GetCameraPeriod(Library& lib, std::intptr_t& value) {
  value = lib.Settings().cameraTiming.periodMs;
  return kOk;
}
std::int32_t SetCameraPeriodParam(Library& lib, std::intptr_t value) {
  return SetCameraPeriod(lib, static_cast<std::int32_t>(value));
}

std::array<MiscParam, 39> MakeTable() {
  std::array<MiscParam, 39> t{};
  t[1] = {GetDetection, nullptr};
  t[2] = {GetMarker, SetMarker};
  t[3] = {GetTargetAddress, nullptr};
  t[4] = {GetTargetSize, nullptr};
  t[5] = {GetFramesThatFit, nullptr};
  t[6] = {GetWord<&MiscSettings::word6>, SetReapplied<&MiscSettings::word6>};
  t[7] = {GetTargetPhysical, nullptr};
  t[8] = {GetOffset, SetOffset};
  t[9] = {GetOffset2, SetOffset2};
  t[10] = {GetSignal, nullptr};
  t[11] = {GetMaskOverlay, SetMaskOverlay};
  t[12] = {nullptr, SetTriggerOutput};
  t[13] = {GetControllerTimeout, SetControllerTimeout};
  t[14] = {GetFileBits, SetFileBits};
  t[16] = {GetWord<&MiscSettings::gatedCapture>, SetGatedCapture};
  t[15] = {nullptr, SetEepromValues};
  t[17] = {GetCameraPeriod, SetCameraPeriodParam};
  t[18] = {GetTriggerMode, SetTriggerMode};
  t[19] = {GetDecoderFlag, SetDecoderFlag};
  t[20] = {GetFlash, SetFlash};
  t[21] = {GetColourFlag, SetColourFlag};
  t[22] = {GetUartBank, SetUartBank};
  t[24] = {GetColourMode, SetColourMode};
  t[25] = {GetWord<&MiscSettings::markerLineWidth>, SetWord<&MiscSettings::markerLineWidth>};
  t[26] = {GetColourKey, SetColourKey};
  t[27] = {nullptr, SetRebuild};
  t[28] = {nullptr, SetWord<&MiscSettings::noRepaint>};
  t[29] = {GetWord<&MiscSettings::word29>, SetReapplied<&MiscSettings::word29>};
  t[30] = {GetWord<&MiscSettings::acquisitionMode>, SetAcquisitionMode};
  t[31] = {GetWord<&MiscSettings::horizontalHalving>, SetReapplied<&MiscSettings::horizontalHalving>};
  t[32] = {GetWord<&MiscSettings::fullFrameMask>, SetWord<&MiscSettings::fullFrameMask>};
  t[33] = {GetLocalInputs, SetLocalOutputs};
  t[34] = {GetChannel, SetChannel};
  t[35] = {GetWord<&MiscSettings::switchSource>, SetWord<&MiscSettings::switchSource>};
  t[36] = {GetAsyncFrame, SetAsyncFrame};
  t[38] = {GetAsyncField, SetAsyncField};
  t[37] = {GetControllerStatus, SetAuxOutput};
  return t;
}

const MiscParam* Find(std::int16_t id) {
  static const std::array<MiscParam, 39> table = MakeTable();
  if (id < 1 || id >= static_cast<int>(table.size())) return nullptr;
  return &table[id];
}

}  // namespace

std::int32_t GetMiscParm(Library& lib, std::int16_t id, std::intptr_t* value) {
  const MiscParam* param = Find(id);
  if (value == nullptr || param == nullptr || param->get == nullptr) return kFail;
  // The getter starts from the caller's value: id 2 finds its rectangle pointer there.
  std::intptr_t result = *value;
  const std::int32_t status = param->get(lib, result);
  // Detection reports its failure value through the pointer too.
  if (status == kOk || id == 1) *value = result;
  return status;
}

std::int32_t SetMiscParm(Library& lib, std::int16_t id, std::intptr_t value) {
  const MiscParam* param = Find(id);
  if (param == nullptr || param->set == nullptr) return kFail;
  return param->set(lib, value);
}

}  // namespace orvale::korrin
