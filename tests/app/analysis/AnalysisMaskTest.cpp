#include <gtest/gtest.h>

#include "app/analysis/clsAnalysis.h"
#include "platform/ui/MessageService.h"

namespace orvale {
namespace {

TEST(AnalysisMask, CreateMaskResetsTheFlagsAndZeroFills) {
  clsAnalysis analysis;
  std::vector<std::uint8_t> copy;
  std::int32_t w = -1, h = -1;
  EXPECT_FALSE(analysis.GetMaskPointer(copy, w, h));
  EXPECT_EQ(w, -1);

  analysis.MaskValid = analysis.MaskDoubleSize = analysis.MaskTrimmed = true;
  ASSERT_TRUE(analysis.CreateMask(4, 3));
  EXPECT_TRUE(analysis.MaskAllocated);
  EXPECT_FALSE(analysis.MaskValid || analysis.MaskDoubleSize || analysis.MaskTrimmed);
  ASSERT_TRUE(analysis.GetMaskPointer(copy, w, h));
  EXPECT_EQ(w, 4);
  EXPECT_EQ(h, 3);
  EXPECT_EQ(copy, std::vector<std::uint8_t>(12, 0));
  EXPECT_EQ(analysis.MaskAt(4, 0), clsAnalysis::kMaskOutside);
}

TEST(AnalysisMask, EmptySizeGivesAZeroByZeroMask) {
  clsAnalysis analysis;
  ASSERT_TRUE(analysis.CreateMask(0, 5));
  EXPECT_TRUE(analysis.MaskAllocated);
  EXPECT_EQ(analysis.MaskWidth(), 0);
  EXPECT_EQ(analysis.MaskHeight(), 0);
  EXPECT_TRUE(analysis.MaskBytes().empty());
}

TEST(AnalysisMask, ClearMaskZeroesAndKeepsValidity) {
  clsAnalysis analysis;
  ASSERT_TRUE(analysis.CreateMask(3, 2));
  auto bytes = analysis.MaskBytes();
  std::fill(bytes.begin(), bytes.end(), clsAnalysis::kMaskPupil);
  analysis.MaskValid = analysis.MaskTrimmed = true;
  analysis.ClearMask();
  EXPECT_TRUE(analysis.MaskValid);
  EXPECT_FALSE(analysis.MaskTrimmed);
  for (auto b : analysis.MaskBytes()) EXPECT_EQ(b, 0);
}

TEST(AnalysisMask, AllocationFailureIsReported) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer aborts on impossible allocations";
#endif
  ScriptedMessageService messages;
  ScopedMessageService scope(messages);
  clsAnalysis analysis;
  EXPECT_FALSE(analysis.CreateMask(2147483647, 2147483647));
  EXPECT_FALSE(analysis.MaskAllocated);
  ASSERT_EQ(messages.Messages().size(), 1u);
  EXPECT_EQ(messages.Messages()[0].title, "Error");
  EXPECT_EQ(messages.Messages()[0].text, RunError::StandardDescription(errnum::kOutOfMemory));
}

}  // namespace
}  // namespace orvale
