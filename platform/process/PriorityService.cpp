#include "platform/process/PriorityService.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

namespace orvale {
namespace {

id_t ThisThread() { return static_cast<id_t>(::syscall(SYS_gettid)); }

}  // namespace

void ThreadPriority::Raise(PriorityLevel level) {
  errno = 0;
  const int current = ::getpriority(PRIO_PROCESS, ThisThread());
  saved_.push_back(errno == 0 ? current : 0);
  // Lowering the nice value needs the right to; without it this changes nothing.
  ::setpriority(PRIO_PROCESS, ThisThread(), current - (level == PriorityLevel::kRealtime ? 10 : 5));
}

void ThreadPriority::Restore() {
  if (saved_.empty()) return;
  ::setpriority(PRIO_PROCESS, ThisThread(), saved_.back());
  saved_.pop_back();
}

void RecordingPriority::Raise(PriorityLevel level) {
  ++depth_;
  ++raises_;
  log_.push_back(level == PriorityLevel::kRealtime ? "raise realtime" : "raise high");
}

void RecordingPriority::Restore() {
  --depth_;
  log_.push_back("restore");
}

}  // namespace orvale
