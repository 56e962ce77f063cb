#pragma once
// The guard every export of the shared object runs in: no exception leaves an export.
#include <cstddef>
#include <cstdint>
#include <new>
#include <string_view>
#include <type_traits>

#include "cards/melvex/ErrorCodes.h"
#include "cards/melvex/ExportNames.h"
#include "cards/melvex/ZelvoLibrary.h"

namespace orvale::melvex {

// What an export returns when an exception stopped it, within what it can return: null
// for texts and pointers, 0 for a size, -1 (not shown) for the dialog, the code for the
// exports that return codes.
template <class Ret>
Ret FailureResult(std::string_view errorName, std::int32_t code) {
  if constexpr (std::is_pointer_v<Ret>) {
    return nullptr;
  } else if constexpr (std::is_same_v<Ret, std::size_t>) {
    return 0;
  } else {
    if (errorName == export_name::ZLV_formatDialogBox) return ZelvoLibrary::kFormatDialogNotShown;
    return static_cast<Ret>(code);
  }
}

// Runs one export on the library `getLibrary()` gives. Running out of memory gives 19;
// anything else unexpected is reported as a failed card transaction (18); each as the
// export can return it (FailureResult).
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
      return FailureResult<Ret>(errorName, code::kNoMemory);
    } catch (...) {
      library->RecordFailure();
      return FailureResult<Ret>(errorName, code::kLostContact);
    }
  } catch (...) {
    return FailureResult<Ret>(errorName, code::kNoMemory);
  }
}

}  // namespace orvale::melvex
