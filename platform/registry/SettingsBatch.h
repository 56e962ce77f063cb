#pragma once
// Batches of settings reads and writes, so that reading or saving many settings reads
// or rewrites the settings file once instead of once per value.
#include <vector>

#include "platform/registry/SettingsStore.h"

namespace orvale {

// While it lives, the reads made through the settings functions come from one reading
// of the settings file: they see one consistent state of it, plus what this program
// writes meanwhile. Another running copy's later changes show from the next batch on;
// nothing it writes is lost, as every write re-reads the file. The sections its reads
// create reach the file together, when it ends or with the next write.
class ScopedSettingsReadBatch {
 public:
  ScopedSettingsReadBatch() : store_(CurrentSettingsStore()) { store_.BeginReadBatch(); }
  ~ScopedSettingsReadBatch() { store_.EndReadBatch(); }
  ScopedSettingsReadBatch(const ScopedSettingsReadBatch&) = delete;
  ScopedSettingsReadBatch& operator=(const ScopedSettingsReadBatch&) = delete;

 private:
  SettingsStore& store_;
};

// Collects the writes and deletes made through the settings functions while it lives
// and applies them to the store as one update. Reads inside the batch see the store as
// it was before the batch, read once.
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
    void BeginReadBatch() override { target_.BeginReadBatch(); }
    void EndReadBatch() override { target_.EndReadBatch(); }
    std::vector<SettingChange> pending_;

   private:
    SettingsStore& target_;
  };

  SettingsStore& target_;
  ScopedSettingsReadBatch reads_;  // made before the collector is installed: on the target
  Collector collector_;
  bool committed_ = false;
};

}  // namespace orvale
