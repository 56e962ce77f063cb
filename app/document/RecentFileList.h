#pragma once
// The four most recently used files: shown as entries of the File menu and kept in the
// settings section "Recent File List" as "File1" (the most recent) to "File4".
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvale {

inline constexpr std::string_view kRecentFileSection = "Recent File List";
inline constexpr int kRecentFileEntries = 4;

// The menu entries the list lives in. Entry k shows the file name as its caption and
// keeps the folder in its tag; the separator above the entries is shown while the list
// is not empty. The main window implements it with its menu.
class RecentFileMenu {
 public:
  virtual ~RecentFileMenu() = default;
  virtual std::string Caption(int index) const = 0;
  virtual std::string Tag(int index) const = 0;
  virtual bool Visible(int index) const = 0;
  virtual void SetEntry(int index, const std::string& caption, const std::string& tag,
                        bool visible) = 0;
  virtual void SetSeparatorVisible(bool visible) = 0;
};

// The entries kept in memory, for tests and until the main window supplies its menu.
class MemoryRecentFileMenu final : public RecentFileMenu {
 public:
  std::string Caption(int index) const override { return entries_.at(index).Caption; }
  std::string Tag(int index) const override { return entries_.at(index).Tag; }
  bool Visible(int index) const override { return entries_.at(index).Visible; }
  void SetEntry(int index, const std::string& caption, const std::string& tag,
                bool visible) override {
    entries_.at(index) = {caption, tag, visible};
  }
  void SetSeparatorVisible(bool visible) override { separatorVisible_ = visible; }
  bool SeparatorVisible() const { return separatorVisible_; }

 private:
  struct Entry {
    std::string Caption;
    std::string Tag;
    bool Visible = false;
  };
  std::array<Entry, kRecentFileEntries> entries_{};
  bool separatorVisible_ = false;
};

class RecentFileList {
 public:
  explicit RecentFileList(RecentFileMenu& menu) : menu_(menu) {}

  // Fills the entries from the settings, once when the main window loads.
  void LoadRecentFileList();
  // Writes the shown entries back, when the main window unloads. Values of entries
  // beyond the shown ones are removed, so that a file taken out of the list stays out.
  void SaveRecentFileList() const;
  // Puts `path` first; the fourth entry falls off.
  void AddRecentFile(const std::string& path);
  // Takes `path` out of the list; nothing changes when it is not there.
  void RemoveRecentFile(const std::string& path);

  std::int32_t NumRecentFiles() const { return numRecentFiles_; }
  // The full path of entry `index` (0 the most recent).
  std::string Path(int index) const;

 private:
  RecentFileMenu& menu_;
  std::int32_t numRecentFiles_ = 0;
};

}  // namespace orvale
