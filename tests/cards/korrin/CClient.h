/* What the C clients of korrin32 share: counting failures (from any thread, the
 * library's callbacks included) and running a part that could hang or end the process
 * in a child with an alarm. Needs _POSIX_C_SOURCE 200809L before the first include. */
#ifndef ORVALE_TESTS_KORRIN_CCLIENT_H
#define ORVALE_TESTS_KORRIN_CCLIENT_H

#include <signal.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static atomic_int failures;

static inline void Fail(const char* what) {
  fprintf(stderr, "%s\n", what);
  atomic_fetch_add(&failures, 1);
}

static inline void Expect(const char* what, long got, long want) {
  if (got != want) {
    fprintf(stderr, "%s: %ld, expected %ld\n", what, got, want);
    atomic_fetch_add(&failures, 1);
  }
}

static inline void SleepMs(long ms) {
  struct timespec t = {ms / 1000, (ms % 1000) * 1000000L};
  nanosleep(&t, NULL);
}

/* Waits for `child`, which must exit with `status`: a signal (SIGALRM: it hung) or
 * another status fails `what`. */
static inline void ExpectChildExit(const char* what, pid_t child, int status) {
  int got = 0;
  if (waitpid(child, &got, 0) != child) {
    Fail(what);
  } else if (WIFSIGNALED(got)) {
    fprintf(stderr, "%s: ended by signal %d%s\n", what, WTERMSIG(got),
            WTERMSIG(got) == SIGALRM ? " (it hung)" : "");
    atomic_fetch_add(&failures, 1);
  } else {
    Expect(what, WEXITSTATUS(got), status);
  }
}

/* Runs `body` in a child that the alarm ends after `seconds`. The child must exit with
 * `status` and print nothing: a sanitizer's report fails it even when the child's exit
 * wins the race with the report's own. */
static inline void InChild(const char* what, void (*body)(void), unsigned seconds, int status) {
  fflush(stderr);
  int out[2];
  if (pipe(out) != 0) {
    Fail("pipe");
    return;
  }
  pid_t child = fork();
  if (child < 0) {
    Fail("fork");
    return;
  }
  if (child == 0) {
    atomic_store(&failures, 0); /* the child's own */
    close(out[0]);
    dup2(out[1], 2);
    alarm(seconds);
    body();
    _exit(atomic_load(&failures) == 0 ? 0 : 1);
  }
  close(out[1]);
  char said[4096];
  size_t total = 0;
  ssize_t n;
  while ((n = read(out[0], said + total, sizeof said - 1 - total)) > 0) {
    total += (size_t)n;
    if (total == sizeof said - 1) total = 0; /* keep reading; the end is what counts */
  }
  close(out[0]);
  said[total] = 0;
  ExpectChildExit(what, child, status);
  if (total > 0) {
    fprintf(stderr, "%s: the child said\n%s\n", what, said);
    atomic_fetch_add(&failures, 1);
  }
}

#endif
