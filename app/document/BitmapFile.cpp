#include "app/document/BitmapFile.h"

#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <string_view>

#include "platform/runtime/ByteFields.h"
#include "app/pictures/DWordAlign.h"
#include "app/pictures/PictureFileBytes.h"
#include "app/pictures/GreyBitmapInfo.h"
#include "app/pictures/ImageFileChecks.h"
#include "app/document/PromptedFileWrite.h"
#include "platform/ui/MessageService.h"

namespace orvale {

std::optional<std::vector<std::uint8_t>> GreyBitmapFileBytes(std::span<const std::uint8_t> data,
                                                             std::int32_t width, std::int32_t height,
                                                             bool blankImage) {
  if (blankImage || width <= 0 || height <= 0) return std::nullopt;
  const auto rowBytes = static_cast<std::size_t>(width);
  const auto rows = static_cast<std::size_t>(height);
  if (data.size() != rowBytes * rows) return std::nullopt;

  const auto stride = static_cast<std::uint64_t>(AlignToDWord(width));
  const std::uint64_t blockSize = stride * rows;
  if (kCompanionBitsOffset + blockSize > std::numeric_limits<std::uint32_t>::max()) {
    // The file's size fields cannot describe an image this large.
    FileErrorPrompt(RunError::FromNumber(errnum::kOverflow));
    return std::nullopt;
  }

  std::vector<std::uint8_t> file;
  try {
    file.assign(kCompanionBitsOffset + blockSize, 0);
  } catch (const std::bad_alloc&) {
    // Not a file error: the prompt offers only OK, which ends the save.
    FileErrorPrompt(RunError::FromNumber(errnum::kOutOfMemory));
    return std::nullopt;
  }
  file[0] = 'B';
  file[1] = 'M';
  WriteLE32(&file[2], static_cast<std::uint32_t>(kCompanionBitsOffset + blockSize));
  WriteLE32(&file[10], static_cast<std::uint32_t>(kCompanionBitsOffset));
  gdi::WriteBitmapInfo(GreyBitmapInfo(width, height, static_cast<std::uint32_t>(blockSize)),
                       std::span<std::uint8_t, kGreyBitmapInfoBytes>(file.data() + kBitmapFileHeaderBytes,
                                                                     kGreyBitmapInfoBytes));
  // The top row of the image is the last row of the file.
  std::uint8_t* bits = file.data() + kCompanionBitsOffset;
  for (std::size_t y = 0; y < rows; ++y) {
    std::memcpy(bits + (rows - 1 - y) * stride, data.data() + y * rowBytes, rowBytes);
  }
  return file;
}

bool SaveDataBufferToBMP(const std::filesystem::path& target, std::span<const std::uint8_t> data,
                         std::int32_t width, std::int32_t height, bool blankImage) {
  const auto file = GreyBitmapFileBytes(data, width, height, blankImage);
  if (!file) return false;
  return WriteFileWithPrompt(target, std::string_view(reinterpret_cast<const char*>(file->data()), file->size()));
}

void LoadFileIntoDIB(const std::filesystem::path& path, std::vector<std::uint8_t>& dib) {
  std::vector<std::uint8_t> bytes;
  for (;;) {
    RunError error;
    if (ReadPictureFileBytes(path, bytes, error)) break;
    if (FileErrorPrompt(error) != idbutton::kRetry) return;
  }
  if (bytes.size() <= kBitmapFileHeaderBytes || bytes[0] != 'B' || bytes[1] != 'M') return;
  dib.assign(bytes.begin() + kBitmapFileHeaderBytes, bytes.end());
}

}  // namespace orvale
