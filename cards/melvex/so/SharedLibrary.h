#pragma once
// The one library instance of the shared object and the guard every export runs in.
#include <utility>

#include "cards/melvex/ExportGuard.h"
#include "cards/melvex/ZelvoLibrary.h"

namespace orvale::melvex {

// Made on first use, over the simulated card when ORVALE_MELVEX_DEVICE=sim and over the
// absent driver otherwise.
ZelvoLibrary& SharedLibrary();

// Runs one export on the shared library: no exception leaves it.
template <class Ret, class Call>
Ret RunExport(const char* errorName, Call&& call) noexcept {
  return GuardExport<Ret>(SharedLibrary, errorName, std::forward<Call>(call));
}

}  // namespace orvale::melvex
