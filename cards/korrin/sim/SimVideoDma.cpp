#include "cards/korrin/sim/SimVideoDma.h"

#include <algorithm>
#include <vector>

#include "cards/korrin/hardware/RegisterEncoding.h"
#include "cards/korrin/hardware/Saa7146.h"

namespace orvale::korrin::sim {
namespace {

namespace enc = encoding;

ChannelWords Latch(SimRegisters& regs, std::uint32_t block) {
  return {regs.Peek(block), regs.Peek(block + 4), regs.Peek(block + 8),
          regs.Peek(block + 12), regs.Peek(block + 16), regs.Peek(block + 20)};
}

}  // namespace

std::uint8_t PatternByte(std::uint64_t frame, int field, int line, int column, int byte) {
  return static_cast<std::uint8_t>(1 + (frame * 7 + static_cast<std::uint64_t>(field) * 3 +
                                        static_cast<std::uint64_t>(line) * 5 +
                                        static_cast<std::uint64_t>(column) * 11 +
                                        static_cast<std::uint64_t>(byte) * 13) % 200);
}

void SimVideoDma::Upload(std::uint32_t bits) {
  if (bits & (enc::kUploadChannel1 & 0xFFFF)) channel1_ = Latch(registers_, enc::kChannel1);
  if (bits & (enc::kUploadChannel2 & 0xFFFF)) channel2_ = Latch(registers_, enc::kChannel2);
  if (bits & (enc::kUploadChannel3 & 0xFFFF)) channel3_ = Latch(registers_, enc::kChannel3);
  if (bits & (enc::kUploadScaler & 0xFFFF)) {
    scalerGain_ = registers_.Peek(enc::kScalerGain);
    scalerHorizontal_ = registers_.Peek(enc::kScalerHorizontal);
  }
  if (bits & (enc::kUploadSelector1Scaler & 0xFFFF)) selector1Scaler_ = registers_.Peek(enc::kSelector1Scaler);
}

const ChannelWords& SimVideoDma::Channel(int number) const {
  return number == 1 ? channel1_ : number == 2 ? channel2_ : channel3_;
}

void SimVideoDma::CaptureField(int field, std::uint64_t fieldNumber) {
  const std::uint32_t control = registers_.Peek(saa::kMainControl1);
  if (control & enc::kEnableChannel1) {
    WriteField(channel1_, static_cast<int>(enc::OutputWidth(scalerHorizontal_)),
               static_cast<int>(enc::OutputLines(scalerGain_)), field, fieldNumber);
  }
  if (control & enc::kEnableChannel3) {
    // Channel 3's scaler keeps every n-th pixel of a line and every m-th line of a field,
    // as its two codes say. The lines word tells it what a field brings: the input width
    // (doubled) and the lines. The protection address ends a window that is shorter.
    const int inputWidth = static_cast<int>(channel3_.lines & 0xFFFF) / 2;
    const int fieldLines = static_cast<int>(channel3_.lines >> 16);
    WriteField(channel3_, inputWidth / enc::Selector1HorizontalDivider(selector1Scaler_),
               fieldLines / enc::Selector1VerticalDivider(selector1Scaler_), field, fieldNumber);
  }
}

const std::uint8_t* SimVideoDma::Read(const ChannelWords& c, std::uint32_t address) {
  if (!(c.pageTable & enc::kPageTableEnable)) return memory_.Translate(address, 4);
  const std::uint32_t entryAddress = (c.pageTable & ~0xFFFu) + ((address >> 12) & 0x3FF) * 4;
  const std::uint8_t* entry = memory_.Translate(entryAddress, 4);
  if (entry == nullptr) return nullptr;
  const std::uint32_t page =
      (entry[0] | (entry[1] << 8) | (entry[2] << 16) | (std::uint32_t{entry[3]} << 24)) & ~0xFFFu;
  return memory_.Translate(page + (address & 0xFFF), 4);
}

bool SimVideoDma::Masked(int field, int line, int column) {
  const std::uint32_t control = registers_.Peek(saa::kMainControl1);
  if (!(control & enc::kEnableChannel2) || !enc::FormatMaskOn(registers_.Peek(saa::kFormat))) return false;
  const std::uint32_t row = (field == 1 ? channel2_.base : channel2_.even) +
                            static_cast<std::uint32_t>(line) * channel2_.pitch;
  const std::uint32_t address = row + static_cast<std::uint32_t>(column / 32) * 4;
  if (address + 4 > channel2_.protection) return false;
  const std::uint8_t* word = Read(channel2_, address);
  if (word == nullptr) {
    memory_.LogFault(address, 4, "clip mask read");
    return false;
  }
  const std::uint32_t bits = word[0] | (word[1] << 8) | (word[2] << 16) | (std::uint32_t{word[3]} << 24);
  return (bits >> (31 - column % 32)) & 1;
}

void SimVideoDma::Write(const ChannelWords& c, std::uint32_t address, const std::uint8_t* data,
                        std::uint32_t size) {
  if (!(c.pageTable & enc::kPageTableEnable)) {
    memory_.DmaWrite(address, data, size, "video");
    return;
  }
  // Through the page table: bits 12-21 pick the page, the low 12 bits the byte.
  while (size > 0) {
    const std::uint32_t inPage = std::min<std::uint32_t>(size, 4096 - (address & 0xFFF));
    const std::uint32_t entryAddress = (c.pageTable & ~0xFFFu) + ((address >> 12) & 0x3FF) * 4;
    const std::uint8_t* entry = memory_.Translate(entryAddress, 4);
    if (entry == nullptr) {
      memory_.LogFault(entryAddress, 4, "page table");
      return;
    }
    const std::uint32_t page = (entry[0] | (entry[1] << 8) | (entry[2] << 16) | (std::uint32_t{entry[3]} << 24)) &
                               ~0xFFFu;
    memory_.DmaWrite(page + (address & 0xFFF), data, inPage, "video through page table");
    address += inPage;
    data += inPage;
    size -= inPage;
  }
}

void SimVideoDma::WriteField(const ChannelWords& c, int width, int lines, int field,
                             std::uint64_t fieldNumber) {
  if (width <= 0 || lines <= 0 || c.pitch == 0) return;
  const int bpp = enc::FormatBytesPerPixel(registers_.Peek(saa::kFormat));
  const std::uint32_t start = field == 1 ? c.base : c.even;
  const std::uint64_t frame = fieldNumber / 2;
  std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * bpp);
  for (int line = 0; line < lines; ++line) {
    const std::uint64_t lineAddress = std::uint64_t{start} + std::uint64_t{c.pitch} * line;
    // The protection address ends the field.
    if (lineAddress + row.size() > c.protection) break;
    for (int column = 0; column < width; ++column) {
      for (int k = 0; k < bpp; ++k) {
        row[column * bpp + k] = camera_.brightness
                                    ? static_cast<std::uint8_t>(camera_.brightness(fieldNumber, line))
                                    : PatternByte(frame, field, line, column, k);
      }
    }
    // Runs of pixels the mask lets through.
    int column = 0;
    while (column < width) {
      if (Masked(field, line, column)) {
        ++pixelsMasked_;
        ++column;
        continue;
      }
      int end = column + 1;
      while (end < width && !Masked(field, line, end)) ++end;
      Write(c, static_cast<std::uint32_t>(lineAddress) + static_cast<std::uint32_t>(column * bpp),
            row.data() + column * bpp, static_cast<std::uint32_t>((end - column) * bpp));
      column = end;
    }
  }
  ++fieldsWritten_;
}

}  // namespace orvale::korrin::sim
