#pragma once
// The guard every export of the shared object runs in: no exception leaves an export.
#include <cstdint>
#include <new>
#include <type_traits>

#include "cards/melvex/ErrorCodes.h"
#include "cards/melvex/ZelvoLibrary.h"

namespace orvale::melvex {

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

// Runs one export on the library `getLibrary()` gives. Running out of memory gives 19;
// anything else unexpected is reported as a failed card transaction (18).
template <class Ret, class GetLibrary, class Call>
Ret GuardExport(GetLibrary&& getLibrary, const char* errorName, Call&& call) noexcept {
  ZelvoLibrary* library = nullptr;
  try {
    library = &getLibrary();
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
