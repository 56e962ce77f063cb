#pragma once
// The lists of open documents in the Average and Math windows, as plain data the
// windows mirror. The documents keep them current through the main window: a document
// with result windows enters itself (again after a save renamed it), and a closing
// document leaves before its slot is freed. So an entry is matched by its slot alone,
// and no entry can reach a later document in the same slot.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvale {

class clsDocument;
class DocumentTable;

// One entry: the document's slot and the name it shows (its ImageFileName).
struct ListedDocument {
  std::int32_t Slot = 0;
  std::string Text;
  bool operator==(const ListedDocument&) const = default;
};

// The open document in a slot an entry names, or null when the slot is not in use.
clsDocument* ListedDocumentOf(const DocumentTable& table, std::int32_t slot);

// The Average window's lists: the documents available for averaging and those included
// in the average, each document at most once in each.
class AverageLists {
 public:
  const std::vector<ListedDocument>& Available() const { return available_; }
  const std::vector<ListedDocument>& Included() const { return included_; }

  // A document enters: it is appended to the available ones, or, when its slot is
  // listed already, its new name shows in both lists.
  void Enter(std::int32_t slot, const std::string& text);
  // A closed document leaves both lists.
  void Remove(std::int32_t slot);
  // Includes a document in the average; false when it is included already.
  bool Include(std::int32_t slot, const std::string& text);
  // Takes the included entries at these rows out of the average.
  void Exclude(std::span<const int> rows);
  void ClearIncluded() { included_.clear(); }
  std::vector<std::int32_t> IncludedSlots() const;

 private:
  std::vector<ListedDocument> available_;
  std::vector<ListedDocument> included_;
};

// The Math window's operations, in their list order (the index is the item data).
inline constexpr std::array<std::string_view, 2> kCombineOperations = {"Add", "Subtract"};

// The Math window's choices: its two document lists hold the same entries, "None"
// (slot 0) first; each selects one entry, and the operation list one operation.
class CombineChoices {
 public:
  CombineChoices();

  const std::vector<ListedDocument>& Entries() const { return entries_; }
  int First() const { return first_; }
  int Second() const { return second_; }
  int Operation() const { return operation_; }
  std::int32_t FirstSlot() const { return entries_[static_cast<std::size_t>(first_)].Slot; }
  std::int32_t SecondSlot() const { return entries_[static_cast<std::size_t>(second_)].Slot; }

  // As AverageLists::Enter, for both document lists.
  void Enter(std::int32_t slot, const std::string& text);
  // A closed document leaves both lists; a list that had it selected selects "None".
  void Remove(std::int32_t slot);
  // Selections outside the lists are ignored.
  void SelectFirst(int index);
  void SelectSecond(int index);
  void SelectOperation(int index);
  // "None", "None", "Add": what the window shows when it loads.
  void SelectDefaults();

 private:
  std::vector<ListedDocument> entries_;
  int first_ = 0;
  int second_ = 0;
  int operation_ = 0;
};

}  // namespace orvale
