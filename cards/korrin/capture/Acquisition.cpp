#include "cards/korrin/capture/Acquisition.h"

#include <algorithm>
#include <vector>

#include "cards/korrin/capture/AsyncCapture.h"
#include "cards/korrin/capture/CaptureGate.h"
#include "cards/korrin/interrupts/FieldWait.h"
#include "cards/korrin/hardware/RegisterEncoding.h"
#include "cards/korrin/hardware/Saa7146.h"
#include "cards/korrin/dma/Scaler.h"
#include "cards/korrin/session/Status.h"
#include "cards/korrin/capture/Surfaces.h"
#include "cards/korrin/image/PixelConvert.h"

namespace orvale::korrin {
namespace {

std::uint32_t ChannelBlock(int channel) { return channel == 1 ? encoding::kChannel3 : encoding::kChannel1; }
std::uint32_t ChannelUpload(int channel) {
  return channel == 1 ? encoding::kUploadChannel3 : encoding::kUploadChannel1;
}

std::uint32_t EnableWord(const BoardSettings& s) {
  if (s.misc.acquisitionMode == 2) return 0x00500050;
  return s.misc.channel == 1 ? 0x00100010 : 0x00400040;
}

std::vector<int> ChannelsToApply(const BoardSettings& s) {
  if (s.misc.acquisitionMode == 2 && s.misc.channel == 0) return {0, 1};
  return {s.misc.channel};
}

void WriteLayout(RegisterWindow& regs, int channel, const DmaLayout& l) {
  const std::uint32_t block = ChannelBlock(channel);
  regs.Write32(block + 0x00, l.base);
  regs.Write32(block + 0x04, l.evenBase);
  regs.Write32(block + 0x08, l.protection);
  regs.Write32(block + 0x0C, l.pitch);
  regs.Write32(block + 0x10, l.pageTable);
  regs.Write32(block + 0x14, l.lines);
  regs.Write32(saa::kMainControl2, ChannelUpload(channel));
}

ScalerInput ScalerInputFor(const BoardSettings& s, int channel) {
  ScalerInput in;
  in.xDelay = s.xDelay;
  in.yDelay = s.yDelay;
  in.input = s.geometry.input;
  in.window = s.geometry.window;
  in.acquisitionMode = s.misc.acquisitionMode;
  in.interleave = s.geometry.interleave;
  in.channel = channel;
  in.limitWidth = ScalingLimitWidth(s.geometry);
  in.halving = s.misc.horizontalHalving != 0;
  return in;
}

}  // namespace

bool Interleaves(const BoardSettings& s) {
  if (s.misc.acquisitionMode != 2) return false;
  return s.geometry.input.height / 2 < s.geometry.window.height;
}

int ScalingLimitWidth(const VideoGeometry& g) { return g.limitFlag ? g.fullWidth : g.window.width; }
int ScalingLimitHeight(const VideoGeometry& g) { return g.limitFlag ? g.fullHeight : g.window.height; }

std::optional<DmaLayout> LayoutFor(Library& lib, int channel, int frames) {
  if (!lib.Live().Located()) return std::nullopt;
  BoardSettings& s = lib.Settings();
  BoardResources& res = lib.Live().resources;
  DmaLayoutInput in;
  in.onScreen = !s.geometry.offscreen;
  in.window = s.geometry.window;
  in.acquisitionMode = s.misc.acquisitionMode;
  in.interleave = s.geometry.interleave;
  in.channel = channel;
  in.limitHeight = ScalingLimitHeight(s.geometry);
  in.inputWidth = s.geometry.input.width;
  in.frames = frames;
  if (in.onScreen) {
    const MemoryRegion frame = res.session->Device().FrameBuffer();
    in.bytesPerPixel = BytesPerPixel(s.displayBits);
    in.displayPhysical = frame.physical;
    in.displaySize = frame.linear != nullptr ? frame.size : 0;
    in.displayWidth = lib.Display().Width();
    in.displayHeight = lib.Display().Height();
    in.displayLine = DisplayLineBytes(lib);
  } else {
    in.bytesPerPixel = BytesPerPixel(s.colourSpaceBits);
    in.targetPhysical = res.dmaTarget.physical;
    in.targetSize = res.dmaTarget.size;
    in.offset = channel == 1 ? s.dmaOffset2 : s.dmaOffset;
    const DmaArea* area = res.session->Dma();
    if (res.callerTarget && area) in.pageTablePhysical = area->PhysicalAt(kTargetPageTableAt);
  }
  return ComputeDmaLayout(in);
}

std::int32_t FramesThatFit(Library& lib) {
  const auto layout = LayoutFor(lib, lib.Settings().misc.channel);
  if (!layout || layout->frameBytes <= 0 || !lib.Settings().geometry.offscreen) return layout ? 1 : 0;
  const BoardSettings& s = lib.Settings();
  const std::int64_t offset = s.misc.channel == 1 ? s.dmaOffset2 : s.dmaOffset;
  return static_cast<std::int32_t>((lib.Live().resources.dmaTarget.size - offset) / layout->frameBytes);
}

bool ApplyAcquisition(Library& lib) {
  if (!lib.Live().Located()) return false;
  BoardSettings& s = lib.Settings();
  VideoGeometry& g = s.geometry;
  g.input.width = std::max(g.input.width, 4);
  g.input.height = std::max(g.input.height, 4);
  g.window.width = std::max(g.window.width, 4);
  g.window.height = std::max(g.window.height, 4);
  const bool wasOn = TransferOn(lib);
  if (wasOn) StopTransfer(lib);
  const bool previousInterleave = g.interleave;
  g.interleave = Interleaves(s);

  // Everything is checked before anything is written.
  struct Programmed {
    int channel;
    DmaLayout layout;
    ScalerWords scaler;
  };
  std::vector<Programmed> programmed;
  for (int channel : ChannelsToApply(s)) {
    const auto layout = LayoutFor(lib, channel);
    const auto scaler = ComputeScaler(ScalerInputFor(s, channel));
    if (!layout || !scaler) {
      g.interleave = previousInterleave;
      if (wasOn) StartTransfer(lib, kNextField + 1);
      return false;
    }
    programmed.push_back({channel, *layout, *scaler});
  }
  RegisterWindow& regs = lib.Live().Registers();
  for (const auto& p : programmed) WriteLayout(regs, p.channel, p.layout);
  for (const auto& p : programmed) {
    for (const auto& [reg, value] : p.scaler.writes) regs.Write32(reg, value);
  }
  WriteFormatWord(lib);
  WaitForField(lib, kNextField);
  WaitForField(lib, kNextField);
  for (const auto& p : programmed) regs.Write32(saa::kMainControl2, p.scaler.upload);
  g.dmaBaseSet = true;
  if (wasOn) StartTransfer(lib, kNextField + 1);
  return true;
}

void ProgramLayout(Library& lib) {
  const int channel = lib.Settings().misc.channel;
  if (const auto layout = LayoutFor(lib, channel)) WriteLayout(lib.Live().Registers(), channel, *layout);
}

void WriteFormatWord(Library& lib) {
  BoardSettings& s = lib.Settings();
  if (s.misc.channel != 0 || !lib.Live().Located()) return;
  const int bits = s.geometry.offscreen ? s.colourSpaceBits : s.displayBits;
  const int bpp = std::clamp(BytesPerPixel(bits), 1, 4);
  const std::uint32_t word = encoding::kFormatWords[bpp - 1] + (s.maskEnabled ? encoding::kFormatMaskOn : 0);
  RegisterWindow& regs = lib.Live().Registers();
  regs.Write32(saa::kFormat, word);
  regs.Write32(saa::kMainControl2, 0x00200020);
}

bool TransferOn(Library& lib) { return lib.Settings().transferOn; }

void StopTransfer(Library& lib) {
  if (!lib.Live().Located()) return;
  BoardSettings& s = lib.Settings();
  RegisterWindow& regs = lib.Live().Registers();
  // Gated, the gate closes first: it holds fields back at once, the DMA only at the next.
  if (s.misc.gatedCapture) GateCapture(lib, false);
  if (s.async.running) {
    StopAsyncProgram(lib);
    ProgramLayout(lib);
  }
  regs.Write32(saa::kMainControl1, EnableWord(s) & 0xFFFF0000);
  s.transferOn = false;
}

std::int32_t StartTransfer(Library& lib, std::int32_t flags) {
  BoardSettings& s = lib.Settings();
  if (!lib.Live().Located() || !s.geometry.dmaBaseSet) return kFail;
  std::uint32_t async = s.asyncWord;
  if (flags & 0x1800) {
    async = (flags & 0x800) ? 0x90000000 : 0x80000000;
    if (flags & 0x2000) async |= 0x20000000;
    const int field = flags & 0xFF;
    if (field == 0) async |= 0x400000;
    if (field == 1) async |= 0x800000;
  }
  // Gated, the gate passes fields again (a grab or camera timing may have closed it);
  // on its own, without the DMA, it captures nothing.
  if (s.misc.gatedCapture) GateCapture(lib, true);
  if (async & 0xC0000000) return StartAsyncProgram(lib, async);
  WaitForField(lib, flags & 0xFF);
  lib.Live().Registers().Write32(saa::kMainControl1, EnableWord(s));
  s.transferOn = true;
  return kOk;
}

}  // namespace orvale::korrin
