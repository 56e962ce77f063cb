#pragma once
// A fresh folder for one test, made the configuration home (XDG_CONFIG_HOME) while the
// object lives, so that class registries and settings files land there. The previous
// value is restored and the folder removed afterwards.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace orvale::testing {

class TempConfigHome {
 public:
  TempConfigHome() {
    // A short name: fontconfig, which some suites reach through Qt, leaks under the
    // sanitizers when its cache path grows long.
    static int made = 0;
    folder_ = std::filesystem::temp_directory_path() /
              ("orvale-" + std::to_string(::getpid()) + "-" + std::to_string(made++));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) previous_ = old;
    ::setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
  }
  ~TempConfigHome() {
    if (previous_) {
      ::setenv("XDG_CONFIG_HOME", previous_->c_str(), 1);
    } else {
      ::unsetenv("XDG_CONFIG_HOME");
    }
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  TempConfigHome(const TempConfigHome&) = delete;
  TempConfigHome& operator=(const TempConfigHome&) = delete;

  const std::filesystem::path& Folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
  std::optional<std::string> previous_;
};

}  // namespace orvale::testing
