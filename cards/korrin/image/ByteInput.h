#pragma once
// Reading a file, or bytes in memory, front to back through a buffer, with every read
// checked against the end.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace orvale::korrin {

class ByteInput {
 public:
  // Reads `bytes` in place: they must outlive the input.
  explicit ByteInput(std::span<const std::uint8_t> bytes);
  // Empty when the file cannot be opened.
  static std::optional<ByteInput> Open(const std::filesystem::path& path);

  // False, with nothing consumed past the end, when fewer than `n` bytes remain.
  bool Read(std::uint8_t* out, std::size_t n);
  bool Skip(std::uint64_t n);
  bool SeekTo(std::uint64_t position);
  bool Get(std::uint8_t& byte) {
    if (pos_ < end_) {
      byte = data_[pos_++];
      return true;
    }
    return Refill() && (byte = data_[pos_++], true);
  }
  std::uint64_t Size() const { return size_; }
  std::uint64_t Position() const { return filePos_ - (end_ - pos_); }

 private:
  struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  ByteInput(std::unique_ptr<std::FILE, FileCloser> file, std::uint64_t size);
  bool Refill();

  std::unique_ptr<std::FILE, FileCloser> file_;
  std::vector<std::uint8_t> buffer_;
  const std::uint8_t* data_ = nullptr;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  std::uint64_t filePos_ = 0;  // position just after the buffered bytes
  std::uint64_t size_ = 0;
};

}  // namespace orvale::korrin
