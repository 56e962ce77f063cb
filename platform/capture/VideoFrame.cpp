#include "platform/capture/VideoFrame.h"

#include <mutex>

#include "platform/gdi/Dib.h"

namespace orvale {

std::size_t VideoFrame::Stride() const {
  return static_cast<std::size_t>(gdi::DibStride(Width, 24));
}

void VideoFrame::Resize(std::int32_t width, std::int32_t height) {
  Width = width;
  Height = height;
  Bytes.resize(Stride() * static_cast<std::size_t>(height));
}

bool VideoFrame::Complete() const {
  return Width > 0 && Height > 0 && Bytes.size() >= Stride() * static_cast<std::size_t>(Height);
}

std::uint8_t* VideoFrame::RowFromTop(std::int32_t y) {
  return Bytes.data() + static_cast<std::size_t>(Height - 1 - y) * Stride();
}

const std::uint8_t* VideoFrame::RowFromTop(std::int32_t y) const {
  return Bytes.data() + static_cast<std::size_t>(Height - 1 - y) * Stride();
}

struct FramePool::Shelf {
  static constexpr std::size_t kKept = 4;
  std::mutex Lock;
  std::vector<std::unique_ptr<VideoFrame>> Free;
};

FramePool::FramePool() : shelf_(std::make_shared<Shelf>()) {}

FramePool::~FramePool() = default;

std::shared_ptr<VideoFrame> FramePool::Take(std::int32_t width, std::int32_t height) {
  std::unique_ptr<VideoFrame> frame;
  {
    const std::lock_guard lock(shelf_->Lock);
    if (!shelf_->Free.empty()) {
      frame = std::move(shelf_->Free.back());
      shelf_->Free.pop_back();
    }
  }
  if (!frame) frame = std::make_unique<VideoFrame>();
  frame->Resize(width, height);
  // The last holder puts the frame back under the shelf's lock, so whatever it read
  // happens before the producer writes the frame again.
  const std::weak_ptr<Shelf> shelf = shelf_;
  return {frame.release(), [shelf](VideoFrame* returned) {
            std::unique_ptr<VideoFrame> owned(returned);
            if (const std::shared_ptr<Shelf> kept = shelf.lock()) {
              const std::lock_guard lock(kept->Lock);
              if (kept->Free.size() < Shelf::kKept) kept->Free.push_back(std::move(owned));
            }
          }};
}

}  // namespace orvale
