#pragma once
// The system calls of the V4L2 backend, behind one small seam so that its negotiation,
// streaming and error paths run against an in-process fake device in tests. Each call
// behaves as the system call of the same name: -1 (MAP_FAILED for Mmap) with errno set
// on failure.
#include <poll.h>
#include <sys/types.h>

#include <cstddef>
#include <string>
#include <vector>

namespace orvale {

class V4l2Io {
 public:
  virtual ~V4l2Io() = default;
  // The device nodes "/dev/video<N>" present now, by increasing N.
  virtual std::vector<std::string> VideoNodes() = 0;
  virtual int Open(const std::string& path, int flags) = 0;
  virtual int Close(int fd) = 0;
  virtual int Ioctl(int fd, unsigned long request, void* argument) = 0;
  // A shared read-write mapping of a device buffer.
  virtual void* Mmap(std::size_t length, int fd, off_t offset) = 0;
  virtual int Munmap(void* address, std::size_t length) = 0;
  virtual int Poll(pollfd* fds, nfds_t count, int timeoutMs) = 0;
};

// The real system calls; Ioctl and Poll retry when a signal interrupts them.
V4l2Io& SystemV4l2Io();

}  // namespace orvale
