#include "app/analysis/RefPathList.h"

namespace orvale {

clsRefPath::clsRefPath() : items_{"none"} {}

bool clsRefPath::IsReplaceable(std::int32_t i) const {
  return i >= 1 && static_cast<std::size_t>(i) < items_.size();
}

void clsRefPath::SetItem(std::int32_t i, const std::string& item) {
  if (IsReplaceable(i)) items_[static_cast<std::size_t>(i)] = item;
}

void clsRefPath::RemoveItem(std::int32_t i) {
  if (IsReplaceable(i)) items_.erase(items_.begin() + i);
}

std::string clsRefPath::GetItem(std::int32_t i) const {
  if (i < 0 || static_cast<std::size_t>(i) >= items_.size()) return {};
  return items_[static_cast<std::size_t>(i)];
}

void clsRefPath::AddItem(const std::string& item) { items_.push_back(item); }

}  // namespace orvale
