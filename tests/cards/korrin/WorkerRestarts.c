/* A C caller of korrin32 on the simulated board whose interrupt callback stops its own
 * worker and starts a new one at every field, while the program only waits for fields.
 * Every worker that ended must be let go of without the program making any other call:
 * the process's address space does not grow with the number of restarts (each thread
 * left unjoined keeps its stack, megabytes). */
#define _POSIX_C_SOURCE 200809L
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "korrin32.h"

static atomic_int failures;
static atomic_int restarts;

static void Expect(const char* what, long got, long want) {
  if (got != want) {
    fprintf(stderr, "%s: %ld, expected %ld\n", what, got, want);
    atomic_fetch_add(&failures, 1);
  }
}

static void Restart(void) {
  Expect("stop inside the callback", KR_EnableIRQ(0, 0, 0, 0), 0);
  Expect("restart inside the callback", KR_EnableIRQ(0, 0, 1, Restart), 0);
  atomic_fetch_add(&restarts, 1);
}

/* The process's virtual size in kB, from /proc/self/status; -1 when unreadable. */
static long VirtualSizeKb(void) {
  FILE* status = fopen("/proc/self/status", "r");
  if (status == NULL) return -1;
  char line[256];
  long kb = -1;
  while (fgets(line, sizeof line, status) != NULL) {
    if (strncmp(line, "VmSize:", 7) == 0) kb = strtol(line + 7, NULL, 10);
  }
  fclose(status);
  return kb;
}

/* Waits for fields, the program's only call, until the callback has restarted `count`
 * times in all; a bound on the fields only catches a callback that stopped coming. */
static void FieldsUntilRestarts(int count) {
  for (long field = 0; field < 100L * count && atomic_load(&restarts) < count; ++field) {
    KR_WaitVSync(1);
  }
  if (atomic_load(&restarts) < count) {
    fprintf(stderr, "only %d restarts, expected %d\n", atomic_load(&restarts), count);
    atomic_fetch_add(&failures, 1);
  }
}

int main(void) {
  /* Past the first restarts, the allocators and thread caches have settled. */
  enum { kSettling = 50, kMeasured = 300 };
  /* A leaked stack is 2 MB at the least (8 MB by default): 300 of them are 600 MB or
   * more, while a few threads between start and join, and the stacks the C library
   * keeps for reuse, stay far below this. */
  const long kAllowedGrowthKb = 128L * 1024;

  Expect("KR_Locate", KR_Locate(), 0);
  Expect("KR_LoadConfig", KR_LoadConfig(0), 1);
  Expect("KR_Init", KR_Init(), 0);
  Expect("KR_SetVideoConfig", KR_SetVideoConfig(0, 0, 1, 0), 0);
  Expect("KR_EnableIRQ", KR_EnableIRQ(0, 0, 1, Restart), 0);
  FieldsUntilRestarts(kSettling);
  const long before = VirtualSizeKb();
  FieldsUntilRestarts(kSettling + kMeasured);
  const long after = VirtualSizeKb();
  if (before < 0 || after < 0) {
    fprintf(stderr, "cannot read /proc/self/status\n");
    atomic_fetch_add(&failures, 1);
  } else if (after - before > kAllowedGrowthKb) {
    fprintf(stderr, "%d restarts from the callback grew the address space by %ld MB\n", kMeasured,
            (after - before) / 1024);
    atomic_fetch_add(&failures, 1);
  }
  Expect("KR_EnableIRQ off", KR_EnableIRQ(0, 0, 0, 0), 0);
  Expect("KR_Cleanup", KR_Cleanup(), 0);
  return atomic_load(&failures) == 0 ? 0 : 1;
}
