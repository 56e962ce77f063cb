// The rooms of the source tree depend downwards only (DESIGN.md, Layout):
//   app -> frame -> (automation, report, imageview) -> dialogs -> plots -> document
//       -> pictures -> analysis -> platform,
// the rooms in the bracket do not include each other, and the reading of picture files,
// the plug-in and the card libraries use the platform alone. This walks every source file and fails on each
// include that runs against that order.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Room {
  std::string Prefix;  // folder under the source root, with a trailing '/'
  int Rank;            // a room may include rooms of lower rank, and itself
};

// Longest prefix first, so that "app/frame/" wins over "app/".
const std::vector<Room>& Rooms() {
  static const std::vector<Room> rooms = {
      {"app/automation/", 5}, {"app/imageview/", 5}, {"app/analysis/", 1},
      {"app/pictures/", 1},   {"app/document/", 2},  {"app/dialogs/", 4},   {"app/report/", 5},
      {"app/frame/", 6},      {"app/plots/", 3},     {"plugins/tavrel/", 1},
      {"cards/korrin/", 1},   {"cards/melvex/", 1},  {"platform/", 0},
      {"app/", 7},
  };
  return rooms;
}

const Room* RoomOf(const std::string& path) {
  const Room* best = nullptr;
  for (const Room& room : Rooms()) {
    if (path.rfind(room.Prefix, 0) == 0 &&
        (best == nullptr || room.Prefix.size() > best->Prefix.size())) {
      best = &room;
    }
  }
  return best;
}

// What a file of `from` may not include: a room above it, or another room of its rank.
bool RunsAgainstTheOrder(const Room& from, const Room& to) {
  if (&from == &to) return false;
  return to.Rank > from.Rank || to.Rank == from.Rank;
}

struct OrderCheck {
  std::size_t FilesRead = 0;
  std::vector<std::string> Violations;
};

OrderCheck CheckTheOrder(const fs::path& root) {
  static const std::regex include(R"re(^\s*#\s*include\s*"([^"]+)")re");
  OrderCheck check;
  std::vector<std::string>& found = check.Violations;
  for (const char* top : {"app", "platform", "plugins", "cards"}) {
    if (!fs::exists(root / top)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(root / top)) {
      const std::string ext = entry.path().extension().string();
      if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp" && ext != ".inc")) continue;
      const std::string file = fs::relative(entry.path(), root).generic_string();
      const Room* from = RoomOf(file);
      if (from == nullptr) continue;
      std::ifstream in(entry.path());
      ++check.FilesRead;
      std::string line;
      for (int number = 1; std::getline(in, line); ++number) {
        std::smatch match;
        if (!std::regex_search(line, match, include)) continue;
        const std::string header = match[1];
        if (header.find('/') == std::string::npos) continue;  // beside the file
        const Room* to = RoomOf(header);
        if (to != nullptr && RunsAgainstTheOrder(*from, *to)) {
          found.push_back(file + ":" + std::to_string(number) + " includes " + header);
        }
      }
    }
  }
  return check;
}

TEST(RoomOrderTest, NoFileIncludesAHeaderFromARoomAboveOrBesideItsOwn) {
  const OrderCheck check = CheckTheOrder(ORVALE_SOURCE_DIR);
  // A source root that moved would otherwise pass with nothing read.
  EXPECT_GT(check.FilesRead, 500u) << "read only " << check.FilesRead << " files under "
                                   << ORVALE_SOURCE_DIR;
  std::string report;
  for (const std::string& violation : check.Violations) report += violation + "\n";
  EXPECT_TRUE(report.empty()) << report;
}

TEST(RoomOrderTest, TheOrderIsReadAsDesigned) {
  const auto rank = [](const std::string& path) { return RoomOf(path)->Rank; };
  EXPECT_LT(rank("app/document/clsDocument.h"), rank("app/plots/PlotWindow.h"));
  EXPECT_LT(rank("app/dialogs/frmAnalyze.h"), rank("app/imageview/ImageView.h"));
  EXPECT_LT(rank("app/imageview/ImageView.h"), rank("app/frame/frmMain.h"));
  EXPECT_LT(rank("app/frame/frmMain.h"), rank("app/main.cpp"));
  EXPECT_TRUE(RunsAgainstTheOrder(*RoomOf("app/report/x.h"), *RoomOf("app/imageview/y.h")));
  EXPECT_TRUE(RunsAgainstTheOrder(*RoomOf("cards/korrin/x.h"), *RoomOf("app/analysis/y.h")));
  EXPECT_TRUE(RunsAgainstTheOrder(*RoomOf("app/pictures/x.h"), *RoomOf("app/analysis/y.h")));
  EXPECT_FALSE(RunsAgainstTheOrder(*RoomOf("app/document/x.h"), *RoomOf("app/pictures/y.h")));
  EXPECT_TRUE(RunsAgainstTheOrder(*RoomOf("cards/korrin/x.h"), *RoomOf("cards/melvex/y.h")));
  EXPECT_FALSE(RunsAgainstTheOrder(*RoomOf("cards/melvex/x.h"), *RoomOf("platform/gdi/Dib.h")));
  EXPECT_FALSE(RunsAgainstTheOrder(*RoomOf("platform/ui/x.h"), *RoomOf("platform/runtime/y.h")));
}

}  // namespace
