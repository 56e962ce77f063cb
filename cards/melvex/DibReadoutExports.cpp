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

std::int32_t ZelvoLibrary::ZLV_readoutDIB(const ZlvConfig* config, ZLV_HDIB* dib) {
  ExportScope scope(*this, export_name::ZLV_readoutDIB);
  if (config == nullptr || dib == nullptr) return Fail(code::kBadPointer);
  *dib = nullptr;
  const ZlpSnapRequest& request = RequestOf(*config);
  const int format = config->outputFormat;
  if (const std::int32_t rc = ZLP_startReadout(format, nullptr)) return rc;
  const std::optional<DibLayout> layout = DibLayoutFor(format);
  if (!layout || request.xPixels == 0 || request.yPixels == 0) return Fail(code::kOutOfRange);
  const int width = request.xPixels;
  const int height = request.yPixels;
  const auto stride = static_cast<std::size_t>(DibRowBytes(width, layout->bitCount));

  OwnedBlock lineBlock(memory_, memory_.Alloc(stride + kLineSlack));
  LockedBlock line(memory_, lineBlock.Get());
  if (!line) {
    ShowErrorMessage(kCannotAllocate);
    return Fail(code::kNoMemory);
  }
  const std::size_t bitsOffset = gdi::kBitmapInfoHeaderSize + layout->tableBytes;
  OwnedBlock dibBlock(memory_, memory_.Alloc(bitsOffset + stride * static_cast<std::size_t>(height)));
  LockedBlock bytes(memory_, dibBlock.Get());
  if (!bytes) {
    ShowErrorMessage(kCannotLock);
    return Fail(code::kNoMemory);
  }
  WriteDibStart(bytes.Bytes(), format, *layout, width, height, kMemoryPixelsPerMetre);
  // The first card line is the top of the picture, the last row of the block.
  for (int j = 0; j < height; ++j) {
    std::memset(line.Bytes(), 0, stride + kLineSlack);
    if (const std::int32_t rc = ZLP_readLine(line.Bytes(), 0, static_cast<std::uint16_t>(width))) return rc;
    std::uint8_t* row = bytes.Bytes() + bitsOffset + static_cast<std::size_t>(height - 1 - j) * stride;
    std::memcpy(row, line.Bytes(), stride);
  }
  bytes.Unlock();
  *dib = dibBlock.Keep();
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLV_readoutDIBToFile(const ZlvConfig* config, const char* fileName) {
  ExportScope scope(*this, export_name::ZLV_readoutDIBToFile);
  if (config == nullptr || fileName == nullptr) return Fail(code::kBadPointer);
  const ZlpSnapRequest& request = RequestOf(*config);
  const int format = config->outputFormat;
  if (const std::int32_t rc = ZLP_startReadout(format, nullptr)) return rc;
  const std::optional<DibLayout> layout = DibLayoutFor(format);
  if (!layout || request.xPixels == 0 || request.yPixels == 0) return Fail(code::kOutOfRange);
  const int width = request.xPixels;
  const int height = request.yPixels;
  const auto stride = static_cast<std::size_t>(DibRowBytes(width, layout->bitCount));

  OwnedBlock lineBlock(memory_, memory_.Alloc(stride + kLineSlack));
  LockedBlock line(memory_, lineBlock.Get());
  if (!line) {
    ShowErrorMessage(kCannotAllocate);
    return Fail(code::kNoMemory);
  }
  const auto writeFailed = [&] {
    ShowErrorMessage(kFileWriteFailed);
    return Fail(code::kFileError);
  };
  // Written beside the old file and put in its place only when complete.
  RunError error;
  std::unique_ptr<AtomicFileWriter> file = AtomicFileWriter::Open(std::filesystem::path(fileName), error);
  if (!file) return writeFailed();
  const std::size_t infoBytes = gdi::kBitmapInfoHeaderSize + layout->tableBytes;
  std::vector<std::uint8_t> head(kFileHeaderSize + infoBytes);
  WriteBmpFileHeader(head.data(), static_cast<std::uint32_t>(head.size() + stride * static_cast<std::size_t>(height)),
                     static_cast<std::uint32_t>(head.size()));
  WriteDibStart(head.data() + kFileHeaderSize, format, *layout, width, height, kFilePixelsPerMetre);
  if (!file->Write(Chars(head.data(), head.size()), error)) return writeFailed();
  // Bottom row first: each row is read from a readout of its own.
  for (int j = 0; j < height; ++j) {
    if (const std::int32_t rc = ZLP_startReadout(format, nullptr)) return rc;
    if (const std::int32_t rc = ZLP_skipLines(static_cast<std::uint16_t>(height - j - 1))) return rc;
    std::memset(line.Bytes(), 0, stride + kLineSlack);
    if (const std::int32_t rc = ZLP_readLine(line.Bytes(), 0, static_cast<std::uint16_t>(width))) return rc;
    if (!file->Write(Chars(line.Bytes(), stride), error)) return writeFailed();
  }
  if (!file->Commit(error)) return writeFailed();
  return code::kOk;
}

}  // namespace orvale::melvex
