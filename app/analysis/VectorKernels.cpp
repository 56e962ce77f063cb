#include "app/analysis/VectorKernels.h"

#include <atomic>

namespace orvale {

namespace {
std::atomic<bool> forceGeneric{false};
}  // namespace

bool UseWideKernels() {
#ifdef ORVALE_WIDE_KERNELS
  static const bool available = __builtin_cpu_supports("avx2");
  return available && !forceGeneric.load(std::memory_order_relaxed);
#else
  return false;
#endif
}

void UseGenericKernels(bool generic) { forceGeneric.store(generic); }

}  // namespace orvale
