#pragma once
// Holds Qt's image readers to a picture budget while it lives. Qt counts every pixel as
// at least 32 bits, and a reader it stops answers only that it could not read the
// data: whether the limit stopped it is told by the size and pixel format the reader
// gives before it reads.
#include <cstdint>

class QImageReader;

namespace orvale {

class DecoderAllocationLimit {
 public:
  // Readers may allocate `pixels` of the deepest kind the program decodes
  // (kMostDecodedBytesPerPixel); the limit found is restored at the end.
  explicit DecoderAllocationLimit(std::int64_t pixels);
  ~DecoderAllocationLimit();
  DecoderAllocationLimit(const DecoderAllocationLimit&) = delete;
  DecoderAllocationLimit& operator=(const DecoderAllocationLimit&) = delete;

  // The bytes `reader` will allocate for its picture as Qt counts them, asked before
  // it reads; 0 when it cannot tell.
  static std::int64_t BytesNeeded(QImageReader& reader);
  // True when a read that failed needing `neededBytes` was stopped by the limit, not
  // by its data.
  bool Stopped(std::int64_t neededBytes) const { return neededBytes > bytes_; }

 private:
  int previousMegabytes_;
  std::int64_t bytes_;
};

}  // namespace orvale
