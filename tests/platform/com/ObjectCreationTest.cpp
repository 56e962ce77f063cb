#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>

#include "platform/com/ClassRegistry.h"
#include "platform/com/ObjectCreation.h"
#include "platform/com/PluginLibrary.h"
#include "tests/support/BoundedChild.h"
#include "tests/support/FakeGrabberPlugin.h"
#include "tests/support/OtherUserProcess.h"
#include "tests/support/TempConfigHome.h"

namespace orvale {
namespace {

namespace fs = std::filesystem;

const fs::path kPlugins = ORVALE_FAKE_PLUGIN_DIR;

fs::path PluginFile(const std::string& name) { return kPlugins / ("OVVGPlug" + name + ".so"); }

bool StartsWith(const std::string& text, const std::string& start) {
  return text.compare(0, start.size(), start) == 0;
}

TEST(ClassRegistryTest, MapsProgIdsToAbsoluteLibraryPaths) {
  testing::TempConfigHome home;
  const ClassRegistry registry;
  EXPECT_EQ(registry.File(), home.Folder() / "Halvern" / "Classes.ini");
  std::string error;
  fs::path library;
  EXPECT_FALSE(registry.Lookup("OVVGPlugA.clsA", library));  // no file yet

  ASSERT_TRUE(registry.Register("OVVGPlugA.clsA", "/opt/orvale/OVVGPlugA.so", error)) << error;
  ASSERT_TRUE(registry.Register("OVVGPlugB.clsB", "/opt/orvale/OVVGPlugB.so", error)) << error;
  ASSERT_TRUE(registry.Register("OVVGPlugA.clsA", "/usr/lib/orvale/OVVGPlugA.so", error));
  ASSERT_TRUE(registry.Lookup("OVVGPlugA.clsA", library));
  EXPECT_EQ(library, "/usr/lib/orvale/OVVGPlugA.so");
  ASSERT_TRUE(registry.Lookup("ovvgpluga.CLSA", library));  // ProgIDs ignore case

  EXPECT_FALSE(registry.Register("OVVGPlugC.clsC", "OVVGPlugC.so", error));
  EXPECT_NE(error.find("not absolute"), std::string::npos);
  EXPECT_FALSE(registry.Register("", "/opt/x.so", error));

  ASSERT_TRUE(registry.Unregister("OVVGPlugA.clsA", error));
  EXPECT_FALSE(registry.Lookup("OVVGPlugA.clsA", library));
  EXPECT_TRUE(registry.Unregister("OVVGPlugA.clsA", error));  // already gone: no failure
  EXPECT_TRUE(registry.Lookup("OVVGPlugB.clsB", library));
}

TEST(ClassRegistryTest, AHandWrittenRelativePathIsNotTaken) {
  testing::TempConfigHome home;
  fs::create_directories(home.Folder() / "Halvern");
  std::ofstream(home.Folder() / "Halvern" / "Classes.ini")
      << "[Classes]\r\nOVVGPlugA.clsA=OVVGPlugA.so\r\n";
  fs::path library;
  EXPECT_FALSE(ClassRegistry().Lookup("OVVGPlugA.clsA", library));  // never searched for
}

TEST(ObjectCreationTest, RegisteredPluginsAreCreatedByProgId) {
  testing::TempConfigHome home;
  struct Case {
    const char* name;
    bool ready;
    const char* initializeFailure;
  };
  const Case cases[] = {
      {"Fake", true, ""},
      {"NotReady", false, ""},
      {"Failing", true, "The fake camera did not start."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    ASSERT_TRUE(RegisterServer(PluginFile(c.name), error)) << error;
    fs::path library;
    ASSERT_TRUE(ClassRegistry().Lookup(std::string("OVVGPlug") + c.name + ".cls" + c.name, library));
    EXPECT_EQ(library, fs::canonical(PluginFile(c.name)));

    GrabberPluginPtr plugin =
        CreateObject(std::string("OVVGPlug") + c.name + ".cls" + c.name, error);
    ASSERT_TRUE(plugin) << error;
    bool ready = !c.ready;
    const PluginStatus status = plugin->Initialize(ready);
    EXPECT_EQ(status.Failed(), c.initializeFailure[0] != '\0');
    EXPECT_EQ(status.Description, c.initializeFailure);
    if (!status.Failed()) {
      EXPECT_EQ(ready, c.ready);
    }
  }
  std::string error;
  ASSERT_TRUE(UnregisterServer(PluginFile("Fake"), error)) << error;
  EXPECT_FALSE(CreateObject("OVVGPlugFake.clsFake", error));
  EXPECT_TRUE(StartsWith(error, "Class not registered: OVVGPlugFake.clsFake")) << error;
}

TEST(ObjectCreationTest, FailuresSayWhatIsWrong) {
  testing::TempConfigHome home;
  const ClassRegistry registry;
  std::string error;
  ASSERT_TRUE(registry.Register("OVVGPlugGone.clsGone", kPlugins / "OVVGPlugGone.so", error));
  ASSERT_TRUE(registry.Register("OVVGPlugNothing.clsNothing", PluginFile("Nothing"), error));
  ASSERT_TRUE(registry.Register("OVVGPlugOther.clsOther", PluginFile("Fake"), error));
  // A FIFO at a registered path would keep the loader waiting for ever.
  const fs::path fifo = fs::temp_directory_path() / ("OVVGPlugFifo-" + std::to_string(::getpid()) + ".so");
  fs::remove(fifo);
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  ASSERT_TRUE(registry.Register("OVVGPlugFifo.clsFifo", fifo, error));
  const fs::path empty = home.Folder() / "OVVGPlugEmpty.so";
  std::ofstream{empty};
  ASSERT_TRUE(registry.Register("OVVGPlugEmpty.clsEmpty", empty, error));
  struct Case {
    const char* progId;
    std::string expectedStart;
  };
  const Case cases[] = {
      {"OVVGPlugNone.clsNone", "Class not registered: OVVGPlugNone.clsNone has no entry in " +
                                   registry.File().string()},
      {"", "Class not registered: (no ProgID)"},
      {"OVVGPlugGone.clsGone", "Cannot load the plug-in " + (kPlugins / "OVVGPlugGone.so").string() + ": "},
      {"OVVGPlugNothing.clsNothing",
       PluginFile("Nothing").string() + " is not an Orvale plug-in: it has no DllCreateObject"},
      {"OVVGPlugOther.clsOther", "Class not registered"},  // the library serves another class
      {"OVVGPlugFifo.clsFifo", "Cannot load the plug-in " + fifo.string() + ": Path/File access error"},
      {"OVVGPlugEmpty.clsEmpty",
       "Cannot load the plug-in " + empty.string() + ": Invalid file format: the file is empty: " + empty.string()},
  };
  for (const Case& c : cases) {
    std::string message;
    EXPECT_FALSE(CreateObject(c.progId, message)) << c.progId;
    EXPECT_TRUE(StartsWith(message, c.expectedStart)) << message;
  }
  fs::remove(fifo);
}

// /proc/kmsg, a regular file of size 0 whose read waits for the kernel's next message,
// as the registered library and as the class registry itself: refused at once, with
// the reason, where the loader or a reader would wait for good.
TEST(ObjectCreationTest, AFileWhoseReadBlocksIsRefusedAtOnce) {
  if (::access("/proc/kmsg", R_OK) != 0) GTEST_SKIP() << "/proc/kmsg is not readable here (it needs root)";
  testing::TempConfigHome home;
  const ClassRegistry registry;
  std::string error;
  const fs::path kmsg = home.Folder() / "OVVGPlugKmsg.so";
  fs::create_symlink("/proc/kmsg", kmsg);
  ASSERT_TRUE(registry.Register("OVVGPlugKmsg.clsKmsg", kmsg, error));
  EXPECT_TRUE(testing::RunsWithinBounds([&kmsg] {
    std::string message;
    if (CreateObject("OVVGPlugKmsg.clsKmsg", message)) throw 1;
    if (!StartsWith(message, "Cannot load the plug-in " + kmsg.string() + ": Invalid file format")) throw 2;
  }));
  fs::remove(registry.File());
  fs::create_symlink("/proc/kmsg", registry.File());
  EXPECT_TRUE(testing::RunsWithinBounds([&registry] {
    std::string message;
    if (CreateObject("OVVGPlugKmsg.clsKmsg", message)) throw 1;
    if (!StartsWith(message, "Cannot read the class registry " + registry.File().string() +
                                 ": Path/File access error")) {
      std::fprintf(stderr, "%s\n", message.c_str());
      throw 2;
    }
  }));
}

// A class registry far larger than any is refused without being read, with the reason.
TEST(ObjectCreationTest, AClassRegistryLargerThanAnyIsRefusedWithTheReason) {
  testing::TempConfigHome home;
  const ClassRegistry registry;
  std::string error;
  ASSERT_TRUE(registry.Register("OVVGPlugFake.clsFake", PluginFile("Fake"), error));
  fs::resize_file(registry.File(), std::uintmax_t{2} << 30);
  EXPECT_TRUE(testing::RunsWithinBounds([&registry] {
    std::string message;
    if (CreateObject("OVVGPlugFake.clsFake", message)) throw 1;
    if (!StartsWith(message, "Cannot read the class registry " + registry.File().string() +
                                 ": Invalid file format: larger than 16 MB")) {
      std::fprintf(stderr, "%s\n", message.c_str());
      throw 2;
    }
    if (registry.Register("OVVGPlugFake.clsFake", PluginFile("Fake"), message)) throw 3;
  }));
  EXPECT_EQ(fs::file_size(registry.File()), std::uintmax_t{2} << 30);
}

TEST(ObjectCreationTest, RegisteringSomethingThatIsNoPluginFails) {
  testing::TempConfigHome home;
  std::string error;
  EXPECT_FALSE(RegisterServer(PluginFile("Nothing"), error));
  EXPECT_NE(error.find("it has no DllRegisterServer"), std::string::npos) << error;
  EXPECT_FALSE(RegisterServer(kPlugins / "missing.so", error));
  EXPECT_TRUE(StartsWith(error, "Cannot load the plug-in ")) << error;
  EXPECT_FALSE(fs::exists(ClassRegistry().File()));
}

// A plug-in runs as the user who creates its object: no registry that another user could
// have written names one, and none is loaded from where another user could have put it.
// A sticky folder every user may write (such as /tmp) keeps the files in it to their
// owners, so root's own there are used.
TEST(ObjectCreationTest, NoPluginIsNamedByOrLoadedFromWhatAnotherUserMayChange) {
  if (!testing::CanActAsOtherUser()) GTEST_SKIP() << testing::kNeedsAnotherUser;
  testing::TempConfigHome home;
  const ClassRegistry registry;
  const fs::path halvern = registry.File().parent_path();
  const fs::path theirs = home.Folder() / "theirs";
  fs::create_directories(theirs);
  ASSERT_EQ(::chown(theirs.c_str(), testing::kOtherUser, testing::kOtherGroup), 0);
  const fs::path theirLibrary = theirs / "OVVGPlugFake.so";
  ASSERT_TRUE(testing::RunAsOtherUser({"cp", PluginFile("Fake").string(), theirLibrary.string()}));
  const fs::path open = home.Folder() / "open";
  const fs::path sticky = home.Folder() / "sticky";
  const fs::path ownGroup = home.Folder() / "group";  // root's group has no other member
  for (const fs::path& folder : {open, sticky}) {
    fs::create_directories(folder);
    fs::copy_file(PluginFile("Fake"), folder / "OVVGPlugFake.so");
  }
  ::chmod(open.c_str(), 0777);
  ::chmod(sticky.c_str(), 01777);
  const auto entryFor = [&home](const fs::path& library) {
    const fs::path entry = home.Folder() / ("entry-" + library.parent_path().filename().string());
    std::ofstream(entry, std::ios::binary) << "[Classes]\r\nOVVGPlugFake.clsFake=" << library.string() << "\r\n";
    return entry;
  };
  // The registry as root writes it, naming `library`, in a folder of `mode`.
  const auto rootsRegistry = [&](const fs::path& library, mode_t mode) {
    fs::create_directories(halvern);
    ::chmod(halvern.c_str(), mode);
    fs::copy_file(entryFor(library), registry.File());
    ::chmod(registry.File().c_str(), 0644);
  };
  const std::string refusedRegistry = "Cannot read the class registry " + registry.File().string() + ": Permission denied: ";
  struct Case {
    const char* what;
    std::function<void()> make;
    std::string expectedStart;  // empty: the object is made
  };
  const Case cases[] = {
      {"a registry written by another user, in a folder every user may write",
       [&] {
         fs::create_directories(halvern);
         ::chmod(halvern.c_str(), 0777);
         ASSERT_TRUE(testing::RunAsOtherUser({"cp", entryFor(theirLibrary).string(), registry.File().string()}));
       },
       refusedRegistry + registry.File().string() + " belongs to another user"},
      {"root's registry in a folder every user may write", [&] { rootsRegistry(PluginFile("Fake"), 0777); },
       refusedRegistry + halvern.string() + " may be written by other users"},
      {"a registry of another user",
       [&] {
         rootsRegistry(PluginFile("Fake"), 0755);
         ASSERT_EQ(::chown(registry.File().c_str(), testing::kOtherUser, testing::kOtherGroup), 0);
       },
       refusedRegistry + registry.File().string() + " belongs to another user"},
      {"a registry every user may write",
       [&] {
         rootsRegistry(PluginFile("Fake"), 0755);
         ::chmod(registry.File().c_str(), 0666);
       },
       refusedRegistry + registry.File().string() + " may be written by other users"},
      {"a library of another user", [&] { rootsRegistry(theirLibrary, 0755); },
       "Cannot load the plug-in " + theirLibrary.string() + ": " + theirLibrary.string() + " belongs to another user."},
      {"a library in a folder every user may write", [&] { rootsRegistry(open / "OVVGPlugFake.so", 0755); },
       "Cannot load the plug-in " + (open / "OVVGPlugFake.so").string() + ": " + open.string() +
           " may be written by other users."},
      {"root's registry in a folder a group of other users may write",
       [&] {
         rootsRegistry(PluginFile("Fake"), 0775);
         ASSERT_EQ(::chown(halvern.c_str(), 0, testing::kOtherGroup), 0);
       },
       refusedRegistry + halvern.string() + " may be written by other users"},
      {"root's registry and library in sticky folders", [&] { rootsRegistry(sticky / "OVVGPlugFake.so", 01777); }, ""},
      {"root's registry and library that only root's own group may write",
       [&] {
         fs::create_directories(ownGroup);
         fs::copy_file(PluginFile("Fake"), ownGroup / "OVVGPlugFake.so", fs::copy_options::overwrite_existing);
         ::chmod(ownGroup.c_str(), 0775);
         ::chmod((ownGroup / "OVVGPlugFake.so").c_str(), 0775);
         rootsRegistry(ownGroup / "OVVGPlugFake.so", 0775);
         ::chmod(registry.File().c_str(), 0664);
       },
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(halvern);
    c.make();
    std::string error;
    GrabberPluginPtr plugin = CreateObject("OVVGPlugFake.clsFake", error);
    if (c.expectedStart.empty()) {
      EXPECT_TRUE(plugin) << error;
    } else {
      EXPECT_FALSE(plugin);
      EXPECT_TRUE(StartsWith(error, c.expectedStart)) << error;
    }
  }
}

TEST(ObjectCreationTest, AnInstalledCreatorStandsInForTheRegistry) {
  auto log = std::make_shared<testing::FakeGrabberLog>();
  std::string asked;
  {
    ScopedObjectCreator fake([&](const std::string& progId, std::string&) {
      asked = progId;
      return GrabberPluginPtr(new testing::FakeGrabberPlugin(log));
    });
    std::string error;
    GrabberPluginPtr plugin = CreateObject("OVVGPlugAny.clsAny", error);
    EXPECT_TRUE(plugin);
    EXPECT_EQ(asked, "OVVGPlugAny.clsAny");
    {
      ScopedObjectCreator throwing(
          [](const std::string&, std::string&) -> GrabberPluginPtr { throw std::runtime_error("boom"); });
      EXPECT_FALSE(CreateObject("OVVGPlugAny.clsAny", error));  // no exception escapes
      EXPECT_EQ(error, "boom");
      ScopedObjectCreator silent([](const std::string&, std::string&) { return GrabberPluginPtr(); });
      error.clear();
      EXPECT_FALSE(CreateObject("OVVGPlugAny.clsAny", error));
      EXPECT_EQ(error, "Cannot create OVVGPlugAny.clsAny.");
    }
    EXPECT_TRUE(CreateObject("OVVGPlugAny.clsAny", error));  // the outer fake is back
  }
  EXPECT_EQ(log->Release, 2);
  testing::TempConfigHome home;
  std::string error;
  EXPECT_FALSE(CreateObject("OVVGPlugAny.clsAny", error));  // the registry again
  EXPECT_TRUE(StartsWith(error, "Class not registered")) << error;
}

}  // namespace
}  // namespace orvale
