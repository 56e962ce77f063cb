#include "cards/korrin/image/ByteInput.h"

#include <algorithm>
#include <cstring>

#include "platform/runtime/ReadableFile.h"

namespace orvale::korrin {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

}  // namespace

ByteInput::ByteInput(std::span<const std::uint8_t> bytes)
    : data_(bytes.data()), end_(bytes.size()), filePos_(bytes.size()), size_(bytes.size()) {}

ByteInput::ByteInput(std::unique_ptr<std::FILE, FileCloser> file, std::uint64_t size)
    : file_(std::move(file)), buffer_(kBufferSize), size_(size) {
  data_ = buffer_.data();
}

std::optional<ByteInput> ByteInput::Open(const std::filesystem::path& path) {
  std::optional<ReadableFile> opened = ReadableFile::Open(path);
  if (!opened) return std::nullopt;
  std::unique_ptr<std::FILE, FileCloser> file(::fdopen(opened->Descriptor(), "rb"));
  if (!file) return std::nullopt;
  opened->Release();  // the stream owns it now
  return ByteInput(std::move(file), opened->SizeWhenOpened());
}

bool ByteInput::Refill() {
  if (!file_ || filePos_ >= size_) return false;
  const std::size_t n = std::fread(buffer_.data(), 1, buffer_.size(), file_.get());
  if (n == 0) return false;
  data_ = buffer_.data();
  pos_ = 0;
  end_ = n;
  filePos_ += n;
  return true;
}

bool ByteInput::Read(std::uint8_t* out, std::size_t n) {
  if (Position() + n > size_) return false;
  while (n > 0) {
    if (pos_ == end_ && !Refill()) return false;
    const std::size_t chunk = std::min(n, end_ - pos_);
    std::memcpy(out, data_ + pos_, chunk);
    pos_ += chunk;
    out += chunk;
    n -= chunk;
  }
  return true;
}

bool ByteInput::SeekTo(std::uint64_t position) {
  if (position > size_) return false;
  if (!file_) {
    pos_ = static_cast<std::size_t>(position);
    return true;
  }
  // Inside the buffer: move there; otherwise read on from the new place.
  const std::uint64_t bufferStart = filePos_ - end_;
  if (position >= bufferStart && position <= filePos_) {
    pos_ = static_cast<std::size_t>(position - bufferStart);
    return true;
  }
  if (std::fseek(file_.get(), static_cast<long>(position), SEEK_SET) != 0) return false;
  filePos_ = position;
  pos_ = end_ = 0;
  return true;
}

bool ByteInput::Skip(std::uint64_t n) { return SeekTo(Position() + n); }

}  // namespace orvale::korrin
