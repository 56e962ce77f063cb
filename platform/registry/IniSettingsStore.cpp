#include "platform/registry/IniSettingsStore.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/registry/IniFormat.h"
#include "platform/runtime/TextOutput.h"

namespace orvale {

namespace {

// An exclusive advisory lock on a lock file, held for the object's lifetime.
class FileLock {
 public:
  explicit FileLock(const std::filesystem::path& lockFile)
      : fd_(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    if (fd_ < 0) return;
    while (::flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        ::close(fd_);
        fd_ = -1;
        return;
      }
    }
  }
  ~FileLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_;
};

// Reads the whole file. A missing file reads as empty; false on any other failure.
bool ReadWholeFile(const std::filesystem::path& file, std::string& text) {
  text.clear();
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT;
  char buffer[8192];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return false;
    }
    text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return true;
}

}  // namespace

IniSettingsStore::IniSettingsStore(std::filesystem::path file) : file_(std::move(file)) {}

bool IniSettingsStore::Load(SettingsSections& contents, std::string& fileText) const {
  if (!ReadWholeFile(file_, fileText)) return false;
  contents = ParseIniSettings(fileText);
  return true;
}

bool IniSettingsStore::Update(const std::function<bool(SettingsSections&)>& change) {
  std::error_code ec;
  std::filesystem::create_directories(file_.parent_path(), ec);
  FileLock lock(std::filesystem::path(file_) += ".lock");
  if (!lock.Held()) return false;
  SettingsSections contents;
  std::string before;
  if (!Load(contents, before)) return false;
  const bool changed = change(contents);
  const std::string after = FormatIniSettings(contents);
  RunError error;
  const bool written = after == before || WriteFileAtomically(file_, after, error);
  // The batch's reads go on from the file as it now is, other copies' values included.
  if (readBatchDepth_ > 0) {
    if (written) {
      batchContents_ = std::move(contents);
    } else {
      batchContents_.reset();
    }
  }
  return written && changed;
}

bool IniSettingsStore::Read(std::string_view section, std::string_view key, std::string& value,
                            bool createSection) {
  SettingsSections loaded;
  const SettingsSections* contents = &loaded;
  if (readBatchDepth_ > 0 && batchContents_) {
    contents = &*batchContents_;
  } else {
    std::string fileText;
    if (!Load(loaded, fileText)) return false;
    if (readBatchDepth_ > 0) contents = &batchContents_.emplace(std::move(loaded));
  }
  if (createSection && !contents->FindSection(section)) {
    // Another copy may create it meanwhile; Update re-reads under the lock.
    Update([section](SettingsSections& c) {
      c.AddSection(section);
      return true;
    });
    return false;
  }
  return contents->ReadValue(section, key, value);
}

void IniSettingsStore::BeginReadBatch() { ++readBatchDepth_; }

void IniSettingsStore::EndReadBatch() {
  if (readBatchDepth_ > 0 && --readBatchDepth_ == 0) batchContents_.reset();
}

bool IniSettingsStore::Apply(std::span<const SettingChange> changes) {
  return Update([changes](SettingsSections& c) { return c.Apply(changes); });
}

std::filesystem::path DefaultSettingsFile() {
  std::filesystem::path base;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || !home[0]) {
      const passwd* user = ::getpwuid(::getuid());
      home = user && user->pw_dir ? user->pw_dir : ".";
    }
    base = std::filesystem::path(home) / ".config";
  }
  return base / "Halvern" / "Orvale.ini";
}

}  // namespace orvale
