#include "cards/korrin/hardware/Decoder.h"

#include "cards/korrin/interrupts/FieldWait.h"
#include "cards/korrin/hardware/I2cBus.h"
#include "platform/clock/Deadline.h"

namespace orvale::korrin {
namespace {

constexpr std::uint8_t kNoSignalBit = 0x40;
constexpr std::uint8_t kSixtyFieldBit = 0x20;

std::optional<std::uint8_t> DecoderStatus(Library& lib) {
  I2cBus bus(lib.Live().Registers(), lib.GetClock());
  return bus.Read(kDecoderRead, kNoRegister);
}

}  // namespace

void FillDecoderDefaults(Library& lib) {
  DecoderSettings& d = lib.Settings().decoder;
  for (int s = 0; s < kVideoStandards; ++s) {
    for (int t = 0; t < kVideoTypes; ++t) d.tables[s][t] = DefaultDecoderTable(s, t);
  }
  d.stored = d.tables;
}

void InstallDecoder(Library& lib) {
  BoardSettings& settings = lib.Settings();
  DecoderSettings& d = settings.decoder;
  const EepromImage& eeprom = settings.frame.eeprom;
  d.offsets = eeprom.offsets;
  for (int s = 0; s < kVideoStandards; ++s) {
    for (int t = 0; t < kVideoTypes; ++t) d.tables[s][t][59] = eeprom.storedGain[s][t];
  }
  d.stored = d.tables;
  for (auto& standard : d.sourceContrast) standard.fill(0);
  for (auto& standard : d.sourceBrightness) standard.fill(0);
  d.address = kDecoderWrite;
  d.timingWord1 = 156;
  d.timingWord2 = 500;
  d.installed = true;
}

void StoreDecoderValues(Library& lib, EepromImage& image) {
  const DecoderSettings& d = lib.Settings().decoder;
  image.offsets = d.offsets;
  for (int s = 0; s < kVideoStandards; ++s) {
    for (int t = 0; t < kVideoTypes; ++t) image.storedGain[s][t] = d.tables[s][t][59];
  }
}

DecoderTable& DecoderShadow(BoardSettings& settings) {
  return settings.decoder.tables[StandardIndex(settings.video.standard)][settings.video.type];
}

void LoadDecoder(Library& lib) {
  BoardSettings& settings = lib.Settings();
  DecoderTable& table = DecoderShadow(settings);
  const auto& patch = SourcePatch(settings.video.type, EffectiveSource(settings.video));
  for (int i = 0; i < 4; ++i) table[kPatchedRegisters[i]] = patch[i];
  if (settings.misc.colourFlag == 0) table[34] &= 0x3F;
  table[13] = static_cast<std::uint8_t>((table[13] & 0x7F) | (settings.misc.decoderFlag13 ? 0x80 : 0));
  I2cBus bus(lib.Live().Registers(), lib.GetClock());
  for (int reg = 0; reg < kDecoderRegisters; ++reg) bus.Write(kDecoderWrite, reg, table[reg]);
}

bool SignalPresent(Library& lib) {
  if (lib.Settings().video.type < 2) {
    const auto status = DecoderStatus(lib);
    return status && (*status & kNoSignalBit) == 0;
  }
  return WaitForField(lib, kNextField) == FieldWaitResult::kChanged;
}

bool FiftyFieldSignal(Library& lib) {
  if (lib.Settings().video.type < 2) {
    const auto status = DecoderStatus(lib);
    return status && (*status & kSixtyFieldBit) == 0;
  }
  Clock& clock = lib.GetClock();
  const std::uint32_t start = clock.NowMs();
  for (int field = 0; field < 30; ++field) {
    if (WaitForField(lib, kNextField) != FieldWaitResult::kChanged) return false;
  }
  const std::uint32_t elapsed = clock.NowMs() - start;
  return elapsed > 550 && elapsed < 650;
}

}  // namespace orvale::korrin
