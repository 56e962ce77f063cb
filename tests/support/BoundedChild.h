#pragma once
// Runs part of a test in a child process that may take only a little more memory than the
// test already has: work that grows with a rectangle's extent instead of with what is
// drawn fails at once rather than taking the machine's memory for minutes. The time
// bound only ends a child that hangs (a read that waits for ever), so it is many times
// what the work takes under the sanitizers on a busy machine; how fast the work goes is
// for the benchmarks. The sanitizers reserve terabytes of address space up front, so
// under them the child runs without the memory limit (the time limit still holds).
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <fstream>
#include <functional>

namespace orvale::testing {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool kAddressSpaceReserved = true;
#else
inline constexpr bool kAddressSpaceReserved = false;
#endif

inline constexpr unsigned kHangBoundSeconds = 300;

// True when `work` returned normally in the child.
inline bool RunsWithinBounds(const std::function<void()>& work, std::size_t extraBytes = std::size_t{256} << 20,
                             unsigned seconds = kHangBoundSeconds) {
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    ::alarm(seconds);
    if (!kAddressSpaceReserved) {
      std::size_t pages = 0;
      std::ifstream("/proc/self/statm") >> pages;
      const rlim_t limit = pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE)) + extraBytes;
      const rlimit bounds{limit, limit};
      if (::setrlimit(RLIMIT_AS, &bounds) != 0) ::_exit(3);
    }
    try {
      work();
    } catch (...) {
      ::_exit(2);
    }
    ::_exit(0);
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace orvale::testing
