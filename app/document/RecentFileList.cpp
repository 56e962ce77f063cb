#include "app/document/RecentFileList.h"

#include "app/document/FilePaths.h"
#include "platform/registry/TypedSettings.h"

namespace orvale {

namespace {

std::string ValueName(int number) { return "File" + std::to_string(number); }

}  // namespace

void RecentFileList::LoadRecentFileList() {
  for (int k = 1; k <= kRecentFileEntries; ++k) {
    const std::string path = GetSettingString(kRecentFileSection, ValueName(k), "");
    if (path.empty()) break;
    if (k == 1) menu_.SetSeparatorVisible(true);
    menu_.SetEntry(k - 1, GetFileTitle(path, false), GetFilePath(path), true);
    ++numRecentFiles_;
  }
}

void RecentFileList::SaveRecentFileList() const {
  // Reading creates the section, which a write needs.
  GetSettingString(kRecentFileSection, ValueName(1), "");
  int k = 1;
  for (; k <= kRecentFileEntries && menu_.Visible(k - 1); ++k)
    SaveSettingString(kRecentFileSection, ValueName(k), Path(k - 1));
  for (; k <= kRecentFileEntries; ++k) DeleteSettingValue(kRecentFileSection, ValueName(k));
}

void RecentFileList::AddRecentFile(const std::string& path) {
  const std::string caption = GetFileTitle(path, false);
  const std::string tag = GetFilePath(path);
  for (int k = 0; k < numRecentFiles_; ++k) {
    if (menu_.Caption(k) == caption && menu_.Tag(k) == tag) {
      RemoveRecentFile(path);
      break;
    }
  }
  for (int k = numRecentFiles_; k >= 1; --k) {
    if (k < kRecentFileEntries) menu_.SetEntry(k, menu_.Caption(k - 1), menu_.Tag(k - 1), true);
  }
  menu_.SetEntry(0, caption, tag, true);
  if (numRecentFiles_ == 0) menu_.SetSeparatorVisible(true);
  if (numRecentFiles_ < kRecentFileEntries) ++numRecentFiles_;
}

void RecentFileList::RemoveRecentFile(const std::string& path) {
  const std::string caption = GetFileTitle(path, false);
  const std::string tag = GetFilePath(path);
  int found = -1;
  for (int k = numRecentFiles_ - 1; k >= 0 && found < 0; --k)
    if (menu_.Caption(k) == caption && menu_.Tag(k) == tag) found = k;
  if (found < 0) return;
  for (int k = found; k < numRecentFiles_ - 1; ++k)
    menu_.SetEntry(k, menu_.Caption(k + 1), menu_.Tag(k + 1), true);
  menu_.SetEntry(numRecentFiles_ - 1, "", "", false);
  if (--numRecentFiles_ == 0) menu_.SetSeparatorVisible(false);
}

std::string RecentFileList::Path(int index) const {
  return JoinFilePath(menu_.Tag(index), menu_.Caption(index));
}

}  // namespace orvale
