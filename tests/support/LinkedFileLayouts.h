#pragma once
// Settings and profile files reached through symbolic links, as dotfile managers set up
// ~/.config. Each layout is made afresh in a folder of its own, which is the current
// folder while a writer writes "cfg/cam.ini"; afterwards the file the links name holds the
// new value beside what it held, every link is still the same link and nothing else in
// the folder changed. A loop, or a link into a missing folder, fails and changes nothing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace orvale::testing {

inline constexpr const char* kLinkedFile = "cfg/cam.ini";

struct LinkedFileLayout {
  const char* name;
  // Link -> what it holds; a leading "/" there is the layout's folder, so the link is absolute.
  std::vector<std::pair<const char*, const char*>> links;
  const char* lands;  // the file written through them; nullptr: the write must fail
  bool landsExists = true;
};

inline const std::vector<LinkedFileLayout>& LinkedFileLayouts() {
  static const std::vector<LinkedFileLayout> layouts = {
      {"LinkInTheSameFolder", {{"cfg/cam.ini", "real.ini"}}, "cfg/real.ini"},
      {"RelativeLinkToAnotherFolder", {{"cfg/cam.ini", "../kept/cam.ini"}}, "kept/cam.ini"},
      {"AbsoluteLink", {{"cfg/cam.ini", "/kept/cam.ini"}}, "kept/cam.ini"},
      {"ChainOfTwoLinks", {{"cfg/cam.ini", "../mid/cam.ini"}, {"mid/cam.ini", "/kept/cam.ini"}}, "kept/cam.ini"},
      {"DanglingLink", {{"cfg/cam.ini", "../kept/new.ini"}}, "kept/new.ini", false},
      {"DanglingLinkIntoAMissingFolder", {{"cfg/cam.ini", "../gone/cam.ini"}}, nullptr},
      {"Loop", {{"cfg/cam.ini", "loop.ini"}, {"cfg/loop.ini", "cam.ini"}}, nullptr},
  };
  return layouts;
}

// The old text of the file the links name: a section the writers leave alone.
inline constexpr const char* kKeptText = "[Other]\r\nKept=1\r\n";

// Every entry under `root` by its relative path: a link's text, a file's bytes, or a folder.
inline std::map<std::string, std::string> FolderSnapshot(const std::filesystem::path& root) {
  namespace fs = std::filesystem;
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::string name = entry.path().lexically_relative(root).string();
    if (entry.is_symlink()) {
      entries[name] = "link " + fs::read_symlink(entry.path()).string();
    } else if (entry.is_directory()) {
      entries[name] = "folder";
    } else {
      std::ifstream in(entry.path(), std::ios::binary);
      entries[name] = "file " + std::string(std::istreambuf_iterator<char>(in), {});
    }
  }
  return entries;
}

// Runs `write` (given kLinkedFile) on every layout; `written` is text the written file then
// holds.
inline void ExpectWritesThroughLinks(const std::function<bool(const char* file)>& write,
                                     const std::string& written) {
  namespace fs = std::filesystem;
  static int made = 0;
  const fs::path root =
      fs::temp_directory_path() / ("orvale-links-" + std::to_string(::getpid()) + "-" + std::to_string(made++));
  const fs::path before = fs::current_path();
  for (const LinkedFileLayout& layout : LinkedFileLayouts()) {
    SCOPED_TRACE(layout.name);
    fs::remove_all(root);
    for (const char* folder : {"cfg", "kept", "mid"}) fs::create_directories(root / folder);
    for (const auto& [link, target] : layout.links) {
      fs::create_symlink(target[0] == '/' ? (root / (target + 1)).string() : target, root / link);
    }
    if (layout.lands != nullptr && layout.landsExists) std::ofstream(root / layout.lands, std::ios::binary) << kKeptText;
    const std::map<std::string, std::string> old = FolderSnapshot(root);

    fs::current_path(root);
    const bool done = write(kLinkedFile);
    fs::current_path(before);

    std::map<std::string, std::string> now = FolderSnapshot(root);
    if (layout.lands == nullptr) {
      EXPECT_FALSE(done);
      EXPECT_EQ(now, old);
      continue;
    }
    EXPECT_TRUE(done);
    const std::string text = now[layout.lands];
    EXPECT_NE(text.find(written), std::string::npos) << text;
    if (layout.landsExists) {
      EXPECT_NE(text.find("Kept=1"), std::string::npos) << text;
    }
    now.erase(layout.lands);
    std::map<std::string, std::string> rest = old;
    rest.erase(layout.lands);
    EXPECT_EQ(now, rest);  // links unchanged, no temporary file left
  }
  fs::remove_all(root);
}

}  // namespace orvale::testing
