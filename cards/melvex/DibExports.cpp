// DIBs a caller holds: saving one as a BMP file, copying it, and the movable-block calls
// for DIBs the caller owns. A caller's DIB is checked against its block before use.
#include <cstring>
#include <filesystem>
#include <string_view>

#include "cards/melvex/BmpFile.h"
#include "cards/melvex/DibBlock.h"
#include "cards/melvex/DibLayout.h"
#include "cards/melvex/ErrorCodes.h"
#include "cards/melvex/ExportNames.h"
#include "cards/melvex/ZelvoLibrary.h"
#include "platform/runtime/TextOutput.h"

namespace orvale::melvex {

std::int32_t ZelvoLibrary::ZLV_saveDIBToFile(ZLV_HDIB dib, const char* fileName) {
  ExportScope scope(*this, export_name::ZLV_saveDIBToFile);
  if (dib == nullptr || fileName == nullptr) return Fail(code::kBadPointer);
  LockedBlock bytes(memory_, dib);
  if (!bytes) return Fail(code::kNoMemory);
  const std::optional<DibView> view = CheckDib({bytes.Bytes(), bytes.Size()});
  if (!view) return Fail(code::kOutOfRange);
  const std::size_t dibBytes = view->Bytes();
  std::uint8_t head[kFileHeaderSize];
  WriteBmpFileHeader(head, static_cast<std::uint32_t>(kFileHeaderSize + dibBytes),
                     static_cast<std::uint32_t>(kFileHeaderSize + view->bitsOffset));
  RunError error;
  std::unique_ptr<AtomicFileWriter> file = AtomicFileWriter::Open(std::filesystem::path(fileName), error);
  if (!file || !file->Write({reinterpret_cast<const char*>(head), sizeof(head)}, error) ||
      !file->Write({reinterpret_cast<const char*>(bytes.Bytes()), dibBytes}, error) || !file->Commit(error)) {
    return Fail(code::kFileError);
  }
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLV_copyDIB(ZLV_HDIB dib, ZLV_HDIB* copy) {
  ExportScope scope(*this, export_name::ZLV_copyDIB);
  if (dib == nullptr || copy == nullptr) return Fail(code::kBadPointer);
  *copy = nullptr;
  LockedBlock source(memory_, dib);
  if (!source) return Fail(code::kNoMemory);
  if (!CheckDib({source.Bytes(), source.Size()})) return Fail(code::kOutOfRange);
  NewBlock target(memory_, source.Size());
  if (!target) return Fail(code::kNoMemory);
  std::memcpy(target.Bytes(), source.Bytes(), source.Size());
  *copy = target.Keep();
  return code::kOk;
}

void* ZelvoLibrary::ZLV_lockDIB(ZLV_HDIB dib) {
  ExportScope scope(*this, export_name::ZLV_lockDIB);
  void* bytes = memory_.Lock(dib);
  if (bytes == nullptr) RecordFailure();
  return bytes;
}

std::int32_t ZelvoLibrary::ZLV_unlockDIB(ZLV_HDIB dib) {
  ExportScope scope(*this, export_name::ZLV_unlockDIB);
  return memory_.Unlock(dib) ? code::kOk : Fail(code::kBadPointer);
}

std::size_t ZelvoLibrary::ZLV_sizeDIB(ZLV_HDIB dib) {
  ExportScope scope(*this, export_name::ZLV_sizeDIB);
  const std::size_t size = memory_.Size(dib);
  if (size == 0) RecordFailure();
  return size;
}

std::int32_t ZelvoLibrary::ZLV_freeDIB(ZLV_HDIB dib) {
  ExportScope scope(*this, export_name::ZLV_freeDIB);
  return memory_.Free(dib) ? code::kOk : Fail(code::kBadPointer);
}

}  // namespace orvale::melvex
