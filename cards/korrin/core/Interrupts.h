#pragma once
// Board interrupts: switching a source on and off, the worker that calls the caller
// back, clearing, and the interrupt line.
#include <cstdint>
#include <memory>

#include "cards/korrin/core/Library.h"
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

// Stops `worker` (may be null) and joins it, outside the gate. A worker stopped from its
// own callback cannot be joined by its own thread: it waits in the library for the next
// retirement on another thread. Every other worker waiting so is joined here too.
void RetireWorker(Library& lib, std::unique_ptr<IrqMachinery> worker);
void JoinStoppedWorkers(Library& lib);

}  // namespace orvale::korrin
