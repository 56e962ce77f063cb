#pragma once
// The bytes of a picture file in memory of their own: grown as the file is read without
// clearing or copying what it holds, and let go page by page behind a decoder that
// reads on, so that a file is never held whole beside the picture decoded from it.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/runtime/RunError.h"

namespace orvale {

class ReadableFile;

class PictureFileBuffer {
 public:
  PictureFileBuffer() = default;
  ~PictureFileBuffer();
  PictureFileBuffer(PictureFileBuffer&& other) noexcept;
  PictureFileBuffer& operator=(PictureFileBuffer&& other) noexcept;
  PictureFileBuffer(const PictureFileBuffer&) = delete;
  PictureFileBuffer& operator=(const PictureFileBuffer&) = delete;

  // The bytes read; those let go read as zeros.
  std::span<const std::uint8_t> Bytes() const { return {data_, size_}; }
  std::size_t Size() const { return size_; }

  // Room for `bytes` in all, of which only those read will take memory; false when
  // there is no room for them.
  bool Reserve(std::size_t bytes);
  // Appends the file's next bytes until the end of the file or until `limit` bytes are
  // held, growing the room as it must: false with `error` set when the file cannot be
  // read or no room is left ("Out of memory").
  bool ReadFrom(ReadableFile& file, std::uint64_t limit, RunError& error);

  // Gives back the memory of the whole pages before `offset`, which no reader will go
  // back to. The first offset not let go is LetGoBefore().
  void LetGoBefore(std::size_t offset);
  std::size_t LetGo() const { return letGo_; }

 private:
  std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  std::size_t letGo_ = 0;
};

}  // namespace orvale
