#include "app/frame/FrameStateRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "app/document/DocumentViews.h"

namespace orvale {
namespace {

using M = RuledMenuItem;

// The four document states the rules tell apart.
enum State { kNoDocument, kNotAnalysed, kAnalysed, kAnalysedForceOff, kStateCount };

FrameStateInput InputFor(State state) {
  FrameStateInput in;
  if (state == kNoDocument) return in;
  in.NumDocuments = 2;
  in.HasActiveDocument = true;
  in.ImageViewExist = true;
  in.ActiveView = viewtype::kImage;
  in.OutputViewsExist = state != kNotAnalysed;
  in.ForceOff = state == kAnalysedForceOff;
  in.OutputViewFlags = {true, false, true, false, false, true, false};
  return in;
}

struct EnableRow {
  std::string name;
  std::function<bool(const FrameStates&)> enabled;
  std::array<bool, kStateCount> expected;  // no document, not analysed, analysed, forced off
};

EnableRow Menu(const std::string& name, M item, std::array<bool, kStateCount> expected) {
  return {name, [item](const FrameStates& s) { return s.Menu(item); }, expected};
}
EnableRow Button(int index, std::array<bool, kStateCount> expected) {
  return {"button " + std::to_string(index),
          [index](const FrameStates& s) { return s.ButtonEnabled[static_cast<std::size_t>(index)]; },
          expected};
}

constexpr std::array<bool, kStateCount> kWithDocument = {false, true, true, false};
constexpr std::array<bool, kStateCount> kWhenAnalysed = {false, false, true, false};
constexpr std::array<bool, kStateCount> kAlways = {true, true, true, true};

TEST(FrameStateRulesTest, EnabledStatesFollowTheDocumentsAndForceOff) {
  std::vector<EnableRow> rows = {
      Menu("Close", M::FileClose, kWithDocument),
      Menu("Save", M::FileSave, kWithDocument),
      Menu("Save As", M::FileSaveAs, kWithDocument),
      Menu("Print", M::FilePrint, kWithDocument),
      Menu("Page Setup", M::FilePageSetup, kWithDocument),
      Menu("Clear Fringes", M::EditClearFringes, kWithDocument),
      Menu("User Data", M::EditUserData, kWithDocument),
      Menu("Adjust Aspect Ratio", M::ProcessAdjustAspectRatio, kWithDocument),
      Menu("Trace V", M::ProcessTraceV, kWithDocument),
      Menu("Trace H", M::ProcessTraceH, kWithDocument),
      Menu("Analyze Fringes", M::ProcessAnalyzeFringes, kWithDocument),
      Menu("Cascade", M::WindowCascade, kWithDocument),
      Menu("Tile Horizontal", M::WindowTileHorizontal, kWithDocument),
      Menu("Tile Vertical", M::WindowTileVertical, kWithDocument),
      Menu("Arrange Icons", M::WindowArrangeIcons, kWithDocument),
      Menu("Copy", M::EditCopy, kWhenAnalysed),
      Menu("Properties", M::EditProperties, kWhenAnalysed),
      Menu("Export Map", M::FileExportMap, kWhenAnalysed),
      Menu("Export Zernikes", M::FileExportZernikes, kWhenAnalysed),
      Menu("Add To Average", M::ProcessAddAverage, kWhenAnalysed),
      Menu("pop-up Add To Average", M::PopupAddAverage, kWhenAnalysed),
      {"zoom controls", [](const FrameStates& s) { return s.ZoomEnabled; }, kWithDocument},
      Button(2, kAlways),
  };
  for (int kind = 0; kind < kResultWindowCount; ++kind) {
    rows.push_back(Menu("output view " + std::to_string(kind), OutputViewMenuItem(kind), kWhenAnalysed));
    rows.push_back(Button(toolbutton::kFirstOutputView + kind, kWhenAnalysed));
  }
  for (int index : {3, 4, 5, 24, 25, 26, 28, 29}) rows.push_back(Button(index, kWithDocument));
  for (int index = 7; index <= 12; ++index) rows.push_back(Button(index, kAlways));

  for (int state = 0; state < kStateCount; ++state) {
    const FrameStates states = ComputeFrameStates(InputFor(static_cast<State>(state)));
    for (const EnableRow& row : rows)
      EXPECT_EQ(row.enabled(states), row.expected[static_cast<std::size_t>(state)])
          << row.name << " in state " << state;
    // Nothing grabs without a ready grabber, whatever the documents.
    EXPECT_FALSE(states.Menu(M::ProcessGrabImage));
    EXPECT_FALSE(states.ButtonEnabled[toolbutton::kGrab]);
  }
}

TEST(FrameStateRulesTest, OutputViewChecksFollowTheActiveDocumentsFlags) {
  const FrameStateInput analysed = InputFor(kAnalysedForceOff);
  const FrameStates states = ComputeFrameStates(analysed);
  EXPECT_EQ(states.OutputViewChecked, analysed.OutputViewFlags);  // also when forced off
  EXPECT_EQ(ComputeFrameStates(InputFor(kNoDocument)).OutputViewChecked, ResultWindowFlags{});
}

TEST(FrameStateRulesTest, ZoomNeedsTheImageOrSyntheticFringeView) {
  for (std::int32_t view = 0; view <= 9; ++view) {
    FrameStateInput in = InputFor(kAnalysed);
    in.ActiveView = view;
    EXPECT_EQ(ComputeFrameStates(in).ZoomEnabled, view == 1 || view == 6) << view;
  }
}

TEST(FrameStateRulesTest, GrabFollowsTheGrabberOnlyAndPropertiesAlsoItsSetupDialog) {
  struct Row {
    bool exists, created, ready, setup;
    bool grab, properties;
  };
  const Row rows[] = {
      {false, false, false, false, false, false},
      {true, true, false, true, false, false},   // created, initialisation failed
      {true, true, true, false, true, false},    // ready, no setup dialog
      {true, true, true, true, true, true},
      {false, true, true, true, true, false},    // flags without an object
  };
  for (State state : {kNoDocument, kAnalysedForceOff}) {
    for (const Row& r : rows) {
      FrameStateInput in = InputFor(state);
      in.PluginExists = r.exists;
      in.GrabberCreated = r.created;
      in.GrabberReady = r.ready;
      in.HasSetupDlg = r.setup;
      const FrameStates s = ComputeFrameStates(in);
      EXPECT_EQ(s.Menu(M::ProcessGrabImage), r.grab);
      EXPECT_EQ(s.ButtonEnabled[toolbutton::kGrab], r.grab);
      EXPECT_EQ(s.Menu(M::ProcessGrabberProps), r.properties);
      EXPECT_EQ(s.ButtonEnabled[toolbutton::kGrabberProps], r.properties);
    }
  }
}

TEST(FrameStateRulesTest, ButtonsArePressedFromTheViewItems) {
  ViewItemMarks marks;
  marks.ToolWindowChecked = {true, false, false, true, false, true};
  marks.OutputViewChecked = {true, true, false, false, false, false, true};
  marks.OutputViewEnabled = {true, false, true, false, false, false, true};
  const auto pressed = ToolBarPressed(marks);
  for (int index = 1; index <= kToolBarButtonCount; ++index) {
    const bool expected = index == 7 || index == 10 || index == 12 || index == 14 || index == 20;
    EXPECT_EQ(pressed[static_cast<std::size_t>(index)], expected) << index;
  }
}

TEST(FrameStateRulesTest, TheActivationHubPlansByViewCode) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Row {
    std::int32_t type;
    double scale;
    bool edit;
    bool hog;
    bool refresh, zoomOnly, released;
    std::optional<bool> editPressed;
    std::optional<std::int32_t> zoom;
  };
  const Row rows[] = {
      {1, 0.333, false, true, true, false, false, false, 33},
      {1, 2.0, true, false, true, false, false, true, 200},
      {1, 1E+308, false, false, true, false, false, false, 2147483647},
      {1, nan, false, false, true, false, false, false, 0},
      {4, 1E+308, false, true, false, true, true, std::nullopt, std::nullopt},
      {9, 1E+308, false, false, true, false, true, std::nullopt, std::nullopt},
      {6, 1.5, false, true, false, true, true, std::nullopt, 150},
      {2, 1.0, false, false, false, false, false, std::nullopt, std::nullopt},
      {12, 1.0, true, false, false, false, false, std::nullopt, std::nullopt},
  };
  for (const Row& r : rows) {
    const MainFrameUpdatePlan plan = PlanMainFrameUpdate(r.type, r.scale, r.edit, r.hog);
    EXPECT_EQ(plan.RefreshMenusAndToolBar, r.refresh) << r.type;
    EXPECT_EQ(plan.ZoomItemsOnly, r.zoomOnly) << r.type;
    EXPECT_EQ(plan.ToolsReleasedAndDisabled, r.released) << r.type;
    EXPECT_EQ(plan.EditToolPressed, r.editPressed) << r.type;
    EXPECT_EQ(plan.ZoomPercent, r.zoom) << r.type;
  }
}

TEST(FrameStateRulesTest, ZoomEntriesFallBackToOneHundredPercent) {
  EXPECT_EQ(ZoomIndexOf(1600), 0);
  EXPECT_EQ(ZoomIndexOf(200), 4);
  EXPECT_EQ(ZoomIndexOf(25), 9);
  for (std::int32_t unknown : {33, 0, -100, 2147483647}) EXPECT_EQ(ZoomIndexOf(unknown), 6) << unknown;
}

}  // namespace
}  // namespace orvale
