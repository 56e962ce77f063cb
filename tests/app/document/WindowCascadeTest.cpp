#include "app/document/WindowCascade.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DocumentModelTestSupport.h"
#include "app/document/DocumentTable.h"
#include "app/document/clsDocument.h"
#include "tests/support/RecordingMainFrame.h"

namespace orvale::testing {
namespace {

std::string Places(const std::vector<WindowPlacement>& places) {
  std::string text;
  for (const WindowPlacement& p : places) {
    text += "(" + std::to_string(p.Left) + "," + std::to_string(p.Top) + " " +
            std::to_string(p.Width) + "x" + std::to_string(p.Height) + ")";
  }
  return text;
}

TEST(WindowCascadeTest, WindowsStepByATitleBarKeepingTheirSizeWithinTheArea) {
  const WindowSize big{500, 400};
  const struct {
    const char* what;
    WindowSize area;
    std::vector<CascadedWindow> windows;
    std::string places;
  } cases[] = {
      {"roomy", {1000, 700}, {{big, {}}, {{300, 200}, {}}, {big, {}}},
       "(0,0 500x400)(24,24 300x200)(48,48 500x400)"},
      // The area is smaller than the windows: they keep their size all the same.
      {"small", {200, 150}, {{big, {}}, {big, {}}}, "(0,0 500x400)(24,24 500x400)"},
      // Two title bars down, then the top again, further right.
      {"low", {1000, 60}, {{big, {}}, {big, {}}, {big, {}}, {big, {}}},
       "(0,0 500x400)(24,24 500x400)(48,0 500x400)(72,24 500x400)"},
      // Five across 100 pixels: the steps narrow so the last corner is still inside.
      {"narrow", {100, 1000}, std::vector<CascadedWindow>(5, {big, {}}),
       "(0,0 500x400)(19,24 500x400)(38,48 500x400)(57,72 500x400)(76,96 500x400)"},
      {"tiny", {10, 10}, std::vector<CascadedWindow>(3, {big, {}}),
       "(0,0 500x400)(1,0 500x400)(2,0 500x400)"},
      // A bare title bar takes its kind's default; without a default it stays.
      {"shrunk", {1000, 700}, {{{120, 27}, {290, 370}}, {{120, 27}, {}}, {{95, 400}, {300, 300}}},
       "(0,0 290x370)(24,24 120x27)(48,48 300x300)"},
      {"none", {1000, 700}, {}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Places(CascadePlacements(c.area, 24, c.windows)), c.places) << c.what;
}

TEST(WindowCascadeTest, AUsableWindowIsFourStepsAcrossAndThreeDown) {
  EXPECT_TRUE(IsUsableWindowSize({96, 72}, 24));
  EXPECT_FALSE(IsUsableWindowSize({95, 72}, 24));
  EXPECT_FALSE(IsUsableWindowSize({96, 71}, 24));
  EXPECT_FALSE(IsUsableWindowSize({0, 0}, 24));
}

TEST(WindowCascadeTest, EachViewsDefaultSizeIsTheOneItIsFirstGiven) {
  GeneralSettings settings = DefaultDocumentSettings();
  RecordingMainFrame host;
  DocumentTable table(settings, &host);
  clsDocument* doc = nullptr;
  ASSERT_TRUE(table.NewDocument(doc));
  ASSERT_TRUE(doc->SetImageData(std::vector<std::uint8_t>(100 * 80, 7), 100, 80));
  const WindowSize image = DefaultViewSize(*doc, 1);
  EXPECT_EQ(image.Width, doc->InitWindowWidth);
  EXPECT_EQ(image.Height, doc->InitWindowHeight);
  EXPECT_GE(image.Width, 100);
  const WindowSize grid = DefaultViewSize(*doc, 9);
  EXPECT_EQ(grid.Width, 290);
  EXPECT_EQ(grid.Height, 370);
  const WindowSize surface = DefaultViewSize(*doc, 3);
  EXPECT_EQ(surface.Width, 500);
  EXPECT_EQ(surface.Height, 250);
  for (const std::int32_t none : {0, 2, 10}) {
    EXPECT_EQ(DefaultViewSize(*doc, none).Width, 0) << none;
    EXPECT_EQ(DefaultViewSize(*doc, none).Height, 0) << none;
  }
}

}  // namespace
}  // namespace orvale::testing
