#include "app/dialogs/AnalyzeControls.h"

#include "app/document/FilePaths.h"

namespace orvale {

std::int32_t LimitOrderTerms(std::int32_t index) {
  static constexpr std::array<std::int32_t, kLimitOrderItems.size()> kTerms = {0, 24, 15, 8, 2};
  if (index < 0 || index >= static_cast<std::int32_t>(kTerms.size())) return 0;
  return kTerms[static_cast<std::size_t>(index)];
}

AnalyzeControls::AnalyzeControls() : items_{"none", "Custom"} { paths_.AddItem("Custom"); }

bool AnalyzeControls::ScaleFactorTextEnabled() const {
  return OptionsEnabled && ScaleFactorOption == scaleoption::kCustom;
}

void AnalyzeControls::SelectReference(std::int32_t index) {
  if (index >= -1 && index < ReferenceCount()) selected_ = index;
}

void AnalyzeControls::AddReferenceFile(const std::string& path) {
  paths_.AddItem(path);
  items_.push_back(GetFileTitle(path, false));
}

bool AnalyzeControls::RemoveSelectedReference() {
  if (selected_ < kFirstReferenceFile) return false;
  paths_.RemoveItem(selected_);
  items_.erase(items_.begin() + selected_);
  --selected_;
  return true;
}

}  // namespace orvale
