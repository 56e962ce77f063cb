#pragma once
// A program run by a second user, for the tests of what other users may do to the files
// and folders the program trusts: nobody (65534), through setpriv, when the tests run as
// root. Tests that need another user skip with a message otherwise; a few may run the
// program as this user instead, in a process of its own.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <utility>
#include <vector>

extern char** environ;

namespace orvale::testing {

inline constexpr uid_t kOtherUser = 65534;
inline constexpr gid_t kOtherGroup = 65534;

inline bool CanActAsOtherUser() { return ::geteuid() == 0 && ::access("/usr/bin/setpriv", X_OK) == 0; }

inline constexpr const char* kNeedsAnotherUser = "it needs root, to act as a second user through setpriv";

class OtherUserProcess {
 public:
  // Starts `argv` as the other user when `asOtherUser`, else as this user; its standard
  // input and output are pipes to the test.
  OtherUserProcess(std::vector<std::string> argv, bool asOtherUser) {
    if (asOtherUser) {
      argv.insert(argv.begin(), {"setpriv", "--reuid=" + std::to_string(kOtherUser),
                                 "--regid=" + std::to_string(kOtherGroup), "--clear-groups", "--"});
    }
    int in[2];
    int out[2];
    if (::pipe2(in, O_CLOEXEC) != 0) return;
    if (::pipe2(out, O_CLOEXEC) != 0) {
      ::close(in[0]);
      ::close(in[1]);
      return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    std::vector<char*> args;
    for (std::string& arg : argv) args.push_back(arg.data());
    args.push_back(nullptr);
    if (::posix_spawnp(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    input_ = in[1];
    output_ = out[0];
  }
  ~OtherUserProcess() {
    if (pid_ > 0) ::kill(pid_, SIGTERM);
    Wait();
  }
  OtherUserProcess(const OtherUserProcess&) = delete;
  OtherUserProcess& operator=(const OtherUserProcess&) = delete;

  bool Started() const { return pid_ > 0; }

  // The next line it writes, without its end; empty when it ends first.
  std::string ReadLine() {
    std::string line;
    char c = 0;
    while (output_ >= 0 && ::read(output_, &c, 1) == 1 && c != '\n') line += c;
    return line;
  }

  // Closes its input and waits for its end: its exit status, -1 when a signal ended it.
  int Wait() {
    if (input_ >= 0) ::close(input_);
    if (output_ >= 0) ::close(output_);
    input_ = output_ = -1;
    if (pid_ <= 0) return -1;
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
};

// Runs `argv` as the other user to its end; true when it succeeded.
inline bool RunAsOtherUser(std::vector<std::string> argv) {
  OtherUserProcess process(std::move(argv), true);
  return process.Started() && process.Wait() == 0;
}

}  // namespace orvale::testing
