#include "app/dialogs/GrabberSelection.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <vector>

#include "platform/com/ObjectCreation.h"
#include "platform/com/PluginLibrary.h"
#include "platform/ui/MessageService.h"
#include "tests/support/FakeGrabberPlugin.h"
#include "tests/support/TempConfigHome.h"

namespace orvale {
namespace {

namespace fs = std::filesystem;
using testing::FakeGrabberLog;
using testing::FakeGrabberPlugin;

// The entries 1.. of the lists up to the first empty name.
std::vector<std::pair<std::string, std::string>> Entries(const GrabberState& state) {
  std::vector<std::pair<std::string, std::string>> entries;
  for (std::int32_t i = 1; i <= kMaxGrabberPlugins && !state.GrabberNames[i].empty(); ++i)
    entries.emplace_back(state.GrabberNames[i], state.GrabberProgIDs[i]);
  return entries;
}

class GrabberDiscoveryTest : public ::testing::Test {
 protected:
  void Touch(const std::string& name) { std::ofstream(home_.Folder() / name) << "x"; }
  const fs::path& Folder() const { return home_.Folder(); }

 private:
  testing::TempConfigHome home_;
};

TEST_F(GrabberDiscoveryTest, FilesBesideTheProgramNameThePlugins) {
  for (const char* file : {"OVVGPlugA.so", "OVVGPlugB.SO", "ovvgplugC.so", "OVVGPLUGD.so",
                           "OVVGPlug.so", "OVVGPlugE.so.1", "OVVGPlugF.txt", "libOVVGPlugG.so",
                           "OVVGPlugOVVGPlugH.so", "OVVGPlugI.so.2.so", "OVVGPlugJ.sox.so"})
    Touch(file);
  fs::create_directory(Folder() / "OVVGPlugK.so");  // a folder is no library

  GrabberState state;
  state.GrabberNames[7] = "stale";
  FindGrabberPlugins(state, Folder());

  // Expected, by file: the name after the last case-sensitive prefix, cut before ".so".
  const std::map<std::string, std::string> expected = {
      {"OVVGPlugA.so", "A"}, {"OVVGPlugB.SO", "B"}, {"OVVGPlugOVVGPlugH.so", "H"},
      {"OVVGPlugI.so.2.so", "I"}, {"OVVGPlugJ.sox.so", "J"}};
  // ... in the order the folder lists its files.
  std::vector<std::pair<std::string, std::string>> inFolderOrder;
  for (const auto& entry : fs::directory_iterator(Folder())) {
    const auto found = expected.find(entry.path().filename().string());
    if (found != expected.end())
      inFolderOrder.emplace_back(found->second, "OVVGPlug" + found->second + ".cls" + found->second);
  }
  EXPECT_EQ(Entries(state), inFolderOrder);
  EXPECT_TRUE(state.GrabberNames[7].empty());  // nothing stale is left
  EXPECT_TRUE(state.GrabberNames[inFolderOrder.size() + 1].empty());
}

TEST_F(GrabberDiscoveryTest, FiftyPluginsFillTheListsAndAMissingFolderNone) {
  for (int i = 1; i <= 51; ++i) Touch("OVVGPlugP" + std::to_string(i) + ".so");
  GrabberState state;
  FindGrabberPlugins(state, Folder());
  EXPECT_EQ(Entries(state).size(), 50u);

  FindGrabberPlugins(state, Folder() / "missing");
  EXPECT_TRUE(Entries(state).empty());
}

// Selection over fake plug-ins that the test makes; entry i is "P<i>".
class GrabberSelectionTest : public ::testing::Test {
 protected:
  GrabberSelectionTest()
      : messages_(scripted_),
        creator_([this](const std::string& progId, std::string& error) {
          return Create(progId, error);
        }) {
    for (std::int32_t i = 1; i <= 3; ++i) {
      state_.GrabberNames[i] = "P" + std::to_string(i);
      state_.GrabberProgIDs[i] = "OVVGPlugP" + std::to_string(i) + ".clsP" + std::to_string(i);
    }
  }

  // How the next plug-in made behaves, or that its creation fails.
  std::function<void(FakeGrabberPlugin&)> setup_ = [](FakeGrabberPlugin&) {};
  bool failCreation_ = false;
  std::vector<std::string> created_;
  std::vector<std::shared_ptr<FakeGrabberLog>> logs_;
  bool busyWhileCreating_ = false;
  GrabberState state_;
  ScriptedMessageService scripted_;

