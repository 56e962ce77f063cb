/* A C caller of korrin32 on the simulated board: the start-up road and clean-up. */
#include <stdio.h>

#include "korrin32.h"

static int failures = 0;

static void Expect(const char* what, int32_t got, int32_t want) {
  if (got != want) {
    fprintf(stderr, "%s returned %ld, expected %ld\n", what, (long)got, (long)want);
    ++failures;
  }
}

int main(void) {
  KR_VersionInfo info;
  Expect("KR_Locate", KR_Locate(), 0);
  Expect("KR_LoadConfig", KR_LoadConfig(0), 1);
  Expect("KR_Init", KR_Init(), 0);
  Expect("KR_SetVideoConfig", KR_SetVideoConfig(1, 0, 2, 0), 0);
  Expect("KR_GetVideoSource", KR_GetVideoSource(), 2);
  Expect("KR_GetVersionInfo", KR_GetVersionInfo(&info), 0);
  Expect("configuration identifier", (int32_t)info.configId, 0x319);
  Expect("board kind", info.boardKind, 2);
  Expect("KR_Cleanup", KR_Cleanup(), 0);
  Expect("KR_Cleanup again", KR_Cleanup(), 0);
  return failures == 0 ? 0 : 1;
}
