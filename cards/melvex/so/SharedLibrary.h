#pragma once
// The one library instance of the shared object and the guard every export runs in.
#include <new>
#include <type_traits>

#include "cards/melvex/ErrorCodes.h"
#include "cards/melvex/ZelvoLibrary.h"

namespace orvale::melvex {

// Made on first use, over the simulated card when ORVALE_MELVEX_DEVICE=sim and over the
// absent driver otherwise.
ZelvoLibrary& SharedLibrary();

// What an export returns when an exception stopped it: the code for codes, null for
// texts and pointers.
template <class Ret>
Ret FailureResult(std::int32_t code) {
  if constexpr (std::is_pointer_v<Ret>) {
    return nullptr;
  } else {
    return static_cast<Ret>(code);
  }
}

// Runs one export: no exception leaves it. Running out of memory gives 19; anything
// else unexpected is reported as a failed card transaction (18).
template <class Ret, class Call>
Ret RunExport(const char* errorName, Call&& call) noexcept {
  ZelvoLibrary* library = nullptr;
  try {
    library = &SharedLibrary();
    ZelvoLibrary::ExportScope scope(*library, errorName);
    try {
      return call(*library);
    } catch (const std::bad_alloc&) {
      library->RecordFailure();
      return FailureResult<Ret>(code::kNoMemory);
    } catch (...) {
      library->RecordFailure();
      return FailureResult<Ret>(code::kLostContact);
    }
  } catch (...) {
    return FailureResult<Ret>(code::kNoMemory);
  }
}

}  // namespace orvale::melvex
