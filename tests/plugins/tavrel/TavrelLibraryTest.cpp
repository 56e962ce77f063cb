// The built OVVGPlugTavrel.so as the program uses it: its dynamic symbols, its
// registration in the class registry, and its object made by ProgID and driven by the
// synthetic camera or by this machine's own cameras.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <set>

#include "platform/capture/SyntheticCameraConfig.h"
#include "platform/capture/V4l2Io.h"
#include "platform/com/ClassRegistry.h"
#include "platform/com/ObjectCreation.h"
#include "platform/com/PluginExports.h"
#include "platform/com/PluginLibrary.h"
#include "tests/support/DynamicSymbols.h"
#include "tests/support/ScopedEnvironmentVariable.h"
#include "tests/support/TempConfigHome.h"

namespace orvale {
namespace {

const std::filesystem::path kLibrary = ORVALE_TAVREL_LIBRARY;

TEST(TavrelLibraryTest, ExportsItsThreeEntryPointsAndNothingElse) {
  EXPECT_EQ(testing::BindableDynamicSymbols(ORVALE_NM, kLibrary),
            (std::set<std::string>{"DllCreateObject", "DllRegisterServer", "DllUnregisterServer"}));
}

class TavrelLibraryRoadTest : public ::testing::Test {
 protected:
  TavrelLibraryRoadTest() {
    std::string error;
    EXPECT_TRUE(RegisterServer(kLibrary, error)) << error;
  }

  GrabberPluginPtr Create(const char* progId = "OVVGPlugTavrel.clsTavrel") {
    std::string error;
    GrabberPluginPtr object = CreateObject(progId, error);
    EXPECT_NE(object, nullptr) << error;
    return object;
  }

  testing::TempConfigHome home_;
};

TEST_F(TavrelLibraryRoadTest, BothProgIdsAreRegisteredUnderTheLibrarysOwnPath) {
  const ClassRegistry registry;
  for (const char* progId : {"OVVGPlugTavrel.clsTavrel", "OVVGPlugTavrel.clsTavrel.1"}) {
    std::filesystem::path library;
    ASSERT_TRUE(registry.Lookup(progId, library)) << progId;
    EXPECT_EQ(library, std::filesystem::canonical(kLibrary));
    EXPECT_NE(Create(progId), nullptr);
  }
  std::string error;
  ASSERT_TRUE(UnregisterServer(kLibrary, error)) << error;
  EXPECT_EQ(CreateObject("OVVGPlugTavrel.clsTavrel", error), nullptr);
  EXPECT_EQ(error.rfind("Class not registered", 0), 0u) << error;
}

TEST_F(TavrelLibraryRoadTest, TheFactoryRefusesOtherClassesAndInterfaces) {
  std::string error;
  void* handle = LoadPluginLibrary(kLibrary, error);
  ASSERT_NE(handle, nullptr) << error;
  auto* create = reinterpret_cast<CreateObjectFunction>(FindPluginExport(handle, kCreateObjectExport, kLibrary, error));
  ASSERT_NE(create, nullptr) << error;
  char text[128] = {};
  IGrabberPlugin* object = reinterpret_cast<IGrabberPlugin*>(1);
  EXPECT_EQ(create("OVVGPlugTavrel.clsOther", kIGrabberPluginIID, &object, text, sizeof text),
            plugincode::kClassNotRegistered);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(create("OVVGPlugTavrel.clsTavrel", "{00000000-0000-0000-0000-000000000000}", &object,
                   text, sizeof text),
            plugincode::kNoInterface);
  EXPECT_STREQ(text, "No such interface supported");
  EXPECT_EQ(create(nullptr, nullptr, nullptr, nullptr, 0), plugincode::kFailed);
}

TEST_F(TavrelLibraryRoadTest, TheSyntheticCameraGrabsThroughTheLoadedLibrary) {
  testing::ScopedEnvironmentVariable cameras(kSyntheticCameraVariable, "size=64x48;interval=1");
  GrabberPluginPtr tavrel = Create();
  bool ready = false;
  ASSERT_FALSE(tavrel->Initialize(ready).Failed());
  ASSERT_TRUE(ready);
  // The library's windows live in this program's application.
  bool live = false;
  for (QWidget* widget : QApplication::topLevelWidgets()) live |= widget->windowTitle() == "Live Video";
  EXPECT_TRUE(live);

  std::int32_t width = 0, height = 0, size = 0;
  tavrel->get_XSize(width);
  tavrel->get_YSize(height);
  tavrel->get_BufferSize(size);
  EXPECT_EQ(width, 64);
  EXPECT_EQ(height, 48);
  ASSERT_EQ(size, 1064 + 64 * 48);
  std::vector<std::uint8_t> frame(static_cast<std::size_t>(size));
  bool ok = false;
  ASSERT_FALSE(tavrel->GrabFrame(frame, ok).Failed());
  EXPECT_TRUE(ok);
  EXPECT_EQ(frame[4], 64);
  EXPECT_EQ(frame[14], 8);
  EXPECT_FALSE(tavrel->Shutdown().Failed());
  EXPECT_EQ(tavrel->Shutdown().Description, "Tavrel has not been initialized.");
}

TEST_F(TavrelLibraryRoadTest, WithoutACameraOnThisMachineItIsNotReady) {
  if (!SystemV4l2Io().VideoNodes().empty()) GTEST_SKIP() << "this machine has video devices";
  testing::ScopedEnvironmentVariable none(kSyntheticCameraVariable, std::nullopt);
  GrabberPluginPtr tavrel = Create();
  bool ready = true;
  ASSERT_FALSE(tavrel->Initialize(ready).Failed());
  EXPECT_FALSE(ready);
  std::int32_t width = -1, height = -1;
  tavrel->get_XSize(width);
  tavrel->get_YSize(height);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(height, 0);
}

}  // namespace
}  // namespace orvale
