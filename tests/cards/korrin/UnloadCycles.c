/* A program without Qt that loads libkorrin32, uses it and unloads it, again and again:
 * each round must give back what it took. Measured on the C library's heap with its
 * per-thread cache off (the test's environment), so that freed blocks count as free; the
 * sanitizer builds, whose allocator keeps its own books, prove nothing here. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <malloc.h>
#include <stdio.h>

#include "korrin32.h"

static int Round(void) {
  void* library = dlopen(KORRIN32_PATH, RTLD_NOW | RTLD_LOCAL);
  if (library == NULL) {
    fprintf(stderr, "%s\n", dlerror());
    return 0;
  }
  int32_t (*locate)(void);
  int32_t (*cleanup)(void);
  *(void**)&locate = dlsym(library, "KR_Locate");
  *(void**)&cleanup = dlsym(library, "KR_Cleanup");
  int ok = locate != NULL && cleanup != NULL && locate() == 0 && cleanup() == 0;
  dlclose(library);
  return ok;
}

int main(void) {
  /* The first rounds settle the loader's and the runtime's own books. */
  for (int i = 0; i < 3; ++i) {
    if (!Round()) return 1;
  }
  size_t before = mallinfo2().uordblks;
  enum { kRounds = 10 };
  for (int i = 0; i < kRounds; ++i) {
    if (!Round()) return 1;
  }
  size_t after = mallinfo2().uordblks;
  /* OpenMP's runtime, loaded with the library, keeps 8 bytes of each of its loads. */
  size_t perRound = after > before ? (after - before) / kRounds : 0;
  if (perRound > 64) {
    fprintf(stderr, "each load and unload keeps %zu bytes\n", perRound);
    return 1;
  }
  return 0;
}
