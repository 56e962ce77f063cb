#include "app/dialogs/DocumentLists.h"

#include <algorithm>
#include <functional>

#include "app/document/DocumentTable.h"

namespace orvale {

namespace {

auto HasSlot(std::int32_t slot) {
  return [slot](const ListedDocument& entry) { return entry.Slot == slot; };
}

// Shows `text` for the slot where it is listed; true when it was listed.
bool Rename(std::vector<ListedDocument>& list, std::int32_t slot, const std::string& text) {
  const auto entry = std::find_if(list.begin(), list.end(), HasSlot(slot));
  if (entry == list.end()) return false;
  entry->Text = text;
  return true;
}

}  // namespace

clsDocument* ListedDocumentOf(const DocumentTable& table, std::int32_t slot) {
  if (slot < 1 || slot > DocumentTable::kMaxDocuments) return nullptr;
  const auto i = static_cast<std::size_t>(slot);
  return table.DocumentInUse[i] ? table.Documents[i].get() : nullptr;
}

// --- AverageLists ---

void AverageLists::Enter(std::int32_t slot, const std::string& text) {
  Rename(included_, slot, text);
  if (!Rename(available_, slot, text)) available_.push_back({slot, text});
}

void AverageLists::Remove(std::int32_t slot) {
  std::erase_if(available_, HasSlot(slot));
  std::erase_if(included_, HasSlot(slot));
}

bool AverageLists::Include(std::int32_t slot, const std::string& text) {
  if (std::any_of(included_.begin(), included_.end(), HasSlot(slot))) return false;
  included_.push_back({slot, text});
  return true;
}

void AverageLists::Exclude(std::span<const int> rows) {
  std::vector<int> sorted(rows.begin(), rows.end());
  std::sort(sorted.begin(), sorted.end(), std::greater<>());
  sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
  // From the last row to the first, so that the rows still to go keep their places.
  for (const int row : sorted) {
    if (row >= 0 && static_cast<std::size_t>(row) < included_.size()) included_.erase(included_.begin() + row);
  }
}

std::vector<std::int32_t> AverageLists::IncludedSlots() const {
  std::vector<std::int32_t> documentSlots;
  for (const ListedDocument& entry : included_) documentSlots.push_back(entry.Slot);
  return documentSlots;
}

// --- CombineChoices ---

CombineChoices::CombineChoices() : entries_{{0, "None"}} {}

void CombineChoices::Enter(std::int32_t slot, const std::string& text) {
  if (slot == 0) return;  // "None"'s place
  if (!Rename(entries_, slot, text)) entries_.push_back({slot, text});
}

void CombineChoices::Remove(std::int32_t slot) {
  if (slot == 0) return;
  const auto entry = std::find_if(entries_.begin() + 1, entries_.end(), HasSlot(slot));
  if (entry == entries_.end()) return;
  const int index = static_cast<int>(entry - entries_.begin());
  // The list selects "None" before its entry goes, so that no other document is ever
  // selected in between; the entries after it move up one.
  for (int* selected : {&first_, &second_}) {
    if (*selected == index) {
      *selected = 0;
    } else if (*selected > index) {
      --*selected;
    }
  }
  entries_.erase(entry);
}

void CombineChoices::SelectFirst(int index) {
  if (index >= 0 && static_cast<std::size_t>(index) < entries_.size()) first_ = index;
}

void CombineChoices::SelectSecond(int index) {
  if (index >= 0 && static_cast<std::size_t>(index) < entries_.size()) second_ = index;
}

void CombineChoices::SelectOperation(int index) {
  if (index >= 0 && static_cast<std::size_t>(index) < kCombineOperations.size()) operation_ = index;
}

void CombineChoices::SelectDefaults() {
  first_ = 0;
  second_ = 0;
  operation_ = 0;
}

}  // namespace orvale
