/* A C caller of korrin32 on the simulated board with three threads waiting in the
 * library at once: the program pauses (KR_WaitMS), a second thread waits for two fields
 * at a time, and the interrupt callback waits for one field at each interrupt. Waits
 * take turns at the library's gate between their polls, so none runs the board's time
 * on while another waits: every wait ends with the field it waited for, never with a
 * time-out (-1), as long as the board is there. A race, tried over many waits. */
#define _POSIX_C_SOURCE 200809L
#include <pthread.h>
#include <stdatomic.h>
#include <stdio.h>

#include "CClient.h"
#include "korrin32.h"

static atomic_int callbacks;
static atomic_int callbackTimeOuts;
static atomic_int secondTimeOuts;
static atomic_int stopWaiting;

static void WaitsForAField(void) {
  atomic_fetch_add(&callbacks, 1);
  if (KR_WaitVSync(1) != 0) atomic_fetch_add(&callbackTimeOuts, 1);
}

static void* WaitsForTwoFields(void* unused) {
  (void)unused;
  for (int i = 0; i < 1000000 && !atomic_load(&stopWaiting); ++i) {
    if (KR_WaitVSync(2) != 0) atomic_fetch_add(&secondTimeOuts, 1);
  }
  return NULL;
}

int main(void) {
  /* 50 pauses of 200 ms: 10 s of the board's time, some hundreds of field waits. Every
   * millisecond of a pause hands the gate on, and each hand-over waits for a thread to be
   * scheduled: more pauses cost minutes on a busy machine, where the gate's own test
   * (CallGateTest) already shows the order of a yield. */
  enum { kPauses = 50 };
  Expect("KR_Locate", KR_Locate(), 0);
  Expect("KR_LoadConfig", KR_LoadConfig(0), 1);
  Expect("KR_Init", KR_Init(), 0);
  Expect("KR_SetVideoConfig", KR_SetVideoConfig(0, 0, 1, 0), 0);
  Expect("KR_EnableIRQ", KR_EnableIRQ(0, 0, 1, WaitsForAField), 0);
  pthread_t second;
  if (pthread_create(&second, NULL, WaitsForTwoFields, NULL) != 0) {
    Fail("pthread_create");
    return 1;
  }
  for (int i = 0; i < kPauses; ++i) Expect("KR_WaitMS", KR_WaitMS(200), 0);
  atomic_store(&stopWaiting, 1);
  pthread_join(second, NULL);
  Expect("KR_EnableIRQ off", KR_EnableIRQ(0, 0, 0, 0), 0);
  if (atomic_load(&callbacks) == 0) Fail("the callback was never called");
  Expect("the callback's waits that timed out", atomic_load(&callbackTimeOuts), 0);
  Expect("the second thread's waits that timed out", atomic_load(&secondTimeOuts), 0);
  Expect("KR_Cleanup", KR_Cleanup(), 0);
  return atomic_load(&failures) == 0 ? 0 : 1;
}
