#include "cards/korrin/capture/VideoConfig.h"

#include "cards/korrin/capture/Acquisition.h"
#include "cards/korrin/hardware/Decoder.h"
#include "cards/korrin/dma/Descriptors.h"
#include "cards/korrin/hardware/I2cBus.h"
#include "cards/korrin/hardware/LocalBus.h"
#include "cards/korrin/hardware/Saa7146.h"
#include "cards/korrin/session/Startup.h"
#include "cards/korrin/session/Status.h"
#include "cards/korrin/hardware/TimingDevice.h"
#include "cards/korrin/capture/VideoWindow.h"

namespace orvale::korrin {
namespace {

bool HasLocalVideoRegisters(const BoardSettings& s) {
  return s.controller.present && (s.frame.configId & config::kControllerGate) == 0;
}

// The local-bus registers that route the chosen input on controller boards.
void ProgramLocalVideo(Library& lib) {
  BoardSettings& s = lib.Settings();
  const VideoSelection& v = s.video;
  LocalBus bus(lib);
  const std::uint32_t fieldBit = s.misc.channel == 1 ? 0x04 : 0x80;
  std::uint32_t control = bus.Read(0xF900);
  if (v.type == 2 || v.type == 3) {
    control = (control | 0x02) & ~fieldBit;
  } else if (v.type == 4) {
    control = EffectiveSource(v) == 0 ? control & ~(0x02 | fieldBit) : control | 0x08 | fieldBit;
  } else {
    control = (control | fieldBit) & ~0x08u;
  }
  control = (control & 0x8F) + (v.standard != 0 ? 64 : 0);
  bus.Write(0xF300, v.standard != 0 ? 946 : 780);
  bus.Write(0xFA00, (v.standard != 0 ? 0x34 : 0x30) + (v.type > 1 ? 1 : 0));
  bus.Write(0xF900, control);
  if (s.misc.channel == 1) {
    bus.Write(0xFB00, v.type == 4 ? 40 : 8);
  } else {
    bus.Write(0xFB00, 9 + (v.type > 1 ? 1 : 0) + (v.type == 4 ? 32 : 0));
  }
}

// Input format of the bridge, then the timing tables of the on-board sync generator.
void ProgramBoardVideo(Library& lib) {
  BoardSettings& s = lib.Settings();
  if (HasLocalVideoRegisters(s)) ProgramLocalVideo(lib);
  ProgramInputFormat(lib);
  const int tableSet = (s.frame.configId & config::kSecondTimingSet) ? 1 : 0;
  const int standard = StandardIndex(s.video.standard);
  if (HasLocalVideoRegisters(s)) {
    const auto& table = TimingTable(tableSet, standard);
    for (int i = 0; i < kTimingEntries; ++i) WriteTimingRegister(lib, i, table[i]);
  }
  if (s.frame.configId & config::kVideoFrequency) {
    // Where the frequency pair reaches the board is ours to choose: the timing device.
    WriteTimingRegister(lib, kVidFreqRegister, static_cast<std::uint16_t>(s.misc.vidFreq1));
    WriteTimingRegister(lib, kVidFreqRegister + 1, static_cast<std::uint16_t>(s.misc.vidFreq2));
  }
}

// Steps that make the selection take effect on the current channel.
void ApplySelection(Library& lib, const VideoSelection& previous) {
  BoardSettings& s = lib.Settings();
  ProgramBoardVideo(lib);
  LoadDecoder(lib);
  const int standard = StandardIndex(s.video.standard);
  if (standard != StandardIndex(previous.standard) || !previous.configured) {
    SetStandardWindows(lib);
    ApplyAcquisition(lib);
  } else if (s.video.type != previous.type) {
    SetXYDelay(lib, DefaultXDelay(standard, s.video.type), DefaultYDelay(standard, s.video.type));
  }
  StoreDescriptorSet(lib);
}

bool ValidSelection(std::int32_t type, std::int32_t source, std::int32_t fourth) {
  if (type < 0 || type >= kVideoTypes || source < 0) return false;
  const int effective = type == 2 && fourth != 0 ? source + 3 : source;
  return effective < kSourcesPerType;
}

}  // namespace

void ProgramInputFormat(Library& lib) {
  RegisterWindow& regs = lib.Live().Registers();
  regs.Write32(0x54, lib.Settings().video.type >= 2 ? 0x04200400 : 0x04000400);
  regs.Write32(0x50, 0x00C000C0);
  regs.Write32(saa::kMainControl2, 0x06000600);
}

std::int32_t SetVideoConfig(Library& lib, std::int32_t type, std::int32_t standard,
                            std::int32_t source, std::int32_t fourth) {
  if (!lib.Live().Located() || !ValidSelection(type, source, fourth)) return kFail;
  if (type >= 2 && (lib.Settings().frame.configId & config::kControllerGate)) return kFail;
  const bool wasLive = LiveRunning(lib);
  if (wasLive) VideoLive(lib, 0, 3);
  if (!lib.Settings().frame.ConfigLoaded() && LoadConfig(lib) == kFail) return kFail;
  BoardSettings& s = lib.Settings();
  const VideoSelection previous = s.video;
  s.video = {type, standard, source, fourth, true};
  ApplySelection(lib, previous);
  if (s.misc.acquisitionMode == 2 && s.misc.channel == 0) {
    // Both channels' descriptor sets carry the selection in frame mode.
    SelectChannel(lib, 1);
    const VideoSelection channelPrevious = s.video;
    s.video = {type, standard, source, fourth, true};
    ApplySelection(lib, channelPrevious);
    SelectChannel(lib, 0);
  }
  if (wasLive) VideoLive(lib, 1, 3);
  return kOk;
}

std::int32_t SetVidFreq(Library& lib, std::int16_t first, std::int16_t second) {
  BoardSettings& s = lib.Settings();
  if (!lib.Live().Located() || (s.frame.configId & config::kVideoFrequency) == 0) return kFail;
  s.misc.vidFreq1 = first;
  s.misc.vidFreq2 = second;
  const VideoSelection v = s.video;
  return SetVideoConfig(lib, v.type, v.standard, v.source, v.fourth);
}

std::int32_t SetIrisLevel(Library& lib, std::int32_t level) {
  RegisterWindow* regs = lib.LocatedRegisters();
  if (regs == nullptr || (lib.Settings().frame.configId & config::kIris) == 0) return kFail;
  if (level < 0 || level > 4095) return kFail;
  I2cBus bus(*regs, lib.GetClock());
  const bool ok = bus.Write(kGainDevice, 241, static_cast<std::uint8_t>(~level & 0x3F)) &&
                  bus.Write(kGainDevice, 240, static_cast<std::uint8_t>(((level >> 6) & 0x3F) ^ 0x3F));
  return StatusOf(ok);
}

}  // namespace orvale::korrin
