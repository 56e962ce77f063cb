#pragma once
// Where private profile files are kept. The disk backend shares each file safely with
// other processes (LockedFileUpdate.h: every change re-reads the file under a lock and
// replaces it atomically, and never makes a missing folder); the memory backend holds
// files in memory for tests and can be told to refuse writes.
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace orvale {

class ProfileFiles {
 public:
  virtual ~ProfileFiles() = default;
  // The file's text; a missing file reads as empty. False when it cannot be read.
  virtual bool Read(const std::filesystem::path& file, std::string& text) = 0;
  // Lets `edit` change the file's current text and stores it when it changed, as one
  // step. Returns `edit`'s result, or false when the file could not be read or stored
  // (it is then unchanged).
  virtual bool Update(const std::filesystem::path& file,
                      const std::function<bool(std::string& text)>& edit) = 0;
  // Makes `folder` when it is missing; false when it cannot be had.
  virtual bool MakeFolder(const std::filesystem::path& folder) = 0;
};

class DiskProfileFiles final : public ProfileFiles {
 public:
  bool Read(const std::filesystem::path& file, std::string& text) override;
  bool Update(const std::filesystem::path& file,
              const std::function<bool(std::string& text)>& edit) override;
  bool MakeFolder(const std::filesystem::path& folder) override;
};

class MemoryProfileFiles final : public ProfileFiles {
 public:
  bool Read(const std::filesystem::path& file, std::string& text) override;
  bool Update(const std::filesystem::path& file,
              const std::function<bool(std::string& text)>& edit) override;
  // Memory has every folder.
  bool MakeFolder(const std::filesystem::path&) override { return true; }

  // The stored text, or nullopt for a file never written.
  std::optional<std::string> Text(const std::filesystem::path& file) const;
  void SetText(const std::filesystem::path& file, std::string text);
  // While set, every change fails and stores nothing.
  void SetWritesFail(bool fail);

 private:
  mutable std::mutex mutex_;
  std::map<std::filesystem::path, std::string> files_;
  bool writesFail_ = false;
};

}  // namespace orvale
