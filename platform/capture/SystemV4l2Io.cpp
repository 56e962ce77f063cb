#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <utility>

#include "platform/capture/V4l2Io.h"

namespace orvale {

namespace {

class SystemIo final : public V4l2Io {
 public:
  std::vector<std::string> VideoNodes() override {
    std::vector<std::pair<unsigned, std::string>> nodes;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/dev", ec)) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("video", 0) != 0 || name.size() == 5) continue;
      unsigned number = 0;
      const char* first = name.data() + 5;
      const char* last = name.data() + name.size();
      const auto [end, error] = std::from_chars(first, last, number);
      if (error == std::errc() && end == last) nodes.emplace_back(number, entry.path().string());
    }
    std::sort(nodes.begin(), nodes.end());
    std::vector<std::string> paths;
    for (auto& node : nodes) paths.push_back(std::move(node.second));
    return paths;
  }
  int Open(const std::string& path, int flags) override { return ::open(path.c_str(), flags); }
  int Close(int fd) override { return ::close(fd); }
  int Ioctl(int fd, unsigned long request, void* argument) override {
    int result;
    do {
      result = ::ioctl(fd, request, argument);
    } while (result == -1 && errno == EINTR);
    return result;
  }
  void* Mmap(std::size_t length, int fd, off_t offset) override {
    return ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, fd, offset);
  }
  int Munmap(void* address, std::size_t length) override { return ::munmap(address, length); }
  int Poll(pollfd* fds, nfds_t count, int timeoutMs) override {
    int result;
    do {
      result = ::poll(fds, count, timeoutMs);
    } while (result == -1 && errno == EINTR);
    return result;
  }
};

}  // namespace

V4l2Io& SystemV4l2Io() {
  static SystemIo io;
  return io;
}

}  // namespace orvale
