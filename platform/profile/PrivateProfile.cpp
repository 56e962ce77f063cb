#include "platform/profile/PrivateProfile.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "platform/profile/ProfileText.h"
#include "platform/runtime/ConfigFolder.h"

namespace orvale {

namespace {

std::uint32_t CopyValue(std::string_view value, char* buffer, std::uint32_t size) {
  const auto length = static_cast<std::uint32_t>(std::min<std::size_t>(value.size(), size - 1));
  if (length > 0) std::memcpy(buffer, value.data(), length);
  buffer[length] = '\0';
  return length;
}

std::uint32_t CopyList(const std::vector<std::string>& names, char* buffer, std::uint32_t size) {
  std::string list;
  for (const std::string& name : names) {
    list += name;
    list += '\0';
  }
  list += '\0';
  if (list.size() <= size) {
    std::memcpy(buffer, list.data(), list.size());
    return static_cast<std::uint32_t>(list.size() - 1);
  }
  if (size == 1) {
    buffer[0] = '\0';
    return 0;
  }
  std::memcpy(buffer, list.data(), size - 2);
  buffer[size - 2] = '\0';
  buffer[size - 1] = '\0';
  return size - 2;
}

std::string_view WithoutTrailingBlanks(const char* text) {
  std::string_view view = text ? text : "";
  const std::size_t last = view.find_last_not_of(" \t");
  return last == std::string_view::npos ? std::string_view() : view.substr(0, last + 1);
}

}  // namespace

std::optional<int> LeadingProfileInt(std::string_view value) {
  std::string_view digits = value.substr(std::min(value.find_first_not_of(" \t"), value.size()));
  if (digits.starts_with('+') && digits.size() > 1 && digits[1] != '-') {
    digits.remove_prefix(1);  // from_chars takes only "-"
  }
  int number = 0;
  const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (result.ec != std::errc()) return std::nullopt;
  return number;
}

PrivateProfile::PrivateProfile() : PrivateProfile(std::make_shared<DiskProfileFiles>()) {}

PrivateProfile::PrivateProfile(std::shared_ptr<ProfileFiles> files) : files_(std::move(files)) {}

void PrivateProfile::SetRoot(std::filesystem::path root) {
  std::lock_guard lock(mutex_);
  root_ = std::move(root);
}

std::filesystem::path PrivateProfile::Resolve(std::string_view fileName) const {
  if (fileName.empty()) return {};
  if (fileName.find('/') != std::string_view::npos) return std::filesystem::path(fileName);
  std::lock_guard lock(mutex_);
  return (root_.empty() ? HalvernConfigFolder() : root_) / fileName;
}

std::filesystem::path PrivateProfile::ResolveForWrite(std::string_view fileName) const {
  const std::filesystem::path file = Resolve(fileName);
  const bool bare = fileName.find('/') == std::string_view::npos;
  if (file.empty() || (bare && !files_->MakeFolder(file.parent_path()))) return {};
  return file;
}

std::string PrivateProfile::Load(std::string_view fileName) const {
  std::string text;
  const std::filesystem::path file = Resolve(fileName);
  if (file.empty() || !files_->Read(file, text)) text.clear();
  return text;
}

std::uint32_t PrivateProfile::GetString(const char* section, const char* key,
                                        const char* defaultValue, char* buffer,
                                        std::uint32_t size, const char* fileName) const {
  if (buffer == nullptr || size == 0) return 0;
  const ProfileText text(Load(fileName ? fileName : ""));
  if (section == nullptr) return CopyList(text.SectionNames(), buffer, size);
  if (key == nullptr) return CopyList(text.KeyNames(section), buffer, size);
  const std::optional<std::string> value = text.Value(section, key);
  return CopyValue(value ? std::string_view(*value) : WithoutTrailingBlanks(defaultValue), buffer,
                   size);
}

int PrivateProfile::GetInt(const char* section, const char* key, int defaultValue,
                           const char* fileName) const {
  if (section == nullptr || key == nullptr || fileName == nullptr) return defaultValue;
  const std::optional<std::string> value = Value(section, key, fileName);
  if (!value) return defaultValue;
  return LeadingProfileInt(*value).value_or(defaultValue);
}

bool PrivateProfile::WriteString(const char* section, const char* key, const char* value,
                                 const char* fileName) {
  if (section == nullptr || fileName == nullptr) return false;
  if (key == nullptr) {
    if (!ProfileText::IsWritableSection(section)) return false;
    const std::filesystem::path file = ResolveForWrite(fileName);
    return !file.empty() && files_->Update(file, [section](std::string& contents) {
      ProfileText text(contents);
      text.DeleteSection(section);
      if (text.Changed()) contents = text.Format();
      return true;
    });
  }
  const ProfileEntry entry{key, value ? std::optional<std::string>(value) : std::nullopt};
  return WriteSection(section, std::span(&entry, 1), fileName);
}

std::optional<std::string> PrivateProfile::Value(std::string_view section, std::string_view key,
                                                 std::string_view fileName) const {
  return ProfileText(Load(fileName)).Value(section, key);
}

std::vector<std::string> PrivateProfile::SectionNames(std::string_view fileName) const {
  return ProfileText(Load(fileName)).SectionNames();
}

std::vector<std::string> PrivateProfile::KeyNames(std::string_view section,
                                                  std::string_view fileName) const {
  return ProfileText(Load(fileName)).KeyNames(section);
}

bool PrivateProfile::WriteSection(std::string_view section, std::span<const ProfileEntry> entries,
                                  std::string_view fileName) {
  if (fileName.empty() || !ProfileText::IsWritableSection(section)) return false;
  for (const ProfileEntry& entry : entries) {
    if (!ProfileText::IsWritableKey(entry.key)) return false;
    if (entry.value && !ProfileText::IsWritableValue(*entry.value)) return false;
  }
  const std::filesystem::path file = ResolveForWrite(fileName);
  if (file.empty()) return false;
  return files_->Update(file, [&](std::string& contents) {
    ProfileText text(contents);
    for (const ProfileEntry& entry : entries) {
      if (entry.value) {
        text.SetValue(section, entry.key, *entry.value);
      } else {
        text.DeleteKey(section, entry.key);
      }
    }
    if (text.Changed()) contents = text.Format();
    return true;
  });
}

}  // namespace orvale
