/* A C caller of korrin32 on the simulated board: board slots switched over a located
 * board, and an interrupt callback that cleans up, or stops and restarts itself, while
 * the program waits, stops interrupts or cleans up too. None of it may crash; every call
 * does what its result says. */
#define _POSIX_C_SOURCE 199309L
#include <stdatomic.h>
#include <stdio.h>
#include <time.h>

#include "korrin32.h"

/* The callback checks its own calls too, on the library's thread. */
static atomic_int failures;

static void Fail(const char* what) {
  fprintf(stderr, "%s\n", what);
  atomic_fetch_add(&failures, 1);
}

static void Expect(const char* what, long got, long want) {
  if (got != want) {
    fprintf(stderr, "%s: %ld, expected %ld\n", what, got, want);
    atomic_fetch_add(&failures, 1);
  }
}

static void SleepMs(long ms) {
  struct timespec t = {ms / 1000, (ms % 1000) * 1000000L};
  nanosleep(&t, NULL);
}

static void SetUp(void) {
  Expect("KR_Locate", KR_Locate(), 0);
  Expect("KR_LoadConfig", KR_LoadConfig(0), 1);
  Expect("KR_Init", KR_Init(), 0);
  Expect("KR_SetVideoConfig", KR_SetVideoConfig(0, 0, 1, 0), 0);
}

/* Fields until `flag` is set by the callback, a bounded number of times. */
static void FieldsUntil(atomic_int* flag) {
  for (int i = 0; i < 2000 && !atomic_load(flag); ++i) {
    KR_WaitVSync(1);
    SleepMs(1);
  }
}

static atomic_int calls;
static atomic_int inside;
static atomic_int insideResult;
static atomic_int restarted;
static atomic_int restartCalls;

static void CleanUp(void) {
  atomic_fetch_add(&calls, 1);
  atomic_store(&insideResult, KR_Cleanup());
}

static void SlowCleanUp(void) {
  atomic_store(&inside, 1);
  SleepMs(50);
  CleanUp();
}

static void Restarted(void) { atomic_fetch_add(&restartCalls, 1); }

static void StopAndRestart(void) {
  if (atomic_fetch_add(&calls, 1) > 0) return;
  Expect("stop inside the callback", KR_EnableIRQ(0, 0, 0, StopAndRestart), 0);
  Expect("restart inside the callback", KR_EnableIRQ(0, 0, 1, Restarted), 0);
  atomic_store(&restarted, 1);
}

static void Reset(void) {
  atomic_store(&calls, 0);
  atomic_store(&inside, 0);
  atomic_store(&insideResult, 7);
  atomic_store(&restarted, 0);
  atomic_store(&restartCalls, 0);
}

static void SlotsSwitchedAfterSelecting(void) {
  Expect("allocate", KR_MultiBoard(0, 2), 0);
  Expect("KR_Locate", KR_Locate(), 0);
  Expect("switch to 1", KR_MultiBoard(2, 1), 0);
  Expect("select 0", KR_MultiBoard(3, 0), 0);
  Expect("switch to 1 again", KR_MultiBoard(2, 1), 0);
  /* The overwritten record let board 0 go: it can be located again. */
  Expect("select 0 again", KR_MultiBoard(3, 0), 0);
  Expect("KR_Locate board 0 again", KR_Locate(), 0);
  Expect("free", KR_MultiBoard(1, 0), 0);
  Expect("KR_Cleanup", KR_Cleanup(), 0);
}

static void CallbackCleansUpWhileTheProgramWaits(void) {
  Reset();
  SetUp();
  Expect("KR_EnableIRQ", KR_EnableIRQ(0, 0, 1, CleanUp), 0);
  Expect("KR_WaitVSync on a board let go", KR_WaitVSync(100000), -1);
  for (int i = 0; i < 2000 && atomic_load(&insideResult) == 7; ++i) SleepMs(1);
  Expect("KR_Cleanup in the callback", atomic_load(&insideResult), 0);
}

static void BothLetGo(int programCleansUp) {
  Reset();
  SetUp();
  Expect("KR_EnableIRQ", KR_EnableIRQ(0, 0, 1, SlowCleanUp), 0);
  FieldsUntil(&inside);
  SleepMs(10);
  if (programCleansUp) {
    Expect("KR_Cleanup while the callback cleans up", KR_Cleanup(), 0);
  } else {
    Expect("stop while the callback cleans up", KR_EnableIRQ(0, 0, 0, SlowCleanUp), 0);
  }
  Expect("KR_Cleanup in the callback", atomic_load(&insideResult), 0);
  Expect("callbacks", atomic_load(&calls), 1);
}

static void CallbackStopsAndRestarts(void) {
  Reset();
  SetUp();
  Expect("KR_EnableIRQ", KR_EnableIRQ(0, 0, 1, StopAndRestart), 0);
  FieldsUntil(&restarted);
  for (int i = 0; i < 40; ++i) KR_WaitVSync(2);
  if (atomic_load(&restartCalls) == 0) Fail("the restarted callback was never called");
  Expect("KR_Cleanup", KR_Cleanup(), 0);
}

int main(void) {
  SlotsSwitchedAfterSelecting();
  CallbackCleansUpWhileTheProgramWaits();
  BothLetGo(0);
  BothLetGo(1);
  CallbackStopsAndRestarts();
  return atomic_load(&failures) == 0 ? 0 : 1;
}
