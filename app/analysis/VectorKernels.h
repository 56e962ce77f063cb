#pragma once
// Choice between the plain and the AVX2 versions of the engine's hot loops (the fit's
// accumulation, batches of wavefront values). Both versions perform the same
// elementwise operations in the same order, without fused multiply-add, so they give
// bit-identical results; the wide one is only faster.

#if defined(__GNUC__)
#define ORVALE_VECTOR_EXTENSIONS 1
namespace orvale {
using Vector2 = double __attribute__((vector_size(16)));
using Vector4 = double __attribute__((vector_size(32)));
}  // namespace orvale
#if defined(__x86_64__)
#define ORVALE_WIDE_KERNELS 1
#define ORVALE_WIDE_TARGET [[gnu::target("avx2")]]
#endif
#endif

namespace orvale {

// True when the processor has AVX2 and the plain kernels are not forced.
bool UseWideKernels();

// Forces the plain kernels even where AVX2 is available. For tests and benchmarks.
void UseGenericKernels(bool generic);

}  // namespace orvale
