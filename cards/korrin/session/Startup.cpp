#include "cards/korrin/session/Startup.h"

#include <algorithm>

#include "cards/korrin/capture/Acquisition.h"
#include "cards/korrin/session/BoardActivity.h"
#include "cards/korrin/hardware/BoardController.h"
#include "cards/korrin/hardware/Decoder.h"
#include "cards/korrin/dma/Descriptors.h"
#include "cards/korrin/display/DisplayProbe.h"
#include "cards/korrin/hardware/Eeprom.h"
#include "cards/korrin/interrupts/Interrupts.h"
#include "cards/korrin/interrupts/IrqMachinery.h"
#include "cards/korrin/hardware/LocalBus.h"
#include "cards/korrin/display/Palettes.h"
#include "cards/korrin/hardware/Saa7146.h"
#include "cards/korrin/session/Status.h"
#include "cards/korrin/capture/TriggerOutput.h"
#include "cards/korrin/capture/VideoConfig.h"
#include "cards/korrin/capture/VideoWindow.h"
#include "platform/clock/Deadline.h"

namespace orvale::korrin {
namespace {

constexpr std::uint32_t kPciCommandValue = 0x30000006;  // memory space, bus master, status
constexpr std::uint8_t kDefaultLatency = 0x20;
constexpr std::uint8_t kMinimumLatency = 8;
constexpr std::uint32_t kSkipMarker = 90;

// Sets the PCI latency timer from the "latency" key: a key of 0..255 is written as it
// is, a larger one as 255; a negative key writes 0x20 only when the current value is
// below 8. Only the latency byte changes.
void ApplyLatency(DeviceAccess& device, std::uint16_t handle, std::int32_t key) {
  const auto dword = device.ReadConfigDword(handle, saa::kPciLatencyDword);
  if (!dword) return;
  const auto current = static_cast<std::uint8_t>(*dword >> 8);
  if (key < 0 && current >= kMinimumLatency) return;
  const auto value = key < 0 ? kDefaultLatency : static_cast<std::uint8_t>(std::min(key, 255));
  device.WriteConfigByte(handle, saa::kPciLatencyByte, value);
}

void InitSaa7146(Library& lib) {
  BoardState& board = lib.Live();
  FrameSettings& frame = board.settings.frame;
  frame.maskDelay = CalibrateBusyWait(lib.GetClock());
  if (frame.saaHandle != 0) {
    lib.Device().WriteConfigDword(frame.saaHandle, saa::kPciCommand, kPciCommandValue);
  }
  RegisterWindow& regs = board.Registers();
  regs.Write32(saa::kMainControl1, 0x80000000);
  std::array<std::uint32_t, 64> image{};
  image[0x48 / 4] = frame.ini.burstThresh;
  image[0x50 / 4] = 0x00C000C0;
  image[0x54 / 4] = 0x04000400;
  image[0x58 / 4] = 0x60000000;
  image[0x70 / 4] = 0x80400040;
  image[0x78 / 4] = 0x81010000;
  image[0x7C / 4] = 0x010E0000;
  image[0xE4 / 4] = 0x00010101;
  image[0xE8 / 4] = 0x00010101;
  image[0xF8 / 4] = 0x000C0000;
  image[0xFC / 4] = kSkipMarker;  // main control 1 is not written from the image
  for (std::uint32_t i = 0; i < image.size(); ++i) {
    if (image[i] != kSkipMarker) regs.Write32(i * 4, image[i]);
  }
  regs.Write32(saa::kMainControl2, 0x077F077C);
  regs.Write32(saa::kMainControl1, 0x2FFF0D80);
}

bool LocateBoard(Library& lib) {
  BoardState& board = lib.Live();
  FrameSettings& frame = board.settings.frame;
  if (board.resources.session && board.resources.session->BoardIndex() != lib.CurrentBoard()) {
    // The record holds another board: let that one go before taking this one, while
    // it still counts as located, so that everything it runs is stopped first.
    Cleanup(lib);
  }
  frame.located = false;
  frame.ini = ReadKrgIni(lib.Profile());
  if (!board.resources.session) {
    board.resources.session = BoardSession::Attach(lib.Device(), lib.CurrentBoard());
    if (!board.resources.session) return false;
  }
  if (board.Registers().Size() < saa::kMinWindowSize) {
    EndSession(lib, std::move(board.resources.session));
    return false;
  }
  DeviceAccess& device = lib.Device();
  frame.saaHandle = device.FindDevice(saa::kVendor, saa::kDevice, lib.CurrentBoard());
  frame.displayAdapterId = 0;
  if (const std::uint16_t display = device.FindClass(saa::kDisplayClass, 0); display != 0) {
    frame.displayAdapterId = device.ReadConfigDword(display, 0).value_or(0);
  }
  if (frame.saaHandle != 0) ApplyLatency(device, frame.saaHandle, frame.ini.latency);
  if (!board.resources.session->MakeDmaArea()) return false;
  board.resources.dmaTarget = board.resources.session->Device().DmaBuffer();
  board.resources.callerTarget = false;
  board.settings.dmaOffset = 0;
  board.settings.dmaOffset2 = 0;
  frame.boardKind = kBoardKind;
  InitSaa7146(lib);
  return true;
}

}  // namespace

std::int32_t CalibrateBusyWait(Clock& clock) {
  // Wait for a tick, time an empty loop, and turn the milliseconds into a delay count.
  const std::uint32_t start = clock.NowMs();
  PollUntil(clock, 100, [&] { return clock.NowMs() != start; });
  const std::uint32_t before = clock.NowMs();
  volatile int steps = 0;
  while (steps < 100000) steps = steps + 1;
  const std::uint32_t elapsed = std::clamp<std::uint32_t>(clock.NowMs() - before, 1, 60);
  return static_cast<std::int32_t>(60 / elapsed + 2);
}

std::int32_t Locate(Library& lib) {
  if (!LocateBoard(lib)) return kFail;
  lib.Live().settings.frame.located = true;
  return kOk;
}

std::int32_t LoadConfig(Library& lib) {
  if (!lib.Live().Located() && Locate(lib) != kOk) return kFail;
  const bool valid = LoadBoardEeprom(lib);
  ProbeController(lib);
  InstallDecoder(lib);
  lib.Settings().frame.configSignature = kEepromSignature;
  return valid ? 2 : 1;
}

std::int32_t Init(Library& lib) {
  if (!lib.Settings().frame.ConfigLoaded() && LoadConfig(lib) == kFail) return kFail;
  if (!lib.Live().Located()) return kFail;
  BoardSettings& s = lib.Settings();
  s.displayBits = ProbeDisplayDepth(lib);
  s.video = VideoSelection{};
  s.misc.vidFreq1 = 118;
  s.misc.vidFreq2 = 36;
  s.frame.irqNumber = -1;
  s.colourSpaceBits = s.displayBits;
  s.geometry.offscreen = false;
  WriteFormatWord(lib);
  s.xDelay = 140;
  s.yDelay = 12;
  s.misc.colourKey = 0xFFFFFF;
  s.asyncWord = 0;
  s.controller.timeoutMs = 10000;
  s.misc.markerLineWidth = 2;
  // A controller that does not answer is reported; the rest is still set up.
  bool controllerOk = true;
  if (s.controller.present) {
    controllerOk = ControllerReset(lib);
    const auto status = ControllerStatus(lib);
    s.controller.status = status.value_or(0);
    controllerOk = controllerOk && status.has_value();
  }
  InitDefaultGeometry(lib);
  SetIrisLevel(lib, 0);
  s.descriptors = {DescriptorTemplate(), DescriptorTemplate()};
  StoreDescriptorSet(lib);
  s.descriptors[1 - s.misc.channel] = s.descriptors[s.misc.channel];
  RegisterWindow& regs = lib.Live().Registers();
  if (!s.controller.present) {
    regs.Write32(saa::kGpio, 0x50500000);
    return kOk;
  }
  regs.Write32(saa::kGpio, 0);
  LocalBus bus(lib);
  bus.Write(0xF900, 1);
  WriteTriggerOutput(lib, 0);
  if ((s.frame.configId & config::kControllerGate) == 0) bus.Write(0xFF00, 0);
  return controllerOk ? kOk : kFail;
}

std::int32_t Cleanup(Library& lib) {
  EndSession(lib, LetGo(lib));
  // Workers a callback stopped, even on a board let go before, end with the clean-up.
  JoinStoppedWorkers(lib);
  return kOk;
}

std::shared_ptr<BoardSession> LetGo(Library& lib) {
  // Nothing else comes in until the record is settled.
  Library::GateHeld held(lib);
  BoardState& board = lib.Live();
  DeleteGreyPalette(lib);
  if (board.Located()) {
    ReleaseBoardActivity(lib);
  }
  board.resources.dmaTarget = {};
  board.resources.callerTarget = false;
  board.settings.frame.located = false;
  board.settings.frame.configSignature = 0;
  return std::move(board.resources.session);
}

std::shared_ptr<BoardSession> LetGoOther(Library& lib, BoardState& board) {
  if (!board.resources.session) return nullptr;
  Library::GateHeld held(lib);
  struct SwapBack {
    Library& lib;
    BoardState& board;
    ~SwapBack() { std::swap(lib.Live(), board); }
  };
  std::swap(lib.Live(), board);
  SwapBack swapBack{lib, board};
  return LetGo(lib);
}

void CleanupOther(Library& lib, BoardState& board) { EndSession(lib, LetGoOther(lib, board)); }

void EndSession(Library& lib, std::shared_ptr<BoardSession> session) {
  if (!session) return;
  // The worker waits on the attach: it is stopped and joined before the attach goes.
  RetireWorker(lib, std::move(session->Worker()));
  session->Release();
}

}  // namespace orvale::korrin
