#include "app/dialogs/Preferences.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "app/dialogs/GrabberSelection.h"
#include "app/document/DocumentTable.h"
#include "app/document/DocumentViews.h"
#include "app/document/clsDocument.h"
#include "platform/com/ObjectCreation.h"
#include "tests/app/document/DocumentModelTestSupport.h"
#include "tests/support/FakeGrabberPlugin.h"
#include "tests/support/RecordingMainFrame.h"

namespace orvale::testing {
namespace {

// Image views that count how often their picture is built again.
class RefreshCountingViews : public DocumentViews {
 public:
  void ImageView_Refresh(clsDocument&) override { ++refreshes; }
  int refreshes = 0;
};

// Preferences over three plug-ins "P1".."P3" that the test makes.
class PreferencesTest : public ::testing::Test {
 protected:
  PreferencesTest() {
    for (std::int32_t i = 1; i <= 3; ++i) {
      grabber_.GrabberNames[i] = "P" + std::to_string(i);
      grabber_.GrabberProgIDs[i] = "OVVGPlugP" + std::to_string(i) + ".clsP" + std::to_string(i);
    }
  }

  // Selects plug-in `index` as start-up would, ready or not.
  std::shared_ptr<FakeGrabberLog> Select(std::int32_t index, bool ready) {
    setup_ = [ready](FakeGrabberPlugin& p) { p.Ready = ready; };
    SelectGrabber(grabber_, index);
    setup_ = [](FakeGrabberPlugin&) {};
    return logs_.empty() ? nullptr : logs_.back();
  }

  std::optional<PreferencesOutcome> Store(const PreferencesControls& c) {
    return StorePreferences(c, settings_, grabber_);
  }

  GeneralSettings settings_ = DefaultDocumentSettings();
  RecordingMainFrame frame_;
  DocumentTable table_{settings_, &frame_};
  GrabberState grabber_;
  ScriptedMessageService messages_;
  ScopedMessageService installedMessages_{messages_};
  std::function<void(FakeGrabberPlugin&)> setup_ = [](FakeGrabberPlugin&) {};
  std::vector<std::shared_ptr<FakeGrabberLog>> logs_;

