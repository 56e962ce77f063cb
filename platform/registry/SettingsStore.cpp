#include "platform/registry/SettingsStore.h"

#include "platform/registry/MemorySettingsStore.h"

namespace orvale {

namespace {
SettingsStore* g_store = nullptr;
}  // namespace

bool SettingsStore::Write(std::string_view section, std::string_view key,
                          std::string_view value) {
  const SettingChange change{std::string(section), std::string(key), std::string(value)};
  return Apply({&change, 1});
}

void SettingsStore::Delete(std::string_view section, std::string_view key) {
  const SettingChange change{std::string(section), std::string(key), std::nullopt};
  Apply({&change, 1});
}

void SetSettingsStore(SettingsStore* store) { g_store = store; }

SettingsStore& CurrentSettingsStore() {
  static MemorySettingsStore fallback;
  return g_store ? *g_store : fallback;
}

ScopedSettingsStore::ScopedSettingsStore(SettingsStore& store)
    : previous_(&CurrentSettingsStore()) {
  SetSettingsStore(&store);
}

ScopedSettingsStore::~ScopedSettingsStore() { SetSettingsStore(previous_); }

}  // namespace orvale
