#include "platform/registry/SettingsBatch.h"

namespace orvale {

ScopedSettingsBatch::ScopedSettingsBatch()
    : target_(CurrentSettingsStore()), collector_(target_) {
  SetSettingsStore(&collector_);
}

ScopedSettingsBatch::~ScopedSettingsBatch() {
  if (!committed_) Commit();
}

bool ScopedSettingsBatch::Commit() {
  if (committed_) return true;
  committed_ = true;
  SetSettingsStore(&target_);
  return collector_.pending_.empty() || target_.Apply(collector_.pending_);
}

}  // namespace orvale
