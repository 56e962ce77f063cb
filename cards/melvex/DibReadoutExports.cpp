// Reading a snap out into a DIB in movable memory, or straight into a BMP file.
#include <cstring>
#include <filesystem>
#include <string_view>

#include "cards/melvex/BmpFile.h"
#include "cards/melvex/ConfigRules.h"
#include "cards/melvex/DibBlock.h"
#include "cards/melvex/DibLayout.h"
#include "cards/melvex/ErrorCodes.h"
#include "cards/melvex/ErrorMessages.h"
#include "cards/melvex/ExportNames.h"
#include "cards/melvex/LineFormats.h"
#include "cards/melvex/ZelvoLibrary.h"
#include "platform/runtime/TextOutput.h"

namespace orvale::melvex {

namespace {
// Line buffers get a pair of pixels of slack: format 2 and 10 write whole bytes and pairs.
constexpr std::size_t kLineSlack = 8;

std::string_view Chars(const std::uint8_t* bytes, std::size_t count) {
  return {reinterpret_cast<const char*>(bytes), count};
}
}  // namespace

std::int32_t ZelvoLibrary::OutOfMemory(const char* message) {
  ShowErrorMessage(message);
  return Fail(code::kNoMemory);
}

std::int32_t ZelvoLibrary::StartDibReadout(const ZlvConfig& config, DibReadout& readout) {
  const ZlpSnapRequest& request = RequestOf(config);
  readout.format = config.outputFormat;
  if (const std::int32_t rc = ZLP_startReadout(readout.format, nullptr)) return rc;
  const std::optional<DibLayout> layout = DibLayoutFor(readout.format);
  if (!layout || request.xPixels == 0 || request.yPixels == 0) return Fail(code::kOutOfRange);
  readout.width = request.xPixels;
  readout.height = request.yPixels;
  readout.stride = static_cast<std::size_t>(DibRowBytes(readout.width, layout->bitCount));
  readout.bitsOffset = gdi::kBitmapInfoHeaderSize + layout->tableBytes;
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLV_readoutDIB(const ZlvConfig* config, ZLV_HDIB* dib) {
  ExportScope scope(*this, export_name::ZLV_readoutDIB);
  if (config == nullptr || dib == nullptr) return Fail(code::kBadPointer);
  *dib = nullptr;
  DibReadout r;
  if (const std::int32_t rc = StartDibReadout(*config, r)) return rc;
  NewBlock line(memory_, r.stride + kLineSlack);
  if (!line) return OutOfMemory(kCannotAllocate);
  NewBlock block(memory_, r.bitsOffset + r.stride * static_cast<std::size_t>(r.height));
  if (!block) return OutOfMemory(kCannotLock);
  WriteDibStart(block.Bytes(), r.format, *DibLayoutFor(r.format), r.width, r.height, kMemoryPixelsPerMetre);
  // The first card line is the top of the picture, the last row of the block.
  for (int j = 0; j < r.height; ++j) {
    std::memset(line.Bytes(), 0, r.stride + kLineSlack);
    if (const std::int32_t rc = ZLP_readLine(line.Bytes(), 0, static_cast<std::uint16_t>(r.width))) return rc;
    std::uint8_t* row = block.Bytes() + r.bitsOffset + static_cast<std::size_t>(r.height - 1 - j) * r.stride;
    std::memcpy(row, line.Bytes(), r.stride);
  }
  *dib = block.Keep();
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLV_readoutDIBToFile(const ZlvConfig* config, const char* fileName) {
  ExportScope scope(*this, export_name::ZLV_readoutDIBToFile);
  if (config == nullptr || fileName == nullptr) return Fail(code::kBadPointer);
  DibReadout r;
  if (const std::int32_t rc = StartDibReadout(*config, r)) return rc;
  NewBlock line(memory_, r.stride + kLineSlack);
  if (!line) return OutOfMemory(kCannotAllocate);
  const auto writeFailed = [&] {
    ShowErrorMessage(kFileWriteFailed);
    return Fail(code::kFileError);
  };
  // Written beside the old file and put in its place only when complete.
  RunError error;
  std::unique_ptr<AtomicFileWriter> file = AtomicFileWriter::Open(std::filesystem::path(fileName), error);
  if (!file) return writeFailed();
  std::vector<std::uint8_t> head(kFileHeaderSize + r.bitsOffset);
  WriteBmpFileHeader(head.data(), static_cast<std::uint32_t>(head.size() + r.stride * static_cast<std::size_t>(r.height)),
                     static_cast<std::uint32_t>(head.size()));
  WriteDibStart(head.data() + kFileHeaderSize, r.format, *DibLayoutFor(r.format), r.width, r.height,
                kFilePixelsPerMetre);
  if (!file->Write(Chars(head.data(), head.size()), error)) return writeFailed();
  // Bottom row first: each row is read from a readout of its own.
  for (int j = 0; j < r.height; ++j) {
    if (const std::int32_t rc = ZLP_startReadout(r.format, nullptr)) return rc;
    if (const std::int32_t rc = ZLP_skipLines(static_cast<std::uint16_t>(r.height - j - 1))) return rc;
    std::memset(line.Bytes(), 0, r.stride + kLineSlack);
    if (const std::int32_t rc = ZLP_readLine(line.Bytes(), 0, static_cast<std::uint16_t>(r.width))) return rc;
    if (!file->Write(Chars(line.Bytes(), r.stride), error)) return writeFailed();
  }
  if (!file->Commit(error)) return writeFailed();
  return code::kOk;
}

}  // namespace orvale::melvex
