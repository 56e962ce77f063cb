#pragma once
// Locating, configuring, initialising and cleaning up the live board.
#include <cstdint>
#include <memory>

#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

std::int32_t Locate(Library& lib);
// 2 when the board's EEPROM was valid, 1 when defaults were used, -1 when locating failed.
std::int32_t LoadConfig(Library& lib);
std::int32_t Init(Library& lib);
// Lets the live board go (LetGo), then ends its session (EndSession); on a thread that
// is no worker it joins every stopped worker too.
std::int32_t Cleanup(Library& lib);
// The same for a board record that is not the live one (a multi-board copy).
void CleanupOther(Library& lib, BoardState& board);

// Cleaning up in two steps, for callers that settle the records before any thread waits.
// LetGo stops everything the live board runs and returns the record to unlocated; it
// hands back the board's session, which nothing else holds now but a call waiting on it.
std::shared_ptr<BoardSession> LetGo(Library& lib);
std::shared_ptr<BoardSession> LetGoOther(Library& lib, BoardState& board);
// Ends a session no record holds: its worker is stopped and joined, outside the gate,
// then its locked buffers, DMA area and attach are released, in that order.
void EndSession(Library& lib, std::shared_ptr<BoardSession> session);

// Runs the busy-wait calibration: the mask delay of the auto-window.
std::int32_t CalibrateBusyWait(Clock& clock);

}  // namespace orvale::korrin
