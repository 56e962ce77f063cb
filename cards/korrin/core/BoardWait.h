#pragma once
// A caller's wait on the live board (fields, lines). Between its polls it lets a call
// that is waiting to come in go first (an interrupt callback, say, that cleans up), and
// it keeps the board's session meanwhile, so it can tell whether its board was let go.
#include <memory>

#include "cards/korrin/core/Library.h"

namespace orvale::korrin {

class BoardWait {
 public:
  explicit BoardWait(Library& lib) : lib_(lib), session_(lib.Live().resources.session) {}

  // Between two polls: false once the board the wait began on is no longer the live,
  // located board; the wait then fails.
  bool Continue() {
    lib_.Gate().Yield();
    return session_ != nullptr && lib_.Live().resources.session == session_ && lib_.Live().Located();
  }

 private:
  Library& lib_;
  std::shared_ptr<BoardSession> session_;
};

}  // namespace orvale::korrin
