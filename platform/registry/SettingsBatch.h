#pragma once
// Collects the writes and deletes made through the settings functions while it lives
// and applies them to the store as one update, so that saving many settings rewrites
// the settings file once instead of once per value. Reads inside the batch see the
// store as it was before the batch.
#include <vector>

#include "platform/registry/SettingsStore.h"

namespace orvale {

class ScopedSettingsBatch {
 public:
  ScopedSettingsBatch();
  // Commits unless Commit() was called.
  ~ScopedSettingsBatch();
  ScopedSettingsBatch(const ScopedSettingsBatch&) = delete;
  ScopedSettingsBatch& operator=(const ScopedSettingsBatch&) = delete;

  // Reinstalls the previous store and applies the collected changes to it, in order.
  // False when a write was dropped (see SettingsStore::Apply).
  bool Commit();

 private:
  class Collector final : public SettingsStore {
   public:
    explicit Collector(SettingsStore& target) : target_(target) {}
    bool Read(std::string_view section, std::string_view key, std::string& value,
              bool createSection) override {
      return target_.Read(section, key, value, createSection);
    }
    bool Apply(std::span<const SettingChange> changes) override {
      pending_.insert(pending_.end(), changes.begin(), changes.end());
      return true;
    }
    std::vector<SettingChange> pending_;

   private:
    SettingsStore& target_;
  };

  SettingsStore& target_;
  Collector collector_;
  bool committed_ = false;
};

}  // namespace orvale
