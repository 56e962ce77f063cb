#include "platform/capture/VideoFrame.h"

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

std::shared_ptr<VideoFrame> FramePool::Take(std::int32_t width, std::int32_t height) {
  std::shared_ptr<VideoFrame> frame;
  for (const auto& kept : frames_) {
    // Only the pool holds it: no reader can take a new reference any more.
    if (kept.use_count() == 1) {
      frame = kept;
      break;
    }
  }
  if (!frame) {
    frame = std::make_shared<VideoFrame>();
    if (frames_.size() < kKept) frames_.push_back(frame);
  }
  frame->Resize(width, height);
  return frame;
}

}  // namespace orvale
