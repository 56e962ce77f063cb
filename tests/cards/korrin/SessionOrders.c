/* A C caller of korrin32 on the simulated board: board slots switched over a located
 * board, and an interrupt callback that cleans up, switches boards, stops and restarts
 * itself, retires another callback's worker, calls exit(), or only asks for the field,
 * while the program waits, grabs, stops interrupts or cleans up too; and a child forked
 * while the callback's worker waits. None of it may crash or hang; every call does what
 * its result says. What could hang or end the process runs in a child with an alarm. */
#define _POSIX_C_SOURCE 200809L
#include <errno.h>
#include <semaphore.h>
#include <stdatomic.h>
#include <stdio.h>
#include <time.h>

#include "CClient.h"
#include "korrin32.h"

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

/* An 8-bit frame, 640 x 480 at most, captured live into a buffer of the program's. */
static unsigned char frame[640 * 480];

static void LiveSetUp(int width, int height) {
  SetUp();
  KR_CaptureRecord record = {0};
  record.buffer = frame;
  record.size = sizeof frame;
  Expect("KR_VideoCaptureMem", KR_VideoCaptureMem(&record, 0x20000), 0);
  Expect("KR_VideoOffscreen", KR_VideoOffscreen(width, height, 8, 0), 0);
  Expect("KR_VideoLive", KR_VideoLive(1, 0), 0);
}

/* The callback lets the board go, or switches to an empty slot, at its first call, and
 * then says it has (letGoDone). */
static atomic_int grabCalls;
static atomic_int grabInsideResult;
static atomic_int boardWent;
static sem_t letGoDone;

static void LetGoOnce(int32_t (*letGo)(void)) {
  if (atomic_fetch_add(&grabCalls, 1) > 0) return;
  atomic_store(&grabInsideResult, letGo());
  atomic_store(&boardWent, 1);
  sem_post(&letGoDone);
}

static int32_t CleanUpTheBoard(void) { return KR_Cleanup(); }
static int32_t SwitchToAnEmptySlot(void) { return KR_MultiBoard(2, 1); }
static void CleanUpOnce(void) { LetGoOnce(CleanUpTheBoard); }
static void SwitchOnce(void) { LetGoOnce(SwitchToAnEmptySlot); }

/* Waits for the callback to have let the board go; a bound that only catches a callback
 * that never came. */
static int WaitForLetGo(void) {
  struct timespec until;
  clock_gettime(CLOCK_REALTIME, &until);
  until.tv_sec += 120;
  while (sem_timedwait(&letGoDone, &until) != 0) {
    if (errno != EINTR) return 0;
  }
  return 1;
}

/* A grab that waits for lines and fields lets the callback in; when the callback lets
 * the board go meanwhile, the grab fails (-1) and touches nothing more, and every grab
 * after it fails as the board is not located: no grab begun once the board went answers
 * 0. */
static void CallbackLetsTheBoardGoDuringGrabs(int mode, int switchesBoard) {
  atomic_store(&grabCalls, 0);
  atomic_store(&grabInsideResult, 7);
  atomic_store(&boardWent, 0);
  sem_init(&letGoDone, 0, 0);
  if (switchesBoard) Expect("allocate", KR_MultiBoard(0, 2), 0);
  LiveSetUp(640, 480);
  Expect("KR_EnableIRQ", KR_EnableIRQ(0, 0, 1, switchesBoard ? SwitchOnce : CleanUpOnce), 0);
  int failed = 0;
  int zeroAfterTheBoardWent = 0;
  for (int i = 0; i < 6; ++i) {
    const int wentBefore = atomic_load(&boardWent);
    int result = KR_VideoGrab(0, mode, 4, 100);
    if (result == 0) zeroAfterTheBoardWent += wentBefore;
    else if (result == -1) ++failed;
    else Expect("KR_VideoGrab", result, 0);
  }
  char what[64];
  snprintf(what, sizeof what, "mode %d: the callback let the board go", mode);
  Expect(what, WaitForLetGo(), 1);
  snprintf(what, sizeof what, "mode %d: let go in the callback", mode);
  Expect(what, atomic_load(&grabInsideResult), 0);
  snprintf(what, sizeof what, "mode %d: grabs answering 0 after the board went", mode);
  Expect(what, zeroAfterTheBoardWent, 0);
  if (failed == 0) Fail("no grab failed although the board went");
  if (switchesBoard) {
    Expect("switch back", KR_MultiBoard(2, 0), 0);
    Expect("free", KR_MultiBoard(1, 0), 0);
  }
  Expect("KR_Cleanup", KR_Cleanup(), 0);
  sem_destroy(&letGoDone);
}

static void GrabsWhileTheBoardGoes(void) {
  static const int modes[] = {0, 1, 3, 4, 10, 11};
  for (size_t i = 0; i < sizeof modes / sizeof modes[0]; ++i) {
    CallbackLetsTheBoardGoDuringGrabs(modes[i], 0);
  }
  CallbackLetsTheBoardGoDuringGrabs(3, 1);
}

/* exit() in the callback while the program waits inside the library: the library's
 * teardown at exit must not free what the wait still uses, and the program's calls
 * after it, while the exit runs on, fail. */
static void ExitNow(void) { exit(3); }

/* Runs after the library's teardown at exit, while the program calls on. */
static void TakeAMoment(void) { SleepMs(20); }

static void ExitFromTheCallback(void) {
  atexit(TakeAMoment);
  SetUp();
  KR_EnableIRQ(0, 0, 1, ExitNow);
  KR_WaitVSync(100000);
  for (;;) { /* until exit() on the worker ends the process */
    KR_GetFieldType();
    SleepMs(1);
  }
}

