#include "cards/korrin/session/BoardFrame.h"
#include "cards/korrin/session/Startup.h"
#include "cards/korrin/session/Status.h"

namespace orvale::korrin {
namespace {

enum Operation { kAllocate = 0, kFree = 1, kSwitch = 2, kSelect = 3 };
// More boards than fit into one machine's PCI slots is a caller's mistake.
constexpr std::int32_t kMaxBoards = 32;

// Copies the live record into the current board's slot and board `index` into the live
// record. When the current index was set without copying, that slot may still hold a
// board: overwritten, its record is lost, but the board is let go cleanly; its session
// is handed back to be ended once the records are settled.
[[nodiscard]] std::shared_ptr<BoardSession> Switch(Library& lib, int index) {
  auto& copies = lib.Copies();
  BoardState& slot = *copies[lib.CurrentBoard()];
  auto overwritten = LetGoOther(lib, slot);
  slot = std::move(lib.Live());
  lib.Live() = std::move(*copies[index]);
  *copies[index] = BoardState{};
  lib.SetCurrentBoard(index);
  return overwritten;
}

void FreeCopies(Library& lib) {
  if (lib.BoardCount() == 0) return;
  std::vector<std::shared_ptr<BoardSession>> sessions;
  if (lib.CurrentBoard() != 0) sessions.push_back(Switch(lib, 0));
  for (auto& copy : lib.Copies()) sessions.push_back(LetGoOther(lib, *copy));
  lib.Copies().clear();
  lib.SetCurrentBoard(0);
  for (auto& session : sessions) EndSession(lib, std::move(session));
}

}  // namespace

std::int32_t MultiBoard(Library& lib, std::int16_t operation, std::int32_t countOrIndex) {
  switch (operation) {
    case kAllocate: {
      if (countOrIndex <= 0 || countOrIndex > kMaxBoards) return kFail;
      FreeCopies(lib);
      std::vector<std::unique_ptr<BoardState>> copies;
      copies.reserve(static_cast<std::size_t>(countOrIndex));
      // The live board's resources stay with it as board 0; the others get its
      // settings only and start unlocated, each to be located on its own.
      BoardState settingsOnly;
      settingsOnly.settings = lib.Live().settings;
      settingsOnly.settings.frame.located = false;
      settingsOnly.settings.frame.configSignature = 0;
      settingsOnly.settings.cameraTiming = {};  // its timer stays with the live board
      for (std::int32_t i = 0; i < countOrIndex; ++i) {
        auto copy = std::make_unique<BoardState>();
        copy->settings = settingsOnly.settings;
        copies.push_back(std::move(copy));
      }
      lib.Copies() = std::move(copies);
      lib.SetCurrentBoard(0);
      return kOk;
    }
    case kFree:
      FreeCopies(lib);
      return kOk;
    case kSwitch:
      if (countOrIndex < 0 || countOrIndex >= lib.BoardCount()) return kFail;
      if (countOrIndex != lib.CurrentBoard()) EndSession(lib, Switch(lib, countOrIndex));
      return kOk;
    case kSelect:
      if (countOrIndex < 0) return kFail;
      if (lib.BoardCount() > 0 && countOrIndex >= lib.BoardCount()) return kFail;
      lib.SetCurrentBoard(countOrIndex);
      return kOk;
    default:
      return kFail;
  }
}

}  // namespace orvale::korrin
