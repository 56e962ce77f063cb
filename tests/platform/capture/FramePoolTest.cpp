#include <gtest/gtest.h>

#include <thread>

#include "platform/capture/VideoFrame.h"

namespace orvale::testing {
namespace {

TEST(FramePoolTest, AFrameIsWrittenAgainOnlyOnceItsLastHolderLetGo) {
  FramePool pool;
  std::shared_ptr<VideoFrame> first = pool.Take(8, 4);
  FramePtr reader = first;
  first.reset();
  std::shared_ptr<VideoFrame> second = pool.Take(8, 4);
  EXPECT_NE(second.get(), reader.get()) << "a frame a reader holds was handed out again";

  const VideoFrame* released = reader.get();
  reader.reset();
  std::shared_ptr<VideoFrame> third = pool.Take(16, 2);
  EXPECT_EQ(third.get(), released);
  EXPECT_EQ(third->Width, 16);
  EXPECT_EQ(third->Bytes.size(), third->Stride() * 2);
}

TEST(FramePoolTest, AReaderOnAnotherThreadMayKeepItsFrameAfterThePoolIsGone) {
  FramePtr kept;
  {
    FramePool pool;
    std::shared_ptr<VideoFrame> frame = pool.Take(4, 4);
    frame->Bytes.assign(frame->Bytes.size(), 9);
    kept = frame;
  }
  std::thread reader([frame = std::move(kept)]() mutable {
    EXPECT_EQ(frame->Bytes.front(), 9);
    frame.reset();  // the last holder frees it: the pool's shelf is gone
  });
  reader.join();
}

}  // namespace
}  // namespace orvale::testing
