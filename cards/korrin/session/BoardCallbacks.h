#pragma once
// Work that belongs to one board of a multi-board program but is started by the window
// system (a window timer, a clip watch, a hook): it runs with its own board live,
// whichever board the program has switched to meanwhile.
#include <mutex>

#include "cards/korrin/session/BoardFrame.h"
#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

// The board a callback set up now belongs to: its index in the multi-board table. Without
// a table it is board 0, which the live board becomes when a table is made.
inline int CallbackBoard(Library& lib) { return lib.BoardCount() > 0 ? lib.CurrentBoard() : 0; }

// Runs `action` with `board` live, then makes the board that was live live again.
// Without a table board 0 is the live board; a board the table no longer holds runs
// nothing.
template <class Action>
void WithBoardLive(Library& lib, int board, Action&& action) {
  if (board > 0 && board >= lib.BoardCount()) return;
  struct SwitchBack {
    Library& lib;
    int previous;
    bool switched;
    ~SwitchBack() {
      if (switched) MultiBoard(lib, 2, previous);
    }
  } back{lib, lib.CurrentBoard(), board >= 0 && board < lib.BoardCount() && board != lib.CurrentBoard()};
  if (!back.switched) {
    action();
    return;
  }
  MultiBoard(lib, 2, board);
  // The program's board is not live meanwhile: no other call may come in.
  Library::GateHeld held(lib);
  action();
}

// The same for a callback the window system calls: a call into the library of its
// own, and no exception gets out to it.
template <class Action>
void RunForBoard(Library& lib, int board, Action&& action) noexcept {
  try {
    std::lock_guard inside(lib.Gate());
    WithBoardLive(lib, board, action);
  } catch (...) {
  }
}

}  // namespace orvale::korrin