/* Two callbacks each retire the other's worker: callback A stops its own worker and
 * starts B's, waits, and cleans up; B stops its own. No worker may wait for another. */
static atomic_int aDone;
static atomic_int bCalls;

static void RetiresItself(void) {
  atomic_fetch_add(&bCalls, 1);
  Expect("B stops its worker", KR_EnableIRQ(0, 0, 0, 0), 0);
}

static void StartsTheOther(void) {
  if (atomic_load(&aDone)) return;
  Expect("A stops its worker", KR_EnableIRQ(0, 0, 0, 0), 0);
  Expect("A starts B", KR_EnableIRQ(0, 0, 1, RetiresItself), 0);
  for (int i = 0; i < 20; ++i) KR_WaitVSync(1);
  Expect("A cleans up", KR_Cleanup(), 0);
  atomic_store(&aDone, 1);
}

static void WorkersRetireEachOther(void) {
  SetUp();
  Expect("KR_EnableIRQ", KR_EnableIRQ(0, 0, 1, StartsTheOther), 0);
  for (int i = 0; i < 5000 && !atomic_load(&aDone); ++i) {
    KR_WaitVSync(1);
    SleepMs(1);
  }
  if (!atomic_load(&aDone)) Fail("callback A never finished");
  if (atomic_load(&bCalls) == 0) Fail("callback B was never called");
  Expect("KR_Cleanup", KR_Cleanup(), 0);
}

/* A program that calls in back to back (KR_WaitMS(20), 2000 times) and a callback that
 * asks for the field at each interrupt: the callback's call waits at most for the
 * program's call in progress, so most fields reach the callback. */
static atomic_int programCalls;
static atomic_int fieldCalls;
static atomic_int mostWaitedThrough;

static void AsksForTheField(void) {
  int before = atomic_load(&programCalls);
  if (KR_GetFieldType() < 0) Fail("KR_GetFieldType in the callback");
  int through = atomic_load(&programCalls) - before;
  if (through > atomic_load(&mostWaitedThrough)) atomic_store(&mostWaitedThrough, through);
  atomic_fetch_add(&fieldCalls, 1);
}

static void CallbackGetsInAmongBackToBackCalls(void) {
  atomic_store(&programCalls, 0);
  atomic_store(&fieldCalls, 0);
  atomic_store(&mostWaitedThrough, 0);
  LiveSetUp(64, 48); /* small: the simulated board copies every field */
  Expect("KR_EnableIRQ", KR_EnableIRQ(0, 0, 1, AsksForTheField), 0);
  for (int i = 0; i < 2000; ++i) {
    KR_WaitMS(20);
    atomic_fetch_add(&programCalls, 1);
  }
  Expect("KR_EnableIRQ off", KR_EnableIRQ(0, 0, 0, 0), 0);
  /* 40 virtual seconds are about 2400 fields: at least half reach the callback. */
  if (atomic_load(&fieldCalls) < 1200) {
    fprintf(stderr, "only %d callbacks in 40 s\n", atomic_load(&fieldCalls));
    atomic_fetch_add(&failures, 1);
  }
  /* Once at the gate the callback's call waits for one call of the program's at most, but
   * the count also takes in the calls before it came to the gate, while its thread was
   * not running: a loose bound, far below the 2000 calls an unfair gate lets pass. */
  if (atomic_load(&mostWaitedThrough) > 100) {
    fprintf(stderr, "a callback's call waited through %d of the program's calls\n",
            atomic_load(&mostWaitedThrough));
    atomic_fetch_add(&failures, 1);
  }
  Expect("KR_Cleanup", KR_Cleanup(), 0);
}

/* A child forked while the worker waits for an interrupt has no such thread: it cleans
 * up, starts a worker of its own that gets interrupts, and exits. */
static atomic_int parentCalls;
static atomic_int childCalls;
static void CountParent(void) { atomic_fetch_add(&parentCalls, 1); }
static void CountChild(void) { atomic_fetch_add(&childCalls, 1); }

static void ForkedChild(void) {
  Expect("KR_EnableIRQ in the child", KR_EnableIRQ(0, 0, 1, CountChild), 0);
  for (int i = 0; i < 20; ++i) KR_WaitVSync(1);
  if (atomic_load(&childCalls) == 0) Fail("the child's callback was never called");
  Expect("KR_Cleanup in the child", KR_Cleanup(), 0);
  Expect("KR_Locate in the child", KR_Locate(), 0);
  exit(atomic_load(&failures) == 0 ? 0 : 1);
}

static void ForkWhileTheWorkerWaits(void) {
  SetUp();
  Expect("KR_EnableIRQ", KR_EnableIRQ(0, 0, 1, CountParent), 0);
  for (int i = 0; i < 4; ++i) KR_WaitVSync(1);
  InChild("child forked while the worker waits", ForkedChild, 20, 0);
  for (int i = 0; i < 4; ++i) KR_WaitVSync(1);
  if (atomic_load(&parentCalls) == 0) Fail("the parent's callback was never called");
  Expect("KR_Cleanup", KR_Cleanup(), 0);
}

int main(void) {
  /* The teardown races the program's wait: a few rounds. */
  for (int i = 0; i < 5; ++i) {
    InChild("exit() in the callback while the program waits", ExitFromTheCallback, 20, 3);
  }
  InChild("workers retiring each other", WorkersRetireEachOther, 20, 0);
  SlotsSwitchedAfterSelecting();
  CallbackCleansUpWhileTheProgramWaits();
  BothLetGo(0);
  BothLetGo(1);
  CallbackStopsAndRestarts();
  GrabsWhileTheBoardGoes();
  CallbackGetsInAmongBackToBackCalls();
  ForkWhileTheWorkerWaits();
  return atomic_load(&failures) == 0 ? 0 : 1;
}
