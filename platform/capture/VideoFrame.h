#pragma once
// One camera picture as every capture backend hands it on: 24-bit pixels in the byte
// order blue, green, red, rows padded to 4 bytes and stored bottom-up, the layout of a
// 24-bit device-independent bitmap. Frames are shared read-only once delivered, so a
// reader always converts a picture that no thread is still writing.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace orvale {

struct VideoFrame {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  // Stride() x Height bytes for a whole frame; a faulty source may deliver fewer.
  std::vector<std::uint8_t> Bytes;

  // Bytes per stored row: 3 x Width rounded up to a multiple of 4.
  std::size_t Stride() const;
  // Makes room for a whole width x height frame.
  void Resize(std::int32_t width, std::int32_t height);
  // Whether Bytes holds every row.
  bool Complete() const;
  // Row `y` of the picture counted from the top. Cameras deliver rows top-down and the
  // frame stores them bottom-up: this is the one place where the two meet.
  std::uint8_t* RowFromTop(std::int32_t y);
  const std::uint8_t* RowFromTop(std::int32_t y) const;
};

using FramePtr = std::shared_ptr<const VideoFrame>;

// Frames for one producing thread. A frame handed out is written again only once no one
// else holds it, so a consumer may keep a delivered frame as long as it likes.
class FramePool {
 public:
  FramePool();
  ~FramePool();
  FramePool(const FramePool&) = delete;
  FramePool& operator=(const FramePool&) = delete;

  // A frame of width x height that nobody else holds.
  std::shared_ptr<VideoFrame> Take(std::int32_t width, std::int32_t height);

 private:
  struct Shelf;
  // Frames come back to the shelf when their last holder lets go, on that holder's
  // thread; the shelf outlives the pool while frames are still out.
  std::shared_ptr<Shelf> shelf_;
};

}  // namespace orvale
