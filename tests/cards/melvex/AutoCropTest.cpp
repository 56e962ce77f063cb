#include <gtest/gtest.h>

#include <memory>

#include "cards/melvex/DeviceRequests.h"
#include "tests/cards/melvex/CardFixture.h"

namespace orvale::melvex {
namespace {

using testing::CardFixture;
using testing::Request;

struct CropCase {
  const char* name;
  int standard;
  bool narrow;
  int left, top, right, bottom;  // the picture; left < 0 for none
  int interlaced;
  int xOffset, xActive, yOffset, yActive;
};

class AutoCropTest : public CardFixture, public ::testing::WithParamInterface<CropCase> {};

TEST_P(AutoCropTest, FindsThePictureArea) {
  const CropCase& c = GetParam();
  if (c.narrow) Card().SetAttachFlags(kAttachNarrowOutput);
  if (c.left >= 0) {
    Card().Input(0).scene = std::make_shared<sim::RectangleScene>(c.left, c.top, c.right, c.bottom);
  } else {
    Card().Input(0).scene = std::make_shared<sim::UniformScene>(sim::SceneSample{0, 128, 128});
  }
  InitAndConfigure(c.standard);
  ZlpSnapRequest request = Request(1, 2, 3, 4, 5, 6, c.interlaced);
  ASSERT_EQ(Lib().ZLP_autoCrop(&request), code::kOk);
  EXPECT_EQ(request.xOffset, c.xOffset);
  EXPECT_EQ(request.xActive, c.xActive);
  EXPECT_EQ(request.yOffset, c.yOffset);
  EXPECT_EQ(request.yActive, c.yActive);
  EXPECT_EQ(request.xPixels, 3);  // the output size is the caller's business
  EXPECT_EQ(request.yPixels, 6);
}

INSTANTIATE_TEST_SUITE_P(
    Scenes, AutoCropTest,
    ::testing::Values(
        CropCase{"Rectangle525", 0, false, 40, 30, 740, 450, 1, 41, 699, 30, 421},
        CropCase{"RectangleOneField", 0, false, 40, 30, 740, 450, 0, 41, 699, 15, 210},
        CropCase{"Rectangle625", 1, false, 12, 20, 930, 600, 1, 13, 917, 20, 581},
        // A card with short lines finds the right and bottom edges in a corner snap.
        CropCase{"NarrowCard", 1, true, 12, 20, 930, 600, 1, 13, 917, 20, 581},
        // Black: the defaults, 100 in from every edge.
        CropCase{"Black525", 0, false, -1, 0, 0, 0, 1, 101, 579, 100, 311},
        CropCase{"BlackNarrow", 0, true, -1, 0, 0, 0, 1, 101, 579, 100, 311},
        // A picture down to the last line: the scan stops there instead of reading past it.
        CropCase{"TouchesTheBottom", 0, false, 40, 30, 740, 509, 1, 41, 699, 30, 480},
        CropCase{"TouchesTheBottomNarrow", 1, true, 12, 20, 930, 609, 1, 13, 917, 20, 590}),
    [](const ::testing::TestParamInfo<CropCase>& info) { return std::string(info.param.name); });

TEST_F(AutoCropTest, NeedsAConfiguredCardAndARequest) {
  ZlpSnapRequest request{};
  EXPECT_EQ(Lib().ZLP_autoCrop(&request), code::kNotInitialised);
  ASSERT_EQ(Lib().ZLP_init(), code::kOk);
  EXPECT_EQ(Lib().ZLP_autoCrop(&request), code::kNotConfigured);
  InitAndConfigure(0);
  EXPECT_EQ(Lib().ZLP_autoCrop(nullptr), code::kBadPointer);
  Card().Input(0).signal = false;
  EXPECT_EQ(Lib().ZLP_autoCrop(&request), code::kNoSignal);
  EXPECT_STREQ(Lib().ZLP_lastErrorFunctionName(), "ZLP_finishSnap");
}

}  // namespace
}  // namespace orvale::melvex
