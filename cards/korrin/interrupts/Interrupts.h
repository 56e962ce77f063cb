#pragma once
// Board interrupts: switching a source on and off, the worker that calls the caller
// back, clearing, and the interrupt line.
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "cards/korrin/session/Library.h"
#include "korrin32.h"

namespace orvale::korrin {

// Sources 0 (a captured field, status bit 0x100) and 2 (the general-purpose pin).
// Types: 3 switch the source on, 2 off; 1 start the worker with `callback` and switch
// on (a running worker only takes the new callback); 0 switch off and stop the worker.
std::int32_t EnableIrq(Library& lib, std::int32_t source, std::int32_t argument, std::int32_t type,
                       KR_IrqCallback callback);
std::int32_t ClearIrq(Library& lib, std::int32_t source, std::int32_t argument);
std::int32_t GetIrqNumber(Library& lib);
// Switches every source off while a worker runs (clean-up); the worker itself ends with
// the board's session.
void SwitchInterruptsOff(Library& lib);

// Stops `worker` (may be null) and joins it, waiting outside the gate, with every other
// worker stopped before. On a worker's thread (inside a callback) it waits for none: the
// stopped workers stay in the library, and each retirement, on any thread, joins those
// that have ended by then.
void RetireWorker(Library& lib, std::unique_ptr<IrqMachinery> worker);
void JoinStoppedWorkers(Library& lib);

// Around a fork: no thread of the library may be left waiting in the child on state it
// shares with the parent (the child has no such thread, and a condition variable it
// waited on would hang the child). Before the fork, with the gate held, every board's
// worker is stopped and joined; after it, the parent starts them again with the same
// callbacks, and the child runs none until it enables interrupts itself. A fork from
// inside a callback cannot stop the workers (a worker joins no worker): false then.
struct WorkersPaused {
  bool all = true;
  std::vector<std::pair<std::shared_ptr<BoardSession>, KR_IrqCallback>> running;
};
WorkersPaused PauseWorkers(Library& lib);
void ResumeWorkers(Library& lib, WorkersPaused paused);

}  // namespace orvale::korrin
