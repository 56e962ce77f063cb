/* A C caller of korrin32 on the simulated board that forks while another of its threads
 * is inside the library: making the library's first call, or stopping and joining an
 * interrupt worker. The child must find the library between two calls and no thread of
 * the library waiting on what it shares with the parent: it makes a call of its own, or
 * none, and exits without hanging. Each is a race the fork may miss, tried many times. */
#define _POSIX_C_SOURCE 200809L
#include <pthread.h>
#include <stdatomic.h>
#include <stdio.h>

#include "CClient.h"
#include "korrin32.h"

/* Under ThreadSanitizer: the parent's threads are not in the child, which cannot join
 * them (not a leak to report), and each child's exit does not wait a second. */
const char* __tsan_default_options(void);
const char* __tsan_default_options(void) { return "report_thread_leaks=0:atexit_sleep_ms=0"; }

/* A child that outlives this many seconds hung (it takes a few milliseconds). */
enum { kChildAlarmSeconds = 30 };

static atomic_int calling;

static void* FirstCall(void* unused) {
  (void)unused;
  atomic_store(&calling, 1);
  KR_GetFieldType();
  return NULL;
}

/* In a process that has not called the library yet: one thread makes the first call
 * (which sets the library up, milliseconds) while this one forks, at a point that moves
 * a little each attempt. */
static int attempt;

static void ForkDuringTheFirstCall(void) {
  pthread_t caller;
  if (pthread_create(&caller, NULL, FirstCall, NULL) != 0) {
    Fail("pthread_create");
    return;
  }
  while (!atomic_load(&calling)) {
  }
  for (volatile int spin = 0; spin < attempt * 2000; ++spin) {
  }
  pid_t child = fork();
  if (child == 0) {
    alarm(kChildAlarmSeconds);
    /* Not located in the child's copy either way: the call answers, it does not hang. */
    KR_GetFieldType();
    _exit(0);
  }
  if (child < 0) Fail("fork");
  else ExpectChildExit("a child forked during the first call", child, 0);
  pthread_join(caller, NULL);
}

/* One thread starts and stops the interrupt worker, or cleans up, again and again: each
 * stop joins the worker. */
static atomic_int stopWorking;
static atomic_int fields;

static void CountField(void) { atomic_fetch_add(&fields, 1); }

static void SetUp(void) {
  Expect("KR_Locate", KR_Locate(), 0);
  Expect("KR_LoadConfig", KR_LoadConfig(0), 1);
  Expect("KR_Init", KR_Init(), 0);
  Expect("KR_SetVideoConfig", KR_SetVideoConfig(0, 0, 1, 0), 0);
}

static void* StartAndStopWorkers(void* cleansUp) {
  for (int round = 0; round < 100000 && !atomic_load(&stopWorking); ++round) {
    Expect("KR_EnableIRQ", KR_EnableIRQ(0, 0, 1, CountField), 0);
    if (round % 2 == 0) KR_WaitVSync(1);
    if (cleansUp != NULL) {
      Expect("KR_Cleanup", KR_Cleanup(), 0);
      SetUp();
    } else {
      Expect("KR_EnableIRQ off", KR_EnableIRQ(0, 0, 0, 0), 0);
    }
  }
  return NULL;
}

static void ForksWhileWorkersAreJoined(int cleansUp) {
  enum { kForks = 300 };
  SetUp();
  atomic_store(&stopWorking, 0);
  pthread_t worker;
  if (pthread_create(&worker, NULL, StartAndStopWorkers, cleansUp ? &stopWorking : NULL) != 0) {
    Fail("pthread_create");
    return;
  }
  for (int i = 0; i < kForks && atomic_load(&failures) == 0; ++i) {
    pid_t child = fork();
    if (child == 0) {
      alarm(kChildAlarmSeconds);
      /* Nothing of the library: exit() alone tears it down. */
      exit(0);
    }
    if (child < 0) Fail("fork");
    else ExpectChildExit(cleansUp ? "a child forked during KR_Cleanup" : "a child forked while a worker stops",
                         child, 0);
  }
  atomic_store(&stopWorking, 1);
  pthread_join(worker, NULL);
  Expect("KR_Cleanup", KR_Cleanup(), 0);
}

static void ForksWhileEnableIrqJoins(void) { ForksWhileWorkersAreJoined(0); }
static void ForksWhileCleanupJoins(void) { ForksWhileWorkersAreJoined(1); }

int main(void) {
  /* Each attempt in a process of its own, where the library has not been called. */
  for (attempt = 0; attempt < 30 && atomic_load(&failures) == 0; ++attempt) {
    InChild("forking during the first call", ForkDuringTheFirstCall, 2 * kChildAlarmSeconds, 0);
  }
  InChild("forking while KR_EnableIRQ joins the worker", ForksWhileEnableIrqJoins, 300, 0);
  InChild("forking while KR_Cleanup joins the worker", ForksWhileCleanupJoins, 300, 0);
  return atomic_load(&failures) == 0 ? 0 : 1;
}