 private:
  ScopedObjectCreator creator_{[this](const std::string&, std::string&) {
    logs_.push_back(std::make_shared<FakeGrabberLog>());
    auto* plugin = new FakeGrabberPlugin(logs_.back());
    setup_(*plugin);
    return GrabberPluginPtr(plugin);
  }};
};

TEST_F(PreferencesTest, ThePluginListHoldsNoneAndEveryPluginFound) {
  EXPECT_EQ(GrabberListItems(grabber_), (std::vector<std::string>{"None", "P1", "P2", "P3"}));
  GrabberState full;
  for (std::int32_t i = 1; i <= kMaxGrabberPlugins; ++i) full.GrabberNames[i] = "Q" + std::to_string(i);
  const std::vector<std::string> items = GrabberListItems(full);
  ASSERT_EQ(items.size(), 51u);
  EXPECT_EQ(items[50], "Q50");  // the fiftieth can be chosen too

  full.GrabberName = "Q50";
  EXPECT_EQ(ReadPreferences(settings_, full).GrabberIndex, 50);
  full.GrabberName = "Gone";
  EXPECT_EQ(ReadPreferences(settings_, full).GrabberIndex, 0);
}

TEST_F(PreferencesTest, OkStoresEveryControlInItsSetting) {
  PreferencesControls c = ReadPreferences(settings_, grabber_);
  EXPECT_EQ(c.AspectRatioText, "0");
  c.GrabIntoNewWindow = true;
  c.AspectRatioText = "1.5";
  c.FringeDensity = 1;
  c.AutoLoadAperture = true;
  c.AutoLoadObstruction = true;
  c.Views = {false, true, true, false, false, true, true};
  c.LimitScale = false;
  c.SurfaceLevels = 25;
  c.SurfaceGridSize = 70;
  c.SurfaceTheta = 359;
  c.SurfacePhi = 90;
  c.LineAngle = 45;
  c.LinePoints = 1000;
  c.ImageSize = 10;
  c.Text.Screen.FaceName = "Liberation Mono";  // not marked changed: not taken

  const auto outcome = Store(c);
  ASSERT_TRUE(outcome);
  EXPECT_TRUE(settings_.GrabIntoNewWindow);
  EXPECT_EQ(settings_.GrabAspectRatio, 1.5);
  EXPECT_EQ(settings_.AutoTraceDensity, 1);
  EXPECT_TRUE(settings_.AutoLoadAperture && settings_.AutoLoadObstruction);
  EXPECT_EQ(settings_.ResultWindowVisible, c.Views);
  EXPECT_FALSE(settings_.LimitScale);
  EXPECT_EQ(settings_.SurfaceLevels, 25);
  EXPECT_EQ(settings_.SurfaceGridSize, 70);
  EXPECT_EQ(settings_.DefaultSurfaceTheta, 359);
  EXPECT_EQ(settings_.DefaultSurfacePhi, 90);
  EXPECT_EQ(settings_.DefaultLineAngle, 45);
  EXPECT_EQ(settings_.LineSize, 1000);
  EXPECT_EQ(settings_.SFringeSize, 10);
  EXPECT_EQ(settings_.ScreenText.FaceName, "Arial");
  EXPECT_FALSE(outcome->WorkspaceChanged);
  EXPECT_FALSE(outcome->DisplayChanged);
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(PreferencesTest, UntickedFillKeepsTheStoredMeshAndChangedStylesReplaceTheirs) {
  PreferencesControls c = ReadPreferences(settings_, grabber_);
  c.FillPolygons = false;
  c.DrawBlackMesh = false;
  c.Text.Printer = {FixedFaceName("Liberation Serif"), 9, 0xFF00, true, true, false};
  c.Text.PrinterChanged = true;
  ASSERT_TRUE(Store(c));
  EXPECT_FALSE(settings_.DefaultFillPolygons);
  EXPECT_TRUE(settings_.DefaultDrawMeshWithFill);
  EXPECT_EQ(settings_.PrinterText, c.Text.Printer);
  EXPECT_EQ(settings_.ScreenText.FaceName, "Arial");

  c.FillPolygons = true;
  ASSERT_TRUE(Store(c));
  EXPECT_FALSE(settings_.DefaultDrawMeshWithFill);
}

TEST_F(PreferencesTest, ABadAspectRatioIsReportedAndNothingChanges) {
  const auto log = Select(1, true);
  for (const char* text : {"", ".", "250", "5000", "0.001", "1e999", "1.2.3"}) {
    messages_.Clear();
    PreferencesControls c = ReadPreferences(settings_, grabber_);
    c.AspectRatioText = text;
    c.SurfaceLevels = 50;
    c.CommonViews = !settings_.HogWindows;
    c.GrabberIndex = 2;
    const GeneralSettings before = settings_;

    EXPECT_FALSE(StorePreferences(c, settings_, grabber_, 77)) << text;

    EXPECT_EQ(settings_, before) << text;
    EXPECT_EQ(grabber_.GrabberName, "P1") << text;
    EXPECT_EQ(log->Shutdown, 0) << text;
    ASSERT_EQ(messages_.Messages().size(), 1u) << text;
    EXPECT_EQ(messages_.Messages()[0].title, "Warning");
    EXPECT_EQ(messages_.Messages()[0].text,
              "The aspect ratio must be a number from 0.01 to 100 (0 or 1 for no change).");
    EXPECT_EQ(messages_.Messages()[0].owner, 77u);
  }
}

TEST_F(PreferencesTest, TheGrabberIsReleasedWhenAnotherIsChosenOrItIsNotReady) {
  struct Case {
    const char* name;
    std::int32_t current;  // 0: none selected
    bool ready;
    std::int32_t chosen;
    int shutdowns;
    bool released;
    std::optional<std::int32_t> toSelect;
  };
  const Case cases[] = {
      {"same, ready: kept", 1, true, 1, 0, false, std::nullopt},
      {"same, not ready: made again", 1, false, 1, 0, true, 1},
      {"another", 1, true, 2, 1, true, 2},
      {"another while not ready", 1, false, 3, 0, true, 3},
      {"None", 1, true, 0, 1, true, 0},
      {"None while none", 0, false, 0, 0, false, 0},
  };
  for (const Case& c : cases) {
    SelectGrabber(grabber_, 0);
    const auto log = c.current != 0 ? Select(c.current, c.ready) : nullptr;
    PreferencesControls controls = ReadPreferences(settings_, grabber_);
    EXPECT_EQ(controls.GrabberIndex, c.current) << c.name;
    controls.GrabberIndex = c.chosen;

    const auto outcome = Store(controls);

    ASSERT_TRUE(outcome) << c.name;
    EXPECT_EQ(outcome->GrabberToSelect, c.toSelect) << c.name;
    if (log) {
      EXPECT_EQ(log->Shutdown, c.shutdowns) << c.name;
      EXPECT_EQ(log->Release, c.released ? 1 : 0) << c.name;
    }
    EXPECT_EQ(grabber_.Grabber != nullptr, !c.released && c.current != 0) << c.name;
    if (c.toSelect) {
      EXPECT_EQ(grabber_.GrabberName, "None") << c.name;
    }
  }
}

TEST_F(PreferencesTest, AfterTheDialogTheChosenPluginIsSelectedAndTheMenusFollow) {
  Select(1, true);
  PreferencesControls c = ReadPreferences(settings_, grabber_);
  c.GrabberIndex = 0;
  CompletePreferences(*Store(c), grabber_, table_, frame_);
  EXPECT_EQ(grabber_.GrabberIndex, -1);
  EXPECT_EQ(grabber_.Grabber, nullptr);
  EXPECT_EQ(grabber_.GrabberName, "None");
  EXPECT_EQ(frame_.calls, (std::vector<std::string>{"SetMenuItems 0", "SetToolBarItems 0"}));

  c.GrabberIndex = 3;
  CompletePreferences(*Store(c), grabber_, table_, frame_);
  EXPECT_EQ(grabber_.GrabberName, "P3");
  EXPECT_TRUE(grabber_.GrabberCreated && grabber_.GrabberReady);
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(PreferencesTest, APluginThatFailsToInitialiseIsReportedAndLeavesNone) {
  Select(1, true);
  setup_ = [](FakeGrabberPlugin& p) { p.InitializeStatus = PluginStatus::Fail("No camera."); };
  PreferencesControls c = ReadPreferences(settings_, grabber_);
  c.GrabberIndex = 2;
  CompletePreferences(*Store(c), grabber_, table_, frame_);

  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].text, "No camera.");
  EXPECT_EQ(messages_.Messages()[0].title, "Error Loading Frame Grabber");
  EXPECT_EQ(grabber_.GrabberName, "None");
  EXPECT_EQ(grabber_.Grabber, nullptr);
  EXPECT_FALSE(grabber_.GrabberCreated);
  EXPECT_EQ(logs_.back()->Release, 1);
  EXPECT_EQ(frame_.calls, (std::vector<std::string>{"SetMenuItems 0", "SetToolBarItems 0"}));
}

TEST_F(PreferencesTest, ANewDisplayChoiceRebuildsEveryImageView) {
  std::vector<RefreshCountingViews*> views;
  for (int i = 0; i < 2; ++i) {
    clsDocument* doc = nullptr;
    ASSERT_TRUE(table_.NewDocument(doc));
    auto counting = std::make_unique<RefreshCountingViews>();
    views.push_back(counting.get());
    doc->SetViews(std::move(counting));
  }
  struct Case {
    bool red;
    bool stretch;
    bool changed;
  };
  const Case cases[] = {{true, true, false}, {false, true, true}, {false, false, true}};
  int expected = 0;
  for (const Case& c : cases) {
    settings_.RedDisplay = true;
    settings_.AutoStretch = true;
    PreferencesControls controls = ReadPreferences(settings_, grabber_);
    controls.RedDisplay = c.red;
    controls.AutoStretch = c.stretch;
    const auto outcome = Store(controls);
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->DisplayChanged, c.changed);
    EXPECT_EQ(settings_.RedDisplay, c.red);
    EXPECT_EQ(settings_.AutoStretch, c.stretch);
    CompletePreferences(*outcome, grabber_, table_, frame_);
    if (c.changed) ++expected;
    for (const RefreshCountingViews* v : views) EXPECT_EQ(v->refreshes, expected);
  }
}

}  // namespace
}  // namespace orvale::testing