 private:
  GrabberPluginPtr Create(const std::string& progId, std::string& error) {
    busyWhileCreating_ = QApplication::overrideCursor() != nullptr &&
                         QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    created_.push_back(progId);
    if (failCreation_) {
      error = "Class not registered: " + progId;
      return nullptr;
    }
    logs_.push_back(std::make_shared<FakeGrabberLog>());
    auto* plugin = new FakeGrabberPlugin(logs_.back());
    setup_(*plugin);
    return GrabberPluginPtr(plugin);
  }
  ScopedMessageService messages_;
  ScopedObjectCreator creator_;
};

TEST_F(GrabberSelectionTest, SelectingCreatesAndInitialisesUnderTheHourglass) {
  SelectGrabber(state_, 2);
  EXPECT_EQ(created_, std::vector<std::string>{"OVVGPlugP2.clsP2"});
  EXPECT_TRUE(busyWhileCreating_);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(state_.Grabber);
  EXPECT_TRUE(state_.GrabberCreated);
  EXPECT_TRUE(state_.GrabberReady);
  EXPECT_EQ(state_.GrabberName, "P2");
  EXPECT_EQ(state_.GrabberIndex, 2);
  EXPECT_EQ(logs_[0]->Initialize, 1);
  EXPECT_TRUE(scripted_.Messages().empty());

  setup_ = [](FakeGrabberPlugin& p) { p.Ready = false; };
  SelectGrabber(state_, 3);  // the previous plug-in is shut down and released first
  EXPECT_EQ(logs_[0]->Shutdown, 1);
  EXPECT_EQ(logs_[0]->Release, 1);
  EXPECT_TRUE(state_.GrabberCreated);
  EXPECT_FALSE(state_.GrabberReady);  // no device: created, not ready, no message
  EXPECT_EQ(state_.GrabberIndex, 3);
  EXPECT_TRUE(scripted_.Messages().empty());
}

TEST_F(GrabberSelectionTest, IndexesOutsideTheListClearTheSelection) {
  for (const std::int32_t index : {0, 51, -1}) {
    SelectGrabber(state_, 1);
    const auto log = logs_.back();
    SelectGrabber(state_, index);
    EXPECT_FALSE(state_.Grabber) << index;
    EXPECT_EQ(log->Release, 1) << index;  // not left alive behind a cleared state
    EXPECT_FALSE(state_.GrabberCreated);
    EXPECT_FALSE(state_.GrabberReady);
    EXPECT_EQ(state_.GrabberName, "None");
    EXPECT_EQ(state_.GrabberIndex, -1);
  }
  EXPECT_EQ(created_.size(), 3u);
}

TEST_F(GrabberSelectionTest, APluginThatCannotBeMadeOrInitialisedIsReportedAndDropped) {
  struct Case {
    bool failCreation;
    std::function<void(FakeGrabberPlugin&)> setup;
    std::string message;
  };
  const Case cases[] = {
      {true, [](FakeGrabberPlugin&) {}, "Class not registered: OVVGPlugP1.clsP1"},
      {false, [](FakeGrabberPlugin& p) { p.InitializeStatus = PluginStatus::Fail("Out of memory"); },
       "Out of memory"},
      {false, [](FakeGrabberPlugin& p) { p.InitializeStatus = PluginStatus::Fail(""); },
       "The frame grabber P1 could not be initialized."},
  };
  for (const Case& c : cases) {
    scripted_.Clear();
    failCreation_ = c.failCreation;
    setup_ = c.setup;
    const std::size_t made = logs_.size();
    SelectGrabber(state_, 1);
    ASSERT_EQ(scripted_.Messages().size(), 1u) << c.message;
    EXPECT_EQ(scripted_.Messages()[0].text, c.message);
    EXPECT_EQ(scripted_.Messages()[0].title, "Error Loading Frame Grabber");
    EXPECT_EQ(scripted_.Messages()[0].flags, 0u);
    EXPECT_EQ(scripted_.Messages()[0].owner, kMainWindowOwner);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(state_.Grabber);
    EXPECT_FALSE(state_.GrabberCreated);
    EXPECT_FALSE(state_.GrabberReady);
    EXPECT_EQ(state_.GrabberName, "None");
    EXPECT_EQ(state_.GrabberIndex, -1);
    if (logs_.size() > made) {
      EXPECT_EQ(logs_.back()->Shutdown, 0);
      EXPECT_EQ(logs_.back()->Release, 1);
    }
  }
}

TEST_F(GrabberSelectionTest, StartUpSelectsTheStoredNameExactly) {
  struct Case {
    std::string stored;
    std::string name;
    std::int32_t index;
    std::size_t creations;
  };
  const Case cases[] = {
      {"", "None", 0, 0},    {"None", "None", 0, 0}, {"P2", "P2", 2, 1},
      {"p2", "None", -1, 0},  // names compare case-sensitively
      {"Removed", "None", -1, 0},
  };
  for (const Case& c : cases) {
    GrabberState state = GrabberState();
    state.GrabberNames = state_.GrabberNames;
    state.GrabberProgIDs = state_.GrabberProgIDs;
    created_.clear();
    SelectStartupGrabber(state, c.stored);
    EXPECT_EQ(state.GrabberName, c.name) << c.stored;
    EXPECT_EQ(state.GrabberIndex, c.index) << c.stored;
    EXPECT_EQ(created_.size(), c.creations) << c.stored;
    EXPECT_EQ(state.GrabberCreated, c.creations == 1) << c.stored;
  }
  EXPECT_TRUE(scripted_.Messages().empty());  // a missing plug-in is cleared silently
}

TEST_F(GrabberSelectionTest, ReleaseShutsDownOnlyAReadyPluginAndAlwaysLetsGo) {
  struct Case {
    bool ready;
    PluginStatus shutdown;
    int shutdowns;
  };
  const Case cases[] = {
      {true, {}, 1},
      {false, {}, 0},
      {true, PluginStatus::Fail("Tavrel has not been initialized."), 1},
  };
  for (const Case& c : cases) {
    setup_ = [&](FakeGrabberPlugin& p) {
      p.Ready = c.ready;
      p.ShutdownStatus = c.shutdown;
    };
    SelectGrabber(state_, 1);
    const auto log = logs_.back();
    ReleaseGrabber(state_);
    EXPECT_EQ(log->Shutdown, c.shutdowns);
    EXPECT_EQ(log->Release, 1);
    EXPECT_FALSE(state_.Grabber);
    EXPECT_FALSE(state_.GrabberCreated);
    EXPECT_FALSE(state_.GrabberReady);
    EXPECT_EQ(state_.GrabberName, "P1");  // still written back at exit
  }
  ReleaseGrabber(state_);  // nothing left: nothing happens
  EXPECT_TRUE(scripted_.Messages().empty());
}

TEST_F(GrabberSelectionTest, SetupDialogIsOfferedOnlyWhenThePluginSaysSo) {
  EXPECT_FALSE(GrabberHasSetupDlg(state_));
  struct Case {
    bool setupDlg;
    PluginStatus status;
    bool expected;
  };
  const Case cases[] = {
      {true, {}, true},
      {false, {}, false},
      {true, PluginStatus::Fail("Tavrel has not been initialized."), false},
  };
  for (const Case& c : cases) {
    setup_ = [&](FakeGrabberPlugin& p) {
      p.SetupDlg = c.setupDlg;
      p.HasSetupDlgStatus = c.status;
    };
    SelectGrabber(state_, 1);
    EXPECT_EQ(GrabberHasSetupDlg(state_), c.expected);
  }
}

// The plug-in libraries of the object-creation suite, found beside a program,
// registered and selected as at start-up.
TEST(GrabberPluginLibrariesTest, StartUpGoesOnPastAPluginThatFailsToInitialise) {
  testing::TempConfigHome home;
  ScriptedMessageService scripted;
  ScopedMessageService messages(scripted);
  const fs::path plugins = ORVALE_FAKE_PLUGIN_DIR;
  GrabberState state;
  FindGrabberPlugins(state, plugins);
  std::set<std::string> names;
  for (const auto& [name, progId] : Entries(state)) names.insert(name);
  EXPECT_EQ(names, (std::set<std::string>{"Fake", "NotReady", "Failing", "Nothing"}));
  for (const char* name : {"Fake", "NotReady", "Failing"}) {
    std::string error;
    ASSERT_TRUE(RegisterServer(plugins / ("OVVGPlug" + std::string(name) + ".so"), error)) << error;
  }

  SelectStartupGrabber(state, "Failing");
  ASSERT_EQ(scripted.Messages().size(), 1u);
  EXPECT_EQ(scripted.Messages()[0].text, "The fake camera did not start.");
  EXPECT_EQ(scripted.Messages()[0].title, "Error Loading Frame Grabber");
  EXPECT_EQ(state.GrabberName, "None");
  EXPECT_FALSE(state.GrabberCreated);

  SelectStartupGrabber(state, "Nothing");  // found on disk, but never registered
  ASSERT_EQ(scripted.Messages().size(), 2u);
  EXPECT_EQ(scripted.Messages()[1].text.rfind("Class not registered: OVVGPlugNothing.clsNothing", 0), 0u);

  SelectStartupGrabber(state, "Fake");
  EXPECT_TRUE(state.GrabberCreated);
  EXPECT_TRUE(state.GrabberReady);
  EXPECT_TRUE(GrabberHasSetupDlg(state));
  ReleaseGrabber(state);
  EXPECT_EQ(scripted.Messages().size(), 2u);
}

}  // namespace
}  // namespace orvale
