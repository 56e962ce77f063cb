#include "platform/profile/ProfileFiles.h"

#include "platform/runtime/LockedFileUpdate.h"

namespace orvale {

bool DiskProfileFiles::Read(const std::filesystem::path& file, std::string& text) {
  return ReadWholeFile(file, text);
}

bool DiskProfileFiles::Update(const std::filesystem::path& file,
                              const std::function<bool(std::string& text)>& edit) {
  return UpdateFileLocked(file, edit);
}

bool DiskProfileFiles::MakeFolder(const std::filesystem::path& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  return std::filesystem::is_directory(folder, ec);
}

bool MemoryProfileFiles::Read(const std::filesystem::path& file, std::string& text) {
  std::lock_guard lock(mutex_);
  const auto it = files_.find(file);
  text = it == files_.end() ? std::string() : it->second;
  return true;
}

bool MemoryProfileFiles::Update(const std::filesystem::path& file,
                                const std::function<bool(std::string& text)>& edit) {
  std::lock_guard lock(mutex_);
  const auto it = files_.find(file);
  const std::string before = it == files_.end() ? std::string() : it->second;
  std::string after = before;
  const bool edited = edit(after);
  if (after == before) return edited;
  if (writesFail_) return false;
  files_[file] = std::move(after);
  return edited;
}

std::optional<std::string> MemoryProfileFiles::Text(const std::filesystem::path& file) const {
  std::lock_guard lock(mutex_);
  const auto it = files_.find(file);
  if (it == files_.end()) return std::nullopt;
  return it->second;
}

void MemoryProfileFiles::SetText(const std::filesystem::path& file, std::string text) {
  std::lock_guard lock(mutex_);
  files_[file] = std::move(text);
}

void MemoryProfileFiles::SetWritesFail(bool fail) {
  std::lock_guard lock(mutex_);
  writesFail_ = fail;
}

}  // namespace orvale
