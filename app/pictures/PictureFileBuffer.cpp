#include "app/pictures/PictureFileBuffer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "platform/runtime/ReadableFile.h"

namespace orvale {

namespace {

std::size_t PageSize() {
  static const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  return page;
}

std::size_t RoundedToPages(std::size_t bytes) { return (bytes + PageSize() - 1) / PageSize() * PageSize(); }

// Each read at most this much, so that a read is never more than a moment.
constexpr std::size_t kReadChunk = std::size_t{1} << 20;

}  // namespace

PictureFileBuffer::~PictureFileBuffer() {
  if (data_ != nullptr) ::munmap(data_, capacity_);
}

PictureFileBuffer::PictureFileBuffer(PictureFileBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)),
      letGo_(std::exchange(other.letGo_, 0)) {}

PictureFileBuffer& PictureFileBuffer::operator=(PictureFileBuffer&& other) noexcept {
  if (this != &other) {
    if (data_ != nullptr) ::munmap(data_, capacity_);
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
    letGo_ = std::exchange(other.letGo_, 0);
  }
  return *this;
}

bool PictureFileBuffer::Reserve(std::size_t bytes) {
  if (bytes <= capacity_) return true;
  const std::size_t room = RoundedToPages(bytes);
  // Fresh pages of an anonymous mapping take memory only once written, and moving
  // them to a larger mapping copies none.
  void* grown = data_ == nullptr ? ::mmap(nullptr, room, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)
                                 : ::mremap(data_, capacity_, room, MREMAP_MAYMOVE);
  if (grown == MAP_FAILED) return false;
  data_ = static_cast<std::uint8_t*>(grown);
  capacity_ = room;
  return true;
}

bool PictureFileBuffer::ReadFrom(ReadableFile& file, std::uint64_t limit, RunError& error) {
  while (size_ < limit) {
    if (size_ == capacity_ && !Reserve(std::max(kReadChunk, 2 * capacity_))) {
      error = RunError::FromNumber(errnum::kOutOfMemory);
      return false;
    }
    const auto chunk = static_cast<std::size_t>(std::min<std::uint64_t>({capacity_ - size_, kReadChunk, limit - size_}));
    const long got = file.Read(data_ + size_, chunk);
    if (got == 0) return true;
    if (got < 0) {
      error = RunError::FromErrno(errno, file.Path());
      return false;
    }
    size_ += static_cast<std::size_t>(got);
  }
  return true;
}

void PictureFileBuffer::LetGoBefore(std::size_t offset) {
  const std::size_t end = std::min(offset, size_) / PageSize() * PageSize();
  if (end <= letGo_) return;
  ::madvise(data_ + letGo_, end - letGo_, MADV_DONTNEED);
  letGo_ = end;
}

}  // namespace orvale
